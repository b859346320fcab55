// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// LIVE as the pilot meets it: opened, fed from a pseudo-terminal, its
// recording kept or discarded; a sag below the RX alarm; placed on screen.
#include "app/mainwindow.h"
#include "live/livegraph.h"
#include "live/livewindow.h"
#include "model/parameterset.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray telemetryFrame(int rxTenths)
{
    QByteArray f = hexBytes("FE 19 50 00 00 76 00 00 00 00 78 78 78 78 00 00 00 00 00 00");
    f[3] = char(rxTenths);
    return f;
}

// Answers every box with its first button listed, after `asked` while it waits.
void answerWith(
    MessageBoxCatcher &boxes, const QStringList &answers,
    const std::function<void()> &asked = [] {})
{
    boxes.respond = [answers, asked](QMessageBox *box) {
        asked();
        for (QAbstractButton *b : box->buttons())
            if (answers.contains(b->text()))
                return b->click();
        box->done(0);
    };
}

// The rows of columns x … x + width - 1 in the plot painted in RX's colour.
QList<int> rxRows(const QImage &image, const QRectF &area, int x, int width)
{
    const QRgb colour = liveColour(kLiveRx).rgb();
    QList<int> rows;
    for (int y = int(area.top()); y <= int(area.bottom()); ++y)
        for (int dx = 0; dx < width; ++dx)
            if (image.pixel(x + dx, y) == colour)
                rows.append(y);
    return rows;
}

} // namespace

class TestLiveWindow : public QObject
{
    Q_OBJECT
private slots:
    void init() { paramSet = kStartParameters; }
    void onTheLine();
    void sagBelowAlarm_data();
    void sagBelowAlarm();
    void opensOnTheScreen();
};

void TestLiveWindow::onTheLine()
{
    MainWindow window;
    window.show();
    PtyTransmitter tx;
    QVERIFY(tx.openIn(window));
    tx.setStreaming(false); // only the frames sent here, each one's answer its own
    auto *live = window.findChild<LiveWindow *>();
    auto *log = window.findChild<LiveLog *>();
    QVERIFY(live && log);

    // The readouts say what a click does; a click and Ctrl+L open LIVE.
    QLineEdit *rx = window.form()->lineEdit_RX;
    QVERIFY(rx->toolTip().contains("LIVE"));
    QCOMPARE(rx->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(rx, Qt::LeftButton);
    QTRY_VERIFY(live->isVisible());
    live->hide();
    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
    QTRY_VERIFY(live->isVisible());

    QTemporaryDir dir;
    const QString path = dir.filePath("bench.csv");
    QCOMPARE(log->startRecording(path), QString());
    for (int tenths : {50, 46, 52})
        QVERIFY(tx.sendFrame(telemetryFrame(tenths)));
    QVERIFY(tx.sendFrame(hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D")));
    const LiveColumn ch1 = log->ring().columns(kLiveCh1, log->now(), 1, 10000).back();
    QVERIFY(ch1.lo <= 1500 && ch1.hi >= 1500);

    // The alarm line goes where the pilot puts the alarm.
    for (double volts : {4.5, 5.1}) {
        window.form()->doubleSpinBox_rxVolt->setValue(volts);
        QCOMPARE(live->telemetryGraph()->alarmY(kLiveRx),
                 live->telemetryGraph()->yFor(kLiveRx, volts));
    }

    // CLOSE ends the recording and asks; kept, it is there whole, and the
    // line under LIVE no longer says it waits to be saved.
    MessageBoxCatcher boxes;
    auto *said = live->findChild<QLabel *>(QStringLiteral("liveRecordingText"));
    QString saidUnderBox;
    answerWith(boxes, {"Keep"}, [&] { saidUnderBox = said->toolTip(); });
    window.form()->openButton->click();
    QTRY_VERIFY(QFile::exists(path));
    QVERIFY2(saidUnderBox.contains("not saved yet"), qPrintable(saidUnderBox));
    QVERIFY(said->toolTip().contains("saved " + QDir::toNativeSeparators(path)));
    QVERIFY(!log->isRecording());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray csv = file.readAll();
    QCOMPARE(csv.count(",telemetry,"), 3);
    QVERIFY(csv.contains(",telemetry,,,,,,,,,,4.6,11.8,-20\n"));
    QVERIFY(csv.contains(",channels,1500,1000,1000,1000,1000,1000,1000,1000,8.45,,,\n"));

    // The line after the reopen starts anew: no stroke across the CLOSE.
    QVERIFY(tx.openIn(window));
    tx.setStreaming(false);
    QVERIFY(tx.sendFrame(telemetryFrame(50)));
    const auto cols = log->ring().columns(kLiveRx, log->now(), 6000, kLiveSlotMs);
    const auto last = std::find_if(cols.rbegin(), cols.rend(), [](auto &c) { return c.present; });
    QVERIFY(last != cols.rend() && last->startsLine);

    // Leaving while recording asks too: Cancel stays and goes on recording,
    // Discard leaves nothing behind.
    const QString second = dir.filePath("second.csv");
    QCOMPARE(log->startRecording(second), QString());
    for (const QString answer : {"Cancel", "Discard"}) {
        // While the box waits, the transmitter is heard and answered, and
        // its frames go on into the recording.
        bool heard = true;
        answerWith(boxes, {"Quit anyway", "Close anyway", answer}, [&] {
            const int frames = log->recordingFrames();
            heard = heard && (!log->isRecording() ||
                              (tx.sendFrame(telemetryFrame(47)) && log->recordingFrames() > frames));
        });
        QCOMPARE(window.close(), answer == "Discard");
        QCOMPARE(log->isRecording(), answer == "Cancel");
        QVERIFY(heard);
    }
    QVERIFY(!QFile::exists(second));
}

void TestLiveWindow::sagBelowAlarm_data()
{
    // One corrupt reading a minute back must not flatten the volts scale.
    QTest::addColumn<int>("glitchExt"); // 0: none
    QTest::addColumn<int>("glitchTx");
    QTest::newRow("one corrupt EXT frame") << 0xFFFF << 0;
    QTest::newRow("one corrupt TX channel frame") << 0 << 0xFFFF;
    QTest::newRow("one corrupt EXT frame, bit 9 (51.2 V)") << 0x200 << 0;
}

void TestLiveWindow::sagBelowAlarm()
{
    QFETCH(int, glitchExt);
    QFETCH(int, glitchTx);
    paramSet.rxAlarmVolt = 4.6;
    LiveLog log;
    LiveGraph graph(log, LiveGraph::Telemetry);
    graph.resize(700, 300);
    const qint64 now = log.now();
    LiveStatus s{};
    for (qint64 ms = now - 60000; ms <= now; ms += 40) {
        const bool glitch = ms == now - 55000; // with readings before it
        s.rxVoltage = ms >= now - 30000 && ms < now - 29500 ? 40 : 50;
        s.extVoltage = glitch && glitchExt ? glitchExt : 118;
        s.txVoltage = glitch ? glitchTx : 0;
        log.addAt(ms, Incoming::Telemetry, s);
        if (s.txVoltage)
            log.addAt(ms, Incoming::Channels, s);
    }
    const QImage image = graph.grab().toImage();
    const QRectF area = graph.plotArea();
    const auto xAgo = [&](double s) { return int(area.right() - s / 600 * area.width()); };
    // The volts scale is what lasted (EXT at 11.8 V): 20 V lies above it.
    QVERIFY(graph.yFor(kLiveRx, 20.0) < area.top());

    // Minutes back nothing was measured: the only RX pixels are the alarm's.
    const QList<int> back = rxRows(image, area, int(area.center().x()), 8);
    const int alarmRow = back.value(0, -1);
    QVERIFY(alarmRow >= 0 && back.count(alarmRow) == back.size());
    const QList<int> sag = rxRows(image, area, xAgo(29.75) - 2, 5);
    QList<int> steady = rxRows(image, area, xAgo(50) - 2, 5);
    steady.removeAll(alarmRow);
    QVERIFY(!steady.isEmpty() && *std::max_element(steady.begin(), steady.end()) < alarmRow);
    QVERIFY(std::any_of(sag.begin(), sag.end(), [&](int y) { return y > alarmRow + 3; }));
}

// Beside a main window that leaves less room than LIVE's narrowest, LIVE
// stays on the screen (or starts at its left edge when wider); so does a
// place remembered on a monitor that is gone (main width 0), and LIVE moved
// off the screen and closed, then opened again (main width -1).
void TestLiveWindow::opensOnTheScreen()
{
    for (const int mainWidth : {100, 700, 0, -1}) {
        QSettings().remove(QStringLiteral("live/geometry"));
        if (mainWidth == 0) {
            QWidget gone;
            gone.setGeometry(4000, 3000, 1200, 900);
            QSettings().setValue(QStringLiteral("live/geometry"), gone.saveGeometry());
        }
        LiveLog log; // outlives LIVE, which the main window deletes
        QWidget main;
        main.setGeometry(0, 0, std::max(mainWidth, 100), 300);
        main.show();
        auto *live = new LiveWindow(log, &main);
        live->open();
        QVERIFY(QTest::qWaitForWindowExposed(live));
        if (mainWidth < 0) {
            live->move(4000, 3000);
            live->close();
            live->open();
            QVERIFY(QTest::qWaitForWindowExposed(live));
        }
        const QRect screen = main.screen()->availableGeometry(), at = live->frameGeometry();
        QVERIFY2((at.right() <= screen.right() || at.left() == screen.left()) &&
                     (at.bottom() <= screen.bottom() ||
                      live->minimumSizeHint().height() > screen.height()),
                 qPrintable(QStringLiteral("main window %1 wide").arg(mainWidth)));
    }
    QSettings().remove(QStringLiteral("live/geometry"));
}

QTEST_MAIN(TestLiveWindow)
#include "tst_livewindow.moc"
