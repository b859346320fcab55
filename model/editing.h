// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

// The dual-rate tables are edited through four working copies that show
// the rates and expo of one channel (drChannel) and switch position
// (drPosition). Channels CH1..CH4 have a table column; any other channel
// value edits the working copies only.

// Switch position of the working copies: 0 UP, every other value DOWN.
int drPositionIndex(const ParameterSet &p);
// Whether drChannel names a channel with dual rates (CH1..CH4).
bool drChannelHasTable(const ParameterSet &p);

// Refills the four working copies from the tables for the selected channel
// and position; leaves them alone when the channel has no table.
void selectDualRate(ParameterSet &p);

// Each stores the pilot's value, writes it through to the table entry of
// the selected channel and reselects the working copies.
void editDrChannel(ParameterSet &p, int channel);
void editDrPosition(ParameterSet &p, int position);
void editDrUp(ParameterSet &p, int rate);
void editDrDown(ParameterSet &p, int rate);
void editDrRate(ParameterSet &p, int rate);
void editDrExpo(ParameterSet &p, int expo);

// Stores a trim step from widget row 0..3 into the trim that row stands
// for in the current stick mode.
void editTrimStep(ParameterSet &p, int row, int step);
