// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "link/framedecoder.h"
#include "link/frames.h"
#include "model/editing.h"
#include "model/parameterset.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QtTest>

#include <functional>

namespace {

QByteArray frame12(int kindByte, const QVector<int> &values)
{
    QByteArray f(12, '\0');
    f[0] = f[11] = char(0xFE);
    f[2] = char(kindByte);
    for (int i = 0; i < values.size(); ++i)
        f[3 + i] = char(values[i]);
    return f;
}

QVector<int> hiLo(int v)
{
    return {v >> 8, v & 0xFF};
}

// The frames a transmitter sends to answer a READ, built from a record the
// way the transmitter lays its settings out on the wire.
QList<QByteArray> transmitterFrames(const ParameterSet &p)
{
    auto run = [](const int *v, int n, int bias) {
        QVector<int> out;
        for (int i = 0; i < n; ++i)
            out << v[i] + bias;
        return out;
    };
    const ProgMix *m = p.progMix;
    QList<QByteArray> f;
    f << frame12(0x44, run(p.reverse, 8, 0)) << frame12(0x55, run(p.subTrim, 8, 120))
      << frame12(0x66, run(p.endPointLeft, 8, 0)) << frame12(0x77, run(p.endPointRight, 8, 0))
      << frame12(0x88, run(p.failSafe, 8, 0))
      << frame12(0x99, hiLo(p.txAlarmTenths) + hiLo(p.stickMode) + hiLo(p.txVersion))
      << frame12(0xA1, QVector<int>{p.attitudeChannel} + run(p.attitude, 6, 0))
      << frame12(0xA2, {p.elevonMix, p.elevon[0] + 120, p.elevon[4] + 120, p.elevon[1] + 120,
                        p.elevon[5] + 120, p.elevon[2] + 120, p.elevon[3] + 120})
      << frame12(0xA3, QVector<int>{p.vtailMix} + run(p.vtail, 4, 100) + QVector<int>{p.drMix})
      << frame12(0xA4, run(p.servoDelay, 8, 0))
      << frame12(0xA5, run(p.drRate[0], 4, 0) + run(p.drRate[1], 4, 0))
      << frame12(0xA6, {m[0].up + 100, m[1].up + 100, m[0].down + 100, m[1].down + 100,
                        m[0].offset + 100, m[1].offset + 100, m[0].master, m[1].master})
      << frame12(0xA7, {m[0].slave, m[1].slave, m[0].mode, m[1].mode, p.trimStep[3], p.trimStep[2],
                        p.trimStep[1], p.trimStep[0]})
      << frame12(0xA8, {m[2].mode, m[2].master, m[2].slave, m[2].offset + 100, m[2].up + 100,
                        m[2].down + 100, m[3].mode, m[3].master})
      << frame12(0xA9,
                 {m[3].slave, m[3].offset + 100, m[3].up + 100, m[3].down + 100, p.throttleCurveMix,
                  p.throttleCurveExtra, p.throttleCurve[0], p.throttleCurve[1]})
      << frame12(0xAA, run(p.throttleCurve + 2, 5, 0))
      << frame12(0xAB, QVector<int>{p.drSwitch, p.drPosition} + hiLo(p.extAlarmTenths) +
                           QVector<int>{p.rssiAlarm + 100, p.rxAlarmTenths})
      << frame12(0xAC, run(p.drExpo[0], 4, 100) + run(p.drExpo[1], 4, 100));
    QByteArray aux(8, '\0');
    aux[2] = char(0xAA);
    for (int i = 0; i < 4; ++i)
        aux[3 + i] = char(p.auxSource[4 + i]);
    f << aux;
    return f;
}

// A record whose every setting the transmitter reports lies inside both its
// valid range and the range of the widget that shows it.
ParameterSet randomSettings(QRandomGenerator &rng)
{
    ParameterSet p = kStartParameters;
    auto pick = [&rng](int &field, int lo, int hi) { field = rng.bounded(lo, hi + 1); };
    for (int i = 0; i < 8; ++i) {
        pick(p.reverse[i], 0, 1);
        pick(p.subTrim[i], -100, 100);
        pick(p.endPointLeft[i], 0, 120);
        pick(p.endPointRight[i], 0, 120);
        pick(p.servoDelay[i], 0, 100);
        pick(p.failSafe[i], 0, 100);
    }
    for (int i = 4; i < 8; ++i)
        pick(p.auxSource[i], 0, 5);
    pick(p.txAlarmTenths, 0, 500);
    p.txAlarmVolt = p.txAlarmTenths / 10.0;
    pick(p.stickMode, 1, 4);
    pick(p.txVersion, 0, 1000);
    pick(p.attitudeChannel, 0, 4);
    for (int i = 0; i < 6; ++i) {
        pick(p.attitude[i], 0, 100);
        pick(p.elevon[i], -100, 100);
    }
    pick(p.elevonMix, 0, 1);
    pick(p.vtailMix, 0, 1);
    for (int &v : p.vtail)
        pick(v, -100, 100);
    pick(p.drMix, 0, 1);
    for (int pos = 0; pos < 2; ++pos) {
        for (int ch = 0; ch < 4; ++ch) {
            pick(p.drRate[pos][ch], 0, 100);
            pick(p.drExpo[pos][ch], -100, 100);
        }
    }
    for (ProgMix &m : p.progMix) {
        pick(m.mode, 0, 2);
        pick(m.master, 0, 7);
        pick(m.slave, 0, 7);
        pick(m.offset, -100, 100);
        pick(m.up, 0, 100);
        pick(m.down, 0, 100);
    }
    for (int &s : p.trimStep)
        pick(s, 1, 20);
    pick(p.throttleCurveMix, 0, 1);
    pick(p.throttleCurveExtra, 0, 4);
    for (int &c : p.throttleCurve)
        pick(c, 0, 100);
    p.drSwitch = 0; // the only switch the transmitter offers
    pick(p.drPosition, 0, 1);
    pick(p.extAlarmTenths, 0, 999);
    p.extAlarmVolt = p.extAlarmTenths / 10.0;
    pick(p.rssiAlarm, -100, 0);
    pick(p.rxAlarmTenths, 0, 255);
    p.rxAlarmVolt = p.rxAlarmTenths / 10.0;
    return p;
}

void resetLive()
{
    for (int &v : liveStatus.channelOutput)
        v = 1000;
    liveStatus.txVoltage = liveStatus.rssi = liveStatus.rxVoltage = liveStatus.extVoltage = 0;
}

} // namespace

// The transmitter's side of the link: frames written to a pseudo-terminal,
// one per notification, reach the records and the window.
class TestReceive : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void subTrimsClampedThroughTheWindow();
    void telemetryTrims_data();
    void telemetryTrims();
    void channelFrame();
    void auxFrame_data();
    void auxFrame();
    void systemFrameVolts();
    void everyNotificationAnswered_data();
    void everyNotificationAnswered();
    void roundTripThroughRead();
    void floodOfSingleBytesKeepsAnswersBounded();

private:
    MainWindow *window = nullptr;
    PtyTransmitter *tx = nullptr;
};

void TestReceive::init()
{
    paramSet = kStartParameters;
    resetLive();
    suspendTrimUpdate = false;
    window = new MainWindow;
    tx = new PtyTransmitter;
    QVERIFY(tx->isValid());
    QVERIFY(tx->openIn(*window));
    QVERIFY(tx->waitForReceived(2)); // "OK"
    tx->clearReceived();
}

void TestReceive::cleanup()
{
    delete window;
    delete tx;
    window = nullptr;
    tx = nullptr;
    suspendTrimUpdate = false;
    QLoggingCategory::setFilterRules(QString());
}

void TestReceive::subTrimsClampedThroughTheWindow()
{
    QVERIFY(tx->sendFrame(hexBytes("FE 00 55 64 78 8C 00 FF 78 78 78 FE")));
    const int expected[8] = {-20, 0, 20, -100, 100, 0, 0, 0};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(paramSet.subTrim[i], expected[i]);
        QCOMPARE(window->form()->spinBox_sub[i]->value(), expected[i]);
    }
    QCOMPARE(tx->received(), QByteArray("WWW"));
}

void TestReceive::telemetryTrims_data()
{
    QTest::addColumn<bool>("suspend");
    QTest::addColumn<QVector<int>>("trims");
    QTest::newRow("trims follow the transmitter") << false << QVector<int>{120, 238, 240, 240};
    QTest::newRow("trims held during RESET or LOAD") << true << QVector<int>{120, 120, 120, 120};
}

void TestReceive::telemetryTrims()
{
    QFETCH(bool, suspend);
    QFETCH(QVector<int>, trims);
    suspendTrimUpdate = suspend;
    QVERIFY(tx->sendFrame(hexBytes("FE 19 2D 54 00 7E 00 00 00 00 EF FF EE 78 00 00 00 00 00 00")));
    QCOMPARE(QVector<int>(paramSet.stickTrim, paramSet.stickTrim + 4), trims);
    QCOMPARE(liveStatus.rssi, 45);
    QCOMPARE(liveStatus.rxVoltage, 84);
    QCOMPARE(liveStatus.extVoltage, 126);
    QTRY_COMPARE(window->form()->lineEdit_RSSI->text(), QStringLiteral("-55dBm"));
}

void TestReceive::channelFrame()
{
    QVERIFY(tx->sendFrame(hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D")));
    QCOMPARE(liveStatus.channelOutput[0], 1500);
    QCOMPARE(liveStatus.txVoltage, 845);
    QTRY_COMPARE(window->form()->channelReadout[0]->text(), QStringLiteral("1500"));
    QCOMPARE(window->form()->lineEdit_TX->text(), QStringLiteral(" 8.4V"));
}

void TestReceive::auxFrame_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("zeros in front") << hexBytes("00 00 AA 01 02 03 04 00");
    QTest::newRow("markers in front") << hexBytes("FE FE AA 01 02 03 04 FE");
    QTest::newRow("anything in front") << hexBytes("12 34 AA 01 02 03 04 56");
}

void TestReceive::auxFrame()
{
    QFETCH(QByteArray, frame);
    QVERIFY(tx->sendFrame(frame));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(paramSet.auxSource[4 + i], i + 1);
}

void TestReceive::systemFrameVolts()
{
    paramSet.txAlarmTenths = 0;
    paramSet.txAlarmVolt = 0.0;
    QVERIFY(tx->sendFrame(hexBytes("FE 00 99 00 25 00 02 00 00 00 00 FE")));
    QCOMPARE(paramSet.txAlarmTenths, 37);
    QCOMPARE(paramSet.txAlarmVolt, 3.7);
    QCOMPARE(window->form()->doubleSpinBox_Volt->value(), 3.7);
}

void TestReceive::everyNotificationAnswered_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray channel = hexBytes("FE 18 05 DC 05 DC 05 DC 05 DC 05 DC 05 DC 05 DC 03 20");
    QTest::newRow("garbage") << QByteArray("\x01\x02\x03\x04\x05", 5);
    QTest::newRow("two channel frames at once") << channel.left(12) + channel.left(12);
    QTest::newRow("unlisted parameter kind") << hexBytes("FE 00 BB 01 02 03 04 05 06 07 08 FE");
    QTest::newRow("eight bytes without AA") << hexBytes("FE 00 AB 01 02 03 04 05");
    QTest::newRow("unlisted 20-byte type") << QByteArray(channel).replace(1, 1, "\x17");
    QTest::newRow("one byte") << QByteArray(1, char(0xFE));
}

void TestReceive::everyNotificationAnswered()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(tx->sendFrame(bytes));
    QVERIFY(!tx->waitForReceived(4, 200)); // one answer, no more
    QCOMPARE(tx->received(), QByteArray("WWW"));
    QVERIFY(paramSet == kStartParameters);
    QCOMPARE(liveStatus.channelOutput[0], 1000);
}

void TestReceive::roundTripThroughRead()
{
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator rng(seed);
    ParameterSet expected = randomSettings(rng);
    selectDualRate(expected); // the working copies follow the rates that came in

    for (const QByteArray &frame : transmitterFrames(expected))
        QVERIFY(tx->sendFrame(frame));
    QCOMPARE(tx->received(), QByteArray("WWW").repeated(19));

    // What goes back out must carry exactly what came in.
    tx->clearReceived();
    for (const char *send : {"SendData1", "SendData2", "SendData3", "SendData4"})
        QVERIFY(QMetaObject::invokeMethod(window, send));
    QVERIFY(tx->waitForReceived(4 * kFrameLength));
    const QByteArray wire = tx->received();
    const QString built[4] = {encodeFrameS(expected), encodeFrameG(expected),
                              encodeFrameH(expected), encodeFrameI(expected)};
    for (int k = 0; k < 4; ++k)
        QCOMPARE(QString::fromLatin1(wire.mid(k * kFrameLength, built[k].size())), built[k]);
}

void TestReceive::floodOfSingleBytesKeepsAnswersBounded()
{
    // A wrong device sends single bytes faster than the answers can leave;
    // here the line carries nothing back until the flood is over.
    constexpr qint64 kBound = 4096;
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); // one line per byte
    tx->setReading(false);
    qint64 mostQueued = 0;
    int bytesAtBound = 0;
    // A real event loop of its own: QTest's waits rest between their turns
    // and would flood at a trickle.
    QEventLoop flooding;
    QTimer flood;
    connect(&flood, &QTimer::timeout, [&] {
        tx->write(QByteArray(1, '\x01'));
        mostQueued = qMax(mostQueued, window->queuedForTransmitter());
        if (mostQueued >= kBound && ++bytesAtBound == 3000)
            flooding.quit();
    });
    QTimer::singleShot(60000 * kWaitScale, &flooding, &QEventLoop::quit); // against a hang only
    flood.start(0);
    flooding.exec();
    flood.stop();
    QCOMPARE(bytesAtBound, 3000); // the answers did reach the bound
    QVERIFY2(mostQueued <= kBound + 3, qPrintable(QString::number(mostQueued)));

    // The line clears, and what reached it is whole answers only.
    tx->setReading(true);
    QTRY_COMPARE(window->queuedForTransmitter(), qint64(0));
    while (tx->waitForReceived(tx->received().size() + 1, 1000)) {
    }
    const QByteArray wire = tx->received();
    QCOMPARE(wire, QByteArray("WWW").repeated(wire.size() / 3));

    // The next real frame is shown and answered.
    tx->clearReceived();
    QVERIFY(tx->sendFrame(hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D")));
    QCOMPARE(tx->received(), QByteArray("WWW"));
    QTRY_COMPARE(window->form()->channelReadout[0]->text(), QStringLiteral("1500"));
}

QTEST_MAIN(TestReceive)
#include "tst_receive.moc"
