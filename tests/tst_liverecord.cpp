// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The ring LIVE draws from (its gaps, its ten minutes) and the CSV a
// recording keeps, written whole or not at all.
#include "app/mainwindow.h"
#include "app/startup.h"
#include "files/filewriter.h"
#include "keep/instancekeep.h"
#include "live/livelog.h"
#include "settings/catalogue.h"
#include "support/messageboxcatcher.h"
#include "ui/mainform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <csignal>
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
    void init();
    void killedAndStartedAgain_data();
    void killedAndStartedAgain();
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
    QTemporaryDir dir;
    LiveRecording rec(dir.filePath("journal.csv"));
    const QDateTime started(QDate(2026, 12, 7), QTime(14, 5, 9, 250), Qt::OffsetFromUTC, 3600);
    QVERIFY(rec.start(started));
    LiveStatus ch{};
    for (int i = 0; i < 8; ++i)
        ch.channelOutput[i] = 1000 + 100 * i;
    ch.txVoltage = 805;
    QVERIFY(rec.add(0, Incoming::Channels, ch));
    QVERIFY(!rec.add(5, Incoming::Parameters, ch));
    QVERIFY(rec.add(20, Incoming::Telemetry, telemetry(49, 0)));
    QVERIFY(rec.add(3601000, Incoming::Telemetry, telemetry(126, 45)));
    // Each frame is in the journal as soon as it is added: nothing waits
    // in memory for a kill to lose.
    QFile journal(rec.journalPath());
    QVERIFY(journal.open(QIODevice::ReadOnly));
    QCOMPARE(journal.readAll(),
             QByteArray("started,2026-12-07T14:05:09.250+01:00\n"
                        "time (ms),frame,CH1 (1000 = centre),CH2 (1000 = centre),"
                        "CH3 (1000 = centre),CH4 (1000 = centre),"
                        "CH5 (1000 = centre),CH6 (1000 = centre),"
                        "CH7 (1000 = centre),CH8 (1000 = centre),"
                        "TX (V),RX (V),EXT (V),RSSI (dBm)\n"
                        "0,channels,1000,1100,1200,1300,1400,1500,1600,1700,8.05,,,\n"
                        "20,telemetry,,,,,,,,,,4.9,11.8,\n"
                        "3601000,telemetry,,,,,,,,,,12.6,11.8,-55\n"));
    const LiveJournalSummary summary = summarizeLiveJournal(rec.journalPath());
    QCOMPARE(summary.startedAt, started);
    QCOMPARE(summary.frames, 3);
    QCOMPARE(summary.lastMs, 3601000);
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
    QCOMPARE(log.startRecording(path, dir.filePath("journal/r.csv")), QString());
    for (int i = 0; i < 200; ++i)
        log.frameDecoded(Incoming::Telemetry, telemetry(50));
    if (writtenSince)
        QCOMPARE(writeWholeFile(path, "the other instance's\n"), QString());
    const LiveLog::Finished finished = log.finishRecording();
    QCOMPARE(finished.frames, 200);
    QFile journal(finished.journal);
    QVERIFY(journal.open(QIODevice::ReadOnly));
    const QByteArray csv = journal.readAll();
    journal.close();
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
                                     : csv);
    // The journal goes once the file has its name, and only then.
    QCOMPARE(QFile::exists(finished.journal), !reason.isEmpty());
    if (fullDisk) { // with room, the same recording is there whole
        QCOMPARE(writeRecording(finished), QString());
        QCOMPARE(content(), csv);
    }
}

void TestLiveRecord::init()
{
    // What an earlier run left is not this test's to offer.
    QDir(keepFolder()).removeRecursively();
}

void TestLiveRecord::killedAndStartedAgain_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("offered");
#ifdef Q_OS_UNIX
    QTest::newRow("recording, kill -9") << "recording" << int(SIGKILL) << true;
    // Killed after Stop gave the file its name, before the journal went.
    QTest::newRow("recording named, kill -9") << "named" << int(SIGKILL) << false;
    QTest::newRow("recording, SIGTERM: under its name") << "recording" << int(SIGTERM) << false;
    QTest::newRow("recording, disk full, then kill -9") << "full" << int(SIGKILL) << true;
    // SIGTERM while the box waits, and the name cannot be written: the
    // tool still ends, and the journal waits for the next start.
    QTest::newRow("disk full, target's folder gone, SIGTERM") << "fullgone" << int(SIGTERM) << true;
    QTest::newRow("unwritten edits, kill -9") << "edits" << int(SIGKILL) << true;
    QTest::newRow("unwritten edits, SIGTERM") << "edits" << int(SIGTERM) << true;
#endif
}

void TestLiveRecord::killedAndStartedAgain()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, mode);
    QFETCH(int, signal);
    QFETCH(bool, offered);
    QTemporaryDir dir;
    // A folder that can go while the tool runs, as a memory stick does.
    const QString target = dir.filePath("stick/r6.csv");
    QVERIFY(QDir(dir.path()).mkpath("stick"));
    QProcess child;
    const auto stopChild = qScopeGuard([&child] {
        child.kill();
        child.waitForFinished(30000);
    });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VEGALYRA_KEEP_CHILD", mode == "named" ? QString("recording") : mode);
    env.insert("VEGALYRA_KEEP_TARGET", target);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    // Each line the child prints follows what it has done: "frames N" once
    // N frames are in the journal.
    int framesHanded = 0;
    bool ready = false;
    QVERIFY(QTest::qWaitFor(
        [&] {
            while (child.canReadLine()) {
                const QByteArray line = child.readLine().trimmed();
                if (line.startsWith("frames "))
                    framesHanded = line.mid(7).toInt();
                ready = ready || line == "ready";
            }
            return ready && ((mode != "recording" && mode != "named") || framesHanded >= 120);
        },
        30000));
    // What a running instance holds is never offered.
    QVERIFY(leftByEndedInstances().empty());
    QElapsedTimer ending;
    ending.start();
    ::kill(pid_t(child.processId()), signal);
    QVERIFY(child.waitForFinished(30000));
    if (signal == SIGTERM)
        qInfo("ended %lld ms after SIGTERM", ending.elapsed());
    QVERIFY(QDir(dir.path()).mkpath("stick")); // back for the next start
    if (mode == "named") {
        const std::vector<LeftBehind> left = leftByEndedInstances();
        QCOMPARE(int(left.size()), 1);
        QVERIFY(QFile::copy(leftRecordingAt(left[0].path("recording.csv")).journal, target));
    }

    // The next start offers what it left, answered as a pilot would.
    MessageBoxCatcher boxes;
    boxes.respond = [](QMessageBox *box) {
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == "Keep" || button->text() == "Restore into the editor")
                button->click();
        }
    };
    const ParameterSet before = paramSet;
    MainWindow window;
    window.show();
    auto *sub1 = window.findChild<QSpinBox *>("spinBox_sub1");
    const int started = sub1->value();
    window.offerWhatWasLeft();
    QCOMPARE(boxes.texts.size(), offered ? 1 : 0);
    if (mode == "edits") {
        QVERIFY(boxes.texts.value(0).startsWith(
            "Edits not written to the transmitter when the tool stopped on "));
        QTRY_COMPARE(sub1->value(), started + 7);
        QTRY_COMPARE(window.form()->statusChanges->text(), QString("Changed — not yet written"));
        // One undo gives back the editor as it started.
        QCOMPARE(window.editorSteps()->count(), 1);
        // The kept record came back whole: only the pilot's edit differs.
        QCOMPARE(int(compareSettings(before, paramSet).size()), 1);
        window.form()->pushButton_Undo->click();
        QTRY_COMPARE(sub1->value(), started);
    } else {
        if (offered)
            QVERIFY2(boxes.texts.value(0).contains(target), qPrintable(boxes.texts.value(0)));
        // Every frame handed to the journal before the end is in the file.
        const LiveJournalSummary kept = summarizeLiveJournal(target);
        QVERIFY(kept.valid);
        QVERIFY2(kept.frames >= (mode.startsWith("full") ? 1 : framesHanded),
                 qPrintable(QString("%1 of %2").arg(kept.frames).arg(framesHanded)));
    }
    // Nothing is offered twice.
    QVERIFY(leftByEndedInstances().empty());
    paramSet = before;
#endif
}

namespace {

// The child tool the test kills: a window that records, or holds an
// unwritten edit, and says how far it got.
int runChild(const QString &mode)
{
    MainWindow window;
    window.show();
    const auto say = [](const QByteArray &line) {
        std::fputs(line.constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
    QTimer tick;
    int frames = 0;
    if (mode == "edits") {
        // The pilot's edit, once the first refresh has shown the editor.
        auto *sub1 = window.findChild<QSpinBox *>("spinBox_sub1");
        QTimer::singleShot(500, sub1, [sub1] { sub1->setValue(sub1->value() + 7); });
        QObject::connect(&tick, &QTimer::timeout, [&] {
            if (QFile::exists(ownKeepPath("edits")))
                say("ready");
        });
    } else {
        auto *log = window.findChild<LiveLog *>();
        if (!log->startRecording(qEnvironmentVariable("VEGALYRA_KEEP_TARGET")).isEmpty())
            return 2;
#ifdef Q_OS_UNIX
        if (mode.startsWith("full")) {
            ignoreFileSizeSignal();
            const rlimit limit{rlim_t(6000), RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            QObject::connect(log, &LiveLog::recordingFull, [&] {
                if (mode == "fullgone")
                    QFileInfo(qEnvironmentVariable("VEGALYRA_KEEP_TARGET"))
                        .dir()
                        .removeRecursively();
                say("ready");
            });
        }
#endif
        // The pointer by value: the timer outlives this block.
        QObject::connect(&tick, &QTimer::timeout, [&, log] {
            if (!log->isRecording())
                return;
            LiveStatus live = telemetry(50 + frames % 20);
            live.channelOutput[0] = frames;
            log->frameDecoded(frames % 2 ? Incoming::Telemetry : Incoming::Channels, live);
            say("frames " + QByteArray::number(log->recordingFrames()));
            if (mode == "recording" && ++frames == 60)
                say("ready");
            frames += mode != "recording";
        });
    }
    tick.start(10);
    return qApp->exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString child = qEnvironmentVariable("VEGALYRA_KEEP_CHILD");
    if (!child.isEmpty())
        return runChild(child);
    TestLiveRecord test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_liverecord.moc"
