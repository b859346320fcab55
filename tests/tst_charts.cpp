// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The two ADVANCE2 charts: where the strokes go for the pilot's settings,
// what a painted chart looks like (curve, frame, background, point
// numbers), that the chart on screen follows an edit within two refresh
// ticks, and that charts on a hidden page never paint.
#include "app/mainwindow.h"
#include "model/parameterset.h"
#include "ui/mainform.h"
#include "model/curvegeometry.h"

#include <QComboBox>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <climits>

namespace {

constexpr int kAdvance2 = 3;
constexpr QRgb kRed = 0xff0000, kGreen = 0x00ff00, kWhite = 0xffffff;
const int kPointX[kThrottlePoints] = {30, 63, 106, 150, 193, 236, 280}; // 300-pixel chart

using Path = QVector<QPointF>;

// A D/R curve as one path: the lower half into the centre, the upper one out.
Path dualRateCurve(QPointF start1, QPointF control1, QPointF start2, QPointF control2)
{
    Path path;
    for (int k = 0; k <= 128; ++k) {
        const bool lower = k <= 64;
        const double t = lower ? k / 64.0 : (128 - k) / 64.0, s = 1 - t;
        const QPointF p0 = lower ? start1 : start2, c2 = lower ? control1 : control2;
        path << (s * s * s + 3 * s * s * t) * p0 + 3 * s * t * t * c2 +
                    t * t * t * QPointF(140, 140);
    }
    return path;
}

double distanceTo(QPointF p, const Path &path)
{
    double best = INFINITY;
    for (int i = 0; i + 1 < path.size(); ++i) {
        const QPointF a = path[i], d = path[i + 1] - a;
        const double t =
            std::clamp(QPointF::dotProduct(p - a, d) / QPointF::dotProduct(d, d), 0.0, 1.0);
        best = std::min(best, QLineF(p, a + t * d).length());
    }
    return best;
}

QImage rgbImage(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb rgb(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

// Only the curve: red pixels on white. Text may differ by a shade between
// the screen and a fresh grab.
QImage curveOf(const QPixmap &chart)
{
    QImage image = rgbImage(chart);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgb(image, x, y) != kRed)
                image.setPixel(x, y, 0xffffffff);
    return image;
}

QString at(int x, int y)
{
    return QStringLiteral("(%1, %2)").arg(x).arg(y);
}

} // namespace

class TestCharts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { delete window; }

    void workedExamples_data();
    void workedExamples();
    void painted_data();
    void painted();
    void screenFollowsWithinTwoTicks_data();
    void screenFollowsWithinTwoTicks();
    void paintsOnlyOnAdvance2_data();
    void paintsOnlyOnAdvance2();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }

private:
    QWidget *chart(const QString &name) { return window->findChild<QWidget *>(name); }
    void tick();
    QPixmap onScreen(QWidget *chart);

    MainWindow *window = nullptr;
    QList<QTimer *> chartTimers;
    QHash<QObject *, int> paints;
};

void TestCharts::initTestCase()
{
    // every timer is driven by hand, so a row decides what each tick does
    window = new MainWindow;
    for (QTimer *t : window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
        t->stop();
    for (const char *name : {"widget_3", "widget_4"}) {
        QTimer *timer = chart(QLatin1String(name))->findChild<QTimer *>();
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 100);
        timer->stop();
        chartTimers << timer;
        chart(QLatin1String(name))->installEventFilter(this);
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestCharts::init()
{
    paramSet = kStartParameters;
    window->form()->tabWidget->setCurrentIndex(kAdvance2);
    tick();
}

// The worst order within 100 ms: the charts' timers just before the refresh.
void TestCharts::tick()
{
    for (QTimer *timer : chartTimers)
        QMetaObject::invokeMethod(timer, "timeout");
    QCoreApplication::processEvents();
    QMetaObject::invokeMethod(window, "ui_Display", Qt::DirectConnection);
    QCoreApplication::processEvents();
}

// What the chart last put on the screen, where grab() would paint afresh.
QPixmap TestCharts::onScreen(QWidget *chart)
{
    const QPoint p = chart->mapTo(window, QPoint(0, 0));
    return window->windowHandle()->screen()->grabWindow(window->winId(), p.x(), p.y(),
                                                        chart->width(), chart->height());
}

void TestCharts::workedExamples_data()
{
    QTest::addColumn<QVector<int>>("values"); // rate and expo, or POINT1 … POINT7
    // D/R: both outer starts and second control points; throttle: the points
    QTest::addColumn<QVector<QPoint>>("points");

    using P = QVector<QPoint>;
    QTest::newRow("rate 100") << QVector<int>{100, 0}
                              << P{{20, 260}, {80, 200}, {260, 20}, {200, 80}};
    QTest::newRow("rate 50") << QVector<int>{50, 0}
                             << P{{20, 200}, {80, 170}, {260, 80}, {200, 110}};
    QTest::newRow("expo 50") << QVector<int>{100, 50}
                             << P{{20, 260}, {100, 230}, {260, 20}, {180, 50}};
    QTest::newRow("expo -100") << QVector<int>{100, -100}
                               << P{{20, 260}, {40, 140}, {260, 20}, {240, 140}};
    QTest::newRow("75 / 30, each quotient truncated")
        << QVector<int>{75, 30} << P{{20, 230}, {88, 198}, {260, 50}, {192, 82}};
    QTest::newRow("rate 0, expo 77")
        << QVector<int>{0, 77} << P{{20, 140}, {80, 140}, {260, 140}, {200, 140}};
    // raw bytes from a frame, before validation has capped them
    QTest::newRow("rate 255, expo 155")
        << QVector<int>{255, 155} << P{{20, 446}, {238, 530}, {260, -166}, {42, -250}};
    QTest::newRow("throttle start values")
        << QVector<int>{0, 16, 33, 50, 67, 84, 100}
        << P{{30, 270}, {63, 231}, {106, 190}, {150, 150}, {193, 109}, {236, 68}, {280, 30}};
    QTest::newRow("throttle raw bytes")
        << QVector<int>{255, 101, 0, 0, 0, 0, 0}
        << P{{30, -342}, {63, 28}, {106, 270}, {150, 270}, {193, 270}, {236, 270}, {280, 270}};
}

void TestCharts::workedExamples()
{
    QFETCH(QVector<int>, values);
    QFETCH(QVector<QPoint>, points);

    if (values.size() == 2) {
        const RateChartGeometry g = rateChartGeometry(280, 280, values[0], values[1]);
        for (const CubicHalf &half : {g.lower, g.upper}) {
            QCOMPARE(half.control1, half.start);
            QCOMPARE(half.end, QPoint(140, 140));
        }
        QCOMPARE(
            (QVector<QPoint>{g.lower.start, g.lower.control2, g.upper.start, g.upper.control2}),
            points);
        return;
    }
    int curve[kThrottlePoints];
    std::copy(values.begin(), values.end(), curve);
    const ThrottleChartGeometry g = throttleChartGeometry(300, 300, curve);
    QCOMPARE(QVector<QPoint>(g.points.begin(), g.points.end()), points);
    for (int i = 0; i + 1 < kThrottlePoints; ++i)
        QCOMPARE(g.curve[i], QLine(points[i], points[i + 1]));
    QSet<int> levels, columns; // 0 % … 100 %, and through POINT2 … POINT7
    for (const QLine &dash : g.gridDashes)
        (dash.dy() == 0 ? levels : columns) << (dash.dy() == 0 ? dash.y1() : dash.x1());
    QCOMPARE(levels, (QSet<int>{30, 54, 78, 102, 126, 150, 174, 198, 222, 246, 270}));
    QCOMPARE(columns, (QSet<int>{63, 106, 150, 193, 236, 280}));
}

void TestCharts::painted_data()
{
    QTest::addColumn<QVector<int>>("values"); // rate and expo, or POINT1 … POINT7
    QTest::addColumn<Path>("red");            // where the curve runs; empty: off the chart

    QTest::newRow("throttle start values")
        << QVector<int>{0, 16, 33, 50, 67, 84, 100}
        << Path{{30, 270}, {63, 231}, {106, 190}, {150, 150}, {193, 109}, {236, 68}, {280, 30}};
    QTest::newRow("throttle all 50") << QVector<int>(7, 50) << Path{{30, 150}, {280, 150}};
    QTest::newRow("throttle 100 then 0")
        << QVector<int>{100, 0, 0, 0, 0, 0, 0} << Path{{30, 30}, {63, 270}, {280, 270}};
    QTest::newRow("throttle far above 100") << QVector<int>(7, INT_MAX) << Path();
    QTest::newRow("throttle far below 0") << QVector<int>(7, INT_MIN) << Path();
    QTest::newRow("rate 100: the diagonal") << QVector<int>{100, 0} << Path{{20, 260}, {260, 20}};
    QTest::newRow("rate 50: half the throw") << QVector<int>{50, 0} << Path{{20, 200}, {260, 80}};
    for (int expo : {0, 100, -100})
        QTest::addRow("rate 0, expo %d: flat", expo)
            << QVector<int>{0, expo} << Path{{20, 140}, {260, 140}};
    QTest::newRow("expo 50") << QVector<int>{100, 50}
                             << dualRateCurve({20, 260}, {100, 230}, {260, 20}, {180, 50});
    QTest::newRow("expo -100") << QVector<int>{100, -100}
                               << dualRateCurve({20, 260}, {40, 140}, {260, 20}, {240, 140});
    QTest::newRow("rate far above 100: upright through the centre")
        << QVector<int>{INT_MAX, 0} << Path{{140, 0}, {140, 279}};
}

void TestCharts::painted()
{
    QFETCH(QVector<int>, values);
    QFETCH(Path, red);

    const bool rates = values.size() == 2;
    if (rates) {
        paramSet.drEditRate = values[0];
        paramSet.drEditExpo = values[1];
    } else {
        std::copy(values.begin(), values.end(), paramSet.throttleCurve);
    }
    const QImage image = rgbImage(chart(rates ? "widget_3" : "widget_4")->grab());
    const int w = image.width(), h = image.height();
    QCOMPARE(image.size(), rates ? QSize(280, 280) : QSize(300, 300));

    // red all along the curve; red pixels only there, unsmoothed and 4 wide
    for (int i = 0; i + 1 < red.size(); ++i)
        for (int k = 0; k <= 512; ++k) {
            const QPointF p = red[i] + (red[i + 1] - red[i]) * (k / 512.0);
            const int x = std::min(int(p.x()), w - 1), y = std::min(int(p.y()), h - 1);
            QVERIFY2(rgb(image, x, y) == kRed, qPrintable(at(x, y)));
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = rgb(image, x, y);
            if (qRed(c) > qGreen(c) && qRed(c) > qBlue(c))
                QVERIFY2(c == kRed && distanceTo({x + 0.5, y + 0.5}, red) < 3.2,
                         qPrintable(at(x, y)));
        }

    // a green frame 4 wide wherever the curve leaves it uncovered, on white
    const QRect frame = rates ? QRect(20, 20, 240, 240) : QRect(30, 30, 250, 240);
    const QRect outer = frame.adjusted(0, 0, 1, 1);
    for (int y = outer.top(); y <= outer.bottom(); ++y)
        for (int x = outer.left(); x <= outer.right(); ++x)
            if ((x == outer.left() || x == outer.right() || y == outer.top() ||
                 y == outer.bottom()) &&
                distanceTo({x + 0.5, y + 0.5}, red) > 4)
                QVERIFY2(rgb(image, x, y) == kGreen, qPrintable(at(x, y)));
    const int clearX = rates ? 100 : 85; // clear of grid columns and curves
    for (int k = -3; k <= 2; ++k)
        QCOMPARE(rgb(image, clearX, frame.top() + k), k == -3 || k == 2 ? kWhite : kGreen);
    for (QPoint p : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(w - 1, h - 1), QPoint(2, h - 2),
                     QPoint(w / 2 + 40, h / 2 - 40)})
        if (distanceTo(p + QPointF(0.5, 0.5), red) > 4)
            QCOMPARE(rgb(image, p.x(), p.y()), kWhite);
    if (rates)
        return;

    // "1" … "7" in blue between the frame's bottom edge and the widget's,
    // each centred under its point
    QVector<bool> used(w);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = rgb(image, x, y);
            if (qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 60) {
                QVERIFY2(y > 271 && y < h - 1, qPrintable(at(x, y)));
                used[x] = true;
            }
        }
    QVector<double> centres;
    for (int x = 0; x < w; ++x)
        if (used[x] && (x == 0 || !used[x - 1]))
            centres << (x + int(std::find(used.begin() + x, used.end(), false) - used.begin())) /
                           2.0;
    QCOMPARE(centres.size(), kThrottlePoints);
    for (int i = 0; i < kThrottlePoints; ++i)
        QVERIFY2(qAbs(centres[i] - kPointX[i]) <= 1.5, qPrintable(QString::number(centres[i])));
}

void TestCharts::screenFollowsWithinTwoTicks_data()
{
    QTest::addColumn<QString>("edited"); // a widget, or "record" for a READ or LOAD
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("chart");

    QTest::newRow("D/R channel") << "comboBox_DR_CH2" << 2 << "widget_3";
    QTest::newRow("D/R position") << "comboBox_DR_POSI" << 1 << "widget_3";
    QTest::newRow("RATE") << "spinBox_DR_RATE" << 30 << "widget_3";
    QTest::newRow("EXP") << "spinBox_DR_EXP" << -70 << "widget_3";
    QTest::newRow("POINT4") << "spinBox_THCURE_Data04" << 90 << "widget_4";
    QTest::newRow("POINT2 from the transmitter") << "record" << 100 << "widget_4";
}

void TestCharts::screenFollowsWithinTwoTicks()
{
    QFETCH(QString, edited);
    QFETCH(int, value);
    QFETCH(QString, chart);

    paramSet.drRate[0][2] = 0; // CH3 UP: flat
    paramSet.drRate[1][0] = 50;
    paramSet.drExpo[1][0] = -60; // CH1 DOWN
    QWidget *widget = this->chart(chart);
    tick();
    const QImage before = curveOf(onScreen(widget));
    QCOMPARE(before, curveOf(widget->grab()));

    if (auto *box = window->findChild<QComboBox *>(edited))
        box->setCurrentIndex(value);
    else if (auto *spin = window->findChild<QSpinBox *>(edited))
        spin->setValue(value);
    else
        paramSet.throttleCurve[1] = value;
    tick();
    tick();
    const QImage after = curveOf(onScreen(widget));
    QCOMPARE(after, curveOf(widget->grab()));
    QVERIFY(after != before);
}

void TestCharts::paintsOnlyOnAdvance2_data()
{
    QTest::addColumn<int>("page");
    static const char *const pages[6] = {"SERVO",    "BASIC",    "ADVANCE1",
                                         "ADVANCE2", "PROG.MIX", "SYSTEM"};
    for (int page = 0; page < 6; ++page)
        QTest::newRow(pages[page]) << page;
}

void TestCharts::paintsOnlyOnAdvance2()
{
    QFETCH(int, page);

    window->form()->tabWidget->setCurrentIndex(page);
    QCoreApplication::processEvents();
    paints.clear();
    for (int k = 0; k < 3; ++k) {
        // the record keeps changing, as while the transmitter answers a READ
        paramSet.throttleCurve[3] = 40 + k;
        paramSet.drEditExpo = 10 * k;
        tick();
    }
    const int expected = page == kAdvance2 ? 3 : 0; // one per tick, or none
    QCOMPARE(paints.value(chart(QStringLiteral("widget_3"))), expected);
    QCOMPARE(paints.value(chart(QStringLiteral("widget_4"))), expected);
}

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
