// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The four trim-step widgets (spinBox_step1..4) and trim readouts
// (lineEdit_Trim_1..4) stand in a fixed place on the SYSTEM page, but which
// of the transmitter's trims sits under which stick depends on the stick
// mode. Returns the trimStep / stickTrim index that widget row 0..3 edits
// and shows for the given mode; modes other than 1..3 map like mode 4.
int trimIndexForRow(int stickMode, int row);
