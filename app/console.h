// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstdio>

// Text for the pilot's terminal, every character as typed: a model named in
// Greek or Chinese reads the same in the console as in the window. On
// Windows a console gets the text as Unicode (WriteConsoleW), and output
// redirected to a file or a pipe gets UTF-8, never the ANSI code page,
// which turns such names into "????". Elsewhere the terminal's own
// encoding, UTF-8 on every current system. The one place that knows how.
void writeText(std::FILE *stream, const QString &text);
