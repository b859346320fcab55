// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>

// Process-wide settings the tool makes before anything else runs.

// A file-size limit (ulimit -f) must make a save fail like any other
// failed write, with the old file kept and the pilot told, instead of
// killing the tool with the settings still unsaved.
void ignoreFileSizeSignal();

// Started from a terminal, the trace lines go to it. Started any other way
// (from the desktop menu, where whatever the tool writes lands in the
// session's journal, or with its output sent to a file) they are off:
// while the transmitter streams they come 200 a second. QT_LOGGING_RULES
// still decides over this ("default.debug=true" keeps them in a file).
void keepTraceLinesOffLogs();

// On Windows a native file dialog runs a loop of its own in which the
// serial port's notifications are not delivered: nothing from the
// transmitter would be heard while one is open. Qt's own dialogs run in
// Qt's loop, as every other dialog of the tool does.
void keepReceptionDuringDialogs();

// The main window's size at 100 %, as its form lays it out.
inline constexpr QSize kWindowSize(1100, 680);

// The scale the window opens at. `desktopScale` is the factor the desktop
// asks for (1.5 at 150 %); `window` is the whole window at 100 %, frame
// and title bar included; `available` is the screen's area the taskbar and
// panels leave, in device pixels. The desktop's scale when the window fits
// at it (or the desktop asks for no enlargement), else the largest smaller
// step of 25 % that fits, down to 100 %, where the window stays however
// small the screen.
double fittingScale(double desktopScale, QSize window, QSize available);

// With the application object running on the desktop's scale: the factor
// to restart it with (QT_SCALE_FACTOR) so that a window of `formSize`
// (at 100 %, without frame) fits the primary screen by fittingScale(), or
// 1 when it fits already or the user set a scale of their own.
double scaleCorrectionToFit(QSize formSize);
