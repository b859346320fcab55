// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// What LIVE costs. The parts, one QBENCHMARK each (add -callgrind for
// instruction counts): a frame into the ring, the same while recording, one
// repaint of the shown window with ten full minutes in the ring, and a
// frame of each kind into a recording's journal (its bytes on disk). Then the whole tool on a
// pseudo-terminal, the transmitter streaming channel and telemetry frames
// at 50 Hz each, with LIVE closed and then open: the CPU time of the
// process, printed (never asserted).
//
//   bench_live [QtTest options] [seconds per streaming run, default 20]
#include "app/mainwindow.h"
#include "live/livegraph.h"
#include "live/livelog.h"
#include "live/livewindow.h"
#include "support/benchtools.h"
#include "support/ptytransmitter.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstdio>

namespace {

int streamSeconds = 20;

LiveStatus sampleAt(qint64 ms)
{
    LiveStatus s{};
    for (int ch = 0; ch < 8; ++ch)
        s.channelOutput[ch] = 1000 + int(400 * std::sin(ms / (700.0 + 90 * ch)));
    s.txVoltage = 810 + int(ms / 1000 % 7);
    s.rxVoltage = 50 - int(ms / 333 % 5);
    s.extVoltage = 118;
    s.rssi = 78 + int(ms / 250 % 9);
    return s;
}

// Ten minutes at 50 Hz each kind, ending now.
void fillTenMinutes(LiveLog &log)
{
    const qint64 now = log.now();
    for (qint64 ms = now - 600000; ms <= now; ms += 10)
        log.addAt(ms, (ms / 10) % 2 ? Incoming::Telemetry : Incoming::Channels, sampleAt(ms));
}

} // namespace

class BenchLive : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qInstallMessageHandler(dropDebug); }
    void frameIntoRing_data();
    void frameIntoRing();
    void repaintShownWindow();
    void recordingPerFrame_data();
    void recordingPerFrame();
    void streaming();
};

void BenchLive::frameIntoRing_data()
{
    QTest::addColumn<bool>("recording");
    QTest::newRow("ring only") << false;
    QTest::newRow("ring and recording") << true;
}

void BenchLive::frameIntoRing()
{
    QFETCH(bool, recording);
    QTemporaryDir dir;
    LiveLog log;
    if (recording)
        QCOMPARE(log.startRecording(dir.filePath("r.csv")), QString());
    const LiveStatus s = sampleAt(1234);
    int i = 0;
    QBENCHMARK
    {
        log.frameDecoded(++i % 2 ? Incoming::Telemetry : Incoming::Channels, s);
    }
}

void BenchLive::repaintShownWindow()
{
    LiveLog log;
    fillTenMinutes(log);
    QWidget main;
    LiveWindow window(log, &main);
    window.resize(960, 620);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QBENCHMARK
    {
        window.telemetryGraph()->repaint();
        window.channelGraph()->repaint();
    }
}

void BenchLive::recordingPerFrame_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("channel frame") << int(Incoming::Channels);
    QTest::newRow("telemetry frame") << int(Incoming::Telemetry);
}

// One frame of each kind into the journal: the bytes it adds on disk, and
// its time, from which the CPU share at 50 Hz of that kind follows.
void BenchLive::recordingPerFrame()
{
    QFETCH(int, kind);
    QTemporaryDir dir;
    LiveRecording rec(dir.filePath("journal.csv"));
    QVERIFY(rec.start(QDateTime::currentDateTime()));
    qint64 ms = 0;
    QElapsedTimer clock;
    clock.start();
    QBENCHMARK
    {
        ms += 20;
        rec.add(ms, Incoming(kind), sampleAt(ms));
    }
    const double perFrameUs = clock.nsecsElapsed() / 1000.0 / qMax(1, rec.frames());
    const QFileInfo journal(rec.journalPath());
    std::printf("%s: %.1f bytes a frame on disk, %.1f us a frame (%.3f %% of one core at "
                "50 Hz)\n",
                kind == int(Incoming::Channels) ? "channels" : "telemetry",
                double(journal.size() - liveCsvHead(QDateTime::currentDateTime()).size()) /
                    qMax(1, rec.frames()),
                perFrameUs, perFrameUs * 50 / 1e4);
}

void BenchLive::streaming()
{
    MainWindow window;
    window.show();
    PtyTransmitter tx;
    QVERIFY(tx.openIn(window));
    auto *log = window.findChild<LiveLog *>();
    auto *live = window.findChild<LiveWindow *>();
    fillTenMinutes(*log); // the window then paints ten full minutes
    const QByteArray channels =
        hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D");
    const QByteArray telemetry =
        hexBytes("FE 19 2D 54 00 7E 00 00 00 00 EF FF EE 78 00 00 00 00 00 00");
    int sent = 0;
    QTimer stream;
    stream.setTimerType(Qt::PreciseTimer);
    connect(&stream, &QTimer::timeout, [&] {
        QByteArray frame = sent % 2 ? telemetry : channels;
        frame[sent % 2 ? 3 : 2] = char(40 + (sent / 2) % 20);
        tx.write(frame);
        ++sent;
    });
    stream.start(10);
    const auto run = [&](const char *what) {
        QTest::qWait(500);
        const double before = cpuSeconds();
        const int sentBefore = sent;
        QElapsedTimer wall;
        wall.start();
        QTest::qWait(streamSeconds * 1000);
        const double used = cpuSeconds() - before;
        std::printf("%s: %d frames in %.1f s, CPU %.3f s = %.2f %% of one core\n", what,
                    sent - sentBefore, wall.elapsed() / 1000.0, used,
                    100.0 * used / (wall.elapsed() / 1000.0));
        return 100.0 * used / (wall.elapsed() / 1000.0);
    };
    const double closed = run("LIVE closed");
    live->open();
    QVERIFY(QTest::qWaitForWindowExposed(live));
    const double open = run("LIVE open");
    std::printf("LIVE open costs %.2f %% of one core more\n", open - closed);
    stream.stop();
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A number at the end is the streaming runs' length; the rest goes to
    // QtTest.
    QStringList args = app.arguments();
    if (args.size() >= 2 && args.last().toInt() > 0)
        streamSeconds = args.takeLast().toInt();
    BenchLive bench;
    return QTest::qExec(&bench, args);
}

#include "bench_live.moc"
