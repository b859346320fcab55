// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the two ADVANCE2 charts. Each repaints completely every 100 ms
// while its page is shown, and its timer still ticks while it is hidden.
// One row per case; the "(…)" rows are the bare cost of the machinery, to
// be subtracted from the rows below them.
//
//   bench_charts                                        wall time
//   valgrind --tool=callgrind bench_charts -callgrind   instructions
#include "app/mainwindow.h"
#include "model/parameterset.h"
#include "ui/formstyles.h"
#include "ui/mainform.h"

#include <QImage>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int kServo = 0, kAdvance2 = 3;

enum class Run {
    Render,    // paint the chart into an image, as the backing store gets it
    TimerTick, // what one tick of the chart's own timer sets off
};

} // namespace

Q_DECLARE_METATYPE(Run)

class BenchCharts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void paint_data();
    void paint();

private:
    MainWindow *window = nullptr;
    QWidget *blank = nullptr;
};

void BenchCharts::initTestCase()
{
    window = new MainWindow;
    // the rows drive every tick themselves
    for (QTimer *t : window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
        t->stop();
    for (const char *name : {"widget_3", "widget_4"})
        window->findChild<QWidget *>(QLatin1String(name))->findChild<QTimer *>()->stop();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    // a panel of the throttle chart's size and look that draws nothing
    blank = new QWidget;
    blank->setFixedSize(300, 300);
    blank->setStyleSheet(formStyles().curveWidget);
    blank->setAttribute(Qt::WA_StyledBackground, true);
}

void BenchCharts::cleanupTestCase()
{
    delete blank;
    delete window;
}

void BenchCharts::paint_data()
{
    QTest::addColumn<QString>("chart"); // object name; empty: no chart at all
    QTest::addColumn<Run>("run");
    QTest::addColumn<int>("page");

    QTest::newRow("(event loop turn, nothing to do)") << QString() << Run::TimerTick << kServo;
    QTest::newRow("D/R chart, tick, page hidden") << "widget_3" << Run::TimerTick << kServo;
    QTest::newRow("throttle chart, tick, page hidden") << "widget_4" << Run::TimerTick << kServo;
    QTest::newRow("(blank 300 x 300 panel, render)") << "blank" << Run::Render << kAdvance2;
    QTest::newRow("D/R chart, render") << "widget_3" << Run::Render << kAdvance2;
    QTest::newRow("throttle chart, render") << "widget_4" << Run::Render << kAdvance2;
    QTest::newRow("D/R chart, tick, ADVANCE2 shown") << "widget_3" << Run::TimerTick << kAdvance2;
    QTest::newRow("throttle chart, tick, ADVANCE2 shown")
        << "widget_4" << Run::TimerTick << kAdvance2;
}

void BenchCharts::paint()
{
    QFETCH(QString, chart);
    QFETCH(Run, run);
    QFETCH(int, page);

    paramSet = kStartParameters;
    paramSet.drEditExpo = 40; // a real bend in both halves
    window->form()->tabWidget->setCurrentIndex(page);
    QCoreApplication::processEvents();
    QWidget *widget = chart == QLatin1String("blank") ? blank : window->findChild<QWidget *>(chart);
    QVERIFY(chart.isEmpty() || widget);

    QImage image(300, 300, QImage::Format_ARGB32_Premultiplied);
    if (widget)
        widget->render(&image); // fonts and glyphs loaded before measuring
    if (run == Run::Render) {
        QBENCHMARK
        {
            widget->render(&image);
        }
    } else {
        QBENCHMARK
        {
            if (widget)
                QMetaObject::invokeMethod(widget, "creatData", Qt::DirectConnection);
            QCoreApplication::processEvents();
        }
    }
}

QTEST_MAIN(BenchCharts)
#include "bench_charts.moc"
