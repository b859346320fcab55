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

void editDrUp(ParameterSet &p, int rate)
{
    p.drEditUp = rate;
    if (drChannelHasTable(p))
        p.drRate[0][p.drChannel] = rate;
    selectDualRate(p);
}

void editDrDown(ParameterSet &p, int rate)
{
    p.drEditDown = rate;
    if (drChannelHasTable(p))
        p.drRate[1][p.drChannel] = rate;
    selectDualRate(p);
}

void editDrRate(ParameterSet &p, int rate)
{
    p.drEditRate = rate;
    if (drChannelHasTable(p))
        p.drRate[drPositionIndex(p)][p.drChannel] = rate;
    selectDualRate(p);
}

void editDrExpo(ParameterSet &p, int expo)
{
    p.drEditExpo = expo;
    if (drChannelHasTable(p))
        p.drExpo[drPositionIndex(p)][p.drChannel] = expo;
    selectDualRate(p);
}

void editTrimStep(ParameterSet &p, int row, int step)
{
    p.trimStep[trimIndexForRow(p.stickMode, row)] = step;
}
