// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// READ, WRITE, RESET and DATA RESET end to end: the window's buttons, the
// real serial port class and a transmitter on a pseudo-terminal.
#include "app/mainwindow.h"
#include "link/framedecoder.h"
#include "link/frames.h"
#include "model/parameterset.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// The whole 81-character frame the tool sends for this record.
QByteArray wireFrame(const FrameLayout &layout, const ParameterSet &p)
{
    return (encodeFrame(layout, p) + layout.buffer->mid(layout.builtLength)).toLatin1();
}

// The four frames of a WRITE, with the alarm tenths taken from the volts
// as the frame builders do.
QByteArray wireFrames(ParameterSet p)
{
    p.txAlarmTenths = alarmTenths(p.txAlarmVolt);
    p.rxAlarmTenths = alarmTenths(p.rxAlarmVolt);
    p.extAlarmTenths = alarmTenths(p.extAlarmVolt);
    return wireFrame(kFrameLayoutS, p) + wireFrame(kFrameLayoutG, p) + wireFrame(kFrameLayoutH, p) +
           wireFrame(kFrameLayoutI, p);
}

ParameterSet factorySettings()
{
    ParameterSet p = paramSet;
    restFactoryA(p);
    restFactoryB(p);
    return p;
}

// Telemetry with the four trims at 80 (shown as "(-40)").
QByteArray telemetryWithTrims()
{
    return hexBytes("FE 19 40 50 00 6E 00 00 00 00 50 50 50 50 00 00 00 00 00 00");
}

// Records when each byte arrived on the transmitter's side, and the
// longest the event loop was held up between two looks (a busy machine):
// by that much a pause can end late, and an arrival be seen late.
struct WireClock {
    QElapsedTimer clock;
    std::vector<qint64> arrival; // arrival[i]: ms at which byte i was seen
    qint64 lastLook = 0;
    qint64 longestStall = 0;
    QTimer poll;
    WireClock(PtyTransmitter &tx)
    {
        clock.start();
        poll.setInterval(2);
        QObject::connect(&poll, &QTimer::timeout, [this, &tx] {
            const qint64 now = clock.elapsed();
            longestStall = std::max(longestStall, now - lastLook);
            lastLook = now;
            while (arrival.size() < size_t(tx.received().size()))
                arrival.push_back(now);
        });
        poll.start();
    }
};

// Telemetry with moved trims every 250 ms, noting the first trim readout
// as it stood each time.
struct TelemetryStream {
    QTimer timer;
    int sent = 0;
    QStringList trimsShown;
    TelemetryStream(PtyTransmitter &tx, QLineEdit *trimReadout)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, &tx, trimReadout] {
            tx.write(telemetryWithTrims());
            ++sent;
            trimsShown << trimReadout->text();
        });
        timer.start(250);
    }
    void stop() { timer.stop(); }
};

const QString kUnfinishedNote =
    QStringLiteral("The transmitter did not receive all settings! Please WRITE again.");

// Runs `action` after `ms` of the event loop, even inside a nested wait.
// Lives for one test function: a timer still pending when the test ends
// (a failure returned early, a timer fired late) dies with it instead of
// running on the test's dead locals.
QObject *testScope = nullptr;

void after(int ms, std::function<void()> action)
{
    QTimer::singleShot(ms, Qt::PreciseTimer, testScope, std::move(action));
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void closedPortRefusesEveryCommand_data();
    void closedPortRefusesEveryCommand();
    void readAsksAndTakesInTheAnswer();
    void writeSendsTheRecordFrameByFrame();
    void resetSendsFactoryValuesWithTrimsHeld();
    void dataResetLetsTrimsFollowUntilCentred();
    void secondWriteNestsInsideTheFirst();
    void portLostDuringWrite_data();
    void portLostDuringWrite();
    void nothingReachesAnotherConnection_data();
    void nothingReachesAnotherConnection();
    void closingWindowMidTransfer_data();
    void closingWindowMidTransfer();

private:
    MainWindow *window = nullptr;
    PtyTransmitter *tx = nullptr;
    MainForm *ui() { return window->form(); }
    QAbstractButton *button(const char *name) { return window->findChild<QAbstractButton *>(name); }
    void openPort();
};

void TestCommands::init()
{
    testScope = new QObject;
    paramSet = kStartParameters;
    suspendTrimUpdate = false;
    window = new MainWindow;
    tx = new PtyTransmitter;
    QVERIFY(tx->isValid());
}

void TestCommands::cleanup()
{
    delete testScope;
    testScope = nullptr;
    delete window;
    delete tx;
    window = nullptr;
    tx = nullptr;
}

void TestCommands::openPort()
{
    QVERIFY(tx->openIn(*window));
    QVERIFY(tx->waitForReceived(2));
    QCOMPARE(tx->takeReceived(), QByteArray("OK"));
}

void TestCommands::closedPortRefusesEveryCommand_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::newRow("READ") << "toolButton_Read";
    QTest::newRow("WRITE") << "toolButton_Send";
    QTest::newRow("RESET") << "toolButton_Reset";
    QTest::newRow("DATA RESET") << "pushButton_Reset2";
}

void TestCommands::closedPortRefusesEveryCommand()
{
    QFETCH(QString, buttonName);
    auto *b = window->findChild<QAbstractButton *>(buttonName);
    QVERIFY(b);
    paramSet.subTrim[0] = 42;
    const ParameterSet before = paramSet;
    MessageBoxCatcher boxes;
    bool disabledDuringLock = false;
    after(100, [&] { disabledDuringLock = !b->isEnabled(); });
    QElapsedTimer clock;
    clock.start();
    b->click();

    QVERIFY(disabledDuringLock);
    QVERIFY(b->isEnabled());
    QVERIFY(clock.elapsed() >= 190);
    QCOMPARE(boxes.titles, QStringList{"Note"});
    QCOMPARE(boxes.texts, QStringList{"Please open the serial port!"});
    QVERIFY(paramSet == before);
    QVERIFY(!suspendTrimUpdate);
    QVERIFY(tx->received().isEmpty());
}

void TestCommands::readAsksAndTakesInTheAnswer()
{
    openPort();
    // A sub-trim frame from the transmitter while READ waits for answers.
    after(400, [this] { tx->write(hexBytes("FE 00 55 64 78 8C 00 80 78 78 78 FE")); });
    button("toolButton_Read")->click();

    QCOMPARE(tx->received(), QByteArray("RRWWW"));
    QCOMPARE(paramSet.subTrim[0], -20);
    QCOMPARE(paramSet.subTrim[2], 20);
    QCOMPARE(ui()->spinBox_sub[0]->value(), -20);
    QCOMPARE(ui()->spinBox_sub[4]->value(), 8);
}

void TestCommands::writeSendsTheRecordFrameByFrame()
{
    paramSet.subTrim[1] = -37;
    paramSet.progMix[1].offset = 55;
    paramSet.rxAlarmVolt = 7.3;
    openPort();
    const QByteArray expected = wireFrames(paramSet) + "WWW";
    WireClock wire(*tx);
    button("toolButton_Send")->click();

    QVERIFY(tx->waitForReceived(expected.size()));
    QCOMPARE(tx->received(), expected);
    QTRY_VERIFY(wire.arrival.size() >= size_t(expected.size()));
    // Each frame waits about 800 ms before the next one goes out; a
    // loop held up late can only lengthen the gap, and by no more than that.
    for (int k = 1; k <= 4; ++k) {
        const qint64 gap =
            wire.arrival[size_t(k * kFrameLength)] - wire.arrival[size_t((k - 1) * kFrameLength)];
        QVERIFY2(gap >= 760 && gap < 1500 + 2 * wire.longestStall,
                 qPrintable(QStringLiteral("%1 (held up %2)").arg(gap).arg(wire.longestStall)));
    }
}

void TestCommands::resetSendsFactoryValuesWithTrimsHeld()
{
    paramSet.subTrim[0] = 60;
    paramSet.elevon[2] = -5;
    paramSet.throttleCurve[3] = 10;
    paramSet.txAlarmVolt = 9.0;
    openPort();
    const QByteArray expected = wireFrames(factorySettings());
    QVERIFY(expected.mid(77, 2) == "35"); // the 3.7 V transmitter alarm

    TelemetryStream telemetry(*tx, ui()->lineEdit_Trim[0]);
    after(3300, [&] { telemetry.stop(); });
    button("toolButton_Reset")->click();
    telemetry.stop();
    QTRY_COMPARE(tx->answerCount(), telemetry.sent + 1);

    QCOMPARE(QByteArray(tx->received()).replace("WWW", ""), expected);
    QVERIFY(tx->received().endsWith("WWW"));
    // Timers fire in the order they are due, however late: at least one
    // frame of telemetry in each of the four frames' pauses.
    QVERIFY(telemetry.sent >= 4);
    QCOMPARE(telemetry.trimsShown.filter("(0)").size(), telemetry.trimsShown.size());
    QCOMPARE(paramSet.subTrim[0], 0);
    QTRY_COMPARE(ui()->spinBox_sub[0]->value(), 0);
    QCOMPARE(ui()->spinBox_THCURE_Data[3]->value(), 50);
    QVERIFY(!suspendTrimUpdate);
}

void TestCommands::dataResetLetsTrimsFollowUntilCentred()
{
    paramSet.subTrim[0] = 60;
    openPort();
    const QByteArray expected = wireFrames(factorySettings());

    TelemetryStream telemetry(*tx, ui()->lineEdit_Trim[0]);
    after(2300, [&] { telemetry.stop(); }); // before the reset centres the trims
    button("pushButton_Reset2")->click();
    telemetry.stop();
    QTRY_COMPARE(tx->answerCount(), telemetry.sent + 1);

    QCOMPARE(QByteArray(tx->received()).replace("WWW", ""), expected);
    QVERIFY(telemetry.trimsShown.contains("(-40)"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(paramSet.stickTrim[i], 120);
    QTRY_COMPARE(ui()->lineEdit_Trim[0]->text(), QString("(0)"));
}

void TestCommands::secondWriteNestsInsideTheFirst()
{
    openPort();
    const QByteArray frames = wireFrames(paramSet);
    const QByteArray s = frames.left(kFrameLength);
    const QByteArray ghi = frames.mid(kFrameLength);
    // The first WRITE sends S at about 200 ms and then waits 800 ms.
    after(500, [this] { button("toolButton_Send")->click(); });
    button("toolButton_Send")->click();

    const QByteArray expected = s + s + ghi + "WWW" + ghi + "WWW";
    QVERIFY(tx->waitForReceived(expected.size()));
    QCOMPARE(tx->received(), expected);
}

void TestCommands::portLostDuringWrite_data()
{
    QTest::addColumn<bool>("pilotCloses");
    QTest::newRow("pilot closes the port") << true;
    QTest::newRow("transmitter vanishes") << false;
}

void TestCommands::portLostDuringWrite()
{
    QFETCH(bool, pilotCloses);
    openPort();
    const QByteArray frames = wireFrames(paramSet);
    MessageBoxCatcher boxes;
    QByteArray seenBeforeLoss;
    after(1500, [&] {
        if (pilotCloses) {
            ui()->openButton->click();
        } else {
            seenBeforeLoss = tx->received();
            tx->closeMaster();
        }
    });
    button("toolButton_Send")->click();

    QTRY_COMPARE(ui()->openButton->text(), QString("OPEN"));
    QByteArray wire = pilotCloses ? tx->received() : seenBeforeLoss;
    if (pilotCloses) {
        QVERIFY(wire.endsWith("DIS"));
        wire.chop(3);
    }
    // Whatever reached the wire is whole frames in order, never a piece.
    QCOMPARE(wire.size() % kFrameLength, 0);
    QVERIFY(wire.size() >= kFrameLength);
    QCOMPARE(wire, frames.left(wire.size()));
    QCOMPARE(boxes.texts, QStringList{kUnfinishedNote}); // and the pilot knows
}

void TestCommands::nothingReachesAnotherConnection_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("actAtMs");
    QTest::addColumn<bool>("reopen");
    QTest::addColumn<bool>("writeAgain"); // a second WRITE inside the first one's pause
    QTest::addColumn<int>("framesBefore");
    QTest::addColumn<int>("stepAtAct");
    // Frame S leaves at about 200 ms, G at 1000 ms, H at 1800 ms.
    QTest::newRow("WRITE, pilot closes and reopens")
        << "toolButton_Send" << 1500 << true << false << 2 << int(CommandStep::FrameG);
    QTest::newRow("RESET, pilot closes")
        << "toolButton_Reset" << 1500 << false << false << 2 << int(CommandStep::FrameG);
    QTest::newRow("WRITE, reopened, WRITE again inside it")
        << "toolButton_Send" << 500 << true << true << 1 << int(CommandStep::FrameS);
}

void TestCommands::nothingReachesAnotherConnection()
{
    QFETCH(QString, buttonName);
    QFETCH(int, actAtMs);
    QFETCH(bool, reopen);
    QFETCH(bool, writeAgain);
    QFETCH(int, framesBefore);
    QFETCH(int, stepAtAct);
    const bool reset = buttonName == QLatin1String("toolButton_Reset");
    paramSet.subTrim[0] = 60;
    for (int &trim : paramSet.stickTrim)
        trim = 80;
    const QByteArray frames = wireFrames(paramSet);
    const QByteArray transfer = reset ? wireFrames(factorySettings()) : frames;
    openPort();
    MessageBoxCatcher boxes;
    int stepSeen = -1;
    after(actAtMs, [&] {
        stepSeen = int(window->linkActivity().running().back().step);
        ui()->openButton->click();
        if (reopen)
            QVERIFY(tx->openIn(*window));
    });
    if (writeAgain)
        after(actAtMs + 100, [this] { button("toolButton_Send")->click(); });
    button(qPrintable(buttonName))->click();

    QByteArray expected = transfer.left(framesBefore * kFrameLength) + "DIS";
    if (reopen)
        expected += "OK";
    if (writeAgain)
        expected += frames + "WWW"; // the second WRITE, whole, on the new connection
    QVERIFY(tx->waitForReceived(expected.size()));
    QVERIFY(!tx->waitForReceived(expected.size() + 1, 300));
    QCOMPARE(tx->received(), expected);
    QCOMPARE(stepSeen, stepAtAct);
    QCOMPARE(boxes.texts, QStringList{kUnfinishedNote});
    QVERIFY(window->linkActivity().running().empty());
    // The record keeps what the command did to it.
    QCOMPARE(paramSet.subTrim[0], reset ? 0 : 60);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(paramSet.stickTrim[i], reset ? 120 : 80);
        QCOMPARE(paramSet.trimStep[i], 2);
    }
}

void TestCommands::closingWindowMidTransfer_data()
{
    QTest::addColumn<QString>("buttonName"); // empty: nothing running
    QTest::addColumn<int>("closeAtMs");
    QTest::addColumn<QString>("answer"); // empty: no question expected
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("framesSent");
    QTest::newRow("idle") << "" << 0 << "" << true << 0;
    QTest::newRow("READ waiting for answers") << "toolButton_Read" << 400 << "" << true << 0;
    QTest::newRow("WRITE, pilot takes the default")
        << "toolButton_Send" << 1500 << "default" << false << 4;
    QTest::newRow("WRITE, pilot closes anyway")
        << "toolButton_Send" << 1500 << "close" << true << 2;
    // The 200 ms button lock is part of the command.
    QTest::newRow("WRITE in its lock, pilot takes the default")
        << "toolButton_Send" << 100 << "default" << false << 4;
    QTest::newRow("WRITE in its lock, pilot closes anyway: nothing goes out")
        << "toolButton_Send" << 100 << "close" << true << 0;
}

void TestCommands::closingWindowMidTransfer()
{
    QFETCH(QString, buttonName);
    QFETCH(int, closeAtMs);
    QFETCH(QString, answer);
    QFETCH(bool, closes);
    QFETCH(int, framesSent);
    openPort();
    const QByteArray frames = wireFrames(paramSet);
    MessageBoxCatcher boxes;
    boxes.respond = [answer](QMessageBox *box) {
        if (answer == QLatin1String("close"))
            box->button(QMessageBox::Yes)->click();
        else
            QTest::keyClick(box, Qt::Key_Return);
    };
    bool closed = false;
    QTimer closeTimer; // dies with the row, unlike a single shot
    closeTimer.setSingleShot(true);
    connect(&closeTimer, &QTimer::timeout, [&] { closed = window->close(); });
    closeTimer.start(closeAtMs);
    if (buttonName.isEmpty())
        QTRY_VERIFY(!closeTimer.isActive());
    else
        button(qPrintable(buttonName))->click();

    QCOMPARE(closed, closes);
    QCOMPARE(boxes.titles.size(), answer.isEmpty() ? 0 : 1); // the question; no note
    QByteArray expected = frames.left(framesSent * kFrameLength);
    if (buttonName == QLatin1String("toolButton_Read"))
        expected = "RR";
    else if (framesSent == 4)
        expected += "WWW";
    QVERIFY(tx->waitForReceived(expected.size()));
    QVERIFY(!tx->waitForReceived(expected.size() + 1, 300));
    QCOMPARE(tx->received(), expected);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
