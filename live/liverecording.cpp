// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live/liverecording.h"

#include <QFile>

namespace {

int u16(int v)
{
    return qBound(0, v, 0xFFFF); // the frames carry 16 bits at most
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

const QByteArray kStartedTag = "started,";

} // namespace

QByteArray liveCsvHead(const QDateTime &startedAt)
{
    QByteArray out = kStartedTag + startedAt.toString(Qt::ISODateWithMs).toLatin1() + '\n';
    out += "time (ms),frame";
    for (int ch = 1; ch <= 8; ++ch)
        out += ",CH" + QByteArray::number(ch) + " (1000 = centre)";
    out += ",TX (V),RX (V),EXT (V),RSSI (dBm)\n";
    return out;
}

QByteArray liveCsvLine(qint64 ms, Incoming kind, const LiveStatus &live)
{
    QByteArray out;
    if (kind != Incoming::Channels && kind != Incoming::Telemetry)
        return out;
    out.reserve(64);
    out += QByteArray::number(qBound<qint64>(0, ms, 0xFFFFFFFF));
    if (kind == Incoming::Channels) {
        out += ",channels";
        for (int ch = 0; ch < 8; ++ch) {
            out += ',';
            out += QByteArray::number(u16(live.channelOutput[ch]));
        }
        out += ',';
        appendFixed(out, u16(live.txVoltage), 2);
        out += ",,,\n";
    } else {
        out += ",telemetry,,,,,,,,,,";
        appendFixed(out, u16(live.rxVoltage), 1);
        out += ',';
        appendFixed(out, u16(live.extVoltage), 1);
        out += ',';
        const int rssi = qBound(0, live.rssi, 0xFF);
        if (rssi != 0) // 0: the transmitter has no signal value
            out += QByteArray::number(-(100 - rssi));
        out += '\n';
    }
    return out;
}

bool LiveRecording::start(const QDateTime &startedAt)
{
    return m_journal.open() && m_journal.append(liveCsvHead(startedAt)) && m_journal.sync();
}

bool LiveRecording::add(qint64 ms, Incoming kind, const LiveStatus &live)
{
    if (failed() || ms < 0)
        return false;
    const QByteArray line = liveCsvLine(ms, kind, live);
    if (line.isEmpty() || !m_journal.append(line))
        return false;
    ++m_frames;
    m_lastMs = ms;
    return true;
}

LiveJournalSummary summarizeLiveJournal(const QString &path)
{
    LiveJournalSummary s;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return s;
    const QByteArray first = file.readLine();
    if (!first.startsWith(kStartedTag) || file.readLine().isEmpty())
        return s;
    s.startedAt = QDateTime::fromString(
        QString::fromLatin1(first.mid(kStartedTag.size()).trimmed()), Qt::ISODateWithMs);
    s.valid = s.startedAt.isValid();
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.endsWith('\n'))
            break; // cut off by the end: not a frame
        ++s.frames;
        s.lastMs = line.left(line.indexOf(',')).toLongLong();
    }
    return s;
}
