// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The transmitter's model settings, one program-wide record. Combo-box
// backed fields hold the item index; per-channel arrays are indexed
// 0 = CH1 … 7 = CH8. The alarm voltages exist twice: the volts the pilot
// edits and the integer tenths that travel in frames.

struct ProgMix {
    int mode;   // 0 INH, 1 OFF, 2 ON
    int master; // channel index
    int slave;  // channel index
    int offset;
    int up;
    int down;
};

struct ParameterSet {
    // BASIC
    int reverse[8];
    int subTrim[8];
    int endPointLeft[8];
    int endPointRight[8];
    int servoDelay[8];
    int auxSource[8]; // only [4..7] are used (channels 5..8)
    int failSafe[8];

    // dual rate / expo: [position 0 UP, 1 DOWN][channel CH1..CH4]
    int drMix;
    int drChannel;
    int drSwitch;
    int drPosition;
    int drRate[2][4];
    int drExpo[2][4];
    int drEditUp;
    int drEditDown;
    int drEditRate;
    int drEditExpo;

    // mixes
    int attitudeChannel;
    int attitude[6];
    int elevonMix;
    int elevon[6];
    int vtailMix;
    int vtail[4];

    // throttle curve
    int throttleCurveMix;
    int throttleCurveExtra;
    int throttleCurve[7];

    ProgMix progMix[4];

    // system: the three alarm voltages in volts (edited) and in tenths
    // (what frames carry); the doubles stand together so the record has
    // no padding bytes and can be compared byte for byte
    double txAlarmVolt;
    double rxAlarmVolt;
    double extAlarmVolt;
    int txAlarmTenths;
    int rxAlarmTenths;
    int extAlarmTenths;
    int rssiAlarm;
    int stickMode;
    int txVersion;
    int trimStep[4];
    int stickTrim[4]; // 120 = centre
};

// The values the record holds when the program starts.
extern const ParameterSet kStartParameters;

// The one program-wide record, statically initialised to kStartParameters.
extern ParameterSet paramSet;

// Factory operation A: BASIC page, D/R rates and selections, attitude,
// elevon, V-tail, TX alarm (3.7 V), stick mode and prog. mixes 1 and 2.
void restFactoryA(ParameterSet &p);
// Factory operation B: prog. mixes 3 and 4, throttle curve, D/R position
// and expos, RX/EXT/RSSI alarms, stick trims and trim steps.
void restFactoryB(ParameterSet &p);
// Replaces every out-of-range setting by its fallback value; fields
// without a valid range are left alone.
void validateParameters(ParameterSet &p);

static_assert(sizeof(ParameterSet) == 3 * sizeof(double) + 146 * sizeof(int),
              "ParameterSet must stay free of padding for byte-wise comparison");

// Field-wise equality (byte-wise, so 0.0 and -0.0 differ).
bool operator==(const ParameterSet &a, const ParameterSet &b);
inline bool operator!=(const ParameterSet &a, const ParameterSet &b)
{
    return !(a == b);
}
