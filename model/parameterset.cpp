// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/parameterset.h"

#include <algorithm>
#include <cstring>
#include <iterator>

// constexpr so that paramSet below is initialised before any code runs.
constexpr ParameterSet kStartParameters = {
    /* reverse */ {0, 0, 1, 0, 0, 0, 0, 0},
    /* subTrim */ {0, 0, 0, 0, 0, 0, 0, 0},
    /* endPointLeft */ {96, 96, 96, 96, 96, 96, 96, 96},
    /* endPointRight */ {96, 96, 96, 96, 96, 96, 96, 96},
    /* servoDelay */ {100, 100, 100, 100, 100, 100, 100, 100},
    /* auxSource */ {0, 0, 0, 0, 1, 3, 0, 2},
    /* failSafe */ {50, 50, 0, 50, 50, 50, 50, 50},
    /* drMix */ 0,
    /* drChannel */ 0,
    /* drSwitch */ 0,
    /* drPosition */ 0,
    /* drRate */ {{100, 100, 100, 100}, {100, 100, 100, 100}},
    /* drExpo */ {{0, 0, 0, 0}, {0, 0, 0, 0}},
    /* drEditUp */ 100,
    /* drEditDown */ 100,
    /* drEditRate */ 100,
    /* drEditExpo */ 0,
    /* attitudeChannel */ 4,
    /* attitude */ {14, 29, 44, 56, 69, 88},
    /* elevonMix */ 0,
    /* elevon */ {100, 100, 100, -100, 100, 100},
    /* vtailMix */ 0,
    /* vtail */ {50, -50, 50, 50},
    /* throttleCurveMix */ 0,
    /* throttleCurveExtra */ 0,
    /* throttleCurve */ {0, 16, 33, 50, 67, 84, 100},
    /* progMix */ {{0, 0, 3, 0, 0, 0}, {0, 1, 5, 0, 0, 0}, {0, 0, 3, 0, 0, 0}, {0, 1, 5, 0, 0, 0}},
    /* txAlarmVolt */ 11.0,
    /* rxAlarmVolt */ 4.0,
    /* extAlarmVolt */ 11.0,
    /* txAlarmTenths */ 37,
    /* rxAlarmTenths */ 40,
    /* extAlarmTenths */ 110,
    /* rssiAlarm */ -100,
    /* stickMode */ 2,
    /* txVersion */ 0,
    /* trimStep */ {2, 2, 2, 2},
    /* stickTrim */ {120, 120, 120, 120},
};

ParameterSet paramSet = kStartParameters;

namespace {

const ParameterSet &F = kStartParameters; // factory = start, except where noted

template <typename T, std::size_t N> void copyArray(T (&dst)[N], const T (&src)[N])
{
    std::copy(std::begin(src), std::end(src), std::begin(dst));
}

// Unsigned upper bound: negative values wrap to huge numbers and fail.
void capUnsigned(int &v, unsigned bound, int fallback)
{
    if (static_cast<unsigned>(v) > bound)
        v = fallback;
}

// Signed window -100..100, tested as (v + 100) unsigned <= 200.
void capPercent(int &v, int fallback)
{
    if (static_cast<unsigned>(v) + 100u > 200u)
        v = fallback;
}

// Written so that a value that is not a number fails as well.
void capVolts(double &v, double bound, double fallback)
{
    if (!(v >= 0.0 && v <= bound))
        v = fallback;
}

} // namespace

void restFactoryA(ParameterSet &p)
{
    copyArray(p.reverse, F.reverse);
    copyArray(p.subTrim, F.subTrim);
    copyArray(p.endPointLeft, F.endPointLeft);
    copyArray(p.endPointRight, F.endPointRight);
    copyArray(p.failSafe, F.failSafe);
    copyArray(p.servoDelay, F.servoDelay);
    for (int i = 4; i < 8; ++i)
        p.auxSource[i] = F.auxSource[i];
    p.drMix = F.drMix;
    p.drChannel = F.drChannel;
    p.drSwitch = F.drSwitch;
    for (int pos = 0; pos < 2; ++pos)
        copyArray(p.drRate[pos], F.drRate[pos]);
    p.drEditUp = F.drEditUp;
    p.drEditDown = F.drEditDown;
    p.attitudeChannel = F.attitudeChannel;
    copyArray(p.attitude, F.attitude);
    p.elevonMix = F.elevonMix;
    copyArray(p.elevon, F.elevon);
    p.vtailMix = F.vtailMix;
    copyArray(p.vtail, F.vtail);
    p.txAlarmVolt = 3.7; // the factory alarm differs from the start value 11.0
    p.txAlarmTenths = F.txAlarmTenths;
    p.stickMode = F.stickMode;
    p.progMix[0] = F.progMix[0];
    p.progMix[1] = F.progMix[1];
}

void restFactoryB(ParameterSet &p)
{
    p.progMix[2] = F.progMix[2];
    p.progMix[3] = F.progMix[3];
    p.throttleCurveMix = F.throttleCurveMix;
    p.throttleCurveExtra = F.throttleCurveExtra;
    copyArray(p.throttleCurve, F.throttleCurve);
    p.drPosition = F.drPosition;
    for (int pos = 0; pos < 2; ++pos)
        copyArray(p.drExpo[pos], F.drExpo[pos]);
    p.drEditExpo = F.drEditExpo;
    p.rxAlarmVolt = F.rxAlarmVolt;
    p.rxAlarmTenths = F.rxAlarmTenths;
    p.extAlarmVolt = F.extAlarmVolt;
    p.extAlarmTenths = F.extAlarmTenths;
    p.rssiAlarm = F.rssiAlarm;
    copyArray(p.stickTrim, F.stickTrim);
    copyArray(p.trimStep, F.trimStep);
}

void validateParameters(ParameterSet &p)
{
    for (int i = 0; i < 8; ++i) {
        capUnsigned(p.reverse[i], 1, F.reverse[i]);
        capPercent(p.subTrim[i], 0);
        capUnsigned(p.endPointLeft[i], 120, 96);
        capUnsigned(p.endPointRight[i], 120, 96);
        capUnsigned(p.servoDelay[i], 100, 100);
        capUnsigned(p.failSafe[i], 100, F.failSafe[i]);
    }
    for (int i = 4; i < 8; ++i)
        capUnsigned(p.auxSource[i], 5, F.auxSource[i]);

    capUnsigned(p.drMix, 1, 0);
    capUnsigned(p.drChannel, 4, 0);
    capUnsigned(p.drSwitch, 2, 0);
    capUnsigned(p.drPosition, 4, 0);
    for (int pos = 0; pos < 2; ++pos) {
        for (int ch = 0; ch < 4; ++ch) {
            capUnsigned(p.drRate[pos][ch], 100, 100);
            capPercent(p.drExpo[pos][ch], 0);
        }
    }
    capUnsigned(p.drEditUp, 100, 100);
    capUnsigned(p.drEditDown, 100, 100);
    capPercent(p.drEditExpo, 0);

    capUnsigned(p.attitudeChannel, 5, F.attitudeChannel);
    for (int i = 0; i < 6; ++i) {
        capUnsigned(p.attitude[i], 100, F.attitude[i]);
        capPercent(p.elevon[i], F.elevon[i]);
    }
    capUnsigned(p.elevonMix, 1, 0);
    capUnsigned(p.vtailMix, 1, 0);
    for (int i = 0; i < 4; ++i)
        capPercent(p.vtail[i], F.vtail[i]);

    capUnsigned(p.throttleCurveMix, 5, 0);
    capUnsigned(p.throttleCurveExtra, 4, 0);
    for (int i = 0; i < 7; ++i)
        capUnsigned(p.throttleCurve[i], 100, F.throttleCurve[i]);

    for (int k = 0; k < 4; ++k) {
        ProgMix &m = p.progMix[k];
        capUnsigned(m.mode, 2, 0);
        capUnsigned(m.master, 10, F.progMix[k].master);
        capUnsigned(m.slave, 10, F.progMix[k].slave);
        capPercent(m.offset, 0);
        capPercent(m.up, 0);
        capPercent(m.down, 0);
    }

    capVolts(p.txAlarmVolt, 50.0, 0.0); // falls back to 0.0, not the factory 3.7
    capUnsigned(p.txAlarmTenths, 500, 37);
    capVolts(p.rxAlarmVolt, 100.0, 4.0);
    capUnsigned(p.rxAlarmTenths, 1000, 40);
    capVolts(p.extAlarmVolt, 100.0, 11.0);
    capUnsigned(p.extAlarmTenths, 1000, 110);
    if (static_cast<unsigned>(p.rssiAlarm) + 100u > 100u)
        p.rssiAlarm = -100;
    capUnsigned(p.stickMode, 4, 1); // falls back to mode 1, not the factory 2
}

bool operator==(const ParameterSet &a, const ParameterSet &b)
{
    return std::memcmp(&a, &b, sizeof(ParameterSet)) == 0;
}
