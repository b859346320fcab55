// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/help.h"

#include <QStringList>

namespace {

QString withUnit(const QString &value, const SettingRow &row)
{
    const QString unit = QString::fromLatin1(row.unit);
    if (unit.isEmpty())
        return value;
    return value + QLatin1Char(' ') + unit;
}

// A range end as the page shows it.
QString shownNumber(const SettingRow &row, int value)
{
    switch (row.shown) {
    case ValueShown::Volts:
        return QString::number(value / 10.0, 'f', 1);
    case ValueShown::TrimPos:
        return QLatin1Char('(') + QString::number(value - 120) + QLatin1Char(')');
    default:
        return QString::number(value);
    }
}

const QString kDot = QStringLiteral(" \u00b7 ");

} // namespace

const ParameterSet &factoryParameters()
{
    static const ParameterSet factory = [] {
        ParameterSet p = kStartParameters;
        restFactoryA(p);
        restFactoryB(p);
        return p;
    }();
    return factory;
}

QString settingRangeText(const SettingRow &row)
{
    if (row.shown == ValueShown::Item) {
        QStringList items;
        for (const char *item : *row.items)
            items << QString::fromLatin1(item);
        return QStringLiteral("Choices: %1.").arg(items.join(QStringLiteral(", ")));
    }
    if (row.minimum > row.maximum)
        return QStringLiteral("Range as the transmitter reports it.");
    return QStringLiteral("Range %1 to %2.")
        .arg(shownNumber(row, row.minimum), withUnit(shownNumber(row, row.maximum), row));
}

QString settingFactoryText(const SettingRow &row)
{
    return QStringLiteral("Factory value %1.")
        .arg(withUnit(settingValueText(row, factoryParameters()), row));
}

QString settingFrameText(const SettingRow &row)
{
    return QStringLiteral("Travels in frame %1.").arg(QLatin1Char(row.layout->kind));
}

QString settingHelpLine(const SettingRow &row)
{
    return QStringList{QString::fromLatin1(row.help), settingRangeText(row),
                       settingFactoryText(row), settingFrameText(row)}
        .join(QLatin1Char(' '));
}

QString widgetTitle(const PageWidget &w)
{
    QStringList parts;
    if (w.page)
        parts << QString::fromLatin1(w.page);
    parts << w.place << w.name;
    return parts.join(kDot);
}

namespace {

QStringList helpParagraphs(const PageWidget &w)
{
    QStringList paragraphs{widgetTitle(w)};
    if (w.help)
        paragraphs << QString::fromLatin1(w.help);
    if (w.row) {
        if (!w.help)
            paragraphs << QString::fromLatin1(w.row->help);
        paragraphs << settingRangeText(*w.row) + QLatin1Char(' ') + settingFactoryText(*w.row)
                   << settingFrameText(*w.row);
    }
    return paragraphs;
}

} // namespace

QString widgetHelpText(const PageWidget &w)
{
    return helpParagraphs(w).join(QLatin1Char('\n'));
}

QString widgetToolTip(const PageWidget &w)
{
    QStringList paragraphs = helpParagraphs(w);
    for (QString &p : paragraphs)
        p = p.toHtmlEscaped();
    paragraphs.first() = QStringLiteral("<b>%1</b>").arg(paragraphs.first());
    return QStringLiteral("<p>") + paragraphs.join(QStringLiteral("</p><p>")) +
           QStringLiteral("</p>");
}

QString widgetAccessibleName(const PageWidget &w)
{
    // The place keeps its capitals ("CH3", "MIX2"); the name is a word of
    // the sentence: "CH3 sub-trim".
    return w.place + QLatin1Char(' ') + w.name.toLower();
}

QString rateChartText(int rate, int expo)
{
    return QStringLiteral("Dual-rate chart, RATE %1, EXP %2: full stick one way %3 %, centre "
                          "0 %, full stick the other way %1 %.")
        .arg(rate)
        .arg(expo)
        .arg(-rate);
}

QString throttleChartText(const int (&points)[7])
{
    QStringList parts;
    for (int i = 0; i < 7; ++i)
        parts << QStringLiteral("POINT%1 %2 %").arg(i + 1).arg(points[i]);
    return QStringLiteral("Throttle curve: ") + parts.join(QStringLiteral(", ")) + QLatin1Char('.');
}
