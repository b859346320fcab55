// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "model/parameterset.h"

// The four 81-character texts last sent to the transmitter, one per frame
// kind. Only the built part at the front is ever rewritten; the rest holds
// each kind's fixed characters and end letter for the whole run.
extern QString frameTextS, frameTextG, frameTextH, frameTextI;

// Every frame is this long on the wire and in a parameter file.
constexpr int kFrameLength = 81;

// How one field of a frame is written.
enum class FieldCoding {
    Dec,    // one decimal digit: combo indices, switches, on/off, stick mode
    Hex16,  // value + 16 as two upper-case hex digits: rates, points, tenths, trims
    Hex116, // value + 116, two hex digits: V-tail, mix rates and offsets, expos
    Hex120, // value + 120, two hex digits: sub-trims, elevon, RSSI alarm
    Dec3,   // hundreds, tens and units digits: the external alarm in tenths
    Fixed,  // literal characters the transmitter expects at this place
};

// Gives the record's member a field is stored in; the same accessor serves
// the encoder (reading) and a decoder (storing what a file or the
// transmitter supplied).
using FieldAccess = int &(*)(ParameterSet &);

struct FrameField {
    FieldCoding coding;
    FieldAccess field; // nullptr for Fixed
    const char *text;  // the literal characters of a Fixed field, else nullptr
};

// One frame kind: its letter, the length of the part a build writes, and
// its fields in wire order after the kind letter.
struct FrameLayout {
    char kind;
    int builtLength;
    const FrameField *fields;
    int fieldCount;
    QString *buffer;
    // Called after a decoder stored the kind's fields: the alarm volts the
    // pilot edits follow the tenths a frame carries. May be null.
    void (*afterDecode)(ParameterSet &);
};

extern const FrameLayout kFrameLayoutS, kFrameLayoutG, kFrameLayoutH, kFrameLayoutI;

// Characters a field occupies in the frame.
int fieldWidth(const FrameField &f);
// The bias added before hex output (16, 116 or 120), 0 for the other codings.
int fieldBias(FieldCoding coding);
// The text of one field, always exactly fieldWidth() characters: values the
// format cannot carry are limited to the nearest sendable value.
QString encodeField(const FrameField &f, const ParameterSet &p);

// The built part of each frame (80, 77, 76 and 17 characters, kind letter
// first) from the record as it is; the record is never changed.
QString encodeFrame(const FrameLayout &layout, const ParameterSet &p);
QString encodeFrameS(const ParameterSet &p);
QString encodeFrameG(const ParameterSet &p);
QString encodeFrameH(const ParameterSet &p);
QString encodeFrameI(const ParameterSet &p);

// Puts a freshly built part in front of the kind's buffer, keeping the
// fixed tail; returns the buffer.
const QString &storeBuiltFrame(const FrameLayout &layout, const QString &built);

// An alarm voltage as the whole tenths the frames carry (3.7 -> 37).
int alarmTenths(double volts);

// True when the two records agree on every setting that travels in frames
// S, G, H and I. The alarm volts count with their tenths: the pilot edits
// the volts, and the tenths follow only when a frame is built. The fields
// are found once by walking the four layouts; each call then compares a
// handful of contiguous runs of the records.
bool sameCarriedSettings(const ParameterSet &a, const ParameterSet &b);
