// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/framedecoder.h"
#include "model/parameterset.h"
#include "support/ptytransmitter.h"

#include <QtTest>

// Cost of classifying and decoding one notification, per frame kind. At
// 115200 baud the line carries at most 11 520 bytes/s, about 576 twenty-byte
// frames per second.
class BenchDecoder : public QObject
{
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
};

void BenchDecoder::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("channels") << hexBytes(
        "FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D");
    QTest::newRow("telemetry") << hexBytes(
        "FE 19 2D 54 00 7E 00 00 00 00 EF FF EE 78 00 00 00 00 00 00");
    QTest::newRow("elevon (7 rows)") << hexBytes("FE 00 A2 01 64 78 8C 00 FF 78 78 FE");
    QTest::newRow("expos, last kind") << hexBytes("FE 00 AC 64 64 64 64 64 64 64 64 FE");
    QTest::newRow("aux") << hexBytes("00 00 AA 01 02 03 04 00");
    QTest::newRow("garbage, 24 bytes") << QByteArray(24, 'x');
}

void BenchDecoder::decode()
{
    QFETCH(QByteArray, bytes);
    ParameterSet p = kStartParameters;
    LiveStatus live = liveStatus;
    int kind = 0;
    QBENCHMARK
    {
        for (int i = 0; i < 1000; ++i)
            decodeNotification(bytes, p, live, false, &kind);
    }
}

QTEST_GUILESS_MAIN(BenchDecoder)
#include "bench_decoder.moc"
