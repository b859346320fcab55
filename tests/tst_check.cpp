// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// CHECK through the window: Ctrl+Shift+R or COMPARE's "Transmitter (read
// now)" asks a transmitter on a pseudo-terminal for its settings and
// compares them with an edited editor that must not move.
#include "app/mainwindow.h"
#include "check/transmittercheck.h"
#include "history/history.h"
#include "link/framedecoder.h"
#include "models/library.h"
#include "models/modelsdialog.h"
#include "settings/catalogue.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"
#include "views/comparedialog.h"
#include "views/historydialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

#include <functional>

namespace {

using Change = std::function<void(ParameterSet &p)>;

// Writes frames one notification each, 15 ms apart, from `startMs` on:
// the transmitter answers while a command of the tool is pausing (only
// where it does not matter when the frames come, as long as they come
// while the command runs).
void answerLater(PtyTransmitter &tx, const QList<QByteArray> &frames, int startMs, QObject *scope)
{
    for (int k = 0; k < frames.size(); ++k)
        QTimer::singleShot(startMs + 15 * k, scope, [&tx, frame = frames[k]] { tx.write(frame); });
}

int readsInHistory()
{
    int reads = 0;
    for (const HistoryEntry &entry : listHistory(historyFolder()))
        reads += entry.event == QStringLiteral("READ");
    return reads;
}

// The record as frames carry it: the alarms in tenths of the volts.
ParameterSet withTenths(ParameterSet p)
{
    p.txAlarmTenths = alarmTenths(p.txAlarmVolt);
    p.rxAlarmTenths = alarmTenths(p.rxAlarmVolt);
    p.extAlarmTenths = alarmTenths(p.extAlarmVolt);
    return p;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestCheck : public QObject
{
    Q_OBJECT
private slots:
    void checkLeavesTheEditorAlone_data();
    void checkLeavesTheEditorAlone();
    void checkAgreesWithRead_data();
    void checkAgreesWithRead();
};

void TestCheck::checkLeavesTheEditorAlone_data()
{
    QTest::addColumn<Change>("held");       // what the transmitter holds unlike the editor
    QTest::addColumn<bool>("fromCompare");  // started in COMPARE, else by its key
    QTest::addColumn<int>("frames");        // setting frames answering the check at once
    QTest::addColumn<QString>("interrupt"); // the button pressed during the check
    QTest::addColumn<QString>("outcome");   // the status line, or the interruption
    QTest::addColumn<QStringList>("rows");  // the differences COMPARE lists
    QTest::addColumn<QString>("shown");     // COMPARE's count or its note; empty: no COMPARE
    QTest::addColumn<int>("readEntries");   // READ entries in the history
    QTest::addColumn<QString>("heldModel"); // the status line's model the transmitter holds

    const Change same = [](ParameterSet &) {};
    const Change other = [](ParameterSet &p) {
        p.subTrim[0] = 0;
        p.reverse[0] = 1;
        p.throttleCurve[3] = 60;
    };
    const QStringList differ{"BASIC / CH1 / REVERSE: NOR -> REV", "BASIC / CH1 / SUB-TRIM: 41 -> 0",
                             "ADVANCE2 / TH CURE / POINT4: 50 -> 60"};
    QTest::newRow("other settings")
        << other << false << 19 << QString() << "Checked: 3 settings differ — COMPARE shows them"
        << differ << "3 settings differ" << 1 << "GLIDER";
    QTest::newRow("same settings, from COMPARE")
        << same << true << 19 << QString() << "Checked: the transmitter holds the editor's settings"
        << QStringList() << "The transmitter holds exactly what the editor shows" << 1 << "GLIDER";
    QTest::newRow("READ during the check")
        << other << false << 5 << "READ"
        << "Check interrupted by READ" << QStringList() << QString() << 1 << "GLIDER";
    QTest::newRow("WRITE during the check") << other << false << 5 << "WRITE"
                                            << "Check interrupted by WRITE" << QStringList()
                                            << QString() << 0 << "like GLIDER (3 settings differ)";
    // Frames answering a check that stopped waiting for them (a transmitter
    // that answers after the check's second, or never, or only in part)
    // are not the editor's.
    QTest::newRow("answer after the check gave up")
        << other << true << 0 << "late answer"
        << "Not checked: no answer from the transmitter" << QStringList()
        << "No answer from the transmitter: nothing compared — check the cable, the port and "
           "that the transmitter is on"
        << 0 << QString();
    QTest::newRow("answer stalls past the check's end")
        << other << false << 5 << "late answer"
        << "Not checked: only 5 of 19 frames arrived — check again" << QStringList()
        << "The transmitter sent only 5 of 19 setting frames: nothing compared — check again" << 0
        << QString();
    // The result goes where the pilot looks: not over HISTORY, and not
    // over a source picked in COMPARE meanwhile (the status line has it).
    QTest::newRow("HISTORY open when the check ends")
        << other << false << 5 << "HISTORY"
        << "Checked: 3 settings differ — COMPARE shows them" << differ << "3 settings differ" << 1
        << "GLIDER";
    // The check after a Send, with MODELS still open: its key works there.
    QTest::newRow("key pressed in MODELS") << other << false << 19 << "MODELS"
                                           << "Checked: 3 settings differ — COMPARE shows them"
                                           << differ << "3 settings differ" << 1 << "GLIDER";
    QTest::newRow("another source picked during the check")
        << other << true << 5 << "pick"
        << "Checked: 3 settings differ — COMPARE shows them"
        << QStringList{"BASIC / CH1 / SUB-TRIM: 41 -> 0"} << "1 setting differs" << 1 << "GLIDER";
    QTest::newRow("CLOSE during the check")
        << other << false << 5 << "CLOSE"
        << "Check interrupted: port closed" << QStringList() << QString() << 0 << QString();
}

void TestCheck::checkLeavesTheEditorAlone()
{
    QFETCH(Change, held);
    QFETCH(bool, fromCompare);
    QFETCH(int, frames);
    QFETCH(QString, interrupt);
    QFETCH(QString, outcome);
    QFETCH(QStringList, rows);
    QFETCH(QString, shown);
    QFETCH(int, readEntries);
    QFETCH(QString, heldModel);

    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    paramSet = kStartParameters;
    MainWindow window;
    MainForm *ui = window.form();
    PtyTransmitter tx;
    MessageBoxCatcher boxes;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(tx.openIn(window));
    QVERIFY(waitForRefresh(window)); // the settings pass through the widgets once

    // An edit not yet written, and a transmitter holding other settings.
    ui->spinBox_sub[0]->setValue(41);
    QTRY_VERIFY(!ui->statusChanges->text().isEmpty());
    const ParameterSet editor = paramSet;
    const int steps = window.editorSteps()->index();
    ParameterSet inTransmitter = withTenths(editor);
    held(inTransmitter);
    QVERIFY(saveModelFile(modelsFolder(), "GLIDER", modelFileFor(inTransmitter)).isEmpty());
    const QList<QByteArray> answer = settingFrames(inTransmitter);

    auto *check = window.findChild<TransmitterCheck *>();
    QByteArray wireAtEnd;
    CheckResult result;
    bool editorAsItWas = false;
    connect(check, &TransmitterCheck::ended, &tx, [&](const CheckResult &r) {
        result = r;
        wireAtEnd = tx.received();
        editorAsItWas = paramSet == editor && window.editorSteps()->index() == steps &&
                        ui->statusChanges->text() == QStringLiteral("Changed — not yet written");
    });
    tx.clearReceived();
    // However busy the machine, the check still waits while the test's
    // transmitter answers; where its wait is to run out, it is let go.
    tx.holdToolsWaits(true);
    if (fromCompare) {
        ui->pushButton_Compare->click();
        auto *dialog = window.findChild<CompareDialog *>();
        QVERIFY(dialog);
        QPushButton *readNow = dialog->findChild<QPushButton *>("compareReadNow");
        QVERIFY(readNow && readNow->text() == QStringLiteral("Transmitter (read now)"));
        for (QPushButton *other : dialog->findChildren<QPushButton *>()) // first of the sources
            QTRY_VERIFY(other == readNow || other->text() == "CLOSE" || other->x() > readNow->x());
        readNow->click();
    } else if (interrupt == "MODELS") {
        ui->pushButton_Models->click();
        auto *models = window.findChild<ModelsDialog *>();
        QVERIFY(models);
        QVERIFY(QTest::qWaitForWindowActive(models));
        // As the pilot's key arrives: at the dialog's window.
        QTest::keyClick(models->windowHandle(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QVERIFY(tx.waitForReceived(2));
    for (int k = 0; k < frames; ++k)
        QVERIFY(tx.sendFrame(answer[k]));
    QObject scope;
    if (interrupt == "READ") {
        tx.holdToolsWaits(false); // the answer holds READ's grace
        tx.answerReads(answer);
        ui->toolButton_Read->click();
    } else if (interrupt == "WRITE") {
        answerLater(tx, answer.mid(frames), 50, &scope); // the rest of the check's
        ui->toolButton_Send->click();
    } else if (interrupt == "HISTORY" || interrupt == "pick") {
        const auto pilotsPick = [] { return CompareSource{"Start", kStartParameters, {}}; };
        if (interrupt == "HISTORY")
            ui->pushButton_History->click();
        else // the pilot's own pick
            window.findChild<CompareDialog *>()->addSource("Start", pilotsPick)->click();
        for (const QByteArray &frame : answer.mid(frames))
            QVERIFY(tx.sendFrame(frame));
    } else if (interrupt == "late answer") { // after the check's second
        tx.holdToolsWaits(false);
        QTRY_VERIFY_WITH_TIMEOUT(!check->isRunning(), kAnswerWaitMs);
        for (const QByteArray &frame : answer.mid(frames))
            QVERIFY(tx.sendFrame(frame));
    } else if (interrupt == "CLOSE") {
        ui->openButton->click();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!check->isRunning() && window.linkActivity().running().empty(),
                             kAnswerWaitMs);
    // READ judged after its grace, and the history written once nothing runs.
    QTRY_COMPARE_WITH_TIMEOUT(readsInHistory(), readEntries, kAnswerWaitMs);

    // The check sent "RR", and only answers besides, up to its end.
    QCOMPARE(wireAtEnd.replace("WWW", "").replace("DIS", ""), QByteArray("RR"));
    QCOMPARE(result.interruption.isEmpty() ? ui->statusActivity->text() : result.interruption,
             outcome);
    // Also what cut the check short stays in sight beside its own outcome.
    QVERIFY(ui->statusActivity->toolTip().contains(outcome));
    QVERIFY(editorAsItWas);
    // READ takes its frames into the editor as always; what answers the
    // check never arrives there, also when it trails into a WRITE (which
    // brings the alarm tenths in step with the volts it sends).
    if (interrupt == "READ")
        QVERIFY(compareSettings(paramSet, inTransmitter).empty());
    else
        QVERIFY(paramSet == (interrupt == "WRITE" ? withTenths(editor) : editor));
    QCOMPARE(ui->statusModel->text(), heldModel);

    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('\n')));
    if (interrupt == "HISTORY" || interrupt == "MODELS") { // the next COMPARE shows the check
        QVERIFY(!window.findChild<CompareDialog *>());
        if (interrupt == "HISTORY")
            window.findChild<HistoryDialog *>()->reject();
        else
            window.findChild<ModelsDialog *>()->reject();
        ui->pushButton_Compare->click();
    }
    auto *dialog = window.findChild<CompareDialog *>();
    QCOMPARE(dialog != nullptr, !shown.isEmpty());
    if (!dialog)
        return;
    const bool note = rows.isEmpty() && readEntries == 0;
    QCOMPARE(dialog->findChild<QLabel *>(note ? "compareWhat" : "compareCount")->text(), shown);
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("compareTable"));
    QStringList listed;
    for (int r = 0; r < table->rowCount(); ++r)
        listed << QStringLiteral("%1 / %2 / %3: %4 -> %5")
                      .arg(table->item(r, 0)->text(), table->item(r, 1)->text(),
                           table->item(r, 2)->text(), table->item(r, 3)->text(),
                           table->item(r, 4)->text());
    QCOMPARE(listed, rows);
    // The complete check is the transmitter's last READ and a history
    // entry too, also in a COMPARE that was open all along.
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        if (button->text() == QStringLiteral("Transmitter (last READ)") ||
            button->text() == QStringLiteral("History entry…"))
            QCOMPARE(button->isEnabled(), readEntries == 1);
    }
    // A verdict is about the editor as it was: the trims and D/R CH moving
    // leave it, an edit takes it back.
    if (interrupt.isEmpty() && readEntries == 1) {
        const QString verdict = ui->statusActivity->text();
        const QString trims = ui->lineEdit_Trim[0]->text() + ui->lineEdit_Trim[3]->text();
        QVERIFY(tx.sendFrame(QByteArray::fromHex("FE192D54007E00000000EFFFEE78000000000000")));
        ui->comboBox_DR_CH1->setCurrentIndex(2);
        QTRY_VERIFY(ui->lineEdit_Trim[0]->text() + ui->lineEdit_Trim[3]->text() != trims);
        QCOMPARE(ui->statusActivity->text(), verdict);
        ui->spinBox_sub[1]->setValue(5);
        QTRY_VERIFY(ui->statusActivity->text().isEmpty());
    }
}

void TestCheck::checkAgreesWithRead_data()
{
    QTest::addColumn<char>("fill"); // every value byte of every setting frame
    QTest::newRow("00: each field at its lowest") << char(0x00);
    QTest::newRow("FF: each field at its highest") << char(0xFF);
}

// Values past the pages' ranges: READ clamps them as the pages do, the same
// however often it reads them, and a check right after agrees.
void TestCheck::checkAgreesWithRead()
{
    QFETCH(char, fill);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    MainWindow window;
    PtyTransmitter tx;
    MessageBoxCatcher boxes;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window) && tx.openIn(window));
    QList<QByteArray> frames = settingFrames(kStartParameters);
    for (QByteArray &frame : frames)
        frame.replace(3, frame.size() - 4, QByteArray(frame.size() - 4, fill));
    QSignalSpy answered(&tx, &PtyTransmitter::answerSent);
    tx.answerReads(frames);
    window.form()->toolButton_Read->click();
    QTRY_COMPARE_WITH_TIMEOUT(answered.count(), 1, kAnswerWaitMs);
    const ParameterSet firstRead = paramSet;
    QCOMPARE(paramSet.subTrim[0], fill ? 100 : -100); // clamped, not repaired
    tx.answerReads(frames);
    window.form()->toolButton_Read->click();
    QTRY_COMPARE_WITH_TIMEOUT(answered.count(), 2, kAnswerWaitMs);
    QVERIFY(paramSet == firstRead);
    QTRY_VERIFY(window.form()->statusActivity->text().startsWith("Read ")); // judged
    tx.answerReads(frames);
    QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(
        window.form()->statusActivity->text(),
        QStringLiteral("Checked: the transmitter holds the editor's settings"), kAnswerWaitMs);
}

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
