// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "link/framedecoder.h"
#include "model/parameterset.h"
#include "ui/mainform.h"
#include "views/livemonitor.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QtTest>

// The live readouts as the pilot sees them: the slots are driven directly,
// so each row checks the text or bar that one value produces.
class TestLive : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanupTestCase() { delete window; }
    void channelGauge_data();
    void channelGauge();
    void voltageAndRssi_data();
    void voltageAndRssi();
    void trimRows_data();
    void trimRows();
    void startTexts();

private:
    void show(const char *slot) { QVERIFY(QMetaObject::invokeMethod(window, slot)); }
    MainWindow *window = nullptr;
};

void TestLive::init()
{
    paramSet = kStartParameters;
    for (int &v : liveStatus.channelOutput)
        v = 1000;
    liveStatus.txVoltage = liveStatus.rssi = liveStatus.rxVoltage = liveStatus.extVoltage = 0;
    delete window;
    window = new MainWindow;
}

void TestLive::channelGauge_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("lower");
    // Before each row the channel showed 1500 (upper 10, lower 500).
    QTest::newRow("0: full travel up") << 0 << "0" << 1010 << 1000;
    QTest::newRow("999") << 999 << "999" << 11 << 1000;
    QTest::newRow("1000: centre mark") << 1000 << "1000" << 10 << 1000;
    QTest::newRow("1001") << 1001 << "1001" << 10 << 999;
    QTest::newRow("2000: full travel down") << 2000 << "2000" << 10 << 0;
    QTest::newRow("2100: lower bar keeps what it had") << 2100 << "2100" << 10 << 500;
}

void TestLive::channelGauge()
{
    QFETCH(int, value);
    QFETCH(QString, readout);
    QFETCH(int, upper);
    QFETCH(int, lower);
    MainForm *ui = window->form();
    for (int ch = 0; ch < 8; ++ch) {
        liveStatus.channelOutput[ch] = 1500;
        show("Servo_Display");
        liveStatus.channelOutput[ch] = value;
        show("Servo_Display");
        QCOMPARE(ui->channelReadout[ch]->text(), readout);
        QCOMPARE(ui->gaugeUpper[ch]->value(), upper);
        QCOMPARE(ui->gaugeLower[ch]->value(), lower);
        liveStatus.channelOutput[ch] = 1000;
    }
}

void TestLive::voltageAndRssi_data()
{
    QTest::addColumn<QString>("field"); // which reading, by its readout's name
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("TX 0") << "lineEdit_TX" << 0 << " 0.0V";
    QTest::newRow("TX 845 truncates") << "lineEdit_TX" << 845 << " 8.4V";
    QTest::newRow("TX 999") << "lineEdit_TX" << 999 << " 9.9V";
    QTest::newRow("TX 1000") << "lineEdit_TX" << 1000 << "10.0 V";
    QTest::newRow("TX 1260") << "lineEdit_TX" << 1260 << "12.6 V";
    QTest::newRow("EXT 99") << "lineEdit_EXT" << 99 << " 9.9V";
    QTest::newRow("EXT 100") << "lineEdit_EXT" << 100 << "10.0 V";
    QTest::newRow("EXT 1005 loses the hundreds") << "lineEdit_EXT" << 1005 << "00.5 V";
    QTest::newRow("RX 84") << "lineEdit_RX" << 84 << " 8.4V";
    QTest::newRow("RX 126") << "lineEdit_RX" << 126 << "12.6 V";
    QTest::newRow("RSSI 0: no value") << "lineEdit_RSSI" << 0 << "null";
    QTest::newRow("RSSI 1") << "lineEdit_RSSI" << 1 << "-99dBm";
    QTest::newRow("RSSI 45") << "lineEdit_RSSI" << 45 << "-55dBm";
    QTest::newRow("RSSI 91") << "lineEdit_RSSI" << 91 << "-09dBm";
    QTest::newRow("RSSI 100") << "lineEdit_RSSI" << 100 << "-00dBm";
}

void TestLive::voltageAndRssi()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(QString, text);
    if (field == "lineEdit_TX")
        liveStatus.txVoltage = value;
    else if (field == "lineEdit_EXT")
        liveStatus.extVoltage = value;
    else if (field == "lineEdit_RX")
        liveStatus.rxVoltage = value;
    else
        liveStatus.rssi = value;
    show(field == "lineEdit_TX" ? "Servo_Display" : "Recieve_Display");
    auto *readout = window->findChild<QLineEdit *>(field);
    QVERIFY(readout);
    QCOMPARE(readout->text(), text);
}

void TestLive::trimRows_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QVector<int>>("steps");
    // stickTrim = (110, 120, 130, 140), trimStep = (1, 2, 3, 4)
    QTest::newRow("mode 1") << 1 << QStringList{"(20)", "(10)", "(0)", "(-10)"}
                            << QVector<int>{4, 3, 2, 1};
    QTest::newRow("mode 2") << 2 << QStringList{"(20)", "(0)", "(10)", "(-10)"}
                            << QVector<int>{4, 2, 3, 1};
    QTest::newRow("mode 3") << 3 << QStringList{"(-10)", "(10)", "(0)", "(20)"}
                            << QVector<int>{1, 3, 2, 4};
    QTest::newRow("mode 4") << 4 << QStringList{"(-10)", "(0)", "(10)", "(20)"}
                            << QVector<int>{1, 2, 3, 4};
    QTest::newRow("mode 0 like 4")
        << 0 << QStringList{"(-10)", "(0)", "(10)", "(20)"} << QVector<int>{1, 2, 3, 4};
}

void TestLive::trimRows()
{
    QFETCH(int, mode);
    QFETCH(QStringList, texts);
    QFETCH(QVector<int>, steps);
    paramSet.stickMode = mode;
    const int trims[4] = {110, 120, 130, 140};
    for (int i = 0; i < 4; ++i) {
        paramSet.stickTrim[i] = trims[i];
        paramSet.trimStep[i] = i + 1;
    }
    show("StkTrim_Display");
    MainForm *ui = window->form();
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(ui->lineEdit_Trim[row]->text(), texts[row]);
        QCOMPARE(ui->spinBox_step[row]->value(), steps[row]);
    }
    // Showing the steps runs their setters; the record must come back as it was.
    for (int i = 0; i < 4; ++i)
        QCOMPARE(paramSet.trimStep[i], i + 1);
}

void TestLive::startTexts()
{
    show("Servo_Display");
    show("Recieve_Display");
    show("StkTrim_Display");
    MainForm *ui = window->form();
    QCOMPARE(ui->channelReadout[7]->text(), QStringLiteral("1000"));
    QCOMPARE(ui->lineEdit_TX->text(), QStringLiteral(" 0.0V"));
    QCOMPARE(ui->lineEdit_RX->text(), QStringLiteral(" 0.0V"));
    QCOMPARE(ui->lineEdit_EXT->text(), QStringLiteral(" 0.0V"));
    QCOMPARE(ui->lineEdit_RSSI->text(), QStringLiteral("null"));
    QCOMPARE(ui->lineEdit_Trim[0]->text(), QStringLiteral("(0)"));
    QCOMPARE(trimText(100), QStringLiteral("(-20)"));
}

QTEST_MAIN(TestLive)
#include "tst_live.moc"
