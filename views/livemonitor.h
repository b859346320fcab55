// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLineEdit>
#include <QString>

#include <climits>

// The two bars of one channel gauge. The upper bar (0 … 1010) carries the
// travel below centre, the lower bar (0 … 1000) the travel above it; the
// seam between them is the centre. A value outside a bar's range is left
// for the bar to ignore, so the bar keeps what it showed before.
struct GaugeValues {
    int upper;
    int lower;
};
GaugeValues gaugeFor(int channelOutput);

// Transmitter voltage from hundredths of a volt, truncated to tenths:
// 845 -> " 8.4V", 1260 -> "12.6 V". Only tens, units and tenths are shown.
QString txVoltageText(int hundredths);
// Receiver and external voltage from tenths of a volt: 84 -> " 8.4V",
// 126 -> "12.6 V", 1005 -> "00.5 V".
QString tenthsVoltageText(int tenths);
// Signal strength: 0 (no value) -> "null", 45 -> "-55dBm", 100 -> "-00dBm".
QString rssiText(int rssi);
// A trim position relative to its centre 120: 100 -> "(-20)".
QString trimText(int stickTrim);

// Readouts are rewritten ten times a second; most ticks change nothing, and
// an unchanged text is not worth a relayout and repaint of the field.
void setTextIfChanged(QLineEdit *field, const QString &text);

// What one live readout last showed. Most ticks change nothing, and an
// unchanged value then costs no string building at all.
struct ShownValue {
    int value = INT_MIN; // nothing shown yet
};

// The readouts the refresh keeps in step with the live record.
struct LiveReadoutsShown {
    ShownValue channel[8];
    ShownValue tx, rssi, ext, rx;
    ShownValue trimRow[4];
};

// Shows format(value) in the readout when the value changed since it was
// last shown, or when the pilot has typed into the readout since.
template <class Format>
void showLiveValue(QLineEdit *field, ShownValue &shown, int value, Format format)
{
    if (shown.value == value && !field->isModified())
        return;
    shown.value = value;
    setTextIfChanged(field, format(value));
}
