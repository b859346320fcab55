// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The status line: what the tool is doing, how it ended, why an OPEN
// failed and whether the settings still need writing; through the window
// and a transmitter on a pseudo-terminal.
#include "app/mainwindow.h"
#include "files/paramfile.h"
#include "history/history.h"
#include "link/framedecoder.h"
#include "model/parameterset.h"
#include "support/filedialoganswerer.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"
#include "views/statustexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kUnfinishedText =
    QStringLiteral("The transmitter did not receive all settings! Please WRITE again.");

} // namespace

class TestStatus : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openFailureText_data();
    void openFailureText();
    void failedOpen_data();
    void failedOpen();
    void readOutcome_data();
    void readOutcome();
    void writeProgressAndConnection();
    void unwrittenChanges_data();
    void unwrittenChanges();
    void changedFollowsWhatPassed_data();
    void changedFollowsWhatPassed();
    void writeNeedsTheTransmittersVoice_data();
    void writeNeedsTheTransmittersVoice();

private:
    QString activity() const { return window->form()->statusActivity->text(); }
    QString changes() const { return window->form()->statusChanges->text(); }
    // Whole, also where the line is too narrow to show all of it.
    QString connection() const { return window->form()->statusConnection->toolTip(); }
    MainWindow *window = nullptr;
};

void TestStatus::init()
{
    paramSet = kStartParameters;
    window = new MainWindow;
    window->show();
}

void TestStatus::cleanup()
{
    delete window;
    window = nullptr;
}

void TestStatus::openFailureText_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("accessDenied");
    QTest::addColumn<QString>("expected");
    const int permission = QSerialPort::PermissionError;
    QTest::newRow("no permission: the owning group and logging in again")
        << permission << "Permission denied"
        << "dialout" << true
        << "ttyUSB0: Permission denied — join the group dialout (owner of /dev/ttyUSB0) and log "
           "in again";
    QTest::newRow("another distribution's group")
        << permission << "Permission denied"
        << "uucp" << true
        << "ttyUSB0: Permission denied — join the group uucp (owner of /dev/ttyUSB0) and log in "
           "again";
    QTest::newRow("busy device: no group hint, the device lets us in")
        << permission << "Device or resource busy"
        << "dialout" << false << "ttyUSB0: Device or resource busy";
    QTest::newRow("owner unknown: reason alone") << permission << "Permission denied"
                                                 << "" << true << "ttyUSB0: Permission denied";
    QTest::newRow("gone") << int(QSerialPort::DeviceNotFoundError) << "No such device"
                          << "" << false << "ttyUSB0: No such device";
    QTest::newRow("port without words") << int(QSerialPort::DeviceNotFoundError) << ""
                                        << "" << false << "ttyUSB0: No such device";
}

void TestStatus::openFailureText()
{
    QFETCH(int, error);
    QFETCH(QString, reason);
    QFETCH(QString, group);
    QFETCH(bool, accessDenied);
    QFETCH(QString, expected);
    const OpenFailure failure{QStringLiteral("ttyUSB0"),
                              QSerialPort::SerialPortError(error),
                              reason,
                              QStringLiteral("/dev/ttyUSB0"),
                              group,
                              accessDenied};
    QCOMPARE(::openFailureText(failure), expected);
}

void TestStatus::failedOpen_data()
{
    QTest::addColumn<bool>("permission"); // else: a path with no device
    QTest::newRow("missing device") << false;
    QTest::newRow("device refuses this user") << true;
}

void TestStatus::failedOpen()
{
    QFETCH(bool, permission);
    PtyTransmitter tx;
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("ttyGone"));
    QString expected = path + QStringLiteral(": No such file or directory");
    if (permission) {
        if (::geteuid() == 0)
            QSKIP("file modes do not stop root from opening a device");
        path = tx.slavePath();
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0) == 0);
        expected = path.mid(5) + QStringLiteral(": Permission denied — join the group ");
    }
    MessageBoxCatcher boxes;
    MainForm *ui = window->form();
    ui->portNameBox->addItem(path);
    ui->portNameBox->setCurrentIndex(ui->portNameBox->count() - 1);
    ui->openButton->click();
    QCOMPARE(boxes.texts, QStringList{"Cannot open the serial port!"});
    QCOMPARE(boxes.titles, QStringList{"Note"});
    QVERIFY2(activity().startsWith(expected), qPrintable(activity()));
    if (permission)
        QVERIFY2(activity().endsWith(QStringLiteral(") and log in again")), qPrintable(activity()));
    QCOMPARE(connection(), QStringLiteral("Not connected"));
}

void TestStatus::readOutcome_data()
{
    QTest::addColumn<int>("frames"); // the first so many of the READ answer
    QTest::addColumn<bool>("twice"); // each frame sent twice: counted once
    QTest::addColumn<QString>("expected");
    QTest::newRow("all") << 19 << false << "Read 19 of 19 setting frames";
    QTest::newRow("some, repeated") << 12 << true << "Read 12 of 19 setting frames — READ again";
    QTest::newRow("none")
        << 0 << false
        << "No answer from the transmitter — check the cable, the port and that the transmitter "
           "is on";
}

void TestStatus::readOutcome()
{
    QFETCH(int, frames);
    QFETCH(bool, twice);
    QFETCH(QString, expected);
    PtyTransmitter tx;
    QVERIFY(tx.openIn(*window));
    QVERIFY(tx.waitForReceived(2)); // "OK"
    QList<QByteArray> answer;
    for (const QByteArray &frame : settingFrames(kStartParameters).mid(0, frames))
        answer << frame << (twice ? QList<QByteArray>{frame} : QList<QByteArray>());
    tx.answerReads(answer);
    window->form()->toolButton_Read->click();
    QVERIFY(tx.waitForReceived(4)); // "RR"
    QVERIFY(activity().startsWith(QStringLiteral("Reading settings")));
    QTRY_COMPARE_WITH_TIMEOUT(activity(), expected, kAnswerWaitMs);
    QVERIFY(!window->form()->statusProgress->isVisible());
    // COMPARE offers the transmitter's settings only after a complete READ,
    // and only while its connection lasts.
    QCOMPARE(window->lastCompleteReadSettings().has_value(), frames == 19);
    window->form()->openButton->click();
    QVERIFY(!window->lastCompleteReadSettings());
}

void TestStatus::writeProgressAndConnection()
{
    PtyTransmitter tx;
    QVERIFY(tx.openIn(*window));
    QCOMPARE(connection(), tx.slavePath().mid(5) + QStringLiteral(" · 115200")); // less "/dev/"

    QStringList seen; // every text the line showed, in order
    QTimer watch;
    const auto look = [&] {
        if (seen.isEmpty() || seen.last() != activity())
            seen << activity();
    };
    connect(&watch, &QTimer::timeout, look);
    watch.start(20);
    window->form()->toolButton_Send->click();
    QTRY_COMPARE_WITH_TIMEOUT(activity(), QStringLiteral("Written"), 6000);
    watch.stop();
    look();
    seen.removeAll(QString());
    const QStringList expected = {"Writing frame S, 1 of 4", "Writing frame G, 2 of 4",
                                  "Writing frame H, 3 of 4", "Writing frame I, 4 of 4", "Written"};
    QCOMPARE(seen.mid(seen.size() - expected.size()), expected);

    tx.closeMaster();
    QTRY_COMPARE_WITH_TIMEOUT(connection(), QStringLiteral("Device lost"), 1000);
    MessageBoxCatcher boxes;
    window->form()->portNameBox->addItem(QStringLiteral("/nonexistent/ttyGone"));
    window->form()->portNameBox->setCurrentIndex(window->form()->portNameBox->count() - 1);
    window->form()->openButton->click(); // a failed OPEN does not forget it
    QCOMPARE(connection(), QStringLiteral("Device lost"));
}

void TestStatus::unwrittenChanges_data()
{
    QTest::addColumn<QString>("after");  // what the pilot does after the edit
    QTest::addColumn<QString>("answer"); // to the question on closing; empty: none expected
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("closes");
    QTest::newRow("edit, close: default keeps the window") << ""
                                                           << "default" << true << false;
    QTest::newRow("edit, close: quit anyway") << ""
                                              << "quit" << true << true;
    QTest::newRow("edit back to what it was") << "undo"
                                              << "" << false << true;
    QTest::newRow("WRITE") << "toolButton_Send"
                           << "" << false << true;
    QTest::newRow("edit back after telemetry moved the trims") << "telemetry"
                                                               << "" << false << true;
}

void TestStatus::unwrittenChanges()
{
    QFETCH(QString, after);
    QFETCH(QString, answer);
    QFETCH(bool, changed);
    QFETCH(bool, closes);
    PtyTransmitter tx;
    QVERIFY(tx.openIn(*window));
    QSpinBox *subTrim = window->form()->spinBox_sub[0];
    QVERIFY(waitForRefresh(*window)); // the tick takes the starting snapshot
    QCOMPARE(changes(), QString());
    subTrim->setValue(30);
    QTRY_COMPARE(changes(), QStringLiteral("Changed — not yet written"));

    if (after == QLatin1String("undo")) {
        subTrim->setValue(0);
    } else if (after == QLatin1String("telemetry")) {
        QVERIFY(
            tx.sendFrame(hexBytes("FE 19 40 50 00 6E 00 00 00 00 50 50 50 50 00 00 00 00 00 00")));
        QTRY_COMPARE(paramSet.stickTrim[0], 80);
        subTrim->setValue(0); // the trims telemetry moved are the transmitter's own
    } else if (!after.isEmpty()) {
        window->findChild<QAbstractButton *>(after)->click();
        QTRY_COMPARE_WITH_TIMEOUT(activity(), QStringLiteral("Written"), 6000);
    }
    QTRY_COMPARE(changes(), changed ? QStringLiteral("Changed — not yet written") : QString());

    MessageBoxCatcher boxes;
    boxes.respond = [answer](QMessageBox *box) {
        for (QAbstractButton *b : box->buttons()) {
            if (answer == QLatin1String("quit") && b->text() == QLatin1String("Quit anyway"))
                b->click();
        }
        if (answer != QLatin1String("quit"))
            QTest::keyClick(box, Qt::Key_Return);
    };
    QCOMPARE(window->close(), closes);
    QCOMPARE(boxes.titles.size(), answer.isEmpty() ? 0 : 1);
}

void TestStatus::changedFollowsWhatPassed_data()
{
    QTest::addColumn<QString>("action");  // the button, or a line that stops taking bytes
    QTest::addColumn<QByteArray>("file"); // what LOAD finds
    QTest::addColumn<QString>("edit");    // sub-trim (frame S), throttle point (H), trim step (I)
    QTest::addColumn<int>("editAtMs");    // after the click; -1: before it
    QTest::addColumn<bool>("changed");
    const QByteArray valid = parameterFileFor(kStartParameters);
    QTest::newRow("LOAD of a file with nothing valid")
        << "toolButton_Load" << QByteArray() << "sub" << -1 << true;
    QTest::newRow("LOAD of frames S and G keeps an edit in H")
        << "toolButton_Load" << valid.left(2 * kFrameLength + 1) << "thc" << -1 << true;
    QTest::newRow("LOAD of a whole file") << "toolButton_Load" << valid << "thc" << -1 << false;
    QTest::newRow("edit during LOAD") << "toolButton_Load" << valid << "sub" << 700 << true;
    QTest::newRow("edit during SAVE, after frame S went into the file")
        << "toolButton_Save" << QByteArray() << "sub" << 700 << true;
    QTest::newRow("edit during WRITE, after frame S left")
        << "toolButton_Send" << QByteArray() << "sub" << 700 << true;
    QTest::newRow("edit during WRITE, before frame I is built")
        << "toolButton_Send" << QByteArray() << "step" << 700 << false;
    QTest::newRow("WRITE on a line that takes nothing")
        << "stopped" << QByteArray() << "sub" << -1 << true;
}

void TestStatus::changedFollowsWhatPassed()
{
    QFETCH(QString, action);
    QFETCH(QByteArray, file);
    QFETCH(QString, edit);
    QFETCH(int, editAtMs);
    QFETCH(bool, changed);
    MainForm *ui = window->form();
    QSpinBox *box = edit == "sub"   ? ui->spinBox_sub[0]
                    : edit == "thc" ? ui->spinBox_THCURE_Data[0]
                                    : ui->spinBox_step[0];
    const auto makeEdit = [box] { box->setValue(box->value() + 3); };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("model.txt"));
    FileDialogAnswerer dialogs;
    dialogs.answers << path;
    if (action == "toolButton_Load") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
    }
    PtyTransmitter tx;
    if (action == "toolButton_Send" || action == "stopped")
        QVERIFY(tx.openIn(*window));
    QVERIFY(waitForRefresh(*window)); // the tick takes the starting snapshot
    if (editAtMs < 0)
        makeEdit();
    else
        QTimer::singleShot(editAtMs, box, makeEdit);

    MessageBoxCatcher boxes;
    // With the port closed, SAVE names its file from the moment it is picked.
    // Every text the line shows, looked at in each pause however late the
    // file dialog lets SAVE begin.
    QStringList whileSaving;
    QTimer peek; // goes with this row, so it never writes into a later one
    connect(&peek, &QTimer::timeout, this, [&] {
        if (whileSaving.isEmpty() || whileSaving.last() != activity())
            whileSaving << activity();
    });
    peek.start(20);
    if (action == "stopped") {
        tx.setLineStopped(true);
        ui->toolButton_Send->click();
        QCOMPARE(boxes.texts, QStringList{"The transmitter did not receive all settings! Please "
                                          "WRITE again."});
        QVERIFY2(activity().startsWith(QStringLiteral("The transmitter did not take the settings")),
                 qPrintable(activity()));
        ui->openButton->click(); // the close drops what the line never took
        QVERIFY2(activity().startsWith(QStringLiteral("Closed with ")), qPrintable(activity()));
        tx.setLineStopped(false);
    } else {
        window->findChild<QAbstractButton *>(action)->click();
        // A file without one valid frame sends nothing and says so.
        const bool noSettings = action == "toolButton_Load" && file.isEmpty();
        QCOMPARE(boxes.texts,
                 noSettings ? QStringList{"Cannot read the specified file!"} : QStringList());
        if (noSettings)
            QCOMPARE(activity(), QStringLiteral("Not loaded: model.txt holds no settings"));
        if (action == "toolButton_Save")
            QVERIFY2(whileSaving.contains(QStringLiteral("Saving model.txt")),
                     qPrintable(whileSaving.join(" | ")));
    }
    QTRY_COMPARE(changes(), changed ? QStringLiteral("Changed — not yet written") : QString());
}

void TestStatus::writeNeedsTheTransmittersVoice_data()
{
    QTest::addColumn<QString>("farEnd"); // what the far end does from OPEN on
    QTest::addColumn<int>("frameAtMs");  // a channel frame after the click; -1: none
    QTest::addColumn<bool>("afterEnd");  // a frame as soon as the transfer has ended
    QTest::addColumn<bool>("delivered");
    QTest::newRow("silent from OPEN") << "silent" << -1 << false << false;
    QTest::newRow("streaming frames") << "streams" << -1 << false << true;
    QTest::newRow("frames only during") << "silent" << 1500 << false << true;
    QTest::newRow("frames only after the end") << "silent" << -1 << true << true;
    QTest::newRow("a frame just before, then silent") << "frame" << -1 << false << false;
    QTest::newRow("one byte just before, then silent") << "byte" << -1 << false << false;
    QTest::newRow("a loopback plug echoes") << "echoes" << -1 << false << false;
    QTest::newRow("random bytes every 100 ms") << "noise" << -1 << false << false;
    QTest::newRow("12-byte frames of no listed kind") << "unlisted" << -1 << false << false;
}

void TestStatus::writeNeedsTheTransmittersVoice()
{
    QFETCH(QString, farEnd);
    QFETCH(int, frameAtMs);
    QFETCH(bool, afterEnd);
    QFETCH(bool, delivered);
    // The window keeps its history in the data folder it starts with.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    delete window;
    window = new MainWindow;
    window->show();
    const QString silence = QStringLiteral("no data from the transmitter");
    const QByteArray frame =
        hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D");
    PtyTransmitter tx;
    tx.setEcho(farEnd == "echoes");
    QVERIFY(tx.openIn(*window, farEnd != "streams"));
    // Noise is never a frame, also where the line joins several: no marker
    // byte. FE .. FE, kind byte 00: shaped like a parameter frame, of no kind.
    QRandomGenerator random(1234);
    QTimer junk;
    connect(&junk, &QTimer::timeout, &tx, [&] {
        QByteArray bytes(int(random.bounded(1, 8)), '\0');
        for (char &byte : bytes)
            byte = char(random.bounded(0xAA));
        tx.write(farEnd == "noise" ? bytes : hexBytes("FE 00 00 00 00 00 00 00 00 00 00 FE"));
    });
    if (farEnd == "noise" || farEnd == "unlisted")
        junk.start(100);
    if (farEnd != "streams") {
        // Echoes and noise are not the transmitter's voice either.
        QTRY_VERIFY_WITH_TIMEOUT(connection().contains(silence), kAnswerWaitMs);
        QVERIFY(!activity().contains(silence)); // only the connection part names it
    }
    QVERIFY(waitForRefresh(*window)); // the tick takes the starting snapshot
    window->form()->spinBox_sub[0]->setValue(20);
    QTRY_COMPARE(changes(), QStringLiteral("Changed — not yet written"));

    MessageBoxCatcher boxes;
    if (farEnd == "frame")
        QVERIFY(tx.sendFrame(frame));
    else if (farEnd == "byte")
        tx.write(QByteArray(1, '\0'));
    if (frameAtMs >= 0)
        QTimer::singleShot(frameAtMs, &tx, [&] { tx.write(frame); });
    window->form()->toolButton_Send->click(); // returns once the transfer has ended
    if (afterEnd) {
        // On the line before the window's next turn, so well inside the
        // second the verdict stays open for.
        QCOMPARE(activity(), QStringLiteral("Writing end of transfer")); // verdict still open
        tx.write(frame);
    }
    const QString unheard =
        QStringLiteral("Not answered: is the transmitter on, and is this its port? WRITE again.");
    QTRY_COMPARE_WITH_TIMEOUT(activity(), delivered ? QStringLiteral("Written") : unheard,
                              kAnswerWaitMs);
    QTRY_COMPARE(boxes.texts, delivered ? QStringList() : QStringList{kUnfinishedText});
    QCOMPARE(changes(), delivered ? QString() : QStringLiteral("Changed — not yet written"));
    QTest::qWait(50); // a history entry is written once the loop turns
    QCOMPARE(listHistory(historyFolder()).size(), std::size_t(delivered ? 1 : 0));
    if (farEnd == "echoes" || farEnd == "noise" || farEnd == "unlisted")
        QVERIFY(connection().contains(silence));
    // The transmitter's frames drop the warning at once.
    tx.setEcho(false);
    junk.stop();
    tx.setStreaming(true);
    QTRY_VERIFY(!connection().contains(silence));
    qunsetenv("XDG_DATA_HOME");
}

QTEST_MAIN(TestStatus)
#include "tst_status.moc"
