// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// LIVE as the pilot meets it: opened from a readout or Ctrl+L, fed by the
// transmitter on a pseudo-terminal, its alarm lines following the editor,
// a gap where the port was closed, and the recording kept when the port
// closes under it. And the picture itself: a sag below the RX alarm is
// drawn below its dashed line.
#include "app/mainwindow.h"
#include "live/livegraph.h"
#include "live/livelog.h"
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

// Answers every message box with the first of its buttons whose text is
// listed in `answers`.
void answerWith(MessageBoxCatcher &boxes, const QStringList &answers)
{
    boxes.respond = [answers](QMessageBox *box) {
        for (QAbstractButton *b : box->buttons()) {
            if (answers.contains(b->text()))
                return b->click();
        }
        box->done(0);
    };
}

// The rows of column x, inside the plot, painted in exactly this colour.
QList<int> rowsIn(const QImage &image, int x, const QRectF &area, QRgb colour)
{
    QList<int> rows;
    for (int y = int(area.top()); y <= int(area.bottom()); ++y) {
        if (image.pixel(x, y) == colour)
            rows.append(y);
    }
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
    // Only the frames sent here: each one's answer is then its own.
    tx.setStreaming(false);
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
    qint32 v = 0;
    QVERIFY(log->ring().latest(kLiveRx, v));
    QCOMPARE(v, 52);
    QVERIFY(log->ring().minimum(kLiveRx, log->now(), v));
    QCOMPARE(v, 46);
    const LiveColumn ch1 = log->ring().columns(kLiveCh1, log->now(), 1, 10000).back();
    QVERIFY(ch1.lo <= 1500 && ch1.hi >= 1500);

    // The alarm line goes where the pilot puts the alarm.
    LiveGraph *graph = live->telemetryGraph();
    window.form()->doubleSpinBox_rxVolt->setValue(4.5);
    const double before = graph->alarmY(kLiveRx);
    window.form()->doubleSpinBox_rxVolt->setValue(5.1);
    QVERIFY(graph->alarmY(kLiveRx) < before);
    QCOMPARE(graph->alarmY(kLiveRx), graph->yFor(kLiveRx, 5.1));

    // CLOSE ends the recording and asks; kept, it is there whole.
    // The line under the box no longer says it records.
    MessageBoxCatcher boxes;
    auto *said = live->findChild<QLabel *>(QStringLiteral("liveRecordingText"));
    QString saidUnderBox;
    answerWith(boxes, {QStringLiteral("Keep")});
    // Wrapped, not reassigned from inside: a std::function must not replace
    // itself while it runs.
    boxes.respond = [&said, &saidUnderBox, keep = boxes.respond](QMessageBox *box) {
        saidUnderBox = said->toolTip();
        keep(box);
    };
    window.form()->openButton->click();
    QTRY_VERIFY(QFile::exists(path));
    QVERIFY2(saidUnderBox.contains("not saved yet"), qPrintable(saidUnderBox));
    QVERIFY(said->toolTip().contains("saved " + QDir::toNativeSeparators(path)));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Every frame from the start on: the three telemetry frames in order,
    // and the channel frame (with whatever else the transmitter streamed).
    const QByteArray csv = file.readAll();
    QCOMPARE(csv.count(",telemetry,"), 3);
    QVERIFY(csv.contains(",telemetry,,,,,,,,,,4.6,11.8,-20\n"));
    QVERIFY(csv.contains(",channels,1500,1000,1000,1000,1000,1000,1000,1000,8.45,,,\n"));
    QVERIFY(!log->isRecording());

    // The line after the reopen starts anew: no stroke across the CLOSE.
    QVERIFY(tx.openIn(window));
    tx.setStreaming(false);
    QVERIFY(tx.sendFrame(telemetryFrame(50)));
    const auto cols = log->ring().columns(kLiveRx, log->now(), 6000, kLiveSlotMs);
    const auto last = std::find_if(cols.rbegin(), cols.rend(), [](auto &c) { return c.present; });
    QVERIFY(last != cols.rend());
    QVERIFY(last->startsLine);

    // Leaving while recording asks too: Cancel stays and goes on recording,
    // Discard leaves nothing behind.
    const QString second = dir.filePath("second.csv");
    QCOMPARE(log->startRecording(second), QString());
    const QStringList leave = {"Quit anyway", "Close anyway"};
    answerWith(boxes, leave + QStringList{"Cancel"});
    QVERIFY(!window.close());
    QVERIFY(log->isRecording());
    answerWith(boxes, leave + QStringList{"Discard"});
    QVERIFY(window.close());
    QVERIFY(!log->isRecording());
    QVERIFY(!QFile::exists(second));
}

void TestLiveWindow::sagBelowAlarm_data()
{
    // One corrupt EXT reading a minute back (0: none) must not flatten the
    // volts scale for the next ten minutes.
    QTest::addColumn<int>("glitchExt");
    QTest::addColumn<int>("glitchTx");
    QTest::newRow("clean line") << 0 << 0;
    QTest::newRow("one corrupt EXT frame") << 0xFFFF << 0;
    QTest::newRow("one corrupt TX channel frame") << 0 << 0xFFFF;
    QTest::newRow("one corrupt EXT frame inside the band (60.0 V)") << 600 << 0;
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
    s.extVoltage = 118;
    s.rssi = 80;
    for (qint64 ms = now - 60000; ms <= now; ms += 40) {
        s.rxVoltage = ms >= now - 30000 && ms < now - 29500 ? 40 : 50;
        s.extVoltage = glitchExt && ms == now - 59960 ? glitchExt : 118;
        log.addAt(ms, Incoming::Telemetry, s);
        if (glitchTx && ms == now - 59960) {
            s.txVoltage = glitchTx;
            log.addAt(ms, Incoming::Channels, s);
        }
    }
    const QImage image = graph.grab().toImage();
    const QRectF area = graph.plotArea();
    const QRgb rxColour = liveColour(kLiveRx).rgb();
    const auto xAgo = [&](double seconds) {
        return int(area.right() - seconds / 600 * area.width());
    };

    // Minutes back nothing was measured: the only RX pixels are the alarm's.
    QList<int> alarmRows;
    for (int x = int(area.center().x()); x < area.center().x() + 8; ++x)
        alarmRows += rowsIn(image, x, area, rxColour);
    QVERIFY(!alarmRows.isEmpty());
    const int alarmRow = *std::min_element(alarmRows.begin(), alarmRows.end());
    QCOMPARE(*std::max_element(alarmRows.begin(), alarmRows.end()), alarmRow);

    QList<int> sag, steady;
    for (int dx = -2; dx <= 2; ++dx) {
        sag += rowsIn(image, xAgo(29.75) + dx, area, rxColour);
        steady += rowsIn(image, xAgo(50) + dx, area, rxColour);
    }
    steady.removeAll(alarmRow);
    QVERIFY(!steady.isEmpty());
    QVERIFY(*std::max_element(steady.begin(), steady.end()) < alarmRow);
    QVERIFY(*std::max_element(sag.begin(), sag.end()) > alarmRow + 3);
}

// Placed beside a main window that leaves less room than LIVE's narrowest,
// LIVE stays on the screen (or starts at its left edge when wider); so does
// a place remembered on a monitor that is gone (main width 0).
void TestLiveWindow::opensOnTheScreen()
{
    for (const int mainWidth : {100, 700, 0}) {
        QSettings().remove(QStringLiteral("live/geometry"));
        if (mainWidth == 0) {
            QWidget gone;
            gone.setGeometry(4000, 3000, 1200, 900);
            QSettings().setValue(QStringLiteral("live/geometry"), gone.saveGeometry());
        }
        QWidget main;
        main.setGeometry(0, 0, std::max(mainWidth, 100), 300);
        main.show();
        LiveLog log;
        auto *live = new LiveWindow(log, &main);
        live->open();
        QVERIFY(QTest::qWaitForWindowExposed(live));
        const QRect screen = main.screen()->availableGeometry();
        const QRect at = live->frameGeometry();
        QVERIFY2(at.right() <= screen.right() || at.left() == screen.left(),
                 qPrintable(QStringLiteral("main %1 wide: LIVE at %2..%3, screen to %4")
                                .arg(mainWidth)
                                .arg(at.left())
                                .arg(at.right())
                                .arg(screen.right())));
        QVERIFY2(at.bottom() <= screen.bottom() ||
                     live->minimumSizeHint().height() > screen.height(),
                 qPrintable(QStringLiteral("LIVE to %1 (at least %2 high), screen to %3")
                                .arg(at.bottom())
                                .arg(live->minimumSizeHint().height())
                                .arg(screen.bottom())));
        delete live;
    }
    QSettings().remove(QStringLiteral("live/geometry"));
}

QTEST_MAIN(TestLiveWindow)
#include "tst_livewindow.moc"
