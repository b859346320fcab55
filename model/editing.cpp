// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/editing.h"

#include "model/stickmode.h"

int drPositionIndex(const ParameterSet &p)
{
    return p.drPosition == 0 ? 0 : 1;
}

bool drChannelHasTable(const ParameterSet &p)
{
    return p.drChannel >= 0 && p.drChannel <= 3;
}

void selectDualRate(ParameterSet &p)
{
    if (!drChannelHasTable(p))
        return;
    const int c = p.drChannel;
    const int pos = drPositionIndex(p);
    p.drEditUp = p.drRate[0][c];
    p.drEditDown = p.drRate[1][c];
    p.drEditRate = p.drRate[pos][c];
    p.drEditExpo = p.drExpo[pos][c];
}

void editDrChannel(ParameterSet &p, int channel)
{
    p.drChannel = channel;
    selectDualRate(p);
}

void editDrPosition(ParameterSet &p, int position)
{
    p.drPosition = position;
    selectDualRate(p);
}

namespace {

// A working copy edited by the pilot: store it, write it through to the
// selected channel's entry of its table, and reselect all four copies.
void editThrough(ParameterSet &p, int &workingCopy, int (&table)[2][4], int position, int value)
{
    workingCopy = value;
    if (drChannelHasTable(p))
        table[position][p.drChannel] = value;
    selectDualRate(p);
}

} // namespace

void editDrUp(ParameterSet &p, int rate)
{
    editThrough(p, p.drEditUp, p.drRate, 0, rate);
}

void editDrDown(ParameterSet &p, int rate)
{
    editThrough(p, p.drEditDown, p.drRate, 1, rate);
}

void editDrRate(ParameterSet &p, int rate)
{
    editThrough(p, p.drEditRate, p.drRate, drPositionIndex(p), rate);
}

void editDrExpo(ParameterSet &p, int expo)
{
    editThrough(p, p.drEditExpo, p.drExpo, drPositionIndex(p), expo);
}

void editTrimStep(ParameterSet &p, int row, int step)
{
    p.trimStep[trimIndexForRow(p.stickMode, row)] = step;
}
