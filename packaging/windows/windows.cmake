# SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build (scripts/windows cross-builds it with mingw64.cmake): the
# console for the command-line verbs, the version resource, the end-to-end
# driver for a COM port, the installer and the portable zip, and the test
# programs under Wine.
#
# Qt for Windows is static here. Its CMake files link and import the
# plugins a program needs by themselves (the windows platform, the image
# formats, the Vista style, and the Windows printer support once Print
# Support is linked), so no source names a plugin. The offscreen platform,
# which the tests and the serial check run on, is asked for below.
if(NOT WIN32)
    return()
endif()
if(NOT VEGALYRA_QT STREQUAL "5")
    message(FATAL_ERROR "The Windows build is made with Qt 5 (scripts/windows builds it)")
endif()

get_filename_component(VEGALYRA_QT_PREFIX "${Qt5_DIR}/../../.." ABSOLUTE)

target_sources(vegalyra PRIVATE ${CMAKE_CURRENT_LIST_DIR}/console.cpp)
target_compile_definitions(vegalyra PRIVATE
    VEGALYRA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    VEGALYRA_VERSION_MINOR=${PROJECT_VERSION_MINOR})
target_link_options(vegalyra PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)

# OPEN, READ, one edit, WRITE and CLOSE over a COM port (serial-check).
add_executable(vegalyra-serialcheck ${CMAKE_CURRENT_LIST_DIR}/serialcheck.cpp)
target_link_libraries(vegalyra-serialcheck PRIVATE vegalyra_core Qt5::Test)
qt5_import_plugins(vegalyra-serialcheck INCLUDE Qt5::QOffscreenIntegrationPlugin)

# The test programs run under Wine in a prefix of this build's own, quiet.
# Wine hides the host's QT_* variables from Windows programs and hands
# WINEQT_* on as QT_*: so the offscreen platform is asked for by that name.
# Without a console window QtTest would report to the debugger only, so its
# lines are sent to the console the way the Linux suite prints them. On
# Windows the offscreen platform draws text with FreeType from one font
# folder; DejaVu is what the Linux suite sees too.
set(VEGALYRA_TEST_FONTS /usr/share/fonts/truetype/dejavu CACHE PATH
    "Font folder for the offscreen test runs under Wine")
get_property(vegalyra_tests DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY TESTS)
foreach(test_name ${vegalyra_tests})
    qt5_import_plugins(${test_name} INCLUDE Qt5::QOffscreenIntegrationPlugin)
    set_property(TEST ${test_name} APPEND PROPERTY ENVIRONMENT
        "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" "WINEDEBUG=-all"
        "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d"
        "WINEQT_QPA_PLATFORM=offscreen" "WINEQT_FORCE_STDERR_LOGGING=1"
        "WINEQT_QPA_FONTDIR=Z:${VEGALYRA_TEST_FONTS}")
endforeach()

# The installer and the zip carry the program, its licence (LICENSE.txt,
# with Windows line ends for Notepad and the setup's licence page), the
# licence of the Qt it contains, and how to get the source; the zip also a
# note on where to start the program from (the installer's Start-menu entry
# sets that).
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt ${CMAKE_BINARY_DIR}/README.txt
    @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt
    @ONLY NEWLINE_STYLE CRLF)
set(VEGALYRA_SETUP ${CMAKE_BINARY_DIR}/vegalyra-${PROJECT_VERSION}-setup.exe)
set(VEGALYRA_ZIP ${CMAKE_BINARY_DIR}/vegalyra-${PROJECT_VERSION}-windows.zip)
set(VEGALYRA_STAGE ${CMAKE_BINARY_DIR}/stage/vegalyra-${PROJECT_VERSION})
find_program(VEGALYRA_MAKENSIS makensis)
add_custom_command(OUTPUT ${VEGALYRA_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/stage
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VEGALYRA_STAGE}/licenses
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vegalyra> ${CMAKE_BINARY_DIR}/README.txt
        ${CMAKE_BINARY_DIR}/LICENSE.txt ${VEGALYRA_STAGE}/
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/NOTICE.txt
        ${VEGALYRA_QT_PREFIX}/licenses/LICENSE.LGPL3 ${VEGALYRA_QT_PREFIX}/licenses/LICENSE.GPL3
        ${VEGALYRA_STAGE}/licenses/
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/stage
        ${CMAKE_COMMAND} -E tar cf ${VEGALYRA_ZIP} --format=zip vegalyra-${PROJECT_VERSION}
    DEPENDS vegalyra ${CMAKE_CURRENT_LIST_DIR}/NOTICE.txt ${CMAKE_BINARY_DIR}/README.txt
        ${CMAKE_BINARY_DIR}/LICENSE.txt
    COMMENT "Packing vegalyra-${PROJECT_VERSION}-windows.zip")
add_custom_command(OUTPUT ${VEGALYRA_SETUP}
    COMMAND ${VEGALYRA_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION}
        -DVERSION_MAJOR=${PROJECT_VERSION_MAJOR} -DVERSION_MINOR=${PROJECT_VERSION_MINOR}
        -DSTAGE=${VEGALYRA_STAGE} -DICON=${CMAKE_SOURCE_DIR}/ui/vegalyra.ico
        -DOUTFILE=${VEGALYRA_SETUP} ${CMAKE_CURRENT_LIST_DIR}/installer.nsi
    DEPENDS ${VEGALYRA_ZIP} ${CMAKE_CURRENT_LIST_DIR}/installer.nsi
    COMMENT "Packing vegalyra-${PROJECT_VERSION}-setup.exe")
add_custom_target(windows_packages DEPENDS ${VEGALYRA_SETUP} ${VEGALYRA_ZIP})
