// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "check/transmittercheck.h"
#include "link/linkactivity.h"
#include "support/ptytransmitter.h"

#include <QtTest>

// What a check adds to each notification, 1000 at a time: nothing worth
// naming while none runs; while one runs, a decode into a copy of its
// record (a channel frame is handed back, a setting frame taken).
class BenchCheck : public QObject
{
    Q_OBJECT
private slots:
    void take_data();
    void take();
};

void BenchCheck::take_data()
{
    QTest::addColumn<bool>("running");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray channels =
        hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D");
    const QByteArray expos = hexBytes("FE 00 AC 64 64 64 64 64 64 64 64 FE");
    QTest::newRow("idle, channels") << false << channels;
    QTest::newRow("checking, channels") << true << channels;
    QTest::newRow("checking, expos") << true << expos;
}

void BenchCheck::take()
{
    QFETCH(bool, running);
    QFETCH(QByteArray, bytes);
    LinkActivity link;
    link.connectionOpened();
    const ParameterSet editor = kStartParameters;
    TransmitterCheck check(link, editor);
    if (running)
        check.start();
    int kind = 0;
    QBENCHMARK
    {
        for (int i = 0; i < 1000; ++i)
            check.take(bytes, &kind);
    }
}

QTEST_MAIN(BenchCheck)
#include "bench_check.moc"
