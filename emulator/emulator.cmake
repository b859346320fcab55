# SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
# The transmitter emulator: a transmitter on a pseudo-terminal, built from
# the same codecs as the tool (no widgets, no serial-port module).
# The emulator lives on a Linux pseudo-terminal.
if(WIN32)
    return()
endif()
add_library(vegalyra_emulator STATIC
    emulator/linkreader.cpp emulator/linkreader.h
    emulator/liveframes.cpp emulator/liveframes.h
    emulator/pty.cpp emulator/pty.h
    emulator/record.cpp emulator/record.h
    emulator/transmitter.cpp emulator/transmitter.h)
target_link_libraries(vegalyra_emulator PUBLIC vegalyra_codecs util)

add_executable(vegalyra-emulator emulator/main.cpp)
target_compile_definitions(vegalyra-emulator PRIVATE VEGALYRA_VERSION="${PROJECT_VERSION}")
target_link_libraries(vegalyra-emulator PRIVATE vegalyra_emulator)

# The emulator's own tests take its parts in-process; the end-to-end test
# starts the real program beside the tool's window.
foreach(test_name tst_emulator tst_endtoend)
    if(TARGET ${test_name})
        target_link_libraries(${test_name} PRIVATE vegalyra_emulator)
        target_compile_definitions(${test_name} PRIVATE
            VEGALYRA_EMULATOR_PATH="$<TARGET_FILE:vegalyra-emulator>")
        add_dependencies(${test_name} vegalyra-emulator)
    endif()
endforeach()
