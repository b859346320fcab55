// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/stickmode.h"

namespace {

// Row r of a mode's line is the trim behind widget r+1. Line 0 serves
// mode 4 and every mode the transmitter might report outside 1..3.
constexpr int kTrimIndex[4][4] = {
    {0, 1, 2, 3}, // mode 4 and any other
    {3, 2, 1, 0}, // mode 1
    {3, 1, 2, 0}, // mode 2
    {0, 2, 1, 3}, // mode 3
};

} // namespace

int trimIndexForRow(int stickMode, int row)
{
    const int line = (stickMode >= 1 && stickMode <= 3) ? stickMode : 0;
    const int r = (row >= 0 && row < 4) ? row : 0;
    return kTrimIndex[line][r];
}
