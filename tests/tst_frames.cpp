// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QElapsedTimer>
#include <QtTest>
#include <climits>

#include "app/mainwindow.h"
#include "link/frames.h"
#include "model/parameterset.h"

namespace {

const FrameLayout *layoutFor(char kind)
{
    switch (kind) {
    case 'S':
        return &kFrameLayoutS;
    case 'G':
        return &kFrameLayoutG;
    case 'H':
        return &kFrameLayoutH;
    default:
        return &kFrameLayoutI;
    }
}

// The layout row whose characters start at this position of the frame.
const FrameField *fieldAt(const FrameLayout &layout, int position)
{
    int at = 1;
    for (int i = 0; i < layout.fieldCount; ++i) {
        if (at == position)
            return &layout.fields[i];
        at += fieldWidth(layout.fields[i]);
    }
    return nullptr;
}

// The start values as they go on the wire: the tenths follow the volts.
ParameterSet startValuesForWire()
{
    ParameterSet p = kStartParameters;
    p.txAlarmTenths = alarmTenths(p.txAlarmVolt);
    p.rxAlarmTenths = alarmTenths(p.rxAlarmVolt);
    p.extAlarmTenths = alarmTenths(p.extAlarmVolt);
    return p;
}

const char *const kStartFrame[] = {
    "S00100000787878787878787870707070707070707070707070707070424210424242424213027E2Y",
    "G41E2D3C4855680DCDCDCDCDC140A642A6A6674747474747474740074747474747474740135006D2Z",
    "H7474747474747474003747474015747474001020314253647407474747474747474110140380000X",
    "I8888888812121212000000000000000000000000000000000000000000000000000000000000000V",
};

QStringList traceLines;

void captureTrace(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg)
        traceLines << text;
}

} // namespace

class TestFrames : public QObject
{
    Q_OBJECT

private slots:
    void startValuesGiveKnownFrames_data();
    void startValuesGiveKnownFrames();
    void fieldEncoding_data();
    void fieldEncoding();
    void alarmTenthsExamples_data();
    void alarmTenthsExamples();
    void everyOneDecimalVoltageGivesItsTenths();
    void extremeValuesKeepFramesWhole_data();
    void extremeValuesKeepFramesWhole();
    void sendDataRebuildsBufferAndPauses_data();
    void sendDataRebuildsBufferAndPauses();
};

void TestFrames::startValuesGiveKnownFrames_data()
{
    QTest::addColumn<char>("kind");
    QTest::addColumn<QString>("expected");
    for (const char *frame : kStartFrame)
        QTest::newRow(QByteArray(1, frame[0]).constData()) << frame[0] << QString(frame);
}

void TestFrames::startValuesGiveKnownFrames()
{
    QFETCH(char, kind);
    QFETCH(QString, expected);
    const FrameLayout &layout = *layoutFor(kind);
    const QString built = encodeFrame(layout, startValuesForWire());
    QCOMPARE(built.length(), layout.builtLength);
    QCOMPARE(built + layout.buffer->mid(layout.builtLength), expected);
    if (kind == 'S')
        QCOMPARE(frameTextS, expected); // the S buffer starts as a real frame
}

void TestFrames::fieldEncoding_data()
{
    QTest::addColumn<char>("kind");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("sub-trim -100") << 'S' << 9 << -100 << "14";
    QTest::newRow("sub-trim 0") << 'S' << 9 << 0 << "78";
    QTest::newRow("sub-trim 100") << 'S' << 23 << 100 << "DC";
    QTest::newRow("end point 0") << 'S' << 25 << 0 << "10";
    QTest::newRow("end point 96") << 'S' << 41 << 96 << "70";
    QTest::newRow("end point 120") << 'S' << 55 << 120 << "88";
    QTest::newRow("fail-safe 0") << 'S' << 57 << 0 << "10";
    QTest::newRow("tx alarm 3.7 V") << 'S' << 77 << 37 << "35";
    QTest::newRow("tx alarm 23.9 V") << 'S' << 77 << 239 << "FF";
    QTest::newRow("tx alarm 30.0 V limited") << 'S' << 77 << 300 << "FF";
    QTest::newRow("stick mode 4") << 'S' << 79 << 4 << "4";
    QTest::newRow("reverse unselected") << 'S' << 1 << -1 << "0";
    QTest::newRow("aux source 10 limited") << 'S' << 73 << 10 << "9";
    QTest::newRow("v-tail -50") << 'G' << 28 << -50 << "42";
    QTest::newRow("v-tail 100") << 'G' << 34 << 100 << "D8";
    QTest::newRow("mix rate -100") << 'G' << 59 << -100 << "10";
    QTest::newRow("elevon -100") << 'G' << 25 << -100 << "14";
    QTest::newRow("rssi -100") << 'H' << 71 << -100 << "14";
    QTest::newRow("rssi 0") << 'H' << 71 << 0 << "78";
    QTest::newRow("expo -100") << 'H' << 52 << -100 << "10";
    QTest::newRow("ext alarm 0.3 V") << 'H' << 68 << 3 << "003";
    QTest::newRow("ext alarm 99.9 V") << 'H' << 68 << 999 << "999";
    QTest::newRow("ext alarm wraps") << 'H' << 68 << 1234 << "234";
    QTest::newRow("ext alarm negative") << 'H' << 68 << -5 << "000";
    QTest::newRow("stick trim 238") << 'I' << 1 << 238 << "FE";
    QTest::newRow("stick trim 240 limited") << 'I' << 7 << 240 << "FF";
    QTest::newRow("trim step 20") << 'I' << 9 << 20 << "24";
}

void TestFrames::fieldEncoding()
{
    QFETCH(char, kind);
    QFETCH(int, position);
    QFETCH(int, value);
    QFETCH(QString, expected);
    const FrameLayout &layout = *layoutFor(kind);
    const FrameField *field = fieldAt(layout, position);
    QVERIFY(field && field->field);

    ParameterSet p = kStartParameters;
    field->field(p) = value;
    const QString built = encodeFrame(layout, p);
    QCOMPARE(built.length(), layout.builtLength);
    QCOMPARE(built.mid(position, expected.length()), expected);
}

void TestFrames::alarmTenthsExamples_data()
{
    QTest::addColumn<double>("volts");
    QTest::addColumn<int>("tenths");
    QTest::newRow("0.0") << 0.0 << 0;
    QTest::newRow("0.3") << 0.3 << 3;
    QTest::newRow("3.7") << 3.7 << 37;
    QTest::newRow("11.0") << 11.0 << 110;
    QTest::newRow("23.9") << 23.9 << 239;
    QTest::newRow("99.9") << 99.9 << 999;
    QTest::newRow("not a number") << qQNaN() << 0;
    QTest::newRow("huge") << 1e300 << INT_MAX;
}

void TestFrames::alarmTenthsExamples()
{
    QFETCH(double, volts);
    QFETCH(int, tenths);
    QCOMPARE(alarmTenths(volts), tenths);
}

void TestFrames::everyOneDecimalVoltageGivesItsTenths()
{
    for (int k = 0; k <= 999; ++k) {
        const double volts = k / 10.0; // the double a one-decimal editor holds
        QCOMPARE(alarmTenths(volts), k);
    }
}

void TestFrames::extremeValuesKeepFramesWhole_data()
{
    QTest::addColumn<char>("kind");
    QTest::addColumn<int>("value");
    for (char kind : {'S', 'G', 'H', 'I'}) {
        QTest::addRow("%c min", kind) << kind << INT_MIN;
        QTest::addRow("%c max", kind) << kind << INT_MAX;
    }
}

void TestFrames::extremeValuesKeepFramesWhole()
{
    QFETCH(char, kind);
    QFETCH(int, value);
    const FrameLayout &layout = *layoutFor(kind);
    const QString fixedTail = layout.buffer->mid(layout.builtLength);

    ParameterSet p = kStartParameters;
    for (int i = 0; i < layout.fieldCount; ++i) {
        if (layout.fields[i].field)
            layout.fields[i].field(p) = value;
    }
    const ParameterSet before = p;
    const QString frame = storeBuiltFrame(layout, encodeFrame(layout, p));
    QVERIFY(p == before); // limiting happens on the way out only

    QCOMPARE(frame.length(), kFrameLength);
    QCOMPARE(frame.at(0), QLatin1Char(kind));
    QCOMPARE(frame.mid(layout.builtLength), fixedTail);
    QVERIFY(QRegularExpression("^[0-9A-F]+$").match(frame.mid(1, kFrameLength - 2)).hasMatch());
    int at = 1;
    for (int i = 0; i < layout.fieldCount; ++i) {
        const FrameField &f = layout.fields[i];
        if (f.coding == FieldCoding::Fixed)
            QCOMPARE(frame.mid(at, fieldWidth(f)), QString(f.text));
        at += fieldWidth(f);
    }

    const int index = QByteArray("SGHI").indexOf(kind);
    const QString next = storeBuiltFrame(layout, encodeFrame(layout, startValuesForWire()));
    QCOMPARE(next, QString(kStartFrame[index]));
}

void TestFrames::sendDataRebuildsBufferAndPauses_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<char>("kind");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("expected");
    // Each row edits one value the start frame does not hold.
    QTest::newRow("S") << "SendData1" << 'S' << 77 << "35";  // TX alarm 3.7 V
    QTest::newRow("G") << "SendData2" << 'G' << 25 << "AA";  // elevon[3] = 50
    QTest::newRow("H") << "SendData3" << 'H' << 68 << "003"; // EXT 0.3 V
    QTest::newRow("I") << "SendData4" << 'I' << 15 << "24";  // trimStep[0] = 20
}

void TestFrames::sendDataRebuildsBufferAndPauses()
{
    QFETCH(QString, slot);
    QFETCH(char, kind);
    QFETCH(int, position);
    QFETCH(QString, expected);

    paramSet = kStartParameters;
    MainWindow window; // its port is never opened
    paramSet = kStartParameters;
    paramSet.txAlarmVolt = 3.7;
    paramSet.txAlarmTenths = 0; // rebuilt from the volts
    paramSet.elevon[3] = 50;
    paramSet.extAlarmVolt = 0.3;
    paramSet.rxAlarmVolt = 12.5;
    paramSet.trimStep[0] = 20;
    const FrameLayout &layout = *layoutFor(kind);
    const QString fixedTail = layout.buffer->mid(layout.builtLength);

    traceLines.clear();
    QtMessageHandler previous = qInstallMessageHandler(captureTrace);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(QMetaObject::invokeMethod(&window, slot.toLatin1().constData(), Qt::DirectConnection));
    const qint64 elapsed = clock.elapsed();
    qInstallMessageHandler(previous);

    QCOMPARE(layout.buffer->length(), kFrameLength);
    QCOMPARE(layout.buffer->mid(position, expected.length()), expected);
    QCOMPARE(layout.buffer->mid(layout.builtLength), fixedTail);
    QVERIFY2(elapsed >= 790, qPrintable(QString::number(elapsed)));
    QVERIFY(traceLines.contains(QStringLiteral("Str%1Blength:81").arg(slot.right(1))));
    if (kind == 'S')
        QCOMPARE(paramSet.txAlarmTenths, 37);
    if (kind == 'H') {
        QCOMPARE(paramSet.extAlarmTenths, 3);
        QCOMPARE(paramSet.rxAlarmTenths, 125); // RX 12.5 V
        QCOMPARE(layout.buffer->mid(74, 2), QStringLiteral("8D"));
    }
}

QTEST_MAIN(TestFrames)
#include "tst_frames.moc"
