// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

// What the settings pages make of values that came from the transmitter:
// a number outside its spin box's range comes back as the nearest end of
// that range, an index past its combo box's items as no item (-1), which
// validation then repairs. The receive path puts a parameter frame's values
// through this before the pages show them, so a READ gives the same record
// whatever the pages showed before; a check puts its own record through it,
// so it compares what a READ would have put into the editor.
void takeAsThePagesShow(ParameterSet &p);

// True when the two records hold the same settings as a check judges them:
// the live trims and the D/R CH selection (which channel the pages edit)
// are never a difference.
bool sameCheckedSettings(const ParameterSet &a, const ParameterSet &b);
