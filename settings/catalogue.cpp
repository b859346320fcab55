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

struct PendingWidget {
    PageWidget widget;
    int row; // index into the rows, -1 for none
};

struct Builder {
    std::vector<SettingRow> rows;
    std::vector<PendingWidget> widgets;
    const char *page = nullptr;
    QString place;
    // What the next rows share: their range, unit and help.
    int minimum = 0, maximum = 100;
    const char *unit = "";
    const char *help = "";

    void set(int lo, int hi, const char *u, const char *text)
    {
        minimum = lo;
        maximum = hi;
        unit = u;
        help = text;
    }
    void add(const char *widget, const QString &name, int &member,
             ValueShown shown = ValueShown::Number,
             const std::vector<const char *> *items = nullptr,
             double ParameterSet::*volts = nullptr)
    {
        SettingRow row{page,  place,  name,    nullptr, -1,   shown, items,
                       volts, widget, minimum, maximum, unit, help};
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
        if (widget)
            shows(widget, name, int(rows.size()) - 1);
    }
    void item(const char *widget, const QString &name, int &member,
              const std::vector<const char *> &list)
    {
        minimum = 0;
        maximum = int(list.size()) - 1;
        unit = "";
        add(widget, name, member, ValueShown::Item, &list);
    }
    // A widget of the page that shows the setting of row `row` (or, with
    // -1, a readout or chart that `text` describes).
    void shows(const char *widget, const QString &name, int row, const char *text = nullptr)
    {
        widgets.push_back({{widget, page, place, name, nullptr, text}, row});
    }
    int last() const { return int(rows.size()) - 1; }
};

QString numbered(const char *text, int n)
{
    return QString::fromLatin1(text) + QString::number(n);
}

// The form names its widget families "<stem><n>"; the names must outlive
// the catalogue, so they are kept here once.
const char *keptName(const QByteArray &name)
{
    // A QByteArray's characters stay where they are when the list grows.
    static std::vector<QByteArray> names;
    names.push_back(name);
    return names.back().constData();
}

const char *family(const char *stem, int n)
{
    return keptName(QByteArray(stem) + QByteArray::number(n));
}

// "comboBox_PRM02_Master": the widgets of mix m.
const char *mixWidget(const char *kind, int m, const char *what)
{
    return keptName(QByteArray(kind) + "PRM0" + QByteArray::number(m + 1) + '_' + what);
}

// The live readouts above the pages belong to no page.
void header(Builder &b)
{
    b.page = nullptr;
    static const char *const names[3][2] = {
        {"lineEdit_TX", "TX"}, {"lineEdit_RX", "RX"}, {"lineEdit_EXT", "EXT"}};
    static const char *const says[3] = {
        "The transmitter's battery voltage, as the transmitter last reported it.",
        "The receiver's battery voltage, as the transmitter last reported it.",
        "The external voltage, as the transmitter last reported it."};
    for (int i = 0; i < 3; ++i) {
        b.place = QString::fromLatin1(names[i][1]);
        b.shows(names[i][0], QStringLiteral("voltage"), -1, says[i]);
    }
    b.place = QStringLiteral("RSSI");
    b.shows("lineEdit_RSSI", QStringLiteral("signal strength"), -1,
            "The receiver's signal strength as the transmitter last reported it, in dBm; null "
            "when it reported none.");
}

void servoPage(Builder &b)
{
    b.page = kTabTexts[0];
    for (int c = 0; c < 8; ++c) {
        b.place = numbered("CH", c + 1);
        b.shows(c == 0 ? "lineEdit" : family("lineEdit_", c + 1), QStringLiteral("output"), -1,
                "What the transmitter sends on this channel now, as it last reported it; the "
                "bar below shows the same from centre.");
    }
}

void basicPage(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[1];
    // One line of the page per channel, its groups from left to right.
    // Channels 1 to 4 have no AUX-CH source to choose.
    for (int c = 0; c < 8; ++c) {
        const int n = c + 1;
        b.place = numbered("CH", n);
        b.help = "Reverses the direction this channel's servo moves: NOR normal, REV reversed. "
                 "Set it so that the control surface moves the way the stick does.";
        b.item(family("comboBox_rev", n), "REVERSE", p.reverse[c], kNorRev);
        // The page gives no unit for it: a step, not a percentage of travel.
        b.set(-100, 100, "",
              "Moves this channel's servo centre a little, to centre a control surface "
              "without changing the linkage. Keep it small: it also shifts the ends of travel.");
        b.add(family("spinBox_sub", n), "SUB-TRIM", p.subTrim[c]);
        b.set(0, 120, "%",
              "How far the servo may travel to the left of centre, in percent of normal "
              "travel. Lower it to stop a control surface or linkage from binding.");
        b.add(family("spinBox_Lepa", n), "END POINT L", p.endPointLeft[c]);
        b.help = "How far the servo may travel to the right of centre, in percent of normal "
                 "travel. Lower it to stop a control surface or linkage from binding.";
        b.add(family("spinBox_Repa", n), "END POINT R", p.endPointRight[c]);
        b.set(0, 100, "", "The servo delay of this channel.");
        b.add(family("spinBox_delay", n), "DELAY", p.servoDelay[c]);
        if (c >= 4) {
            b.help = "The switch or knob of the transmitter that drives this channel.";
            b.item(family("comboBox_AUX", n), "AUX-CH", p.auxSource[c], kAuxSources);
        } else {
            b.shows(family("comboBox_AUX", n), QStringLiteral("AUX-CH"), -1,
                    "Channels 1 to 4 follow the sticks: NC, nothing to choose.");
        }
        b.set(0, 100, "",
              "Where this channel's servo goes when the receiver loses the transmitter's "
              "signal. Set throttle to a safe, low position.");
        b.add(family("spinBox_FS", n), "FAIL SAFE", p.failSafe[c]);
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
    b.help = "Switches dual rate on or off. With it on, the D/R switch chooses between two "
             "rates for a stick channel.";
    b.item("comboBox_DR_MIX1", "MIX", p.drMix, kOffOn);
    b.help = "The stick channel the dual rate works on.";
    b.item("comboBox_DR_CH1", "CH", p.drChannel, kCh1to4);
    b.help = "The switch that chooses between the UP and DOWN rates.";
    b.item("comboBox_DR_SW1", "SW", p.drSwitch, kSwa);
    b.set(0, 100, "%",
          "The rate of the selected channel with the switch UP: how far the servo travels at "
          "full stick, in percent. Lower rates make the model calmer.");
    b.add("spinBox_DR_UP1", "UP", p.drEditUp);
    b.help = "The rate of the selected channel with the switch DOWN: how far the servo travels "
             "at full stick, in percent. Lower rates make the model calmer.";
    b.add("spinBox_DR_DOWN1", "DOWN", p.drEditDown);

    b.place = QStringLiteral("ATTITUDE");
    b.help = "The channel of the ATTITUDE group: CH5 to CH8, or OFF.";
    b.item("comboBox_AttiM", "CH", p.attitudeChannel, kAttiChannels);
    b.set(0, 100, "", "A value of the ATTITUDE group.");
    for (int i = 0; i < 6; ++i)
        b.add(family("spinBox_Atti", i + 1), numbered("ATTI", i + 1), p.attitude[i]);

    // The two values without captions stand right of AILE1 and AILE2.
    b.place = QStringLiteral("ELEVON");
    b.help = "Switches elevon mixing on or off: on a flying wing, the two wing servos work as "
             "ailerons and elevator together.";
    b.item("comboBox_EleMix", "MIX", p.elevonMix, kOffOn);
    b.set(-100, 100, "%",
          "An amount of the elevon mix, in percent; a minus sign turns the direction round.");
    b.add("spinBox_Elev01", "AILE1", p.elevon[0]);
    b.add("spinBox_Elev05", "AILE1 (right)", p.elevon[4]);
    b.add("spinBox_Elev02", "AILE2", p.elevon[1]);
    b.add("spinBox_Elev06", "AILE2 (right)", p.elevon[5]);
    b.add("spinBox_Elev03", "ELEV2", p.elevon[2]);
    b.add("spinBox_Elev04", "ELEV1", p.elevon[3]);

    b.place = QStringLiteral("V-TAIL");
    b.help = "Switches V-tail mixing on or off: the two tail servos work as elevator and "
             "rudder together.";
    b.item("comboBox_RuMix", "MIX", p.vtailMix, kOffOn);
    b.set(-100, 100, "%",
          "An amount of the V-tail mix, in percent; a minus sign turns the direction round.");
    static const char *const vtail[4] = {"ELEV1", "ELEV2", "RUDD2", "RUDD1"};
    for (int i = 0; i < 4; ++i)
        b.add(family("spinBox_Ru", i + 1), QString::fromLatin1(vtail[i]), p.vtail[i]);
}

// The D/R rows of ADVANCE1 by name, for the widgets of ADVANCE2 that show
// the same settings.
int drRow(const Builder &b, const char *name)
{
    for (std::size_t i = 0; i < b.rows.size(); ++i) {
        if (b.rows[i].place == QLatin1String("D/R") && b.rows[i].name == QLatin1String(name))
            return int(i);
    }
    return -1;
}

void advance2Page(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[3];
    b.place = QStringLiteral("D/R CURE");
    // MIX, CH and SW are the settings of ADVANCE1's D/R group, shown again.
    b.shows("comboBox_DR_MIX2", QStringLiteral("MIX"), drRow(b, "MIX"));
    b.shows("comboBox_DR_CH2", QStringLiteral("CH"), drRow(b, "CH"));
    b.shows("comboBox_DR_SW2", QStringLiteral("SW"), drRow(b, "SW"));
    b.help = "Which switch position's RATE and EXP the page shows and edits, for the channel "
             "chosen in CH.";
    b.item("comboBox_DR_POSI", "POSI", p.drPosition, kUpDown);
    // The page shows one channel and switch position at a time; each entry
    // of the rate and expo tables is named by the CH and POSI that show it.
    int firstRate = -1;
    for (int c = 0; c < 4; ++c) {
        for (int pos = 0; pos < 2; ++pos) {
            b.place = QStringLiteral("D/R CURE CH%1 %2").arg(c + 1).arg(kUpDown[pos]);
            b.set(0, 100, "%",
                  "The rate for the channel and switch position chosen in CH and POSI: how far "
                  "the servo travels at full stick, in percent.");
            b.add(nullptr, "RATE", p.drRate[pos][c]);
            if (firstRate < 0)
                firstRate = b.last();
            b.set(-100, 100, "%",
                  "The exponential for the channel and switch position chosen in CH and POSI: "
                  "it bends the response so the stick is softer or sharper around centre; 0 "
                  "is a straight line.");
            b.add(nullptr, "EXP", p.drExpo[pos][c]);
        }
    }
    b.place = QStringLiteral("D/R CURE");
    b.shows("spinBox_DR_RATE", QStringLiteral("RATE"), firstRate);
    b.shows("spinBox_DR_EXP", QStringLiteral("EXP"), firstRate + 1);
    b.shows("widget_3", QStringLiteral("chart"), -1,
            "The servo travel over the stick's travel for the RATE and EXP shown beside it.");

    b.place = QStringLiteral("TH CURE");
    b.help = "Switches the throttle curve on or off.";
    b.item("comboBox_THCURE_MIX", "MIX", p.throttleCurveMix, kOffOn);
    b.set(0, 100, "%",
          "The throttle output at one of seven points along the throttle stick, POINT1 at low "
          "stick to POINT7 at full, in percent.");
    for (int i = 0; i < 7; ++i)
        b.add(family("spinBox_THCURE_Data0", i + 1), numbered("POINT", i + 1), p.throttleCurve[i]);
    b.shows("widget_4", QStringLiteral("chart"), -1,
            "The throttle curve through its seven points.");
    // Travels with the curve but has no widget: named after its group.
    b.set(0, 4, "", "Travels with the throttle curve; the page has no place for it.");
    b.add(nullptr, "EXTRA", p.throttleCurveExtra);
}

void progMixPage(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[4];
    for (int m = 0; m < 4; ++m) {
        ProgMix &mix = p.progMix[m];
        b.place = numbered("MIX", m + 1);
        b.help = "Switches this programmable mix: INH leaves it unused, OFF and ON switch it. "
                 "A programmable mix moves the SLA channel when the MAS channel moves.";
        b.item(mixWidget("comboBox_", m, "Mix"), "MIX", mix.mode, kInhOffOn);
        b.help = "The master channel of this mix: the channel whose movement drives it.";
        b.item(mixWidget("comboBox_", m, "Master"), "MAS", mix.master, kCh1to8);
        b.help = "The slave channel of this mix: the channel it moves.";
        b.item(mixWidget("comboBox_", m, "Slave"), "SLA", mix.slave, kCh1to8);
        b.set(-100, 100, "", "The offset of this mix.");
        b.add(mixWidget("spinBox_", m, "Data1"), "OFFSET", mix.offset);
        // The page lets mixes 3 and 4 take only rates from 0 up.
        b.set(m < 2 ? -100 : 0, 100, "%",
              m < 2 ? "How much the slave follows the master on one side of centre, in percent; "
                      "a minus sign turns the direction round."
                    : "How much the slave follows the master on one side of centre, in percent.");
        b.add(mixWidget("spinBox_", m, "Data2"), "UP", mix.up);
        b.add(mixWidget("spinBox_", m, "Data3"), "DOWN", mix.down);
    }
}

void systemPage(Builder &b)
{
    ParameterSet &p = probe;
    b.page = kTabTexts[5];
    b.place = QStringLiteral("ALARM");
    b.set(0, 999, "V", "The transmitter warns when its own battery falls below this voltage.");
    b.add("doubleSpinBox_Volt", "TX-Alarm", p.txAlarmTenths, ValueShown::Volts, nullptr,
          &ParameterSet::txAlarmVolt);
    b.help = "The transmitter warns when the receiver's battery falls below this voltage.";
    b.add("doubleSpinBox_rxVolt", "RX-Alarm", p.rxAlarmTenths, ValueShown::Volts, nullptr,
          &ParameterSet::rxAlarmVolt);
    b.help = "The transmitter warns when the external voltage falls below this.";
    b.add("doubleSpinBox_extVolt", "EXT-Alarm", p.extAlarmTenths, ValueShown::Volts, nullptr,
          &ParameterSet::extAlarmVolt);
    b.set(-100, 0, "",
          "The transmitter warns when the signal strength (RSSI) the receiver reports falls "
          "below this.");
    b.add("spinBox_Rssi", "Rssi-Alarm", p.rssiAlarm);

    b.place = QStringLiteral("MODE");
    b.set(1, 4, "",
          "The stick mode, 1 to 4: which stick carries throttle and elevator. It also decides "
          "which trim each TRIMn-STEP line shows.");
    b.add(nullptr, "STK-MODE", p.stickMode);
    // The page's group is VERSION / MODE; the row keeps its short place,
    // which printouts and the history already use.
    b.place = QStringLiteral("VERSION / MODE");
    b.shows("spinBox_Mode", QStringLiteral("STK-MODE"), b.last());
    b.shows("spinBox_Vertion", QStringLiteral("TX Version"), -1,
            "The version number the transmitter reported. An edit here stays in the tool: no "
            "frame and no file carries it.");
    b.shows("comboBox_PRM02_Master_2", QStringLiteral("PC Version"), -1,
            "A fixed text of the page, not a setting: no frame and no file carries it.");

    // The record keeps steps and positions per trim of the transmitter; the
    // stick mode decides in which TRIMn-STEP line of the page a trim
    // appears. A name must not change with the mode, so the rows name the
    // transmitter's trim, not the line.
    int firstStep = -1;
    for (int t = 0; t < 4; ++t) {
        b.place = numbered("TX TRIM", t + 1);
        b.set(1, 20, "", "How far one click of this trim moves it.");
        b.add(nullptr, "STEP", p.trimStep[t]);
        if (firstStep < 0)
            firstStep = b.last();
        // The transmitter reports it; no range of its own is known.
        b.set(1, 0, "", "The trim's position from centre, as the transmitter last reported it.");
        b.add(nullptr, "POSITION", p.stickTrim[t], ValueShown::TrimPos);
    }
    b.place = QStringLiteral("VERSION / MODE");
    for (int t = 0; t < 4; ++t) {
        b.shows(family("spinBox_step", t + 1), QStringLiteral("TRIM%1-STEP").arg(t + 1), firstStep);
        b.shows(family("lineEdit_Trim_", t + 1), QStringLiteral("TRIM%1 position").arg(t + 1), -1,
                "The position of this line's trim from centre, as the transmitter last "
                "reported it.");
    }
    b.place = QStringLiteral("DATA RESET");
    b.shows("pushButton_Reset2", QStringLiteral("DATA RESET"), -1,
            "Sets every setting back to its factory value and sends them all to the "
            "transmitter.");
}

struct Built {
    std::vector<SettingRow> rows;
    std::vector<PageWidget> widgets;
};

Built build()
{
    Builder b;
    header(b);
    servoPage(b);
    basicPage(b);
    advance1Page(b);
    advance2Page(b);
    progMixPage(b);
    systemPage(b);
    Built made;
    made.rows = std::move(b.rows);
    // Moving the vector out keeps its rows where they are.
    for (const PendingWidget &w : b.widgets) {
        made.widgets.push_back(w.widget);
        made.widgets.back().row = w.row >= 0 ? &made.rows[std::size_t(w.row)] : nullptr;
    }
    return made;
}

const Built &built()
{
    static const Built whole = build();
    return whole;
}

} // namespace

const std::vector<SettingRow> &settingsCatalogue()
{
    return built().rows;
}

const std::vector<PageWidget> &pageWidgets()
{
    return built().widgets;
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
