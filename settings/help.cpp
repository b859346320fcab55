// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/help.h"

#include <QHash>
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

namespace {

// The words a screen reader says for a group of the page: the page's
// captions are abbreviations a pilot reads but a speech synthesiser spells.
QString spokenPlace(const QString &place)
{
    static const QHash<QString, QString> words = {
        {QStringLiteral("D/R"), QStringLiteral("Dual rate")},
        {QStringLiteral("D/R CURE"), QStringLiteral("Dual rate")},
        {QStringLiteral("ATTITUDE"), QStringLiteral("Attitude")},
        {QStringLiteral("ELEVON"), QStringLiteral("Elevon")},
        {QStringLiteral("V-TAIL"), QStringLiteral("V-tail")},
        {QStringLiteral("TH CURE"), QStringLiteral("Throttle curve")},
        {QStringLiteral("EXT"), QStringLiteral("External")},
        {QStringLiteral("RSSI"), QStringLiteral("RSSI")},
        // The setting's name says all there is to say.
        {QStringLiteral("ALARM"), QString()},
        {QStringLiteral("VERSION / MODE"), QString()},
        {QStringLiteral("DATA RESET"), QString()}};
    if (words.contains(place))
        return words.value(place);
    if (place.startsWith(QLatin1String("MIX"))) // "MIX2": a programmable mix
        return QStringLiteral("Mix ") + place.mid(3);
    return place; // "CH3", "TX"
}

QString spokenName(const QString &place, const QString &name)
{
    static const QHash<QString, QString> words = {
        {QStringLiteral("REVERSE"), QStringLiteral("reverse")},
        {QStringLiteral("SUB-TRIM"), QStringLiteral("sub-trim")},
        {QStringLiteral("END POINT L"), QStringLiteral("end point left")},
        {QStringLiteral("END POINT R"), QStringLiteral("end point right")},
        {QStringLiteral("DELAY"), QStringLiteral("servo delay")},
        {QStringLiteral("AUX-CH"), QStringLiteral("aux control")},
        {QStringLiteral("FAIL SAFE"), QStringLiteral("fail-safe")},
        {QStringLiteral("CH"), QStringLiteral("channel")},
        {QStringLiteral("SW"), QStringLiteral("switch")},
        {QStringLiteral("UP"), QStringLiteral("UP rate")},
        {QStringLiteral("DOWN"), QStringLiteral("DOWN rate")},
        {QStringLiteral("POSI"), QStringLiteral("switch position")},
        {QStringLiteral("RATE"), QStringLiteral("rate of the chosen position")},
        {QStringLiteral("EXP"), QStringLiteral("expo of the chosen position")},
        {QStringLiteral("MAS"), QStringLiteral("master channel")},
        {QStringLiteral("SLA"), QStringLiteral("slave channel")},
        {QStringLiteral("OFFSET"), QStringLiteral("offset")},
        {QStringLiteral("TX-Alarm"), QStringLiteral("TX battery alarm")},
        {QStringLiteral("RX-Alarm"), QStringLiteral("RX battery alarm")},
        {QStringLiteral("EXT-Alarm"), QStringLiteral("External voltage alarm")},
        {QStringLiteral("Rssi-Alarm"), QStringLiteral("RSSI alarm")},
        {QStringLiteral("STK-MODE"), QStringLiteral("Stick mode")},
        {QStringLiteral("TX Version"), QStringLiteral("TX version")},
        {QStringLiteral("PC Version"), QStringLiteral("PC version")},
        {QStringLiteral("DATA RESET"), QStringLiteral("DATA RESET")}};
    if (name == QLatin1String("MIX"))
        return place.startsWith(QLatin1String("MIX")) ? QStringLiteral("state")
                                                      : QStringLiteral("on or off");
    if (words.contains(name))
        return words.value(name);
    QString spoken = name;
    // "TRIM2-STEP", "TRIM2 position", "ATTI3", "POINT4", "AILE1 (right)"
    spoken.replace(QLatin1String("-STEP"), QLatin1String(" step"));
    spoken.replace(QLatin1String(" (right)"), QLatin1String(" right column"));
    for (const char *stem : {"TRIM", "ATTI", "POINT"}) {
        if (spoken.startsWith(QLatin1String(stem)) && spoken.size() > int(qstrlen(stem)) &&
            spoken.at(int(qstrlen(stem))).isDigit()) {
            const QString word = QString::fromLatin1(stem) == QLatin1String("TRIM")
                                     ? QStringLiteral("Trim ")
                                     : QStringLiteral("point ");
            spoken = word + spoken.mid(int(qstrlen(stem)));
        }
    }
    return spoken;
}

} // namespace

QString widgetAccessibleName(const PageWidget &w)
{
    // "CH3 sub-trim", "Dual rate UP rate", "Mix 2 master channel", "Stick mode".
    const QString place = spokenPlace(w.place);
    const QString name = spokenName(w.place, w.name);
    return place.isEmpty() ? name : place + QLatin1Char(' ') + name;
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
