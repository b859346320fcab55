# SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
# Install rules and the Debian package: `cmake --install` puts the programs
# in bin/, and the desktop entry and the application icon where a desktop's
# menu finds them; `cpack` (scripts/package) wraps the same files into
# build/vegalyra_<version>_<arch>.deb, or, built with Qt 6, into
# build-qt6/vegalyra-qt6_<version>_<arch>.deb.
# packaging/windows/ packs the Windows build.
if(WIN32)
    return()
endif()
include(GNUInstallDirs)

# The package for Qt 6 systems has a name of its own, so that neither can be
# taken for the other. Both hold the same files (/usr/bin/vegalyra, the menu
# entry, ...): each replaces the other when installed, and the two are
# never installed together.
if(VEGALYRA_QT STREQUAL "6")
    set(VEGALYRA_PACKAGE vegalyra-qt6)
    set(VEGALYRA_OTHER_PACKAGE vegalyra)
else()
    set(VEGALYRA_PACKAGE vegalyra)
    set(VEGALYRA_OTHER_PACKAGE vegalyra-qt6)
endif()
set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${VEGALYRA_PACKAGE})

set(VEGALYRA_PROGRAMS vegalyra)
if(TARGET vegalyra-emulator)
    list(APPEND VEGALYRA_PROGRAMS vegalyra-emulator)
endif()
install(TARGETS ${VEGALYRA_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Hardened as Debian builds its packages: checked string and memory
# functions where the compiler can see the sizes, and the whole relocation
# table read-only from the start. Not under the sanitizers, whose checks
# these would bypass.
if(NOT VEGALYRA_SANITIZE)
    foreach(target vegalyra_codecs vegalyra_core vegalyra_emulator ${VEGALYRA_PROGRAMS})
        if(TARGET ${target})
            target_compile_options(${target} PRIVATE
                $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>)
        endif()
    endforeach()
    foreach(program ${VEGALYRA_PROGRAMS})
        target_link_options(${program} PRIVATE -Wl,-z,relro,-z,now)
    endforeach()
endif()
# A stripped program also loses the compilers' notes, as Debian's own do.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program ${VEGALYRA_PROGRAMS})
            execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment --remove-section=.note
                \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program})
        endforeach()
    endif()")

# Named in the package and in the changelog's trailer, so set before the
# changelog is written: a first configure must not leave the name empty.
set(VEGALYRA_MAINTAINER "VEGA & LYRA tool maintainers <maintainers@vegalyra.invalid>"
    CACHE STRING "Maintainer named in the Debian package (who builds and hands it out)")

if(UNIX AND NOT APPLE)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/vegalyra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(side 48 128 256)
        install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/vegalyra-${side}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps
            RENAME vegalyra.png)
    endforeach()

    # What Debian's tools and software centres look for beside the programs:
    # the licence, the changelog and the manual pages (compressed as Debian
    # wants them: the most, and without a time stamp, so a rebuild gives the
    # same bytes), the AppStream metadata and the bash completion.
    set(VEGALYRA_HOMEPAGE "https://vegalyra.invalid/" CACHE STRING
        "Where the tool is handed out: the AppStream homepage, under which docs/ holds the screenshots")
    set(VEGALYRA_APPSTREAM_FILE ${CMAKE_BINARY_DIR}/invalid.vegalyra.vegalyra.metainfo.xml)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/vegalyra.metainfo.xml.in ${VEGALYRA_APPSTREAM_FILE} @ONLY)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
    set(VEGALYRA_DOCS)
    foreach(page man/vegalyra.1 man/vegalyra-emulator.1 ${CMAKE_BINARY_DIR}/changelog)
        get_filename_component(page_path ${page} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_LIST_DIR})
        get_filename_component(page_name ${page} NAME)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${page_name}.gz
            COMMAND sh -c "gzip -9nc \"$1\" >\"$2\"" - ${page_path} ${CMAKE_BINARY_DIR}/${page_name}.gz
            DEPENDS ${page_path} VERBATIM)
        list(APPEND VEGALYRA_DOCS ${CMAKE_BINARY_DIR}/${page_name}.gz)
    endforeach()
    add_custom_target(vegalyra_docs ALL DEPENDS ${VEGALYRA_DOCS})
    install(FILES ${CMAKE_BINARY_DIR}/vegalyra.1.gz ${CMAKE_BINARY_DIR}/vegalyra-emulator.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${CMAKE_BINARY_DIR}/changelog.gz ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
    install(FILES ${VEGALYRA_APPSTREAM_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/bash-completion/vegalyra
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()

# The verb test holds the manual page against --help.
if(TARGET tst_verbs)
    target_compile_definitions(tst_verbs PRIVATE
        VEGALYRA_MANPAGE="${CMAKE_CURRENT_LIST_DIR}/man/vegalyra.1")
endif()

# Packing needs only the programs, not the test suite: scripts/package builds
# this target, and installing no longer builds everything first.
add_custom_target(vegalyra_programs DEPENDS ${VEGALYRA_PROGRAMS})
if(TARGET vegalyra_docs)
    add_dependencies(vegalyra_programs vegalyra_docs)
endif()
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VEGALYRA_PACKAGE})
set(CPACK_DEBIAN_PACKAGE_CONFLICTS ${VEGALYRA_OTHER_PACKAGE})
set(CPACK_DEBIAN_PACKAGE_REPLACES ${VEGALYRA_OTHER_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VEGA & LYRA tool maintainers")
set(CPACK_PACKAGE_CONTACT "${VEGALYRA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VEGALYRA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration tool for VEGA and LYRA radio-control transmitters")
set(CPACK_PACKAGE_DESCRIPTION "\
Connect a VEGA or LYRA eight-channel transmitter through its USB serial
cable, read every model setting into the tool, edit it (servo reverse,
sub-trim, end points, dual rate and expo, mixes, throttle curve, alarms,
stick mode) and write it back. While the port is open the tool shows the
live channel outputs, trims, RSSI and voltages.")
if(VEGALYRA_QT STREQUAL "6")
    string(APPEND CPACK_PACKAGE_DESCRIPTION "
.
This package is the tool built with Qt 6, for systems that ship Qt 6; the
package vegalyra is the same tool built with Qt 5.")
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
include(CPack)
