// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QByteArray>

// What the emulated transmitter reports about itself at one moment: the
// pilot's sticks and switches sweeping slowly, the batteries and the link
// drifting a little.
struct LiveSample {
    int channelOutput[8]; // 1000 = centre
    int txHundredths;     // transmitter battery
    int rssi;             // 1 … 100
    int rxTenths;         // receiver battery
    int extTenths;        // external sensor
};

// The sample `ms` milliseconds after the transmitter was switched on. Every
// channel moves smoothly and with its own pace, so every gauge of the
// SERVO page visibly travels both sides of centre.
LiveSample liveSampleAt(qint64 ms);

// The 20-byte channel frame: FE 18, eight outputs and the TX voltage, each
// an unsigned big-endian 16-bit value.
QByteArray channelFrame(const LiveSample &s);

// The 20-byte telemetry frame: FE 19, RSSI, RX voltage, EXT voltage, two
// unused words, then the trims of the record from trim 4 down to trim 1.
QByteArray telemetryFrame(const LiveSample &s, const ParameterSet &record);
