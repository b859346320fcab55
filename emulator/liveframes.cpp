// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "emulator/liveframes.h"

#include <QtGlobal>

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A slow sine of the given period in seconds and phase in turns.
double wave(qint64 ms, double periodSeconds, double phaseTurns)
{
    return std::sin(kTwoPi * (ms / 1000.0 / periodSeconds + phaseTurns));
}

void putU16(QByteArray &frame, int at, int value)
{
    const int v = qBound(0, value, 0xFFFF);
    frame[at] = char(v >> 8);
    frame[at + 1] = char(v & 0xFF);
}

QByteArray liveFrame(unsigned char type)
{
    QByteArray frame(20, '\0');
    frame[0] = char(0xFE);
    frame[1] = char(type);
    return frame;
}

} // namespace

LiveSample liveSampleAt(qint64 ms)
{
    // The four sticks sweep most of their travel; the knobs and switches
    // of channels 5 to 8 move more slowly and less far.
    static constexpr struct {
        double amplitude, period, phase;
    } kChannels[8] = {{450, 3.1, 0.00}, {400, 4.3, 0.25}, {480, 5.3, 0.50},  {350, 3.7, 0.75},
                      {300, 7.0, 0.10}, {250, 9.0, 0.60}, {500, 11.0, 0.30}, {200, 13.0, 0.85}};
    LiveSample s{};
    for (int ch = 0; ch < 8; ++ch) {
        const auto &c = kChannels[ch];
        s.channelOutput[ch] = 1000 + int(std::lround(c.amplitude * wave(ms, c.period, c.phase)));
    }
    s.txHundredths = 815 + int(std::lround(12 * wave(ms, 40.0, 0.0)));
    s.rssi = 78 + int(std::lround(6 * wave(ms, 17.0, 0.2)));
    s.rxTenths = 50 + int(std::lround(2 * wave(ms, 29.0, 0.4)));
    s.extTenths = 118 + int(std::lround(4 * wave(ms, 23.0, 0.7)));
    return s;
}

QByteArray channelFrame(const LiveSample &s)
{
    QByteArray frame = liveFrame(0x18);
    for (int ch = 0; ch < 8; ++ch)
        putU16(frame, 2 + 2 * ch, s.channelOutput[ch]);
    putU16(frame, 18, s.txHundredths);
    return frame;
}

QByteArray telemetryFrame(const LiveSample &s, const ParameterSet &record)
{
    QByteArray frame = liveFrame(0x19);
    frame[2] = char(qBound(0, s.rssi, 0xFF));
    frame[3] = char(qBound(0, s.rxTenths, 0xFF));
    putU16(frame, 4, s.extTenths);
    for (int i = 0; i < 4; ++i)
        frame[10 + i] = char(qBound(0, record.stickTrim[3 - i], 0xFF));
    return frame;
}
