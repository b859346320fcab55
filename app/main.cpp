// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandline.h"
#include "app/console.h"
#include "app/mainwindow.h"
#include "app/qtcompat.h"
#include "app/startup.h"
#include "app/verbs.h"
#include "files/paramfileread.h"
#include "keep/instancekeep.h"
#include "link/portlist.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <optional>

int main(int argc, char *argv[])
{
    ignoreFileSizeSignal();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileNameFromLocal(argv[i]); // file names need not be valid text
    const CommandLineOptions options = parseCommandLine(arguments);
    if (options.exitNow) {
        writeText(options.exitCode == 0 ? stdout : stderr, options.message);
        return options.exitCode;
    }
    if (!options.verb.isEmpty())
        return runVerb(options.verb, options.verbArguments, options.explain);
    keepTraceLinesOffLogs();
    keepReceptionDuringDialogs();

    // On a 150 % or 200 % display the fixed form scales as a whole instead
    // of staying small, and the icons come from their large pixmaps. Both
    // must be set before the application object exists.
    qtcompat::scaleForHighDpi();
    // 150 % stays 150 %: rounded up to 200 % the window would not fit a
    // 1920 x 1080 screen.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    // Where the desktop's scale would make the whole window larger than the
    // screen (1100 x 680 at 150 % on a 1920 x 1080 laptop is taller than
    // what the taskbar leaves), the next smaller scale that fits: Qt takes
    // the scale only when the application object starts, so it starts again.
    std::optional<QApplication> app(std::in_place, argc, argv);
    if (const double correction = scaleCorrectionToFit(kWindowSize); correction != 1.0) {
        app.reset();
        qputenv("QT_SCALE_FACTOR", QByteArray::number(correction, 'g', 6));
        app.emplace(argc, argv);
        // Read once at the start; programs the tool starts get the desktop's.
        qunsetenv("QT_SCALE_FACTOR");
    }
    // Lets the desktop pair the window with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vegalyra"));
    setExtraPortNames(options.ports);
    MainWindow window;
    if (!options.ports.isEmpty())
        window.selectPort(options.ports.first());
    window.show();
    QTimer::singleShot(0, &window, &MainWindow::offerWhatWasLeft);
    const int code = app->exec();
    releaseOwnKeep();
    return code;
}
