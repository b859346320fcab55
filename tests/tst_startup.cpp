// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The scale the window opens at: the desktop's where the whole window fits
// the screen, else the largest smaller step that fits, never below 100 %.
#include <QtTest>

#include "app/mainwindow.h"
#include "app/startup.h"

#include <cmath>
#include <unistd.h>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void fittingScale_data();
    void fittingScale();
    void windowSizeIsTheForms();
    void traceLinesOffWithoutTerminal();
};

void TestStartup::fittingScale_data()
{
    QTest::addColumn<double>("desktop");
    QTest::addColumn<QSize>("window"); // at 100 %, frame included
    QTest::addColumn<QSize>("available");
    QTest::addColumn<double>("expected");

    // The form is 1100 x 680; a Windows title bar adds about 31 at 100 %.
    const QSize window(1100, 711);
    const QSize laptop(1920, 1032); // 1920 x 1080 less a 48 px taskbar
    QTest::newRow("150 % on a 1080p laptop: 125 %") << 1.5 << window << laptop << 1.25;
    QTest::newRow("150 % on a 1440p screen stays") << 1.5 << window << QSize(2560, 1392) << 1.5;
    QTest::newRow("exactly the area stays") << 1.5 << window << QSize(1650, 1067) << 1.5;
    QTest::newRow("one pixel short steps down") << 1.5 << window << QSize(1650, 1066) << 1.25;
    QTest::newRow("100 % stays") << 1.0 << window << laptop << 1.0;
    QTest::newRow("200 % on a 4K screen stays") << 2.0 << window << QSize(3840, 2088) << 2.0;
    QTest::newRow("200 % on a 1080p screen: 125 %") << 2.0 << window << laptop << 1.25;
    QTest::newRow("175 % where only the width limits: 150 %")
        << 1.75 << window << QSize(1920, 1400) << 1.5;
    QTest::newRow("160 % tries 150 % first") << 1.6 << window << QSize(1700, 1100) << 1.5;
    QTest::newRow("125 % on a 1366 x 768 laptop: 100 %")
        << 1.25 << window << QSize(1366, 728) << 1.0;
    QTest::newRow("too small even at 100 %: 100 %") << 1.5 << window << QSize(1024, 600) << 1.0;
    QTest::newRow("no area known: 100 %") << 1.5 << window << QSize() << 1.0;
    QTest::newRow("below 100 % stays") << 0.75 << window << QSize(800, 500) << 0.75;
    QTest::newRow("no scale known: 100 %") << std::nan("") << window << laptop << 1.0;
}

void TestStartup::fittingScale()
{
    QFETCH(double, desktop);
    QFETCH(QSize, window);
    QFETCH(QSize, available);
    QFETCH(double, expected);
    QCOMPARE(::fittingScale(desktop, window, available), expected);
}

void TestStartup::windowSizeIsTheForms()
{
    MainWindow window;
    QCOMPARE(window.size(), kWindowSize);
}

void TestStartup::traceLinesOffWithoutTerminal()
{
    if (::isatty(STDERR_FILENO)) // ctest gives a pipe, as the desktop gives its journal
        QSKIP("standard error is a terminal here");
    QVERIFY(QLoggingCategory::defaultCategory()->isDebugEnabled());
    keepTraceLinesOffLogs();
    QVERIFY(!QLoggingCategory::defaultCategory()->isDebugEnabled());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
