// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmarks (and the one test that measures a poll) share: the
// process's CPU time, and a message handler that keeps the trace lines off
// the terminal so that a run measures the tool, not the terminal.
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <sys/resource.h>

// User and system CPU seconds this process has used so far.
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Install with qInstallMessageHandler: drops qDebug, prints the rest.
inline void dropDebug(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
