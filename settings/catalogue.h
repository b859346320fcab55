// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/frames.h"
#include "model/parameterset.h"

#include <QString>

#include <vector>

// Every setting that travels to the transmitter in frames S, G, H and I,
// named once: the page it is on (its tab text), its place on the page
// (channel, group, mix number or point, as the page labels it) and its name
// as the page labels it. Everything that shows settings as words (the
// compare, --show and --diff, the history, the printed sheet) walks this
// one table, so a field cannot reach the wire without a name and no
// printout can miss one.

// How the page shows a setting's value.
enum class ValueShown {
    Number,  // the spin box's number
    Item,    // the combo box's item text
    Volts,   // volts with one decimal, as the alarm spin boxes show them
    TrimPos, // a trim position from its centre, as the trim readout: "(-20)"
};

struct SettingRow {
    const char *page;          // tab text: "BASIC", "ADVANCE1", "ADVANCE2", "PROG.MIX", "SYSTEM"
    QString place;             // "CH3", "ALARM", "MIX2", "TH CURE"... as the page labels it
    QString name;              // "REVERSE", "TX-Alarm", ...
    const FrameLayout *layout; // the frame the setting travels in
    int fieldIndex;            // its field in that frame's layout
    ValueShown shown;
    const std::vector<const char *> *items; // the combo box's items (Item only)
    // The alarms travel as tenths, but the pilot edits volts and the tenths
    // follow only when a frame is built: an alarm row reads these volts.
    double ParameterSet::*volts;
    // What the pilot meets on the page: the widget that edits the setting
    // (nullptr where a shared widget shows it, see pageWidgets()), the
    // range the page allows (tenths for an alarm; a minimum above the
    // maximum where no range is known), the unit ("%", "V" or
    // none) and one or two sentences on what the setting does.
    const char *widget;
    int minimum, maximum;
    const char *unit;
    const char *help;
};

// Every setting, in page order: pages in tab order, on each page group by
// group and row by row as the pilot reads it.
const std::vector<SettingRow> &settingsCatalogue();

// A widget of the settings pages a pilot reaches, in reading order: page by
// page in tab order, on each page group by group and row by row. A setting
// widget names the catalogue row whose range and factory value it shows; a
// widget that shows one of several rows (RATE and EXP, the TRIMn-STEP
// lines) names the first of them. Readouts and charts name none and say
// what they show in `help`.
struct PageWidget {
    const char *objectName;
    const char *page;
    QString place;
    QString name;
    const SettingRow *row; // nullptr for a readout or chart
    const char *help;      // what it shows; nullptr: the row's help
};
const std::vector<PageWidget> &pageWidgets();

// The value as the transmitter would get it from this record: the field's
// integer, or for an alarm the tenths of the volts the pilot edited.
int settingValue(const SettingRow &row, const ParameterSet &p);
// The value as the page shows it: "REV", "-20", "7.2", "(-3)". An index
// the combo box has no item for is shown as "(item 7)".
QString settingValueText(const SettingRow &row, const ParameterSet &p);
// "BASIC / CH3 / REVERSE"
QString settingTitle(const SettingRow &row);

struct SettingDifference {
    const SettingRow *row;
    QString before, after; // the values of `a` and `b` as the page shows them
};
// The settings whose values differ between a and b, in page order.
std::vector<SettingDifference> compareSettings(const ParameterSet &a, const ParameterSet &b);
