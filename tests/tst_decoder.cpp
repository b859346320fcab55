// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/framedecoder.h"
#include "model/parameterset.h"
#include "support/ptytransmitter.h"

#include <QtTest>

#include <algorithm>
#include <climits>
#include <cstring>

Q_DECLARE_METATYPE(ParameterSet)
Q_DECLARE_METATYPE(Incoming)

namespace {

// Eight distinct value bytes, so a field taken from the wrong place shows.
constexpr int b[8] = {100, 111, 122, 133, 144, 155, 166, 177};

QByteArray parameterFrame(int kindByte)
{
    QByteArray f(12, '\0');
    f[0] = char(0xFE);
    f[1] = char(0x5A); // not examined
    f[2] = char(kindByte);
    for (int i = 0; i < 8; ++i)
        f[3 + i] = char(b[i]);
    f[11] = char(0xFE);
    return f;
}

int u16(int hi, int lo)
{
    return hi * 256 + lo;
}

// Every row starts from the start values; only the fields the frame
// carries may differ afterwards.
template <typename Change> ParameterSet expect(Change change)
{
    ParameterSet p = kStartParameters;
    change(p);
    return p;
}

bool sameLive(const LiveStatus &a, const LiveStatus &b)
{
    return std::memcmp(&a, &b, sizeof(LiveStatus)) == 0;
}

const LiveStatus kLiveStart = {{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}, 0, 0, 0, 0};

} // namespace

class TestDecoder : public QObject
{
    Q_OBJECT
private slots:
    void parameterKinds_data();
    void parameterKinds();
    void liveFrames_data();
    void liveFrames();
    void dropped_data();
    void dropped();
    void u16Reading_data();
    void u16Reading();
    void builtFramesLimitValues_data();
    void builtFramesLimitValues();
};

void TestDecoder::parameterKinds_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("kindNumber");
    QTest::addColumn<ParameterSet>("expected");

    auto row = [](const char *name, int kindByte, int number, ParameterSet e) {
        QTest::newRow(name) << parameterFrame(kindByte) << number << e;
    };
    row("44 reverse", 0x44, 1, expect([](ParameterSet &p) {
            for (int i = 0; i < 8; ++i)
                p.reverse[i] = b[i];
        }));
    row("55 sub-trim", 0x55, 2, expect([](ParameterSet &p) {
            for (int i = 0; i < 8; ++i)
                p.subTrim[i] = b[i] - 120;
        }));
    row("66 end point left", 0x66, 3, expect([](ParameterSet &p) {
            for (int i = 0; i < 8; ++i)
                p.endPointLeft[i] = b[i];
        }));
    row("77 end point right", 0x77, 4, expect([](ParameterSet &p) {
            for (int i = 0; i < 8; ++i)
                p.endPointRight[i] = b[i];
        }));
    row("88 fail-safe", 0x88, 5, expect([](ParameterSet &p) {
            for (int i = 0; i < 8; ++i)
                p.failSafe[i] = b[i];
        }));
    row("99 system", 0x99, 6, expect([](ParameterSet &p) {
            p.txAlarmTenths = u16(b[0], b[1]);
            p.txAlarmVolt = p.txAlarmTenths / 10.0;
            p.stickMode = u16(b[2], b[3]);
            p.txVersion = u16(b[4], b[5]);
        }));
    row("A1 attitude", 0xA1, 8, expect([](ParameterSet &p) {
            p.attitudeChannel = b[0];
            for (int i = 0; i < 6; ++i)
                p.attitude[i] = b[1 + i];
        }));
    row("A2 elevon", 0xA2, 9, expect([](ParameterSet &p) {
            p.elevonMix = b[0];
            const int order[6] = {0, 4, 1, 5, 2, 3};
            for (int i = 0; i < 6; ++i)
                p.elevon[order[i]] = b[1 + i] - 120;
        }));
    row("A3 V-tail", 0xA3, 10, expect([](ParameterSet &p) {
            p.vtailMix = b[0];
            for (int i = 0; i < 4; ++i)
                p.vtail[i] = b[1 + i] - 100;
            p.drMix = b[5];
        }));
    row("A4 servo delay", 0xA4, 11, expect([](ParameterSet &p) {
            for (int i = 0; i < 8; ++i)
                p.servoDelay[i] = b[i];
        }));
    row("A5 dual rates", 0xA5, 12, expect([](ParameterSet &p) {
            for (int ch = 0; ch < 4; ++ch) {
                p.drRate[0][ch] = b[ch];
                p.drRate[1][ch] = b[4 + ch];
            }
        }));
    row("A6 mix 1/2 rates", 0xA6, 13, expect([](ParameterSet &p) {
            for (int k = 0; k < 2; ++k) {
                p.progMix[k].up = b[k] - 100;
                p.progMix[k].down = b[2 + k] - 100;
                p.progMix[k].offset = b[4 + k] - 100;
                p.progMix[k].master = b[6 + k];
            }
        }));
    row("A7 mix 1/2 routing, trim steps", 0xA7, 14, expect([](ParameterSet &p) {
            for (int k = 0; k < 2; ++k) {
                p.progMix[k].slave = b[k];
                p.progMix[k].mode = b[2 + k];
            }
            for (int i = 0; i < 4; ++i)
                p.trimStep[3 - i] = b[4 + i];
        }));
    row("A8 mix 3", 0xA8, 15, expect([](ParameterSet &p) {
            p.progMix[2].mode = b[0];
            p.progMix[2].master = b[1];
            p.progMix[2].slave = b[2];
            p.progMix[2].offset = b[3] - 100;
            p.progMix[2].up = b[4] - 100;
            p.progMix[2].down = b[5] - 100;
            p.progMix[3].mode = b[6];
            p.progMix[3].master = b[7];
        }));
    row("A9 mix 4, curve start", 0xA9, 16, expect([](ParameterSet &p) {
            p.progMix[3].slave = b[0];
            p.progMix[3].offset = b[1] - 100;
            p.progMix[3].up = b[2] - 100;
            p.progMix[3].down = b[3] - 100;
            p.throttleCurveMix = b[4];
            p.throttleCurveExtra = b[5];
            p.throttleCurve[0] = b[6];
            p.throttleCurve[1] = b[7];
        }));
    row("AA curve rest", 0xAA, 17, expect([](ParameterSet &p) {
            for (int i = 0; i < 5; ++i)
                p.throttleCurve[2 + i] = b[i];
        }));
    row("AB alarms", 0xAB, 18, expect([](ParameterSet &p) {
            p.drSwitch = b[0];
            p.drPosition = b[1];
            p.extAlarmTenths = u16(b[2], b[3]);
            p.extAlarmVolt = p.extAlarmTenths / 10.0;
            p.rssiAlarm = b[4] - 100;
            p.rxAlarmTenths = b[5];
            p.rxAlarmVolt = b[5] / 10.0;
        }));
    row("AC expos", 0xAC, 19, expect([](ParameterSet &p) {
            for (int ch = 0; ch < 4; ++ch) {
                p.drExpo[0][ch] = b[ch] - 100;
                p.drExpo[1][ch] = b[4 + ch] - 100;
            }
        }));
    row("unlisted kind stores nothing", 0xBB, 0, kStartParameters);

    const ParameterSet aux = expect([](ParameterSet &p) {
        for (int i = 0; i < 4; ++i)
            p.auxSource[4 + i] = b[i];
    });
    QByteArray auxFrame = QByteArray(1, char(0x12)) + char(0x34) + char(0xAA);
    for (int i = 0; i < 5; ++i)
        auxFrame += char(b[i]);
    QTest::newRow("aux, any first bytes") << auxFrame << kAuxKindNumber << aux;
    QTest::newRow("sub-trim worked example")
        << hexBytes("FE 00 55 64 78 8C 00 FF 78 78 78 FE") << 2 << expect([](ParameterSet &p) {
               const int v[8] = {-20, 0, 20, -120, 135, 0, 0, 0};
               std::copy(v, v + 8, p.subTrim);
           });
    QTest::newRow("system worked example")
        << hexBytes("FE 00 99 00 25 00 02 00 05 00 00 FE") << 6 << expect([](ParameterSet &p) {
               p.txAlarmTenths = 37;
               p.txAlarmVolt = 3.7;
               p.stickMode = 2;
               p.txVersion = 5;
           });
}

void TestDecoder::parameterKinds()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, kindNumber);
    QFETCH(ParameterSet, expected);

    ParameterSet p = kStartParameters;
    LiveStatus live = kLiveStart;
    int number = -1;
    const Incoming what = decodeNotification(frame, p, live, false, &number);
    QCOMPARE(what, frame.size() == 8 ? Incoming::Aux : Incoming::Parameters);
    QCOMPARE(number, kindNumber);
    QVERIFY(p == expected);
    QVERIFY(sameLive(live, kLiveStart));

    // The transmitter's side builds this kind back from the record, and
    // the frame it builds decodes to the same record.
    for (const QByteArray &built : settingFrames(expected)) {
        if (built.size() != frame.size() || built[2] != frame[2])
            continue;
        ParameterSet again = kStartParameters;
        decodeNotification(built, again, live, false);
        QVERIFY(again == expected);
    }
}

void TestDecoder::liveFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("suspendTrims");
    QTest::addColumn<Incoming>("kind");
    // channels 1..8, tx, rssi, rx, ext
    QTest::addColumn<QVector<int>>("live");
    QTest::addColumn<QVector<int>>("trims");

    const QVector<int> startTrims(kStartParameters.stickTrim, kStartParameters.stickTrim + 4);
    QTest::newRow("channels")
        << hexBytes("FE 18 05 DC 00 00 07 D0 03 E8 03 E9 FF FF 01 00 00 01 04 E2") << false
        << Incoming::Channels
        << QVector<int>{1500, 0, 2000, 1000, 1001, 65535, 256, 1, 1250, 0, 0, 0} << startTrims;
    QTest::newRow("telemetry, trims clamp beyond 238")
        << hexBytes("FE 19 2D 54 00 7E 12 34 56 78 EF FF EE 78 01 02 03 04 05 06") << false
        << Incoming::Telemetry
        << QVector<int>{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 0, 45, 84, 126}
        << QVector<int>{120, 238, 240, 240};
    QTest::newRow("telemetry, trims 239 and 0")
        << hexBytes("FE 19 00 00 00 00 00 00 00 00 00 EF 00 00 00 00 00 00 00 00") << false
        << Incoming::Telemetry
        << QVector<int>{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 0, 0, 0, 0}
        << QVector<int>{0, 0, 240, 0};
    QTest::newRow("telemetry while trims are suspended")
        << hexBytes("FE 19 2D 54 00 7E 12 34 56 78 EF FF EE 78 01 02 03 04 05 06") << true
        << Incoming::Telemetry
        << QVector<int>{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 0, 45, 84, 126}
        << startTrims;
}

void TestDecoder::liveFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, suspendTrims);
    QFETCH(Incoming, kind);
    QFETCH(QVector<int>, live);
    QFETCH(QVector<int>, trims);

    ParameterSet p = kStartParameters;
    LiveStatus status = kLiveStart;
    int number = -1;
    QCOMPARE(decodeNotification(frame, p, status, suspendTrims, &number), kind);
    QCOMPARE(number, 0);
    QVector<int> got(status.channelOutput, status.channelOutput + 8);
    got << status.txVoltage << status.rssi << status.rxVoltage << status.extVoltage;
    QCOMPARE(got, live);
    QCOMPARE(QVector<int>(p.stickTrim, p.stickTrim + 4), trims);
    std::copy(kStartParameters.stickTrim, kStartParameters.stickTrim + 4, p.stickTrim);
    QVERIFY(p == kStartParameters);
}

void TestDecoder::dropped_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray channel = hexBytes("FE 18 05 DC 05 DC 05 DC 05 DC 05 DC 05 DC 05 DC 03 20");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("two channel frames at once") << channel + channel.left(4);
    QTest::newRow("channel frame in two halves, first") << channel.left(10);
    QTest::newRow("channel frame with one byte more") << channel + char(0);
    QTest::newRow("unknown 20-byte type") << QByteArray(channel).replace(1, 1, "\x17");
    QTest::newRow("20 bytes without marker") << QByteArray(channel).replace(0, 1, "\xFD");
    QTest::newRow("8 bytes without AA") << hexBytes("FE 18 AB 01 02 03 04 05");
    QTest::newRow("AA at byte 2 of 9 bytes") << hexBytes("00 00 AA 01 02 03 04 05 06");
    QTest::newRow("12 bytes, end marker missing")
        << hexBytes("FE 00 44 01 01 01 01 01 01 01 01 FD");
    QTest::newRow("12 bytes, start marker missing")
        << hexBytes("00 00 44 01 01 01 01 01 01 01 01 FE");
    QTest::newRow("13-byte parameter frame") << hexBytes("FE 00 44 01 01 01 01 01 01 01 01 FE 00");
    QTest::newRow("text") << QByteArray("hello");
}

void TestDecoder::dropped()
{
    QFETCH(QByteArray, bytes);
    ParameterSet p = kStartParameters;
    LiveStatus live = kLiveStart;
    int number = -1;
    QCOMPARE(decodeNotification(bytes, p, live, false, &number), Incoming::Nothing);
    QCOMPARE(number, 0);
    QVERIFY(p == kStartParameters);
    QVERIFY(sameLive(live, kLiveStart));
}

void TestDecoder::u16Reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::newRow("big-endian") << hexBytes("05 DC") << 0 << 1500;
    QTest::newRow("bytes are unsigned") << hexBytes("FF FE") << 0 << 65534;
    QTest::newRow("last byte: low byte counts 0") << hexBytes("00 01") << 1 << 256;
    QTest::newRow("past the end") << hexBytes("12 34") << 2 << 0;
    QTest::newRow("before the start") << hexBytes("12 34") << -1 << 0x12;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("top of int: the next index does not exist") << hexBytes("12 34") << INT_MAX << 0;
}

void TestDecoder::u16Reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, index);
    QFETCH(int, value);
    QCOMPARE(u16At(bytes, index), value);
}

void TestDecoder::builtFramesLimitValues_data()
{
    QTest::addColumn<ParameterSet>("record");
    QTest::addColumn<int>("kindByte");
    QTest::addColumn<QByteArray>("valueBytes"); // bytes 3 onwards

    QTest::newRow("sub-trims beyond a biased byte") << expect([](ParameterSet &p) {
        p.subTrim[0] = -121;
        p.subTrim[1] = 136;
        p.subTrim[2] = INT_MIN;
    }) << 0x55 << hexBytes("00 FF 00 78 78 78 78 78");
    QTest::newRow("16-bit alarm beyond two bytes") << expect([](ParameterSet &p) {
        p.txAlarmTenths = 70000;
        p.stickMode = -1;
        p.txVersion = 258;
    }) << 0x99 << hexBytes("FF FF 00 00 01 02 00 00");
    QTest::newRow("aux sources beyond a byte") << expect([](ParameterSet &p) {
        p.auxSource[4] = 256;
        p.auxSource[7] = INT_MAX;
    }) << 0xAA << hexBytes("FF 03 00 FF 00");
}

void TestDecoder::builtFramesLimitValues()
{
    QFETCH(ParameterSet, record);
    QFETCH(int, kindByte);
    QFETCH(QByteArray, valueBytes);
    const int size = valueBytes.size() == 5 ? 8 : 12; // the aux frame is the short one
    int found = 0;
    for (const QByteArray &built : settingFrames(record)) {
        if (built.size() != size || quint8(built[2]) != kindByte)
            continue;
        ++found;
        QCOMPARE(built.mid(3, valueBytes.size()), valueBytes);
    }
    QCOMPARE(found, 1);
}

QTEST_GUILESS_MAIN(TestDecoder)
#include "tst_decoder.moc"
