// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of every page of the main window, for looking at the
// layout and for the README: tool_screenshots [outdir]
#include "app/mainwindow.h"
#include "ui/mainform.h"
#include "views/statusline.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);

    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    static const char *const names[6] = {"SERVO",    "BASIC",    "ADVANCE1",
                                         "ADVANCE2", "PROG.MIX", "SYSTEM"};
    QTabWidget *tabs = window.form()->tabWidget;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QTest::qWait(150); // let one refresh tick copy the parameter record in
        const QString file = QStringLiteral("%1/page-%2-%3.png").arg(outDir).arg(i).arg(names[i]);
        if (!window.grab().save(file))
            return 1;
        qInfo("%s", qPrintable(file));
    }
    // The status line at its fullest: the longest text it says (the hint
    // after a refused OPEN) beside the unwritten changes and the model held.
    // Told through the status line, which fits its parts to the window.
    StatusLine *status = window.findChild<StatusLine *>();
    status->openFailed(QStringLiteral(
        "ttyUSB0: Permission denied — join the group dialout (owner of /dev/ttyUSB0) "
        "and log in again"));
    paramSet.subTrim[0] += 1;
    status->showHeldModel(QStringLiteral("like Cub 1.2 m (3 settings differ)"));
    QTest::qWait(150);
    const QString file = QStringLiteral("%1/status-line.png").arg(outDir);
    if (!window.grab().save(file))
        return 1;
    qInfo("%s", qPrintable(file));
    return 0;
}
