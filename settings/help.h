// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/catalogue.h"

#include <QString>

// The words that explain a setting where it stands: its tooltip and
// "What's This?" text, the names a screen reader announces and the help
// line of --show --explain. All of them are read from the catalogue.

// The record after both factory operations: what DATA RESET gives.
const ParameterSet &factoryParameters();

// "Range -100 to 100 %." or "Choices: NOR, REV."
QString settingRangeText(const SettingRow &row);
// "Factory value 0 %."
QString settingFactoryText(const SettingRow &row);
// "Travels in frame S."
QString settingFrameText(const SettingRow &row);
// What the setting does, its range, factory value and frame, in one line.
QString settingHelpLine(const SettingRow &row);

// "BASIC · CH3 · SUB-TRIM"
QString widgetTitle(const PageWidget &w);
// The title, what it does or shows, and for a setting its range, factory
// value and frame: one paragraph each, plain text.
QString widgetHelpText(const PageWidget &w);
// The same as rich text for a tooltip, which then wraps its lines.
QString widgetToolTip(const PageWidget &w);
// What a screen reader announces: "CH3 sub-trim".
QString widgetAccessibleName(const PageWidget &w);

// The charts' text alternatives: the points they draw.
QString rateChartText(int rate, int expo);
QString throttleChartText(const int (&points)[7]);
