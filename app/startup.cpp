// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <QWindow>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

void ignoreFileSizeSignal()
{
#if defined(Q_OS_UNIX) && defined(SIGXFSZ)
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void keepReceptionDuringDialogs()
{
#ifdef Q_OS_WIN
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
#endif
}

void keepTraceLinesOffLogs()
{
#ifdef Q_OS_UNIX
    // Rules set here come before those of QT_LOGGING_RULES, so the
    // variable still wins.
    if (!::isatty(STDERR_FILENO))
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
#endif
}

double fittingScale(double desktopScale, QSize window, QSize available)
{
    const auto fits = [&](double scale) {
        return std::ceil(window.width() * scale) <= available.width() &&
               std::ceil(window.height() * scale) <= available.height();
    };
    if (!(desktopScale > 1.0) || fits(desktopScale))
        return desktopScale > 0.0 ? desktopScale : 1.0;
    // Desktop scales come in steps of 25 %; a scale between steps (say 160 %)
    // tries the step below it first.
    constexpr double kStep = 0.25;
    for (double scale = std::ceil(desktopScale / kStep - 1e-9) * kStep - kStep; scale > 1.0;
         scale -= kStep) {
        if (fits(scale))
            return scale;
    }
    return 1.0;
}

double scaleCorrectionToFit(QSize formSize)
{
    // A scale the user set for Qt is theirs to keep.
    for (const char *name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                             "QT_ENABLE_HIGHDPI_SCALING", "QT_AUTO_SCREEN_SCALE_FACTOR"}) {
        if (qEnvironmentVariableIsSet(name))
            return 1.0;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    const double desktopScale = screen->devicePixelRatio();
    if (!(desktopScale > 1.0))
        return 1.0;

    // The frame as the window system draws it; where it only tells once the
    // window is on screen (X11), a title bar's worth at least.
    QWindow probe;
    probe.resize(formSize);
    probe.create();
    const QMargins measured = probe.frameMargins();
    const QMargins assumed(0, 32, 0, 0);
    const QMargins frame(
        std::max(measured.left(), assumed.left()), std::max(measured.top(), assumed.top()),
        std::max(measured.right(), assumed.right()), std::max(measured.bottom(), assumed.bottom()));
    const QSize window = formSize.grownBy(frame);
    const QSize available = screen->availableGeometry().size() * desktopScale;
    const double chosen = fittingScale(desktopScale, window, available);
    return chosen == desktopScale ? 1.0 : chosen / desktopScale;
}
