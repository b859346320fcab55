// The two ADVANCE2 charts: where the strokes go for the pilot's settings,
// what a painted chart looks like, that the chart on screen follows an edit
// within two refresh ticks, and that charts on a hidden page never paint.
#include "app/mainwindow.h"
#include "model/parameterset.h"
#include "ui/mainform.h"
#include "views/curvegeometry.h"

#include <QComboBox>
#include <QScopeGuard>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kAdvance2 = 3;
constexpr QRgb kRed = 0xff0000, kGreen = 0x00ff00, kWhite = 0xffffff;
// POINT1 … POINT7 on the 300-pixel throttle chart
const int kPointX[kThrottlePoints] = {30, 63, 106, 150, 193, 236, 280};

using Path = QVector<QPointF>;

Path line(std::initializer_list<QPointF> points)
{
    return Path(points);
}

// The lower half of a D/R curve runs into the centre, the upper one out of
// it, so the whole curve is one path.
Path dualRateCurve(QPointF start1, QPointF control1, QPointF start2, QPointF control2)
{
    const QPointF centre(140, 140);
    Path path;
    auto addCubic = [&](QPointF p0, QPointF c2, bool reversed) {
        for (int k = 0; k <= 64; ++k) {
            const double t = (reversed ? 64 - k : k) / 64.0, s = 1 - t;
            path << s * s * s * p0 + 3 * s * s * t * p0 + 3 * s * t * t * c2 + t * t * t * centre;
        }
    };
    addCubic(start1, control1, false);
    addCubic(start2, control2, true);
    return path;
}

double distanceTo(QPointF p, const Path &path)
{
    double best = INFINITY;
    for (int i = 0; i + 1 < path.size(); ++i) {
        const QPointF a = path[i], d = path[i + 1] - a;
        const double len2 = QPointF::dotProduct(d, d);
        const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0;
        const QPointF q = a + t * d - p;
        best = std::min(best, std::hypot(q.x(), q.y()));
    }
    return best;
}

QRgb rgb(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

bool reddish(QRgb c)
{
    return qRed(c) > qGreen(c) && qRed(c) > qBlue(c);
}

bool blue(QRgb c)
{
    return qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 60;
}

// Only the curve of a chart: its red pixels on white. The texts beside it
// may come out a shade different on screen and in a fresh grab.
QImage curveOf(const QPixmap &chart)
{
    QImage image = chart.toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgb(image, x, y) != kRed)
                image.setPixel(x, y, 0xffffffff);
    return image;
}

// Counts the paint events that reach the two charts.
class PaintCounter : public QObject
{
public:
    QHash<QObject *, int> paints;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

} // namespace

class TestCharts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { delete window; }

    void rateGeometry_data();
    void rateGeometry();
    void throttleGeometry_data();
    void throttleGeometry();
    void painted_data();
    void painted();
    void pointNumbers_data();
    void pointNumbers();
    void screenFollowsWithinTwoTicks_data();
    void screenFollowsWithinTwoTicks();
    void paintsOnlyOnAdvance2_data();
    void paintsOnlyOnAdvance2();

private:
    QWidget *chart(const QString &name) { return window->findChild<QWidget *>(name); }
    void chartTick();
    void refreshTick();
    QPixmap onScreen(QWidget *chart);

    MainWindow *window = nullptr;
    QList<QTimer *> chartTimers;
};

void TestCharts::initTestCase()
{
    // Every timer is driven by hand, so a row decides what each tick does.
    window = new MainWindow;
    for (QTimer *t : window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
        t->stop();
    for (const char *name : {"widget_3", "widget_4"}) {
        QWidget *c = chart(QString::fromLatin1(name));
        QVERIFY(c);
        QTimer *timer = c->findChild<QTimer *>();
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 100);
        QVERIFY(timer->isActive());
        timer->stop();
        chartTimers << timer;
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestCharts::init()
{
    paramSet = kStartParameters;
    window->form()->tabWidget->setCurrentIndex(kAdvance2);
    refreshTick();
    refreshTick();
}

void TestCharts::chartTick()
{
    for (QTimer *timer : chartTimers)
        QMetaObject::invokeMethod(timer, "timeout");
    QCoreApplication::processEvents();
}

void TestCharts::refreshTick()
{
    QMetaObject::invokeMethod(window, "ui_Display", Qt::DirectConnection);
    QCoreApplication::processEvents();
}

// What the chart last put on the screen, as opposed to grab(), which paints afresh.
QPixmap TestCharts::onScreen(QWidget *chart)
{
    const QPoint at = chart->mapTo(window, QPoint(0, 0));
    return window->windowHandle()->screen()->grabWindow(window->winId(), at.x(), at.y(),
                                                        chart->width(), chart->height());
}

void TestCharts::rateGeometry_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("expo");
    QTest::addColumn<QPoint>("start1");
    QTest::addColumn<QPoint>("control1"); // the second control point of each half
    QTest::addColumn<QPoint>("start2");
    QTest::addColumn<QPoint>("control2");

    QTest::newRow("full rate, linear")
        << 100 << 0 << QPoint(20, 260) << QPoint(80, 200) << QPoint(260, 20) << QPoint(200, 80);
    QTest::newRow("half rate") << 50 << 0 << QPoint(20, 200) << QPoint(80, 170) << QPoint(260, 80)
                               << QPoint(200, 110);
    QTest::newRow("expo 50") << 100 << 50 << QPoint(20, 260) << QPoint(100, 230) << QPoint(260, 20)
                             << QPoint(180, 50);
    QTest::newRow("expo -100") << 100 << -100 << QPoint(20, 260) << QPoint(40, 140)
                               << QPoint(260, 20) << QPoint(240, 140);
    QTest::newRow("75 / 30, every quotient truncated")
        << 75 << 30 << QPoint(20, 230) << QPoint(88, 198) << QPoint(260, 50) << QPoint(192, 82);
    QTest::newRow("rate 0, expo 0")
        << 0 << 0 << QPoint(20, 140) << QPoint(80, 140) << QPoint(260, 140) << QPoint(200, 140);
    QTest::newRow("rate 0, expo 77")
        << 0 << 77 << QPoint(20, 140) << QPoint(80, 140) << QPoint(260, 140) << QPoint(200, 140);
    // a raw byte from a frame, before validation has capped it
    QTest::newRow("rate 255, expo 155") << 255 << 155 << QPoint(20, 446) << QPoint(238, 530)
                                        << QPoint(260, -166) << QPoint(42, -250);
}

void TestCharts::rateGeometry()
{
    QFETCH(int, rate);
    QFETCH(int, expo);
    QFETCH(QPoint, start1);
    QFETCH(QPoint, control1);
    QFETCH(QPoint, start2);
    QFETCH(QPoint, control2);

    const RateChartGeometry g = rateChartGeometry(280, 280, rate, expo);
    QCOMPARE(g.lower.start, start1);
    QCOMPARE(g.lower.control1, start1);
    QCOMPARE(g.lower.control2, control1);
    QCOMPARE(g.lower.end, QPoint(140, 140));
    QCOMPARE(g.upper.start, start2);
    QCOMPARE(g.upper.control1, start2);
    QCOMPARE(g.upper.control2, control2);
    QCOMPARE(g.upper.end, QPoint(140, 140));
}

void TestCharts::throttleGeometry_data()
{
    QTest::addColumn<QVector<int>>("curve");
    QTest::addColumn<QVector<int>>("ys");

    QTest::newRow("start values") << QVector<int>{0, 16, 33, 50, 67, 84, 100}
                                  << QVector<int>{270, 231, 190, 150, 109, 68, 30};
    QTest::newRow("all 50") << QVector<int>(7, 50) << QVector<int>(7, 150);
    QTest::newRow("raw bytes before validation")
        << QVector<int>{255, 101, 0, 0, 0, 0, 0} << QVector<int>{-342, 28, 270, 270, 270, 270, 270};
}

void TestCharts::throttleGeometry()
{
    QFETCH(QVector<int>, curve);
    QFETCH(QVector<int>, ys);

    int values[kThrottlePoints];
    std::copy(curve.begin(), curve.end(), values);
    const ThrottleChartGeometry g = throttleChartGeometry(300, 300, values);
    for (int i = 0; i < kThrottlePoints; ++i) {
        QCOMPARE(g.points[i], QPoint(kPointX[i], ys[i]));
        if (i > 0)
            QCOMPARE(g.curve[i - 1], QLine(g.points[i - 1], g.points[i]));
    }

    // the dashes form the levels 0 % … 100 % and a column through POINT2 … POINT7
    QSet<int> levels, columns;
    for (const QLine &dash : g.gridDashes) {
        QVERIFY(dash.dx() == 8 || dash.dy() == 8);
        if (dash.dy() == 0)
            levels << dash.y1();
        else
            columns << dash.x1();
    }
    QCOMPARE(levels, (QSet<int>{30, 54, 78, 102, 126, 150, 174, 198, 222, 246, 270}));
    QCOMPARE(columns, (QSet<int>{63, 106, 150, 193, 236, 280}));
}

void TestCharts::painted_data()
{
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QVector<int>>("values"); // rate and expo, or the seven points
    QTest::addColumn<Path>("red");            // where the curve runs; empty: off the chart

    const QString rates = QStringLiteral("widget_3"), throttle = QStringLiteral("widget_4");
    QTest::newRow("throttle start values")
        << throttle << QVector<int>{0, 16, 33, 50, 67, 84, 100}
        << line({{30, 270}, {63, 231}, {106, 190}, {150, 150}, {193, 109}, {236, 68}, {280, 30}});
    QTest::newRow("throttle all 50")
        << throttle << QVector<int>(7, 50) << line({{30, 150}, {280, 150}});
    QTest::newRow("throttle 100 then 0") << throttle << QVector<int>{100, 0, 0, 0, 0, 0, 0}
                                         << line({{30, 30}, {63, 270}, {280, 270}});
    QTest::newRow("throttle far above 100") << throttle << QVector<int>(7, INT_MAX) << Path();
    QTest::newRow("throttle far below 0") << throttle << QVector<int>(7, INT_MIN) << Path();

    QTest::newRow("rate 100, expo 0: the diagonal")
        << rates << QVector<int>{100, 0} << line({{20, 260}, {260, 20}});
    QTest::newRow("rate 50, expo 0: half the throw")
        << rates << QVector<int>{50, 0} << line({{20, 200}, {260, 80}});
    for (int expo : {0, 100, -100})
        QTest::addRow("rate 0, expo %d: flat", expo)
            << rates << QVector<int>{0, expo} << line({{20, 140}, {260, 140}});
    QTest::newRow("rate 100, expo 50")
        << rates << QVector<int>{100, 50}
        << dualRateCurve({20, 260}, {100, 230}, {260, 20}, {180, 50});
    QTest::newRow("rate 100, expo -100")
        << rates << QVector<int>{100, -100}
        << dualRateCurve({20, 260}, {40, 140}, {260, 20}, {240, 140});
    QTest::newRow("rate far above 100: upright through the centre")
        << rates << QVector<int>{INT_MAX, 0} << line({{140, 0}, {140, 279}});
}

void TestCharts::painted()
{
    QFETCH(QString, chart);
    QFETCH(QVector<int>, values);
    QFETCH(Path, red);

    const bool rates = chart == QLatin1String("widget_3");
    if (rates) {
        paramSet.drEditRate = values[0];
        paramSet.drEditExpo = values[1];
    } else {
        std::copy(values.begin(), values.end(), paramSet.throttleCurve);
    }
    QWidget *widget = this->chart(chart);
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    QCOMPARE(image.size(), QSize(rates ? 280 : 300, rates ? 280 : 300));

    // red all along the curve, 4 pixels wide, drawn without smoothing
    for (int i = 0; i + 1 < red.size(); ++i) {
        const QPointF a = red[i], d = red[i + 1] - a;
        const int steps = int(std::ceil(std::max(std::abs(d.x()), std::abs(d.y())))) * 2;
        for (int k = 0; k <= steps; ++k) {
            const QPointF p = a + d * (steps ? double(k) / steps : 0.0);
            const int x = std::min(int(p.x()), w - 1), y = std::min(int(p.y()), h - 1);
            QVERIFY2(rgb(image, x, y) == kRed,
                     qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        }
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (reddish(rgb(image, x, y)))
                QVERIFY2(rgb(image, x, y) == kRed && distanceTo({x + 0.5, y + 0.5}, red) < 3.2,
                         qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
    if (red.size() >= 2 && red.first().y() == red.last().y()) {
        // a third of the way along, clear of the D/R chart's vertical centre line
        const int x = int(2 * red.first().x() + red.last().x()) / 3, y = int(red.first().y());
        QCOMPARE(rgb(image, x, y - 3), kWhite);
        for (int k = -2; k <= 1; ++k)
            QCOMPARE(rgb(image, x, y + k), kRed);
        QCOMPARE(rgb(image, x, y + 2), kWhite);
    }

    // a green frame 4 pixels wide, wherever the curve leaves it uncovered
    const QRect frame = rates ? QRect(20, 20, 240, 240) : QRect(30, 30, 250, 240);
    const int left = frame.x(), top = frame.y(), right = left + frame.width(),
              bottom = top + frame.height();
    for (int x = left; x <= right; ++x)
        for (int y : {top, bottom})
            if (distanceTo({x + 0.5, y + 0.5}, red) > 4)
                QCOMPARE(rgb(image, x, y), kGreen);
    for (int y = top; y <= bottom; ++y)
        for (int x : {left, right})
            if (distanceTo({x + 0.5, y + 0.5}, red) > 4)
                QCOMPARE(rgb(image, x, y), kGreen);
    const int clearX = rates ? 100 : 85; // away from grid columns and curves
    QCOMPARE(rgb(image, clearX, top - 3), kWhite);
    for (int k = -2; k <= 1; ++k)
        QCOMPARE(rgb(image, clearX, top + k), kGreen);
    QCOMPARE(rgb(image, clearX, top + 2), kWhite);

    // white everywhere the chart draws nothing, right up to its last pixel
    for (QPoint p : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(w - 1, h - 1), QPoint(2, h - 2),
                     QPoint(w / 2 + 40, h / 2 - 40)})
        if (distanceTo(p + QPointF(0.5, 0.5), red) > 4)
            QCOMPARE(rgb(image, p.x(), p.y()), kWhite);
}

void TestCharts::pointNumbers_data()
{
    QTest::addColumn<int>("pixelSize"); // 0: the chart's own font
    QTest::newRow("chart's own font") << 0;
    QTest::newRow("room for larger text") << 20;
}

void TestCharts::pointNumbers()
{
    QFETCH(int, pixelSize);

    QWidget *widget = chart(QStringLiteral("widget_4"));
    const auto restoreFont = qScopeGuard([widget, own = widget->font()] { widget->setFont(own); });
    if (pixelSize) {
        QFont font = widget->font();
        font.setPixelSize(pixelSize);
        widget->setFont(font);
    }
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // blue, below the frame's bottom edge and clear of the widget's
    QVector<bool> used(image.width());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (blue(rgb(image, x, y))) {
                QVERIFY2(y > 271 && y < image.height() - 1,
                         qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
                used[x] = true;
            }
    // seven numbers, each centred under its point
    QVector<double> centres;
    for (int x = 0; x < used.size(); ++x)
        if (used[x] && (x == 0 || !used[x - 1])) {
            int last = x;
            while (last + 1 < used.size() && used[last + 1])
                ++last;
            centres << (x + last + 1) / 2.0;
        }
    QCOMPARE(centres.size(), kThrottlePoints);
    for (int i = 0; i < kThrottlePoints; ++i)
        QVERIFY2(std::abs(centres[i] - kPointX[i]) <= 1.5,
                 qPrintable(QStringLiteral("%1 at %2").arg(i + 1).arg(centres[i])));
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
    chartTick();
    const QImage before = curveOf(onScreen(widget));
    QCOMPARE(before, curveOf(widget->grab()));

    if (auto *box = window->findChild<QComboBox *>(edited))
        box->setCurrentIndex(value);
    else if (auto *spin = window->findChild<QSpinBox *>(edited))
        spin->setValue(value);
    else
        paramSet.throttleCurve[1] = value;
    // the worst order: each chart tick comes just before a refresh tick
    for (int tick = 0; tick < 2; ++tick) {
        chartTick();
        refreshTick();
    }
    const QImage after = curveOf(onScreen(widget));
    QCOMPARE(after, curveOf(widget->grab()));
    QVERIFY(after != before);
}

void TestCharts::paintsOnlyOnAdvance2_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("paints"); // per chart, over three ticks
    static const char *const pages[6] = {"SERVO",    "BASIC",    "ADVANCE1",
                                         "ADVANCE2", "PROG.MIX", "SYSTEM"};
    for (int page = 0; page < 6; ++page)
        QTest::newRow(pages[page]) << page << (page == kAdvance2 ? 3 : 0);
}

void TestCharts::paintsOnlyOnAdvance2()
{
    QFETCH(int, page);
    QFETCH(int, paints);

    window->form()->tabWidget->setCurrentIndex(page);
    QCoreApplication::processEvents();
    PaintCounter counter;
    QWidget *rates = chart(QStringLiteral("widget_3")),
            *throttle = chart(QStringLiteral("widget_4"));
    rates->installEventFilter(&counter);
    throttle->installEventFilter(&counter);
    for (int tick = 0; tick < 3; ++tick) {
        // the record keeps changing, as it does while the transmitter answers a READ
        paramSet.throttleCurve[3] = 40 + tick;
        paramSet.drEditExpo = 10 * tick;
        chartTick();
        refreshTick();
    }
    QCOMPARE(counter.paints.value(rates), paints);
    QCOMPARE(counter.paints.value(throttle), paints);
}

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
