// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/curvegeometry.h"

#include <algorithm>

namespace {

// A setting far outside its range (a damaged file, a stray frame) only
// moves a curve off the chart. Holding such a value, the sizes and the
// results within these bounds keeps every product inside 64 bits and every
// coordinate one the painter can clip; within them the results are exactly
// those of the 32-bit arithmetic the charts are defined with. A value a
// hundred times past any setting's range already runs the curve far off
// the chart; Qt 6's painter leaves out a curve whose ends lie a million
// pixels off, where Qt 5's drew the part on the chart.
constexpr qint64 kValueLimit = 10000;
constexpr qint64 kCoordLimit = 1 << 24;

qint64 value(int v)
{
    return std::clamp<qint64>(v, -kValueLimit, kValueLimit);
}

qint64 side(int pixels)
{
    return std::clamp<qint64>(pixels, -kCoordLimit, kCoordLimit);
}

QPoint point(qint64 x, qint64 y)
{
    return QPoint(int(std::clamp(x, -kCoordLimit, kCoordLimit)),
                  int(std::clamp(y, -kCoordLimit, kCoordLimit)));
}

QLine dash(qint64 x, qint64 y, qint64 dx, qint64 dy)
{
    return QLine(point(x, y), point(x + dx, y + dy));
}

// Both charts fill the same white square; a 280-pixel chart shows part of it.
// The fill also reaches the widget's last row and column, so a chart covers
// every one of its pixels and what lies under it never needs repainting.
QRect background(int width, int height)
{
    return QRect(0, 0, 299, 299).united(QRect(0, 0, width, height));
}

const QRect kRateFrame(20, 20, 240, 240);
const QRect kThrottleFrame(30, 30, 250, 240);
constexpr int kFramePen = 4;

// Grid dashes start at the multiples of 15 from 21 on, 8 pixels long.
constexpr int kFirstDash = 30;
constexpr int kDashStep = 15;
constexpr int kDashLength = 8;

// Half the width of a point number's box; the text is centred in it either way.
constexpr int kNumberHalfWidth = 10;

} // namespace

RateChartGeometry rateChartGeometry(int width, int height, int rate, int expo)
{
    const qint64 W = side(width) - 1, H = side(height) - 1;
    RateChartGeometry g;
    g.background = background(width, height);
    g.frame = kRateFrame;

    if (W - 19 > 20) {
        const qint64 yc = (H - 39) / 2 + 20;
        for (qint64 x = kFirstDash; x <= W - 20; x += kDashStep)
            g.centreDashes.append(dash(x, yc, kDashLength, 0));
    }
    if (H - 19 > 20) {
        const qint64 xc = (W - 39) / 2 + 20;
        for (qint64 y = kFirstDash; y <= H - 20; y += kDashStep)
            g.centreDashes.append(dash(xc, y, 0, kDashLength));
    }

    const qint64 r = value(rate), e = value(expo);
    const qint64 Gw = W - 39, Gh = H - 39;
    const qint64 XC = Gw / 2 + 20, YC = Gh / 2 + 20, XR = W - 19, YB = H - 19;
    const qint64 XQ = Gw / 4 + 20, Qw3 = (3 * Gw) / 4, Qh = Gh / 4, Qh3 = (3 * Gh) / 4;
    // the rate pulls the outer ends toward the centre line
    const qint64 A = (100 - r) * (Gh / 2), A1 = A / 100, A2 = A / 200;
    // the expo bends each half by moving its second control point
    const qint64 RE = (r * e) / 100, E1 = ((XQ / 2) * RE) / 100, E2 = (RE * Qh) / 100;

    const QPoint centre = point(XC, YC);
    const QPoint lowerStart = point(20, YB - A1);
    g.lower = {lowerStart, lowerStart, point(XQ + E1, Qh3 - A2 + 20 + E2), centre};
    const QPoint upperStart = point(XR, A1 + 20);
    g.upper = {upperStart, upperStart, point(Qw3 - E1 + 20, Qh - E2 + A2 + 20), centre};
    return g;
}

ThrottleChartGeometry throttleChartGeometry(int width, int height,
                                            const int (&curve)[kThrottlePoints])
{
    const qint64 W = side(width) - 1, H = side(height) - 1;
    const qint64 P = H - 59, G = W - 39; // plot height and width
    ThrottleChartGeometry g;
    g.background = background(width, height);
    g.frame = kThrottleFrame;

    // POINT1 sits on the frame's left edge, so its segment is the short one
    const qint64 xs[kThrottlePoints] = {
        30, G / 6 + 20, G / 3 + 20, G / 2 + 20, (4 * G) / 6 + 20, (5 * G) / 6 + 20, W - 19};
    for (int i = 0; i < kThrottlePoints; ++i)
        g.points[i] = point(xs[i], ((100 - value(curve[i])) * P) / 100 + 30);
    for (int i = 0; i + 1 < kThrottlePoints; ++i)
        g.curve[i] = QLine(g.points[i], g.points[i + 1]);

    // 100 on the top level, 0 on the bottom one, a level every ten percent
    qint64 levels[11];
    levels[0] = 30;
    for (int k = 1; k < 10; ++k)
        levels[k] = 30 + (k * P) / 10;
    levels[10] = H - 29;
    if (W > 49) {
        for (qint64 x = kFirstDash; x <= W - 30; x += kDashStep)
            for (qint64 y : levels)
                g.gridDashes.append(dash(x, y, kDashLength, 0));
    }
    if (H > 49) {
        for (qint64 y = kFirstDash; y <= H - 30; y += kDashStep)
            for (int i = 1; i < kThrottlePoints; ++i) // a column through POINT2 … POINT7
                g.gridDashes.append(dash(xs[i], y, 0, kDashLength));
    }

    // The numbers go in the free band between the frame and the bottom edge.
    const int bandTop = g.frame.y() + g.frame.height() + kFramePen / 2;
    const int bandHeight = std::max(0, int(side(height)) - bandTop);
    for (int i = 0; i < kThrottlePoints; ++i)
        g.numbers[i] =
            QRect(g.points[i].x() - kNumberHalfWidth, bandTop, 2 * kNumberHalfWidth, bandHeight);
    return g;
}

const std::array<ChartText, 11> &throttleScaleTexts()
{
    static const std::array<ChartText, 11> texts = [] {
        std::array<ChartText, 11> t;
        for (int k = 0; k <= 10; ++k)
            t[k] = {QPoint(0, 37 + 24 * k),
                    QString::number(100 - 10 * k).rightJustified(3, QLatin1Char(' '))};
        return t;
    }();
    return texts;
}

const std::array<QString, kThrottlePoints> &throttlePointNumbers()
{
    static const std::array<QString, kThrottlePoints> numbers = [] {
        std::array<QString, kThrottlePoints> n;
        for (int i = 0; i < kThrottlePoints; ++i)
            n[i] = QString::number(i + 1);
        return n;
    }();
    return numbers;
}
