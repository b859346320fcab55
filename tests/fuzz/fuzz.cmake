# SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sanitizers and fuzz targets.
#
# -DVEGALYRA_SANITIZE=ON builds the library, the tool and every test with
# AddressSanitizer and UndefinedBehaviorSanitizer. Any finding ends the
# process, so ctest in such a build folder fails on the first one.
# Both are for the Linux build (clang, libFuzzer).
if(WIN32)
    return()
endif()

option(VEGALYRA_SANITIZE "Build everything with AddressSanitizer and UBSan" OFF)

# Sanitized code runs several times slower; tests that wait for bytes
# from the tool give it this many times their usual room, and ctest gives
# each test this many times its time limit.
set(VEGALYRA_SANITIZE_WAIT_SCALE 4)

function(vegalyra_sanitize_everything)
    set(flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            target_compile_options(${target} PRIVATE ${flags})
            target_link_options(${target} PRIVATE ${flags})
        endif()
    endforeach()
    # Qt's offscreen platform plugin leaks a few hundred bytes at start-up;
    # that and nothing else is forgiven. The suppression matches the
    # plugin's frames in the allocation stack, which Qt (built without frame
    # pointers) only yields to the full unwinder; ten frames reach the plugin
    # and keep that unwinder affordable at every allocation.
    set(environment
        "ASAN_OPTIONS=fast_unwind_on_malloc=0:malloc_context_size=10:detect_leaks=1"
        "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/fuzz/leaks.supp:print_suppressions=0"
        "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    get_property(tests DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY TESTS)
    foreach(test ${tests})
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${environment})
        get_test_property(${test} TIMEOUT timeout)
        if(timeout)
            math(EXPR timeout "${timeout} * ${VEGALYRA_SANITIZE_WAIT_SCALE}")
            set_tests_properties(${test} PROPERTIES TIMEOUT ${timeout})
        endif()
    endforeach()
endfunction()

if(VEGALYRA_SANITIZE)
    target_compile_definitions(vegalyra_testsupport PUBLIC
        VEGALYRA_WAIT_SCALE=${VEGALYRA_SANITIZE_WAIT_SCALE})
    # Deferred to the end of the project, so targets and tests defined
    # after this file get the sanitizers too.
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vegalyra_sanitize_everything)
endif()

# Fuzz targets: each checks properties of one codec for any input. Every
# build replays the committed corpus of each through ctest; with clang
# each is also built as a libFuzzer program (scripts/fuzz runs them).
set(VEGALYRA_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
set(VEGALYRA_FUZZ_TARGETS fuzz_notification fuzz_session fuzz_paramfile fuzz_frames)
set(VEGALYRA_FUZZ_SUPPORT ${VEGALYRA_FUZZ_DIR}/fuzzsupport.cpp ${VEGALYRA_FUZZ_DIR}/fuzzsupport.h)

add_library(vegalyra_fuzzsupport STATIC ${VEGALYRA_FUZZ_SUPPORT})
target_link_libraries(vegalyra_fuzzsupport PUBLIC vegalyra_codecs)
set_target_properties(vegalyra_fuzzsupport PROPERTIES AUTOMOC OFF)
foreach(target ${VEGALYRA_FUZZ_TARGETS})
    add_executable(${target}_replay ${VEGALYRA_FUZZ_DIR}/${target}.cpp ${VEGALYRA_FUZZ_DIR}/replay.cpp)
    target_link_libraries(${target}_replay PRIVATE vegalyra_fuzzsupport)
    set_target_properties(${target}_replay PROPERTIES AUTOMOC OFF)
    add_test(NAME ${target}_corpus
        COMMAND ${target}_replay ${VEGALYRA_FUZZ_DIR}/corpus/${target})
endforeach()

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # The codecs once more, instrumented for libFuzzer's coverage feedback.
    add_library(vegalyra_codecs_fuzz STATIC ${VEGALYRA_CODEC_SOURCES} ${VEGALYRA_FUZZ_SUPPORT})
    target_include_directories(vegalyra_codecs_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(vegalyra_codecs_fuzz PUBLIC Qt::Core)
    target_compile_options(vegalyra_codecs_fuzz PRIVATE -fsanitize=fuzzer-no-link)
    set_target_properties(vegalyra_codecs_fuzz PROPERTIES AUTOMOC OFF)
    foreach(target ${VEGALYRA_FUZZ_TARGETS})
        add_executable(${target} ${VEGALYRA_FUZZ_DIR}/${target}.cpp)
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
        target_link_options(${target} PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${target} PRIVATE vegalyra_codecs_fuzz)
        set_target_properties(${target} PROPERTIES AUTOMOC OFF)
    endforeach()
endif()
