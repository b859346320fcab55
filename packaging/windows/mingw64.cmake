# SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds for 64-bit Windows on Debian with MinGW-w64 (posix threads):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=packaging/windows/mingw64.cmake \
#         -DCMAKE_PREFIX_PATH=<Qt for Windows>
# scripts/windows builds that Qt and runs this. Test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VEGALYRA_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VEGALYRA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEGALYRA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VEGALYRA_MINGW}-windres)

# Qt's host tools (moc, rcc, uic) are Linux programs inside the Qt prefix;
# everything else is searched for among the Windows libraries only.
set(CMAKE_FIND_ROOT_PATH /usr/${VEGALYRA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The MinGW run-time (libstdc++, libgcc, winpthread) goes into each program,
# so vegalyra.exe runs on a PC that has none of MinGW's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the Windows test programs under Wine.
find_program(VEGALYRA_WINE NAMES wine64 wine)
if(VEGALYRA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VEGALYRA_WINE})
endif()
