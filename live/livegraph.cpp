// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live/livegraph.h"

#include "live/livelog.h"
#include "model/parameterset.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QVector>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kSpanMs = kLiveSlots * kLiveSlotMs; // ten minutes, right to left
constexpr double kRssiLo = -100, kRssiHi = 0;        // the RSSI alarm's range
constexpr double kChannelLo = 0, kChannelHi = 2000;  // full travel, 1000 = centre

const QColor kBackground(30, 30, 30);
const QColor kGrid(75, 75, 75);
const QColor kText(210, 210, 210);

constexpr int kMarginLeft = 46, kMarginRight = 50, kMarginTop = 22, kMarginBottom = 20;

bool isVoltage(int series)
{
    return series == kLiveTx || series == kLiveRx || series == kLiveExt;
}

double alarmValue(int series)
{
    switch (series) {
    case kLiveTx:
        return paramSet.txAlarmVolt;
    case kLiveRx:
        return paramSet.rxAlarmVolt;
    case kLiveExt:
        return paramSet.extAlarmVolt;
    default:
        return paramSet.rssiAlarm;
    }
}

const char *seriesName(int series)
{
    static const char *const names[] = {"CH1", "CH2", "CH3", "CH4", "CH5", "CH6",
                                        "CH7", "CH8", "TX",  "RX",  "EXT", "RSSI"};
    return names[series];
}

QString valueText(int series, double v)
{
    if (series == kLiveRssi)
        return QStringLiteral("%1 dBm").arg(int(v));
    if (isVoltage(series))
        return QStringLiteral("%1 V").arg(v, 0, 'f', series == kLiveTx ? 2 : 1);
    return QString::number(int(v));
}

} // namespace

QColor liveColour(int series)
{
    static const QColor colours[] = {
        {255, 90, 90},   {255, 165, 50},  {235, 235, 80},  {110, 225, 110}, // CH1 … CH4
        {80, 190, 255},  {165, 140, 255}, {255, 120, 220}, {215, 215, 215}, // CH5 … CH8
        {80, 190, 255},                                                     // TX
        {255, 210, 0},                                                      // RX
        {255, 110, 220},                                                    // EXT
        {110, 225, 110},                                                    // RSSI
    };
    return colours[series];
}

LiveGraph::LiveGraph(const LiveLog &log, Kind kind, QWidget *parent)
    : QWidget(parent), m_log(log), m_kind(kind)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Each legend entry at its widest, so the legend never jumps about.
    const QFontMetrics metrics(font());
    const char *const widest[] = {"RX off scale  min 12.6 V", "TX off scale  min 12.60 V",
                                  "EXT off scale  min 12.6 V", "RSSI off scale  min -100 dBm"};
    for (size_t i = 0; i < m_legendWidth.size(); ++i)
        m_legendWidth[i] = metrics.horizontalAdvance(QLatin1String(widest[i])) + 18;
    const int twoColumns =
        std::max(m_legendWidth[0], m_legendWidth[2]) + std::max(m_legendWidth[1], m_legendWidth[3]);
    setMinimumSize(kind == Telemetry ? kMarginLeft + kMarginRight + twoColumns : 320,
                   kind == Telemetry ? 150 : 110);
}

int LiveGraph::legendRows() const
{
    if (m_kind != Telemetry)
        return 0;
    int all = 0;
    for (int w : m_legendWidth)
        all += w;
    return kMarginLeft + kMarginRight + all <= width() ? 1 : 2;
}

int LiveGraph::marginTop() const
{
    const int rows = legendRows();
    return rows <= 1 ? kMarginTop : rows * (QFontMetrics(font()).height() + 2) + 4;
}

void LiveGraph::setChannelsShown(unsigned mask)
{
    m_channelsShown = mask & 0xFF;
    update();
}

QRectF LiveGraph::plotArea() const
{
    const int top = marginTop();
    return QRectF(kMarginLeft, top, std::max(1, width() - kMarginLeft - kMarginRight),
                  std::max(1, height() - top - kMarginBottom));
}

double LiveGraph::yFor(int series, double value) const
{
    const QRectF a = plotArea();
    double lo = kChannelLo, hi = kChannelHi;
    if (series == kLiveRssi) {
        lo = kRssiLo;
        hi = kRssiHi;
    } else if (isVoltage(series)) {
        lo = m_voltLo;
        hi = m_voltHi;
    }
    return a.bottom() - (value - lo) / (hi - lo) * a.height();
}

double LiveGraph::alarmY(int series) const
{
    return yFor(series, alarmValue(series));
}

void LiveGraph::updateVoltScale()
{
    // Whole volts around the alarms and what was measured within the
    // series' band and lasted, so a line that sags to its alarm is always
    // in the picture and one corrupt frame cannot squeeze it flat. A lone
    // reading beyond the scale, high or low, is drawn at the edge with a
    // mark; a lone low one still counts for the legend's minimum. Only a
    // line of a single reading is scaled by that reading.
    double lo = 1e9, hi = -1e9;
    for (int s : {kLiveTx, kLiveRx, kLiveExt}) {
        const double alarm = alarmValue(s);
        lo = std::min(lo, alarm);
        hi = std::max(hi, alarm);
        // What lasted, and (for a line of a single reading) what was read.
        qint32 rangeOf[2][2] = {{INT_MAX, INT_MIN}, {INT_MAX, INT_MIN}};
        for (const LiveColumn &c : m_columns[size_t(s)]) {
            // Values beyond the band lie only above it: a column whose
            // lowest is beyond holds nothing else.
            if (c.steady && liveInBand(s, c.steadyLo, alarm)) {
                rangeOf[1][0] = std::min(rangeOf[1][0], c.steadyLo);
                rangeOf[1][1] = std::max(
                    rangeOf[1][1], liveInBand(s, c.steadyHi, alarm) ? c.steadyHi : c.steadyLo);
            } else if (c.present && liveInBand(s, c.lo, alarm)) {
                rangeOf[0][0] = std::min(rangeOf[0][0], c.lo);
                rangeOf[0][1] = std::max(rangeOf[0][1], liveInBand(s, c.hi, alarm) ? c.hi : c.lo);
            }
        }
        const qint32 *range = rangeOf[1][0] <= rangeOf[1][1] ? rangeOf[1] : rangeOf[0];
        if (range[0] <= range[1]) {
            lo = std::min(lo, liveValue(s, range[0]));
            hi = std::max(hi, liveValue(s, range[1]));
        }
    }
    lo = std::floor(std::max(0.0, lo) - 0.5);
    hi = std::ceil(std::min(100.0, hi) + 0.5);
    m_voltLo = std::max(0.0, lo);
    m_voltHi = std::max(hi, m_voltLo + 2);
}

void LiveGraph::paintEvent(QPaintEvent *)
{
    const QRectF area = plotArea();
    const qint64 now = m_log.now();
    // One pass over the ring for every line of this plot.
    const int columns = int(area.width());
    const unsigned telemetry =
        (1u << kLiveTx) | (1u << kLiveRx) | (1u << kLiveExt) | (1u << kLiveRssi);
    m_log.ring().decimate(m_kind == Telemetry ? telemetry : m_channelsShown, now, columns,
                          kSpanMs / std::max(1, columns), m_columns);
    if (m_kind == Telemetry)
        updateVoltScale();

    // The grid, the scales and the alarm lines change only with the size,
    // the scale or an alarm: painted once, then copied.
    const std::array<double, 7> key = {double(width()),
                                       double(height()),
                                       devicePixelRatioF(),
                                       m_voltLo,
                                       m_voltHi,
                                       alarmValue(kLiveTx) + 1000 * alarmValue(kLiveRx),
                                       alarmValue(kLiveExt) + 1000 * alarmValue(kLiveRssi)};
    if (key != m_backgroundKey || m_background.isNull()) {
        m_backgroundKey = key;
        m_background = QPixmap(size() * devicePixelRatioF());
        m_background.setDevicePixelRatio(devicePixelRatioF());
        QPainter b(&m_background);
        b.setFont(font());
        b.fillRect(rect(), kBackground);
        drawGrid(b, area);
        if (m_kind == Telemetry) {
            b.setClipRect(area);
            for (int s : {kLiveTx, kLiveRx, kLiveExt, kLiveRssi}) {
                // Dashed and thinner than the measured line, in its colour.
                b.setPen(QPen(liveColour(s), 1, Qt::DashLine));
                const double y = std::round(alarmY(s));
                b.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
            }
        }
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_background);

    p.save();
    p.setClipRect(area.adjusted(0, -2, 0, 2));
    if (m_kind == Telemetry) {
        for (int s : {kLiveRssi, kLiveExt, kLiveTx, kLiveRx})
            drawSeries(p, area, s);
        QVector<QRectF> named;
        for (int s : {kLiveTx, kLiveRx, kLiveExt, kLiveRssi})
            drawAlarmName(p, area, s, named);
    } else {
        for (int ch = 7; ch >= 0; --ch) {
            if (m_channelsShown & (1u << ch))
                drawSeries(p, area, kLiveCh1 + ch);
        }
    }
    p.restore();
    drawLegend(p, area);
}

void LiveGraph::drawAlarmName(QPainter &p, const QRectF &area, int series,
                              QVector<QRectF> &named) const
{
    // The voltage alarms are named at the left end of their line, the RSSI
    // alarm at the right: on their two axes they can lie close together.
    const QString name =
        QStringLiteral("%1 alarm %2")
            .arg(QLatin1String(seriesName(series)), valueText(series, alarmValue(series)));
    const QFontMetricsF metrics(font());
    const QSizeF size(metrics.horizontalAdvance(name) + 6, metrics.height());
    const double y = std::round(alarmY(series)) - size.height() - 1;
    const double x = series == kLiveRssi ? area.right() - size.width() - 4 : area.left() + 4;
    QRectF box(QPointF(x, y), size);
    // Two alarms at the same height (TX and EXT both 11.0 V) are named
    // side by side, not one over the other.
    for (bool moved = true; moved;) {
        moved = false;
        for (const QRectF &other : named) {
            if (box.intersects(other)) {
                box.moveLeft(series == kLiveRssi ? other.left() - box.width() - 8
                                                 : other.right() + 8);
                moved = true;
            }
        }
    }
    named.append(box);
    p.fillRect(box, QColor(30, 30, 30, 200));
    p.setPen(liveColour(series));
    p.drawText(box, Qt::AlignCenter, name);
}

void LiveGraph::drawGrid(QPainter &p, const QRectF &area) const
{
    // A device pixel on any screen: the grid never outweighs the lines.
    QPen gridPen(kGrid, 1);
    gridPen.setCosmetic(true);
    p.setPen(gridPen);
    // A line a minute, labelled in minutes before now.
    for (int minute = 0; minute <= 10; ++minute) {
        const double x = std::round(area.right() - minute * area.width() / 10);
        p.setPen(gridPen);
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(kText);
        const QString label =
            minute == 0 ? QStringLiteral("now") : QStringLiteral("-%1 min").arg(minute);
        const QRectF box(x - 40, area.bottom() + 2, 80, kMarginBottom - 2);
        if (minute % 2 == 0 || area.width() > 600)
            p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, label);
    }
    const auto hline = [&](double y, const QString &left) {
        y = std::round(y);
        p.setPen(gridPen);
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(kText);
        p.drawText(QRectF(0, y - 8, kMarginLeft - 4, 16), Qt::AlignRight | Qt::AlignVCenter, left);
    };
    if (m_kind == Channels) {
        for (int v = 0; v <= 2000; v += 500)
            hline(yFor(kLiveCh1, v), QString::number(v));
        return;
    }
    // Left: volts; right: the RSSI, on its own scale.
    const double span = m_voltHi - m_voltLo;
    const int step = span > 24 ? 5 : span > 10 ? 2 : 1;
    for (int i = 0; i <= int(span) / step; ++i)
        hline(yFor(kLiveTx, m_voltLo + i * step), QStringLiteral("%1 V").arg(m_voltLo + i * step));
    p.setPen(liveColour(kLiveRssi));
    for (int dbm = int(kRssiLo); dbm <= int(kRssiHi); dbm += 20) {
        const double y = std::round(yFor(kLiveRssi, dbm));
        p.drawLine(QPointF(area.right(), y), QPointF(area.right() + 3, y));
        p.drawText(QRectF(area.right() + 5, y - 8, kMarginRight - 5, 16),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::number(dbm));
    }
    p.drawText(
        QRectF(area.right() + 5, area.top() - kMarginTop + 2, kMarginRight - 5, kMarginTop - 4),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("dBm"));
}

void LiveGraph::drawSeries(QPainter &p, const QRectF &area, int series) const
{
    // Whole pixels, one polyline per stretch without a gap; a flat run is
    // one segment, however many columns it spans.
    QVector<QPoint> &points = m_points;
    points.clear();
    // Lines one device pixel wide: any wider pen costs twenty times as
    // much to rasterise. On a scaled screen the voltages and the RSSI, what
    // the pilot reads against the alarms, are drawn once more a device
    // pixel lower and keep their weight; the eight busy channel lines stay
    // fine.
    const qreal scale = devicePixelRatioF();
    const int passes = scale >= 1.5 && m_kind == Telemetry ? 2 : 1;
    const auto flush = [&] {
        for (int pass = 0; pass < passes; ++pass) {
            if (pass > 0)
                p.translate(0, 1 / scale);
            if (points.size() == 1)
                p.drawPoint(points.first());
            else if (points.size() > 1)
                p.drawPolyline(points.constData(), points.size());
            if (pass > 0)
                p.translate(0, -1 / scale);
        }
        points.clear();
    };
    const auto add = [&](int x, int y) {
        const int n = points.size();
        if (n >= 2 && points[n - 1].y() == y && points[n - 2].y() == y)
            points[n - 1].setX(x);
        else
            points.append(QPoint(x, y));
    };
    QPen pen(liveColour(series), 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    // A value beyond the scale is drawn at the edge it lies beyond, and
    // marked there once per stretch.
    m_offScale.clear();
    const auto yOnPlot = [&](const QRectF &a, int x, double y) {
        const bool above = y<a.top(), below = y> a.bottom();
        if ((above || below) && (m_offScale.isEmpty() || m_offScale.last().first < x - 1 ||
                                 m_offScale.last().second != above)) {
            m_offScale.append(qMakePair(x, above));
        } else if (above || below) {
            m_offScale.last().first = x;
        }
        return int(std::lround(std::clamp(y, a.top(), a.bottom())));
    };
    const std::vector<LiveColumn> &cols = m_columns[size_t(series)];
    const int left = int(area.left());
    for (size_t i = 0; i < cols.size(); ++i) {
        const LiveColumn &c = cols[i];
        if (!c.present)
            continue; // a slot the transmitter's rate left empty, or a gap
        if (c.startsLine)
            flush();
        // The column's whole depth: a sag or a twitch within it shows to
        // its end. It is entered at the end nearer the line's last point.
        const int x = left + int(i);
        int yA = yOnPlot(area, x, yFor(series, liveValue(series, c.lo)));
        int yB = yOnPlot(area, x, yFor(series, liveValue(series, c.hi)));
        if (!points.isEmpty() &&
            std::abs(points.last().y() - yA) > std::abs(points.last().y() - yB))
            std::swap(yA, yB);
        add(x, yA);
        if (yB != yA)
            points.append(QPoint(x, yB));
    }
    flush();
    drawOffScale(p, area, series);
}

void LiveGraph::drawOffScale(QPainter &p, const QRectF &area, int series) const
{
    // A small triangle pointing out of the plot at the end of each stretch
    // beyond the scale: the line at the edge is no reading of that height.
    p.save();
    p.setClipping(false);
    p.setPen(Qt::NoPen);
    p.setBrush(liveColour(series));
    for (const auto &mark : m_offScale) {
        const double x = mark.first, edge = mark.second ? area.top() : area.bottom();
        const double out = mark.second ? -5 : 5;
        const QPointF tri[] = {{x - 4, edge + out / 5}, {x + 4, edge + out / 5}, {x, edge + out}};
        p.drawPolygon(tri, 3);
    }
    p.restore();
}

void LiveGraph::drawLegend(QPainter &p, const QRectF &area) const
{
    if (m_kind == Channels)
        return;
    const int rows = legendRows();
    const int lineHeight = (int(area.top()) - 4) / std::max(1, rows);
    const int second = std::max(m_legendWidth[0], m_legendWidth[2]);
    const qint64 now = m_log.now();
    const int order[] = {kLiveRx, kLiveTx, kLiveExt, kLiveRssi};
    double x = area.left();
    for (int i = 0; i < 4; ++i) {
        const int s = order[i];
        const double alarm = alarmValue(s);
        qint32 latest = 0, lowest = 0;
        QString text = QString::fromLatin1(seriesName(s));
        // A reading from before a silent line or a closed port is no
        // reading of now.
        if (!m_log.ring().latest(s, latest) || !m_log.ring().isFresh(s, now))
            text += QStringLiteral(" —");
        else if (!liveInBand(s, latest, alarm))
            text += QStringLiteral(" off scale");
        else
            text += QLatin1Char(' ') + valueText(s, liveValue(s, latest));
        // The lowest of the ten minutes shown, within the series' band: the
        // columns hold them all.
        bool any = false;
        for (const LiveColumn &c : m_columns[size_t(s)]) {
            if (c.present && liveInBand(s, c.lo, alarm)) {
                lowest = any ? std::min(lowest, c.lo) : c.lo;
                any = true;
            }
        }
        if (any)
            text += QStringLiteral("  min ") + valueText(s, liveValue(s, lowest));
        int row = 0;
        if (rows > 1) {
            row = i / 2;
            x = area.left() + (i % 2) * second;
        }
        p.setPen(liveColour(s));
        const QRectF box(x, 2 + row * lineHeight, std::max(0.0, area.right() - x), lineHeight);
        QRectF used;
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text, &used);
        x += used.width() + 18;
    }
}
