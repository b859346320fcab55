// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The ring LIVE draws from (its gaps, its ten minutes) and the CSV a
// recording keeps, written whole or not at all.
#include "app/startup.h"
#include "files/filewriter.h"
#include "live/livelog.h"

#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

LiveStatus telemetry(int rxTenths, int rssi = 80)
{
    LiveStatus s{};
    s.rxVoltage = rxTenths;
    s.extVoltage = 118;
    s.rssi = rssi;
    return s;
}

} // namespace

class TestLiveRecord : public QObject
{
    Q_OBJECT
private slots:
    void ring_data();
    void ring();
    void csv();
    void writtenWholeOrNotAtAll_data();
    void writtenWholeOrNotAtAll();
};

void TestLiveRecord::ring_data()
{
    QTest::addColumn<qint64>("pauseMs");
    QTest::addColumn<bool>("portClosed");
    QTest::addColumn<bool>("newLine");
    QTest::newRow("a slow second") << qint64(1000) << false << false;
    QTest::newRow("silent line") << qint64(2000) << false << true;
    QTest::newRow("port closed and opened at once") << qint64(40) << true << true;
}

void TestLiveRecord::ring()
{
    QFETCH(qint64, pauseMs);
    QFETCH(bool, portClosed);
    QFETCH(bool, newLine);
    // Eleven minutes at 25 Hz: the dip of the first second has left the
    // ring, a 40 ms sag 9.5 minutes back is still there at its depth.
    LiveRing ring;
    const qint64 start = 600000;
    qint64 ms = start;
    for (; ms < start + 11 * 60000; ms += 40) {
        const int rx = ms < start + 1000 ? 30 : ms == start + 90000 ? 41 : 50;
        ring.add(ms, Incoming::Telemetry, telemetry(rx));
    }
    // A frame dated before what the ring holds changes nothing.
    ring.add(start, Incoming::Telemetry, telemetry(10));
    if (portClosed)
        ring.lineEnded();
    ms += pauseMs;
    ring.add(ms, Incoming::Telemetry, telemetry(44, 0)); // 0: no signal value
    // The last column is the slot of the frame after the pause.
    const qint64 slotEnd = ms / kLiveSlotMs * kLiveSlotMs + kLiveSlotMs - 1;
    const auto rx = ring.columns(kLiveRx, slotEnd, 100, kLiveSlotMs);
    QVERIFY(rx.back().present);
    QCOMPARE(rx.back().startsLine, newLine);
    QCOMPARE(rx.back().lo, 44);
    qint32 v = 0;
    QVERIFY(ring.minimum(kLiveRx, ms, v));
    QCOMPARE(v, 41);
    const auto cols = ring.columns(kLiveRx, ms, 600, 1000);
    const auto lower = [](auto &a, auto &b) { return a.present && (!b.present || a.lo < b.lo); };
    QCOMPARE(std::min_element(cols.begin(), cols.end(), lower)->lo, 41);
    // No signal value is no point, and the last RSSI heard stays the latest.
    QVERIFY(!ring.columns(kLiveRssi, slotEnd, 100, kLiveSlotMs).back().present);
    QVERIFY(ring.latest(kLiveRssi, v));
    QCOMPARE(v, 80);
    // What was heard last is current until a gap's length of silence.
    QVERIFY(ring.isFresh(kLiveRx, ms + kLiveGapMs));
    QVERIFY(!ring.isFresh(kLiveRx, ms + kLiveGapMs + 1));
}

void TestLiveRecord::csv()
{
    LiveRecording rec(3);
    LiveStatus ch{};
    for (int i = 0; i < 8; ++i)
        ch.channelOutput[i] = 1000 + 100 * i;
    ch.txVoltage = 805;
    QVERIFY(rec.add(0, Incoming::Channels, ch));
    QVERIFY(!rec.add(5, Incoming::Parameters, ch));
    QVERIFY(rec.add(20, Incoming::Telemetry, telemetry(49, 0)));
    QVERIFY(rec.add(3601000, Incoming::Telemetry, telemetry(126, 45)) && rec.isFull());
    QVERIFY(!rec.add(3601020, Incoming::Telemetry, telemetry(50)));
    const QDateTime started(QDate(2026, 12, 7), QTime(14, 5, 9, 250), Qt::OffsetFromUTC, 3600);
    QCOMPARE(rec.csv(started),
             QByteArray("started,2026-12-07T14:05:09.250+01:00\n"
                        "time (ms),frame,CH1 (1000 = centre),CH2 (1000 = centre),"
                        "CH3 (1000 = centre),CH4 (1000 = centre),"
                        "CH5 (1000 = centre),CH6 (1000 = centre),"
                        "CH7 (1000 = centre),CH8 (1000 = centre),"
                        "TX (V),RX (V),EXT (V),RSSI (dBm)\n"
                        "0,channels,1000,1100,1200,1300,1400,1500,1600,1700,8.05,,,\n"
                        "20,telemetry,,,,,,,,,,4.9,11.8,\n"
                        "3601000,telemetry,,,,,,,,,,12.6,11.8,-55\n"));
}

void TestLiveRecord::writtenWholeOrNotAtAll_data()
{
    // Two instances recording in the same minute pick the same name: the
    // second Stop must not replace the first one's file. A full disk leaves
    // the earlier file as it was.
    QTest::addColumn<bool>("existedAtRecord");
    QTest::addColumn<bool>("writtenSince");
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<QString>("reason");
    const QString taken = "Another file of that name was written since recording began";
    QTest::newRow("free name, taken since") << false << true << false << taken;
    QTest::newRow("old file chosen to replace") << true << false << false << QString();
    QTest::newRow("old file chosen, replaced since") << true << true << false << taken;
    QTest::newRow("old file chosen, full disk") << true << false << true << "File too large";
}

void TestLiveRecord::writtenWholeOrNotAtAll()
{
    QFETCH(bool, existedAtRecord);
    QFETCH(bool, writtenSince);
    QFETCH(bool, fullDisk);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("live.csv");
    if (existedAtRecord)
        QCOMPARE(writeWholeFile(path, "earlier run\n"), QString());
    LiveLog log;
    QCOMPARE(log.startRecording(path), QString());
    for (int i = 0; i < 200; ++i)
        log.frameDecoded(Incoming::Telemetry, telemetry(50));
    if (writtenSince)
        QCOMPARE(writeWholeFile(path, "the other instance's\n"), QString());
    const LiveLog::Finished finished = log.finishRecording();
    QCOMPARE(finished.frames, 200);
#ifdef Q_OS_UNIX
    ignoreFileSizeSignal();
    const rlimit limit{fullDisk ? rlim_t(1000) : RLIM_INFINITY, RLIM_INFINITY};
    const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
#else
    if (fullDisk)
        QSKIP("a Unix size limit stands in for the full disk");
#endif
    bool taken = false;
    QCOMPARE(writeRecording(finished, &taken), reason);
#ifdef Q_OS_UNIX
    setrlimit(RLIMIT_FSIZE, &unlimited);
#endif
    QCOMPARE(taken, writtenSince);
    // One file, and nothing half-written beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    const auto content = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QCOMPARE(content(), writtenSince ? QByteArray("the other instance's\n")
                        : fullDisk   ? QByteArray("earlier run\n")
                                     : finished.csv);
    if (fullDisk) { // with room, the same recording is there whole
        QCOMPARE(writeRecording(finished), QString());
        QCOMPARE(content(), finished.csv);
    }
}

QTEST_GUILESS_MAIN(TestLiveRecord)
#include "tst_liverecord.moc"
