// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/catalogue.h"

#include "settings/pagetexts.h"

#include <QStringList>

using namespace pagetexts;

namespace {

// The rows are written against the members of a probe record; each row
// then finds the frame field whose accessor reaches the same member. A
// member no frame carries leaves its row without a layout, which the
// catalogue's test reports.
ParameterSet probe{};

struct Builder {
    std::vector<SettingRow> rows;
    const char *page = nullptr;
    QString place;

    void add(const QString &name, int &member, ValueShown shown = ValueShown::Number,
             const std::vector<const char *> *items = nullptr,
             double ParameterSet::*volts = nullptr)
    {
        SettingRow row{page, place, name, nullptr, -1, shown, items, volts};
        for (const FrameLayout *layout :
             {&kFrameLayoutS, &kFrameLayoutG, &kFrameLayoutH, &kFrameLayoutI}) {
            for (int i = 0; i < layout->fieldCount; ++i) {
                const FieldAccess access = layout->fields[i].field;
                if (access && &access(probe) == &member) {
                    row.layout = layout;
                    row.fieldIndex = i;
                }
            }
        }
        rows.push_back(row);
    }
    void item(const QString &name, int &member, const std::vector<const char *> &list)
    {
        add(name, member, ValueShown::Item, &list);
    }
};

QString numbered(const char *text, int n)
{
    return QString::fromLatin1(text) + QString::number(n);
}

void basicPage(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[1];
    // One line of the page per channel, its groups from left to right.
    // Channels 1 to 4 have no AUX-CH source to choose.
    for (int c = 0; c < 8; ++c) {
        b.place = numbered("CH", c + 1);
        b.item("REVERSE", p.reverse[c], kNorRev);
        b.add("SUB-TRIM", p.subTrim[c]);
        b.add("END POINT L", p.endPointLeft[c]);
        b.add("END POINT R", p.endPointRight[c]);
        b.add("DELAY", p.servoDelay[c]);
        if (c >= 4)
            b.item("AUX-CH", p.auxSource[c], kAuxSources);
        b.add("FAIL SAFE", p.failSafe[c]);
    }
}

void advance1Page(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[2];
    // The D/R selections show on both pages; they are named once, here.
    // UP and DOWN are the rates of the selected channel; the frame carries
    // them besides the tables on ADVANCE2.
    b.place = QStringLiteral("D/R");
    b.item("MIX", p.drMix, kOffOn);
    b.item("CH", p.drChannel, kCh1to4);
    b.item("SW", p.drSwitch, kSwa);
    b.add("UP", p.drEditUp);
    b.add("DOWN", p.drEditDown);

    b.place = QStringLiteral("ATTITUDE");
    b.item("CH", p.attitudeChannel, kAttiChannels);
    for (int i = 0; i < 6; ++i)
        b.add(numbered("ATTI", i + 1), p.attitude[i]);

    // The two values without captions stand right of AILE1 and AILE2.
    b.place = QStringLiteral("ELEVON");
    b.item("MIX", p.elevonMix, kOffOn);
    b.add("AILE1", p.elevon[0]);
    b.add("AILE1 (right)", p.elevon[4]);
    b.add("AILE2", p.elevon[1]);
    b.add("AILE2 (right)", p.elevon[5]);
    b.add("ELEV2", p.elevon[2]);
    b.add("ELEV1", p.elevon[3]);

    b.place = QStringLiteral("V-TAIL");
    b.item("MIX", p.vtailMix, kOffOn);
    static const char *const vtail[4] = {"ELEV1", "ELEV2", "RUDD2", "RUDD1"};
    for (int i = 0; i < 4; ++i)
        b.add(QString::fromLatin1(vtail[i]), p.vtail[i]);
}

void advance2Page(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[3];
    // The page shows one channel and switch position at a time; each entry
    // of the rate and expo tables is named by the CH and POSI that show it.
    b.place = QStringLiteral("D/R CURE");
    b.item("POSI", p.drPosition, kUpDown);
    for (int c = 0; c < 4; ++c) {
        for (int pos = 0; pos < 2; ++pos) {
            b.place = QStringLiteral("D/R CURE CH%1 %2").arg(c + 1).arg(kUpDown[pos]);
            b.add("RATE", p.drRate[pos][c]);
            b.add("EXP", p.drExpo[pos][c]);
        }
    }

    b.place = QStringLiteral("TH CURE");
    b.item("MIX", p.throttleCurveMix, kOffOn);
    for (int i = 0; i < 7; ++i)
        b.add(numbered("POINT", i + 1), p.throttleCurve[i]);
    // Travels with the curve but has no widget: named after its group.
    b.add("EXTRA", p.throttleCurveExtra);
}

void progMixPage(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[4];
    for (int m = 0; m < 4; ++m) {
        ProgMix &mix = p.progMix[m];
        b.place = numbered("MIX", m + 1);
        b.item("MIX", mix.mode, kInhOffOn);
        b.item("MAS", mix.master, kCh1to8);
        b.item("SLA", mix.slave, kCh1to8);
        b.add("OFFSET", mix.offset);
        b.add("UP", mix.up);
        b.add("DOWN", mix.down);
    }
}

void systemPage(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[5];
    b.place = QStringLiteral("ALARM");
    b.add("TX-Alarm", p.txAlarmTenths, ValueShown::Volts, nullptr, &ParameterSet::txAlarmVolt);
    b.add("RX-Alarm", p.rxAlarmTenths, ValueShown::Volts, nullptr, &ParameterSet::rxAlarmVolt);
    b.add("EXT-Alarm", p.extAlarmTenths, ValueShown::Volts, nullptr, &ParameterSet::extAlarmVolt);
    b.add("Rssi-Alarm", p.rssiAlarm);

    b.place = QStringLiteral("MODE");
    b.add("STK-MODE", p.stickMode);

    // The record keeps steps and positions per trim of the transmitter; the
    // stick mode decides in which TRIMn-STEP line of the page a trim
    // appears. A name must not change with the mode, so the rows name the
    // transmitter's trim, not the line.
    for (int t = 0; t < 4; ++t) {
        b.place = numbered("TX TRIM", t + 1);
        b.add("STEP", p.trimStep[t]);
        b.add("POSITION", p.stickTrim[t], ValueShown::TrimPos);
    }
}

std::vector<SettingRow> buildCatalogue()
{
    Builder b;
    basicPage(b);
    advance1Page(b);
    advance2Page(b);
    progMixPage(b);
    systemPage(b);
    return b.rows;
}

} // namespace

const std::vector<SettingRow> &settingsCatalogue()
{
    static const std::vector<SettingRow> rows = buildCatalogue();
    return rows;
}

int settingValue(const SettingRow &row, const ParameterSet &p)
{
    if (row.volts)
        return alarmTenths(p.*row.volts);
    // The accessor hands out a writable reference so a decoder can share
    // it; here it is only read.
    return row.layout->fields[row.fieldIndex].field(const_cast<ParameterSet &>(p));
}

QString settingValueText(const SettingRow &row, const ParameterSet &p)
{
    const int value = settingValue(row, p);
    switch (row.shown) {
    case ValueShown::Item:
        if (value >= 0 && value < int(row.items->size()))
            return QString::fromLatin1(row.items->at(std::size_t(value)));
        return QStringLiteral("(item %1)").arg(value);
    case ValueShown::Volts:
        return QString::number(value / 10.0, 'f', 1);
    case ValueShown::TrimPos:
        return QLatin1Char('(') + QString::number(qint64(value) - 120) + QLatin1Char(')');
    case ValueShown::Number:
        break;
    }
    return QString::number(value);
}

QString settingTitle(const SettingRow &row)
{
    return QStringList{QString::fromLatin1(row.page), row.place, row.name}.join(
        QStringLiteral(" / "));
}

std::vector<SettingDifference> compareSettings(const ParameterSet &a, const ParameterSet &b)
{
    std::vector<SettingDifference> differences;
    for (const SettingRow &row : settingsCatalogue()) {
        if (settingValue(row, a) != settingValue(row, b))
            differences.push_back({&row, settingValueText(row, a), settingValueText(row, b)});
    }
    return differences;
}
