// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QString;
class QWidget;

// Hover highlight of the settings combo boxes. A combo box under the
// pointer shows the green hover highlight for 19 refresh ticks; on the 20th
// it gets the sheet without highlight, so a pilot resting the pointer on a
// value sees it in its plain colours again. Leaving at 20 brings the
// highlight sheet back and restarts the count; leaving earlier keeps the
// count, so time under the pointer adds up over separate visits.

// What the rule asks for after one tick.
enum class HoverSheet {
    Keep,        // leave the combo box's sheet as it is
    Highlight,   // ":/comboBox.qss", with the green hover rule
    NoHighlight, // ":/comboBox_REV.qss", hover looks like the normal state
};

// Counter value at which the highlight is switched off.
constexpr int kHoverTicksLimit = 20;

// One tick of the rule: advances or resets the counter and says which sheet
// the combo box should now carry.
HoverSheet advanceHover(int &ticks, bool underMouse);

// One counter per settings combo box, program-wide (not per window), zero
// at start. The indices below give each combo box its counter.
namespace HoverSlot {
enum : int {
    Rev = 0,     // comboBox_rev1 … comboBox_rev8
    Aux = 8,     // comboBox_AUX1 … comboBox_AUX8
    DrMix1 = 16, // ADVANCE1 D/R group
    DrCh1,
    DrSw1,
    AttiM,
    EleMix,
    RuMix,
    Prm = 22,    // mix k: Prm + 3k + 0 Mix, 1 Master, 2 Slave
    DrMix2 = 34, // ADVANCE2 D/R CURE group
    DrCh2,
    DrSw2,
    DrPosi,
    ThcureMix,
    Count
};
}
extern int hoverTicks[HoverSlot::Count];

// Reads a style sheet resource: the bytes up to the first NUL as UTF-8.
// Returns false (and leaves text alone) when the file cannot be opened.
bool readSheetText(const QString &path, QString *text);

// The text of a hover sheet, read from the resources on first use and kept;
// nullptr when the resource is missing (the switch is then skipped).
const QString *hoverSheetText(HoverSheet sheet);

// Runs one tick of the rule on a combo box with its counter and applies the
// sheet asked for. A combo box that already carries that sheet is left
// alone, which saves a re-polish on every tick the pointer rests on it.
void applyHoverRule(QWidget *comboBox, int &ticks);
