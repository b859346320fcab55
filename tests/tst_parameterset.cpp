// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

#include "model/parameterset.h"

namespace {

// Fields are addressed by their byte offset in the record so that tables
// can walk whole arrays.
int &intAt(ParameterSet &p, int offset)
{
    return *reinterpret_cast<int *>(reinterpret_cast<char *>(&p) + offset);
}

#define AT(member) int(offsetof(ParameterSet, member))

struct Span {
    std::size_t offset;
    std::size_t size;
};
#define WHOLE(member)                                                                              \
    Span                                                                                           \
    {                                                                                              \
        offsetof(ParameterSet, member), sizeof(ParameterSet::member)                               \
    }

void copySpans(ParameterSet &to, const ParameterSet &from, const std::vector<Span> &spans)
{
    for (const Span &s : spans)
        std::memcpy(reinterpret_cast<char *>(&to) + s.offset,
                    reinterpret_cast<const char *>(&from) + s.offset, s.size);
}

// A record where no field holds a start or factory value.
ParameterSet scrambled()
{
    ParameterSet p;
    std::memset(&p, 0x5A, sizeof p);
    return p;
}

enum Window { Unsigned, Percent, Rssi };

void addRow(const QByteArray &name, int offset, Window window, int bound, int replacement)
{
    int low = 0, high = bound;
    if (window == Percent)
        low = -100, high = 100;
    if (window == Rssi)
        low = -100, high = 0;
    QTest::newRow(name.constData()) << offset << low << high << replacement;
}

void addArrayRows(const char *name, int offset, int count, Window window, int bound,
                  const int *replacements, int first = 0)
{
    for (int i = first; i < count; ++i)
        addRow(QByteArray(name) + '[' + QByteArray::number(i) + ']', offset + i * int(sizeof(int)),
               window, bound, replacements[i]);
}

} // namespace

class TestParameterSet : public QObject
{
    Q_OBJECT

private slots:
    void integerBoundaries_data();
    void integerBoundaries();
    void voltageBoundaries_data();
    void voltageBoundaries();
    void unvalidatedFieldsKeepAnyValue_data();
    void unvalidatedFieldsKeepAnyValue();
    void startValuesPassValidation();
    void bothFactoryOperationsGiveStartValues();
    void eachFactoryOperationTouchesOnlyItsFields();
};

void TestParameterSet::integerBoundaries_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("low");  // lowest value that passes
    QTest::addColumn<int>("high"); // highest value that passes
    QTest::addColumn<int>("replacement");

    const ParameterSet &f = kStartParameters;
    const int same[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    const int rate[8] = {100, 100, 100, 100, 100, 100, 100, 100};
    const int ends[8] = {96, 96, 96, 96, 96, 96, 96, 96};
    addArrayRows("reverse", AT(reverse), 8, Unsigned, 1, f.reverse);
    addArrayRows("subTrim", AT(subTrim), 8, Percent, 0, same);
    addArrayRows("endPointLeft", AT(endPointLeft), 8, Unsigned, 120, ends);
    addArrayRows("endPointRight", AT(endPointRight), 8, Unsigned, 120, ends);
    addArrayRows("servoDelay", AT(servoDelay), 8, Unsigned, 100, rate);
    addArrayRows("auxSource", AT(auxSource), 8, Unsigned, 5, f.auxSource, 4);
    addArrayRows("failSafe", AT(failSafe), 8, Unsigned, 100, f.failSafe);
    addRow("drMix", AT(drMix), Unsigned, 1, 0);
    addRow("drChannel", AT(drChannel), Unsigned, 4, 0);
    addRow("drSwitch", AT(drSwitch), Unsigned, 2, 0);
    addRow("drPosition", AT(drPosition), Unsigned, 4, 0);
    addArrayRows("drRate", AT(drRate), 8, Unsigned, 100, rate);
    addArrayRows("drExpo", AT(drExpo), 8, Percent, 0, same);
    addRow("drEditUp", AT(drEditUp), Unsigned, 100, 100);
    addRow("drEditDown", AT(drEditDown), Unsigned, 100, 100);
    addRow("drEditExpo", AT(drEditExpo), Percent, 0, 0);
    addRow("attitudeChannel", AT(attitudeChannel), Unsigned, 5, 4);
    addArrayRows("attitude", AT(attitude), 6, Unsigned, 100, f.attitude);
    addRow("elevonMix", AT(elevonMix), Unsigned, 1, 0);
    addArrayRows("elevon", AT(elevon), 6, Percent, 0, f.elevon);
    addRow("vtailMix", AT(vtailMix), Unsigned, 1, 0);
    addArrayRows("vtail", AT(vtail), 4, Percent, 0, f.vtail);
    addRow("throttleCurveMix", AT(throttleCurveMix), Unsigned, 5, 0);
    addRow("throttleCurveExtra", AT(throttleCurveExtra), Unsigned, 4, 0);
    addArrayRows("throttleCurve", AT(throttleCurve), 7, Unsigned, 100, f.throttleCurve);
    for (int k = 0; k < 4; ++k) {
        const QByteArray mix = "progMix[" + QByteArray::number(k) + "].";
        const int base = AT(progMix) + k * int(sizeof(ProgMix));
        addRow(mix + "mode", base + int(offsetof(ProgMix, mode)), Unsigned, 2, 0);
        addRow(mix + "master", base + int(offsetof(ProgMix, master)), Unsigned, 10,
               f.progMix[k].master);
        addRow(mix + "slave", base + int(offsetof(ProgMix, slave)), Unsigned, 10,
               f.progMix[k].slave);
        addRow(mix + "offset", base + int(offsetof(ProgMix, offset)), Percent, 0, 0);
        addRow(mix + "up", base + int(offsetof(ProgMix, up)), Percent, 0, 0);
        addRow(mix + "down", base + int(offsetof(ProgMix, down)), Percent, 0, 0);
    }
    addRow("txAlarmTenths", AT(txAlarmTenths), Unsigned, 500, 37);
    addRow("rxAlarmTenths", AT(rxAlarmTenths), Unsigned, 1000, 40);
    addRow("extAlarmTenths", AT(extAlarmTenths), Unsigned, 1000, 110);
    addRow("rssiAlarm", AT(rssiAlarm), Rssi, 0, -100);
    addRow("stickMode", AT(stickMode), Unsigned, 4, 1);
}

void TestParameterSet::integerBoundaries()
{
    QFETCH(int, offset);
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(int, replacement);

    const struct {
        int value;
        bool passes;
    } probes[] = {{low, true},       {high, true},     {low - 1, false},
                  {high + 1, false}, {INT_MIN, false}, {INT_MAX, false}};
    for (const auto &probe : probes) {
        ParameterSet p = kStartParameters;
        intAt(p, offset) = probe.value;
        validateParameters(p);
        ParameterSet expected = kStartParameters; // and no other field moves
        intAt(expected, offset) = probe.passes ? probe.value : replacement;
        QVERIFY2(p == expected,
                 qPrintable(
                     QStringLiteral("value %1 became %2").arg(probe.value).arg(intAt(p, offset))));
    }
}

void TestParameterSet::voltageBoundaries_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("result");
    const int tx = int(offsetof(ParameterSet, txAlarmVolt));
    const int rx = int(offsetof(ParameterSet, rxAlarmVolt));
    const int ext = int(offsetof(ParameterSet, extAlarmVolt));
    QTest::newRow("tx 0.0") << tx << 0.0 << 0.0;
    QTest::newRow("tx 50.0") << tx << 50.0 << 50.0;
    QTest::newRow("tx 50.1") << tx << 50.1 << 0.0;
    QTest::newRow("tx -0.1") << tx << -0.1 << 0.0;
    QTest::newRow("tx NaN") << tx << qQNaN() << 0.0;
    QTest::newRow("rx 100.0") << rx << 100.0 << 100.0;
    QTest::newRow("rx 100.5") << rx << 100.5 << 4.0;
    QTest::newRow("rx -0.1") << rx << -0.1 << 4.0;
    QTest::newRow("ext 0.0") << ext << 0.0 << 0.0;
    QTest::newRow("ext 100.0") << ext << 100.0 << 100.0;
    QTest::newRow("ext 100.1") << ext << 100.1 << 11.0;
    QTest::newRow("ext -5") << ext << -5.0 << 11.0;
}

void TestParameterSet::voltageBoundaries()
{
    QFETCH(int, offset);
    QFETCH(double, value);
    QFETCH(double, result);
    ParameterSet p = kStartParameters;
    double &volts = *reinterpret_cast<double *>(reinterpret_cast<char *>(&p) + offset);
    volts = value;
    validateParameters(p);
    QCOMPARE(volts, result);
    volts = *reinterpret_cast<const double *>(reinterpret_cast<const char *>(&kStartParameters) +
                                              offset);
    QVERIFY(p == kStartParameters);
}

void TestParameterSet::unvalidatedFieldsKeepAnyValue_data()
{
    QTest::addColumn<int>("offset");
    for (int i = 0; i < 4; ++i) {
        QTest::addRow("trimStep[%d]", i) << AT(trimStep) + i * int(sizeof(int));
        QTest::addRow("stickTrim[%d]", i) << AT(stickTrim) + i * int(sizeof(int));
    }
    QTest::newRow("drEditRate") << AT(drEditRate);
    QTest::newRow("txVersion") << AT(txVersion);
}

void TestParameterSet::unvalidatedFieldsKeepAnyValue()
{
    QFETCH(int, offset);
    for (int value : {INT_MIN, -1, 0, 240, 1001, INT_MAX}) {
        ParameterSet p = kStartParameters;
        intAt(p, offset) = value;
        const ParameterSet before = p;
        validateParameters(p);
        QVERIFY(p == before);
    }
}

void TestParameterSet::startValuesPassValidation()
{
    ParameterSet p = kStartParameters;
    validateParameters(p);
    QVERIFY(p == kStartParameters);
    QVERIFY(paramSet == kStartParameters); // the program starts from them
}

void TestParameterSet::bothFactoryOperationsGiveStartValues()
{
    ParameterSet p = scrambled();
    restFactoryA(p);
    restFactoryB(p);

    ParameterSet expected = kStartParameters;
    expected.txAlarmVolt = 3.7;
    expected.drEditRate = scrambled().drEditRate; // no factory value
    expected.txVersion = scrambled().txVersion;
    for (int i = 0; i < 4; ++i) // channels 1..4 have no aux control
        expected.auxSource[i] = scrambled().auxSource[i];
    QVERIFY(p == expected);
}

void TestParameterSet::eachFactoryOperationTouchesOnlyItsFields()
{
    const std::vector<Span> a = {
        WHOLE(reverse),
        WHOLE(subTrim),
        WHOLE(endPointLeft),
        WHOLE(endPointRight),
        WHOLE(servoDelay),
        WHOLE(failSafe),
        Span{offsetof(ParameterSet, auxSource[4]), 4 * sizeof(int)},
        WHOLE(drMix),
        WHOLE(drChannel),
        WHOLE(drSwitch),
        WHOLE(drRate),
        WHOLE(drEditUp),
        WHOLE(drEditDown),
        WHOLE(attitudeChannel),
        WHOLE(attitude),
        WHOLE(elevonMix),
        WHOLE(elevon),
        WHOLE(vtailMix),
        WHOLE(vtail),
        WHOLE(txAlarmVolt),
        WHOLE(txAlarmTenths),
        WHOLE(stickMode),
        Span{offsetof(ParameterSet, progMix[0]), 2 * sizeof(ProgMix)},
    };
    const std::vector<Span> b = {
        Span{offsetof(ParameterSet, progMix[2]), 2 * sizeof(ProgMix)},
        WHOLE(throttleCurveMix),
        WHOLE(throttleCurveExtra),
        WHOLE(throttleCurve),
        WHOLE(drPosition),
        WHOLE(drExpo),
        WHOLE(drEditExpo),
        WHOLE(rxAlarmVolt),
        WHOLE(rxAlarmTenths),
        WHOLE(extAlarmVolt),
        WHOLE(extAlarmTenths),
        WHOLE(rssiAlarm),
        WHOLE(stickTrim),
        WHOLE(trimStep),
    };

    ParameterSet onlyA = scrambled();
    restFactoryA(onlyA);
    ParameterSet expectedA = scrambled();
    copySpans(expectedA, kStartParameters, a);
    expectedA.txAlarmVolt = 3.7;
    QVERIFY(onlyA == expectedA);

    ParameterSet onlyB = scrambled();
    restFactoryB(onlyB);
    ParameterSet expectedB = scrambled();
    copySpans(expectedB, kStartParameters, b);
    QVERIFY(onlyB == expectedB);
}

QTEST_APPLESS_MAIN(TestParameterSet)
#include "tst_parameterset.moc"
