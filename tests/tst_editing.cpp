// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/mainwindow.h"
#include "link/frames.h"
#include "model/parameterset.h"

namespace {

const FrameLayout &layoutFor(char kind)
{
    switch (kind) {
    case 'S':
        return kFrameLayoutS;
    case 'G':
        return kFrameLayoutG;
    case 'H':
        return kFrameLayoutH;
    default:
        return kFrameLayoutI;
    }
}

// The frame as a builder would put it on the wire now.
QString wireFrame(char kind)
{
    ParameterSet p = paramSet;
    p.txAlarmTenths = alarmTenths(p.txAlarmVolt);
    p.rxAlarmTenths = alarmTenths(p.rxAlarmVolt);
    p.extAlarmTenths = alarmTenths(p.extAlarmVolt);
    return encodeFrame(layoutFor(kind), p);
}

QString hex(int sum)
{
    return QString::number(sum, 16).toUpper();
}

// Sets a widget the way the pilot does, so its change signal reaches the
// setter. The widget is first moved away silently in case it already shows
// the value.
void edit(QWidget *w, double value)
{
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        {
            const QSignalBlocker quiet(combo);
            combo->setCurrentIndex(int(value) == 0 ? 1 : 0);
        }
        combo->setCurrentIndex(int(value));
    } else if (auto *dspin = qobject_cast<QDoubleSpinBox *>(w)) {
        {
            const QSignalBlocker quiet(dspin);
            dspin->setValue(value == dspin->minimum() ? dspin->maximum() : dspin->minimum());
        }
        dspin->setValue(value);
    } else if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        {
            const QSignalBlocker quiet(spin);
            spin->setValue(int(value) == spin->minimum() ? spin->maximum() : spin->minimum());
        }
        spin->setValue(int(value));
    }
}

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void editLandsInFrame_data();
    void editLandsInFrame();
    void dualRateEdits_data();
    void dualRateEdits();
    void trimStepFollowsStickMode_data();
    void trimStepFollowsStickMode();
    void secondGroupChannelFollowsOnNextRefresh();

private:
    QWidget *widget(const QString &name)
    {
        QWidget *w = window->findChild<QWidget *>(name);
        if (!w)
            qWarning("no widget %s", qPrintable(name));
        return w;
    }

    std::unique_ptr<MainWindow> window;
};

void TestEditing::init()
{
    paramSet = kStartParameters;
    window = std::make_unique<MainWindow>();
    // No refresh between an edit and its check: the refresh would write the
    // record back into the widgets.
    for (QTimer *t : window->findChildren<QTimer *>())
        t->stop();
}

void TestEditing::cleanup()
{
    window.reset();
}

void TestEditing::editLandsInFrame_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("kind");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("expected");

    auto row = [](const QString &name, double value, char kind, int position,
                  const QString &expected) {
        QTest::newRow(qPrintable(name)) << name << value << kind << position << expected;
    };
    for (int k = 1; k <= 8; ++k) {
        const int i = k - 1;
        row(QStringLiteral("comboBox_rev%1").arg(k), k == 3 ? 0 : 1, 'S', k, k == 3 ? "0" : "1");
        row(QStringLiteral("spinBox_sub%1").arg(k), -100 + 25 * k, 'S', 9 + 2 * i,
            hex(20 + 25 * k));
        row(QStringLiteral("spinBox_Lepa%1").arg(k), 100 + k, 'S', 25 + 2 * i, hex(116 + k));
        row(QStringLiteral("spinBox_Repa%1").arg(k), 110 + k, 'S', 41 + 2 * i, hex(126 + k));
        row(QStringLiteral("spinBox_FS%1").arg(k), 60 + k, 'S', 57 + 2 * i, hex(76 + k));
        row(QStringLiteral("spinBox_delay%1").arg(k), 40 + k, 'G', 37 + 2 * i, hex(56 + k));
    }
    const int aux[4] = {2, 0, 5, 4};
    for (int k = 5; k <= 8; ++k)
        row(QStringLiteral("comboBox_AUX%1").arg(k), aux[k - 5], 'S', 68 + k,
            QString::number(aux[k - 5]));
    row("doubleSpinBox_Volt", 3.7, 'S', 77, "35");
    row("spinBox_Mode", 4, 'S', 79, "4");

    row("comboBox_AttiM", 2, 'G', 1, "2");
    for (int k = 1; k <= 6; ++k)
        row(QStringLiteral("spinBox_Atti%1").arg(k), 20 + k, 'G', 2 * k, hex(36 + k));
    row("comboBox_EleMix", 1, 'G', 14, "1");
    // The transmitter takes the elevon values as 1, 5, 2, 6, 3, 4.
    const int elevonPosition[6] = {15, 19, 23, 25, 17, 21};
    for (int k = 1; k <= 6; ++k)
        row(QStringLiteral("spinBox_Elev0%1").arg(k), -10 * k, 'G', elevonPosition[k - 1],
            hex(120 - 10 * k));
    row("comboBox_RuMix", 1, 'G', 27, "1");
    for (int k = 1; k <= 4; ++k)
        row(QStringLiteral("spinBox_Ru%1").arg(k), 10 * k, 'G', 26 + 2 * k, hex(116 + 10 * k));
    row("comboBox_DR_MIX1", 1, 'G', 53, "1");

    // Prog. mixes 1 and 2 interleave member by member.
    row("spinBox_PRM01_Data2", 11, 'G', 59, hex(127));
    row("spinBox_PRM02_Data2", 22, 'G', 61, hex(138));
    row("spinBox_PRM01_Data3", 33, 'G', 63, hex(149));
    row("spinBox_PRM02_Data3", 44, 'G', 65, hex(160));
    row("spinBox_PRM01_Data1", -55, 'G', 67, hex(61));
    row("spinBox_PRM02_Data1", -66, 'G', 69, hex(50));
    row("comboBox_PRM01_Master", 7, 'G', 71, "7");
    row("comboBox_PRM02_Master", 6, 'G', 72, "6");
    row("comboBox_PRM01_Slave", 2, 'G', 73, "2");
    row("comboBox_PRM02_Slave", 4, 'G', 74, "4");
    row("comboBox_PRM01_Mix", 2, 'G', 75, "2");
    row("comboBox_PRM02_Mix", 1, 'G', 76, "1");

    // Prog. mixes 3 and 4 follow each other as blocks.
    for (int k = 3; k <= 4; ++k) {
        const int base = k == 3 ? 17 : 26;
        const QString mix = QStringLiteral("PRM0%1_").arg(k);
        row("comboBox_" + mix + "Mix", k - 2, 'H', base, QString::number(k - 2));
        row("comboBox_" + mix + "Master", k + 2, 'H', base + 1, QString::number(k + 2));
        row("comboBox_" + mix + "Slave", k, 'H', base + 2, QString::number(k));
        row("spinBox_" + mix + "Data1", -10 * k, 'H', base + 3, hex(116 - 10 * k));
        row("spinBox_" + mix + "Data2", 20 * k, 'H', base + 5, hex(116 + 20 * k));
        row("spinBox_" + mix + "Data3", 5 * k, 'H', base + 7, hex(116 + 5 * k));
    }
    row("comboBox_THCURE_MIX", 1, 'H', 35, "1");
    for (int k = 1; k <= 7; ++k)
        row(QStringLiteral("spinBox_THCURE_Data0%1").arg(k), 5 + 10 * k, 'H', 35 + 2 * k,
            hex(21 + 10 * k));
    row("doubleSpinBox_extVolt", 0.3, 'H', 68, "003");
    row("spinBox_Rssi", -50, 'H', 71, "46");
    row("doubleSpinBox_rxVolt", 12.5, 'H', 74, "8D");

    // Dual rate with CH1 and the UP position selected, as at start.
    row("spinBox_DR_UP1", 80, 'H', 1, "60");
    row("spinBox_DR_DOWN1", 70, 'H', 9, "56");
    row("spinBox_DR_RATE", 65, 'H', 1, "51");
    row("spinBox_DR_EXP", 30, 'H', 52, "92");
    row("comboBox_DR_POSI", 1, 'H', 51, "1");
    row("comboBox_DR_CH1", 3, 'G', 54, "3");
    row("comboBox_DR_CH2", 2, 'G', 54, "2");
}

void TestEditing::editLandsInFrame()
{
    QFETCH(QString, name);
    QFETCH(double, value);
    QFETCH(char, kind);
    QFETCH(int, position);
    QFETCH(QString, expected);

    QWidget *w = widget(name);
    QVERIFY(w);
    edit(w, value);
    const QString frame = wireFrame(kind);
    QCOMPARE(frame.length(), layoutFor(kind).builtLength);
    QCOMPARE(frame.mid(position, expected.length()), expected);
}

void TestEditing::dualRateEdits_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("changedEntry"); // "rate p c", "expo p c" or ""
    QTest::addColumn<QList<int>>("copies");    // drEditUp, Down, Rate, Expo after the edit
    QTest::addColumn<QList<int>>("selection"); // drChannel, drPosition after the edit

    // Start tables: rate[0] = 91..94, rate[1] = 81..84, expo[0] = 11..14,
    // expo[1] = -21..-24; working copies 1, 2, 3, 4.
    QTest::newRow("RATE on CH2 DOWN") << 1 << 1 << "spinBox_DR_RATE" << 70 << "rate 1 1"
                                      << QList<int>{92, 70, 70, -22} << QList<int>{1, 1};
    QTest::newRow("UP1 while DOWN selected") << 1 << 1 << "spinBox_DR_UP1" << 80 << "rate 0 1"
                                             << QList<int>{80, 82, 82, -22} << QList<int>{1, 1};
    QTest::newRow("DOWN1 while UP selected") << 2 << 0 << "spinBox_DR_DOWN1" << 55 << "rate 1 2"
                                             << QList<int>{93, 55, 93, 13} << QList<int>{2, 0};
    QTest::newRow("EXP position 2 is DOWN") << 3 << 2 << "spinBox_DR_EXP" << -40 << "expo 1 3"
                                            << QList<int>{94, 84, 84, -40} << QList<int>{3, 2};
    QTest::newRow("RATE position 2 is DOWN") << 0 << 2 << "spinBox_DR_RATE" << 60 << "rate 1 0"
                                             << QList<int>{91, 60, 60, -21} << QList<int>{0, 2};
    QTest::newRow("UP1 on channel 4")
        << 4 << 0 << "spinBox_DR_UP1" << 77 << "" << QList<int>{77, 2, 3, 4} << QList<int>{4, 0};
    QTest::newRow("DOWN1 on channel 4")
        << 4 << 0 << "spinBox_DR_DOWN1" << 77 << "" << QList<int>{1, 77, 3, 4} << QList<int>{4, 0};
    QTest::newRow("RATE on channel 4")
        << 4 << 1 << "spinBox_DR_RATE" << 77 << "" << QList<int>{1, 2, 77, 4} << QList<int>{4, 1};
    QTest::newRow("EXP on channel 4")
        << 4 << 1 << "spinBox_DR_EXP" << -77 << "" << QList<int>{1, 2, 3, -77} << QList<int>{4, 1};
    QTest::newRow("first group picks CH4") << 0 << 1 << "comboBox_DR_CH1" << 3 << ""
                                           << QList<int>{94, 84, 84, -24} << QList<int>{3, 1};
    QTest::newRow("POSI picks DOWN") << 2 << 0 << "comboBox_DR_POSI" << 1 << ""
                                     << QList<int>{93, 83, 83, -23} << QList<int>{2, 1};
    QTest::newRow("second group only stores")
        << 0 << 0 << "comboBox_DR_CH2" << 2 << "" << QList<int>{1, 2, 3, 4} << QList<int>{2, 0};
}

void TestEditing::dualRateEdits()
{
    QFETCH(int, channel);
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(QString, changedEntry);
    QFETCH(QList<int>, copies);
    QFETCH(QList<int>, selection);

    ParameterSet &p = paramSet;
    for (int c = 0; c < 4; ++c) {
        p.drRate[0][c] = 91 + c;
        p.drRate[1][c] = 81 + c;
        p.drExpo[0][c] = 11 + c;
        p.drExpo[1][c] = -21 - c;
    }
    p.drEditUp = 1, p.drEditDown = 2, p.drEditRate = 3, p.drEditExpo = 4;
    p.drChannel = channel;
    p.drPosition = position;
    ParameterSet expected = p;

    QWidget *w = widget(name);
    QVERIFY(w);
    edit(w, value);

    const QStringList entry = changedEntry.split(' ');
    if (entry.size() == 3) {
        int(&table)[2][4] = entry[0] == "rate" ? expected.drRate : expected.drExpo;
        table[entry[1].toInt()][entry[2].toInt()] = value;
    }
    expected.drEditUp = copies[0], expected.drEditDown = copies[1];
    expected.drEditRate = copies[2], expected.drEditExpo = copies[3];
    expected.drChannel = selection[0], expected.drPosition = selection[1];
    QCOMPARE(QList<int>({p.drEditUp, p.drEditDown, p.drEditRate, p.drEditExpo}), copies);
    QVERIFY(p == expected); // no other field moved
}

void TestEditing::trimStepFollowsStickMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("index");
    const int map[5][4] = {{0, 1, 2, 3}, {3, 2, 1, 0}, {3, 1, 2, 0}, {0, 2, 1, 3}, {0, 1, 2, 3}};
    for (int mode = 0; mode <= 4; ++mode) {
        for (int row = 0; row < 4; ++row)
            QTest::addRow("mode %d step%d", mode, row + 1) << mode << row << map[mode][row];
    }
}

void TestEditing::trimStepFollowsStickMode()
{
    QFETCH(int, mode);
    QFETCH(int, row);
    QFETCH(int, index);

    paramSet.stickMode = mode; // mode 0 can come from the transmitter
    ParameterSet expected = paramSet;
    edit(widget(QStringLiteral("spinBox_step%1").arg(row + 1)), 17);
    expected.trimStep[index] = 17;
    QVERIFY(paramSet == expected);
    // Frame I carries the steps last trim first.
    QCOMPARE(wireFrame('I').mid(9 + 2 * (3 - index), 2), QStringLiteral("21"));
}

void TestEditing::secondGroupChannelFollowsOnNextRefresh()
{
    for (int c = 0; c < 4; ++c) {
        paramSet.drRate[0][c] = 60 + c;
        paramSet.drExpo[0][c] = -30 - c;
    }
    for (QTimer *t : window->findChildren<QTimer *>())
        t->start();
    auto *rate = qobject_cast<QSpinBox *>(widget("spinBox_DR_RATE"));
    auto *expo = qobject_cast<QSpinBox *>(widget("spinBox_DR_EXP"));
    QVERIFY(rate && expo);
    edit(widget("comboBox_DR_CH2"), 2);
    QCOMPARE(paramSet.drChannel, 2);
    QTRY_COMPARE(rate->value(), 62);
    QTRY_COMPARE(expo->value(), -32);
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
