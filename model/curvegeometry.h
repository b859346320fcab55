// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

#include <array>

// Where the two ADVANCE2 charts put their strokes, as plain coordinates for
// a widget of the given size. The paint handlers draw exactly these and
// compute nothing; a test can check the shapes without a window.
//
// Everything is worked out in whole numbers, each product before its
// quotient and each quotient truncated, so a point lands on one definite
// pixel: POINT4 = 50 on a 300-pixel chart is (150, 150), never 149 or 151.

// One half of the dual-rate response: a cubic from an outer end to the centre.
struct CubicHalf {
    QPoint start;
    QPoint control1;
    QPoint control2;
    QPoint end;
};

// The D/R chart of the selected channel and switch position.
struct RateChartGeometry {
    QRect background;            // filled white
    QRect frame;                 // green, pen 4
    QVector<QLine> centreDashes; // green, pen 2: the horizontal centre line, then the vertical
    CubicHalf lower;             // red, pen 4: from the left edge to the centre
    CubicHalf upper;             // red, pen 4: from the right edge to the centre
};

RateChartGeometry rateChartGeometry(int width, int height, int rate, int expo);

// A label at a fixed baseline point.
struct ChartText {
    QPoint baseline;
    QString text;
};

constexpr int kThrottlePoints = 7;

// The throttle curve chart: POINT1 … POINT7 from left to right.
struct ThrottleChartGeometry {
    QRect background;                           // filled white
    QRect frame;                                // green, pen 4
    QVector<QLine> gridDashes;                  // green, pen 1: the levels, then the columns
    std::array<QRect, kThrottlePoints> numbers; // "1" … "7", each centred in its box
    std::array<QPoint, kThrottlePoints> points;
    std::array<QLine, kThrottlePoints - 1> curve; // red, pen 4, one line per pair of points
};

ThrottleChartGeometry throttleChartGeometry(int width, int height,
                                            const int (&curve)[kThrottlePoints]);

// The percentage scale left of the throttle chart, "100" down to "  0", black.
const std::array<ChartText, 11> &throttleScaleTexts();

// "1" … "7": the pilot's POINT numbers, drawn in the boxes of the geometry.
const std::array<QString, kThrottlePoints> &throttlePointNumbers();
