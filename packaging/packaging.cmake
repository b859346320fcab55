# Install rules and the Debian package: `cmake --install` puts the programs
# in bin/, and the desktop entry and the application icon where a desktop's
# menu finds them; `cpack` (scripts/package) wraps the same files into
# build/vegalyra_<version>_<arch>.deb.
# packaging/windows/ packs the Windows build.
if(WIN32)
    return()
endif()
include(GNUInstallDirs)

set(VEGALYRA_PROGRAMS vegalyra)
if(TARGET vegalyra-emulator)
    list(APPEND VEGALYRA_PROGRAMS vegalyra-emulator)
endif()
install(TARGETS ${VEGALYRA_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/vegalyra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(side 48 128 256)
        install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/vegalyra-${side}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps
            RENAME vegalyra.png)
    endforeach()
endif()

# Packing needs only the programs, not the test suite: scripts/package builds
# this target, and installing no longer builds everything first.
add_custom_target(vegalyra_programs DEPENDS ${VEGALYRA_PROGRAMS})
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vegalyra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VEGA & LYRA tool maintainers")
set(VEGALYRA_MAINTAINER "VEGA & LYRA tool maintainers <maintainers@vegalyra.invalid>"
    CACHE STRING "Maintainer named in the Debian package (who builds and hands it out)")
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
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
include(CPack)
