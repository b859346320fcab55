// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vegalyra.exe is a Windows GUI program, so Windows starts it without a
// console and what it prints goes nowhere. Started from a command prompt,
// it writes to that prompt's console instead, so --help, --version and the
// other verbs answer there; output redirected to a file or a pipe stays
// where it was sent.
#include <windows.h>

#include <cstdio>

namespace {

bool goesNowhere(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

struct ParentConsole {
    ParentConsole()
    {
        const bool out = goesNowhere(STD_OUTPUT_HANDLE);
        const bool err = goesNowhere(STD_ERROR_HANDLE);
        if ((!out && !err) || !AttachConsole(ATTACH_PARENT_PROCESS))
            return;
        if (out)
            std::freopen("CONOUT$", "w", stdout);
        if (err)
            std::freopen("CONOUT$", "w", stderr);
    }
};

// Before main(), so the first line printed already finds the console.
const ParentConsole parentConsole;

} // namespace
