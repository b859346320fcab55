// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "live/livering.h"

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QVector>
#include <QWidget>

#include <array>

class LiveLog;

// The colour of a series, shared by its line, its alarm line, its legend
// and its switch.
QColor liveColour(int series);

// One plot of LIVE, painted from the ring: either the voltages (volts, left
// axis) and the RSSI (dBm, right axis) with their alarm lines, or the
// eight channel outputs. Time runs right to left, from "now" at the right
// edge back ten minutes. Each pixel column draws the lowest and highest
// value of the slots it covers, so painting costs the same whatever rate
// the transmitter streams at.
class LiveGraph : public QWidget
{
    Q_OBJECT
public:
    enum Kind { Telemetry, Channels };
    LiveGraph(const LiveLog &log, Kind kind, QWidget *parent = nullptr);

    // Which channels are drawn (bit n: CH n+1).
    void setChannelsShown(unsigned mask);
    unsigned channelsShown() const { return m_channelsShown; }

    // Where a value of `series` (in its shown unit) lies on the current
    // scale; the alarm lines are drawn there.
    double yFor(int series, double value) const;
    // The y of the series' alarm line as the editor holds it now.
    double alarmY(int series) const;
    // The part of the widget the lines are drawn in.
    QRectF plotArea() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The telemetry legend stands in one row where the plot is wide enough
    // for all four readings, else in two, so LIVE fits a small screen.
    int legendRows() const;
    int marginTop() const;
    void updateVoltScale();
    void drawGrid(QPainter &p, const QRectF &area) const;
    void drawSeries(QPainter &p, const QRectF &area, int series) const;
    void drawAlarmName(QPainter &p, const QRectF &area, int series, QVector<QRectF> &named) const;
    void drawLegend(QPainter &p, const QRectF &area) const;
    // A mark at the plot's edge where a value lies beyond its scale.
    void drawOffScale(QPainter &p, const QRectF &area, int series) const;

    const LiveLog &m_log;
    Kind m_kind;
    unsigned m_channelsShown = 0xFF;
    // The widest legend entry of each reading (RX, TX, EXT, RSSI).
    std::array<int, 4> m_legendWidth{};
    double m_voltLo = 0, m_voltHi = 15; // the left axis of the telemetry plot
    // This paint's columns, and the points of one line; kept between paints
    // so a paint allocates nothing.
    LiveRing::Decimated m_columns;
    // The grid, scales and alarm lines, and what they were painted for.
    QPixmap m_background;
    std::array<double, 7> m_backgroundKey{};
    mutable QVector<QPoint> m_points;
    // Columns of the line being drawn whose value lies beyond the scale:
    // x, and whether above (true) or below.
    mutable QVector<QPair<int, bool>> m_offScale;
};
