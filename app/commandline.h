// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

// What the pilot asked for on the command line. Without options the tool
// starts exactly as always.
struct CommandLineOptions {
    QStringList ports;    // --port PATH, in the order given
    bool exitNow = false; // --help, --version or a mistake: nothing to start
    int exitCode = 0;
    QString message; // what to print before exiting
    // A verb that prints or writes and exits without a window ("show",
    // "diff", "sheet"), and its file arguments in the order given (for
    // "sheet" the file it reads, then the file it writes); empty for the
    // window.
    QString verb;
    QStringList verbArguments;
    bool explain = false; // --show --explain: each setting with its help line
};

// Names the application (so the window manager and Qt's settings know it)
// and parses the arguments. Needs no application object, so --help and
// --version work without a display.
CommandLineOptions parseCommandLine(const QStringList &arguments);
