// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live/liverecording.h"

namespace {

quint16 u16(int v)
{
    return quint16(qBound(0, v, 0xFFFF)); // the frames carry 16 bits at most
}

// A fixed-point number from an integer in hundredths or tenths: 815, 2 ->
// "8.15". Built by hand: a float would print 8.1500000001.
void appendFixed(QByteArray &out, int value, int decimals)
{
    const int scale = decimals == 2 ? 100 : 10;
    out += QByteArray::number(value / scale);
    out += '.';
    QByteArray fraction = QByteArray::number(value % scale);
    while (fraction.size() < decimals)
        fraction.prepend('0');
    out += fraction;
}

} // namespace

bool LiveRecording::add(qint64 ms, Incoming kind, const LiveStatus &live)
{
    if (isFull() || ms < 0 || (kind != Incoming::Channels && kind != Incoming::Telemetry))
        return false;
    Row row{};
    row.ms = quint32(qMin<qint64>(ms, 0xFFFFFFFF));
    if (kind == Incoming::Channels) {
        row.kind = 'C';
        for (int ch = 0; ch < 8; ++ch)
            row.value[ch] = u16(live.channelOutput[ch]);
        row.value[8] = u16(live.txVoltage);
    } else {
        row.kind = 'T';
        row.rssi = quint8(qBound(0, live.rssi, 0xFF));
        row.value[0] = u16(live.rxVoltage);
        row.value[1] = u16(live.extVoltage);
    }
    if (m_rows.empty())
        m_rows.reserve(size_t(qMin(m_limit, 60 * 100))); // the first minute at once
    m_rows.push_back(row);
    return true;
}

QByteArray LiveRecording::csv(const QDateTime &startedAt) const
{
    QByteArray out;
    out.reserve(int(qMin<size_t>(m_rows.size() * 48 + 512, 0x7FFF0000)));
    out += "started," + startedAt.toString(Qt::ISODateWithMs).toLatin1() + '\n';
    out += "time (ms),frame";
    for (int ch = 1; ch <= 8; ++ch)
        out += ",CH" + QByteArray::number(ch) + " (1000 = centre)";
    out += ",TX (V),RX (V),EXT (V),RSSI (dBm)\n";
    for (const Row &r : m_rows) {
        out += QByteArray::number(r.ms);
        if (r.kind == 'C') {
            out += ",channels";
            for (int ch = 0; ch < 8; ++ch) {
                out += ',';
                out += QByteArray::number(r.value[ch]);
            }
            out += ',';
            appendFixed(out, r.value[8], 2);
            out += ",,,\n";
        } else {
            out += ",telemetry,,,,,,,,,,";
            appendFixed(out, r.value[0], 1);
            out += ',';
            appendFixed(out, r.value[1], 1);
            out += ',';
            if (r.rssi != 0) // 0: the transmitter has no signal value
                out += QByteArray::number(-(100 - int(r.rssi)));
            out += '\n';
        }
    }
    return out;
}
