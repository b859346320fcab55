// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QByteArray>
#include <QList>

// What the transmitter last reported about itself: the eight channel
// outputs (1000 = centre) and the battery and link readings shown in the
// header. Live values are shown as they come, without any range test.
struct LiveStatus {
    int channelOutput[8];
    int txVoltage;  // hundredths of a volt
    int rssi;       // 0 = no value, 1 … 100 shown as -99 … -00 dBm
    int rxVoltage;  // tenths of a volt
    int extVoltage; // tenths of a volt
};

// The program-wide live record; channels start at the centre.
extern LiveStatus liveStatus;

// While set (during RESET and LOAD), telemetry leaves the stick trims alone
// so the trims being sent are not overwritten by what the sticks report.
extern bool suspendTrimUpdate;

// What one serial notification turned out to be. Parameters covers every
// well-formed 12-byte frame, also one whose kind byte is not known.
enum class Incoming { Nothing, Channels, Telemetry, Aux, Parameters };

// The kind number the trace line reports for the aux frame.
constexpr int kAuxKindNumber = 7;

// The unsigned big-endian 16-bit value at bytes index and index+1; a byte
// outside the array counts as 0.
int u16At(const QByteArray &bytes, int index);

// Classifies one notification by its length and marker bytes and stores
// what it carries into the parameter record or the live record. Each
// notification is one unit: a frame split across two notifications, or two
// frames arriving together, is dropped whole. kindNumber (if given) receives
// the number the trace reports for a parameter or aux frame, 0 otherwise.
Incoming decodeNotification(const QByteArray &bytes, ParameterSet &p, LiveStatus &live,
                            bool suspendTrims, int *kindNumber = nullptr);

// What the transmitter sends when asked to READ: the eighteen 12-byte
// setting frames in kind order, then the aux frame, built from the same
// kind table the decoder above stores with. A value a byte (or a 16-bit
// field) cannot carry goes out as the nearest value it can.
QList<QByteArray> settingFrames(const ParameterSet &p);
