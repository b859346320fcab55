// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "check/asshown.h"

#include "link/frames.h"
#include "settings/catalogue.h"

#include <algorithm>
#include <iterator>

namespace {

template <int N> void clampAll(int (&values)[N], int low, int high)
{
    for (int &v : values)
        v = std::clamp(v, low, high);
}

void clampOne(int &value, int low, int high)
{
    value = std::clamp(value, low, high);
}

} // namespace

void takeAsThePagesShow(ParameterSet &p)
{
    // The spin boxes, with the ranges the form gives them.
    clampAll(p.subTrim, -100, 100);
    clampAll(p.endPointLeft, 0, 120);
    clampAll(p.endPointRight, 0, 120);
    clampAll(p.failSafe, 0, 100);
    clampAll(p.servoDelay, 0, 100);
    clampAll(p.attitude, 0, 100);
    clampAll(p.elevon, -100, 100);
    clampAll(p.vtail, -100, 100);
    clampAll(p.throttleCurve, 0, 100);
    for (int k = 0; k < 4; ++k) {
        // Mixes 3 and 4 take only positive rates.
        const int rateMin = k < 2 ? -100 : 0;
        clampOne(p.progMix[k].offset, -100, 100);
        clampOne(p.progMix[k].up, rateMin, 100);
        clampOne(p.progMix[k].down, rateMin, 100);
    }
    // The dual-rate tables show through the D/R boxes of the selected
    // channel and position; every entry is taken as those boxes would take
    // it, whichever is selected.
    for (int pos = 0; pos < 2; ++pos) {
        clampAll(p.drRate[pos], 0, 100);
        clampAll(p.drExpo[pos], -100, 100);
    }
    clampOne(p.rssiAlarm, -100, 0);
    clampOne(p.stickMode, 1, 4);
    clampOne(p.txVersion, 0, 1000);
    clampAll(p.trimStep, 1, 20);
    for (double *volts : {&p.txAlarmVolt, &p.rxAlarmVolt, &p.extAlarmVolt})
        *volts = std::clamp(*volts, 0.0, 99.9);
    // The combo boxes, with the items the catalogue names.
    for (const SettingRow &row : settingsCatalogue()) {
        if (row.shown != ValueShown::Item || !row.items)
            continue;
        int &index = row.layout->fields[row.fieldIndex].field(p);
        if (index < 0 || index >= int(row.items->size()))
            index = -1;
    }
}

bool sameCheckedSettings(const ParameterSet &a, const ParameterSet &b)
{
    ParameterSet asA = b;
    std::copy(std::begin(a.stickTrim), std::end(a.stickTrim), std::begin(asA.stickTrim));
    asA.drChannel = a.drChannel;
    return sameCarriedSettings(a, asA);
}
