// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/curvewidgets.h"

#include "model/curvegeometry.h"
#include "model/parameterset.h"
#include "settings/help.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

// The drawing depends on these exact sizes, so they are fixed here rather
// than in the form. Each chart paints every one of its pixels, so the page,
// the frame and the group box under it stay untouched at every repaint.

namespace {

constexpr int kRepaintMs = 100;
// The throttle scale and the point numbers have fixed places beside and
// under the frame; text of this size fits there whatever size the desktop
// would choose.
constexpr int kTextPixels = 12;

void makeOpaquePanel(QWidget *w, int side)
{
    w->setFixedSize(side, side);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
}

// update() merges with a pending request and does nothing while the page is
// hidden, so the charts never force a paint of their own.
QTimer *startRepaintTimer(QWidget *chart)
{
    auto *timer = new QTimer(chart);
    timer->start(kRepaintMs);
    return timer;
}

void drawHalf(QPainter &painter, const CubicHalf &half)
{
    QPainterPath path;
    path.moveTo(half.start);
    path.cubicTo(half.control1, half.control2, half.end);
    painter.setPen(QPen(Qt::red, 4));
    painter.drawPath(path);
}

} // namespace

mWidget::mWidget(QWidget *parent) : QWidget(parent), timer(startRepaintTimer(this))
{
    connect(timer, &QTimer::timeout, this, &mWidget::creatData);
    makeOpaquePanel(this, 280);
}

mWidget::~mWidget() = default;

// A screen reader reads the points the chart draws; the text is set only
// when it changes, so the ten repaints a second cost it nothing.
static void describeChart(QWidget *chart, const QString &points)
{
    if (chart->accessibleDescription() != points)
        chart->setAccessibleDescription(points);
}

void mWidget::creatData()
{
    describeChart(this, rateChartText(paramSet.drEditRate, paramSet.drEditExpo));
    update();
}

void mWidget::paintEvent(QPaintEvent *)
{
    const RateChartGeometry g =
        rateChartGeometry(width(), height(), paramSet.drEditRate, paramSet.drEditExpo);
    QPainter painter(this);
    painter.setPen(QPen(Qt::green, 4));
    painter.fillRect(g.background, Qt::white);
    painter.drawRect(g.frame);
    painter.setPen(QPen(Qt::green, 2));
    for (const QLine &dash : g.centreDashes)
        painter.drawLine(dash);
    drawHalf(painter, g.lower);
    drawHalf(painter, g.upper);
}

cureWidget::cureWidget(QWidget *parent) : QWidget(parent), timer(startRepaintTimer(this))
{
    connect(timer, &QTimer::timeout, this, &cureWidget::creatData);
    makeOpaquePanel(this, 300);
    QFont text = font();
    text.setPixelSize(kTextPixels);
    setFont(text);
}

cureWidget::~cureWidget() = default;

void cureWidget::creatData()
{
    describeChart(this, throttleChartText(paramSet.throttleCurve));
    update();
}

void cureWidget::paintEvent(QPaintEvent *)
{
    const ThrottleChartGeometry g =
        throttleChartGeometry(width(), height(), paramSet.throttleCurve);
    QPainter painter(this);
    painter.setPen(QPen(Qt::green, 4));
    painter.fillRect(g.background, Qt::white);
    painter.drawRect(g.frame);
    painter.setPen(QPen(Qt::green, 1));
    for (const QLine &dash : g.gridDashes)
        painter.drawLine(dash);
    painter.setPen(QPen(Qt::black, 4));
    for (const ChartText &scale : throttleScaleTexts())
        painter.drawText(scale.baseline, scale.text);
    // blue keeps the numbers apart from the red curve and the black scale
    painter.setPen(QPen(Qt::blue, 4));
    for (int i = 0; i < kThrottlePoints; ++i)
        painter.drawText(g.numbers[i], Qt::AlignCenter, throttlePointNumbers()[i]);
    painter.setPen(QPen(Qt::red, 4));
    for (const QLine &segment : g.curve)
        painter.drawLine(segment);
}
