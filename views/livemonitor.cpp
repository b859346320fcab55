// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/livemonitor.h"

#include <QLineEdit>

namespace {

// The last decimal digit of x, as the transmitter's readouts build their
// numbers digit by digit (a negative x keeps its minus sign).
QString digit(int x)
{
    return QString::number(x % 10);
}

} // namespace

GaugeValues gaugeFor(int channelOutput)
{
    if (channelOutput <= 999)
        return {1010 - channelOutput, 1000};
    if (channelOutput == 1000)
        return {10, 1000}; // the blue sliver at the seam marks the centre
    return {10, 2000 - channelOutput};
}

QString txVoltageText(int hundredths)
{
    // The transmitter reports hundredths; the header shows whole tenths.
    return tenthsVoltageText(hundredths / 10);
}

QString tenthsVoltageText(int tenths)
{
    const int v = tenths;
    if (v <= 99)
        return QLatin1Char(' ') + digit(v / 10) + QLatin1Char('.') + digit(v) + QLatin1Char('V');
    return digit(v / 100) + digit(v / 10) + QLatin1Char('.') + digit(v) + QStringLiteral(" V");
}

QString rssiText(int rssi)
{
    const int d = 100 - rssi;
    if (d > 99)
        return QStringLiteral("null");
    return QLatin1Char('-') + digit(d / 10) + digit(d) + QStringLiteral("dBm");
}

QString trimText(int stickTrim)
{
    return QLatin1Char('(') + QString::number(stickTrim - 120) + QLatin1Char(')');
}

void setTextIfChanged(QLineEdit *field, const QString &text)
{
    if (field->text() != text)
        field->setText(text);
}
