// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings history: entries after what really reached or came from
// the transmitter, over a pseudo-terminal, in a history folder of the
// test's own.
#include "app/mainwindow.h"
#include "files/paramfile.h"
#include "history/history.h"
#include "link/framedecoder.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"
#include "views/historydialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>

#include <sys/stat.h>
#include <utime.h>

class TestHistory : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void entriesFollowWhatReallyPassed();
    void limitAndUnwritableFolder();
    void rulesHoldWhateverTheFolderHolds_data();
    void rulesHoldWhateverTheFolderHolds();

private:
    // Sends the first `frames` setting frames of a READ answer.
    void read(int frames, const std::function<void()> &whileBeingJudged = {});
    std::vector<HistoryEntry> entries() const { return listHistory(historyFolder()); }
    QTemporaryDir data;
    MainWindow *window = nullptr;
    PtyTransmitter *tx = nullptr;
};

void TestHistory::init()
{
    QVERIFY(data.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QDir(historyFolder()).removeRecursively();
    paramSet = kStartParameters;
    window = new MainWindow;
    tx = new PtyTransmitter;
    QVERIFY(tx->openIn(*window));
    QVERIFY(tx->waitForReceived(2)); // "OK"
    tx->clearReceived();
}

void TestHistory::cleanup()
{
    delete window;
    delete tx;
    window = nullptr;
    tx = nullptr;
}

void TestHistory::read(int frames, const std::function<void()> &whileBeingJudged)
{
    // The transmitter answers at once, one frame per notification; READ's
    // grace does not run out before the answer is in, nor before the pilot
    // has done what he does while READ is being judged.
    QSignalSpy answered(tx, &PtyTransmitter::answerSent);
    tx->holdToolsWaits(bool(whileBeingJudged));
    tx->answerReads(settingFrames(kStartParameters).mid(0, frames));
    window->form()->toolButton_Read->click();
    QTRY_COMPARE_WITH_TIMEOUT(answered.count(), 1, kAnswerWaitMs);
    if (whileBeingJudged) {
        whileBeingJudged();
        tx->holdToolsWaits(false);
    }
    // Judged once its grace period is over; written once nothing runs.
    QTRY_VERIFY_WITH_TIMEOUT(window->form()->statusActivity->text().startsWith("Read ") ||
                                 window->form()->statusActivity->text().startsWith("No answer"),
                             kAnswerWaitMs);
    QTest::qWait(50);
}

void TestHistory::entriesFollowWhatReallyPassed()
{
    // A complete READ: one entry with the settings as read, not with the
    // edit the pilot made while READ was still being judged.
    ParameterSet asRead{};
    read(19, [&] {
        asRead = paramSet;
        window->form()->spinBox_sub[0]->setValue(41);
    });
    QCOMPARE(paramSet.subTrim[0], 41);
    QCOMPARE(entries().size(), std::size_t(1));
    QCOMPARE(entries()[0].event, QStringLiteral("READ"));
    QFile first(entries()[0].path);
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), parameterFileFor(asRead));
    window->form()->spinBox_sub[0]->setValue(asRead.subTrim[0]);

    // The same READ again, and one with frames missing: nothing new.
    read(19);
    read(12);
    QCOMPARE(entries().size(), std::size_t(1));

    // An edit and a WRITE: the frames exactly as the transmitter got them.
    window->form()->spinBox_sub[2]->setValue(-12);
    tx->clearReceived();
    window->form()->toolButton_Send->click();
    QTRY_COMPARE(entries().size(), std::size_t(2));
    QCOMPARE(entries()[0].event, QStringLiteral("WRITE"));
    QFile written(entries()[0].path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll() + "WWW", tx->received());

    // A WRITE cut short by closing the port, and a LOAD with the port
    // closed: nothing reached the transmitter whole.
    window->form()->spinBox_sub[2]->setValue(7);
    MessageBoxCatcher boxes;
    QTimer::singleShot(1200, window->form()->openButton, &QAbstractButton::click);
    window->form()->toolButton_Send->click();
    QCOMPARE(window->form()->openButton->text(), QStringLiteral("OPEN"));
    window->form()->toolButton_Send->click(); // refused: the port is closed
    QTest::qWait(50);
    QCOMPARE(entries().size(), std::size_t(2));

    // HISTORY: an entry deleted while the list is open is gone from it once
    // the pilot tries it; a restore that is undone is no longer reported.
    window->form()->pushButton_History->click();
    auto *dialog = window->findChild<HistoryDialog *>("historyDialog");
    QVERIFY(dialog);
    QCOMPARE(dialog->table()->rowCount(), 2);
    QVERIFY(QFile::remove(entries()[0].path));
    dialog->findChild<QPushButton *>("historyRestore")->click();
    QCOMPARE(boxes.texts.last(), QStringLiteral("Cannot read the specified file!"));
    QCOMPARE(dialog->table()->rowCount(), 1);
    dialog->findChild<QPushButton *>("historyRestore")->click();
    QVERIFY(window->form()->statusActivity->text().startsWith("Restored "));
    window->form()->pushButton_Undo->click();
    QVERIFY(!window->form()->statusActivity->text().startsWith("Restored "));

    // An entry written while the list is open is listed at once, the
    // pilot's selection kept.
    dialog->table()->selectRow(0);
    const QString chosen = dialog->entries()[0].path;
    QVERIFY(tx->openIn(*window));
    window->form()->spinBox_sub[2]->setValue(-20);
    window->form()->toolButton_Send->click();
    QTRY_COMPARE_WITH_TIMEOUT(dialog->table()->rowCount(), 2, 5000);
    QCOMPARE(dialog->entries()[0].event, QStringLiteral("WRITE"));
    QCOMPARE(dialog->table()->selectedItems().first()->row(), 1);
    QCOMPARE(dialog->entries()[1].path, chosen);
}

void TestHistory::limitAndUnwritableFolder()
{
    const QString folder = historyFolder();
    QVERIFY(QDir().mkpath(folder));
    // A full history whose oldest entry is the newest file on disk.
    const QDateTime start(QDate(2026, 1, 1), QTime(8, 0));
    for (int i = 0; i < kHistoryLimit; ++i) {
        ParameterSet p = kStartParameters;
        p.subTrim[0] = i % 100;
        p.servoDelay[0] = i / 100;
        QFile f(folder + start.addSecs(i).toString("/yyyy-MM-ddTHH-mm-ss_'WRITE.txt'"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(parameterFileFor(p));
    }
    QCOMPARE(addHistoryEntry(folder, HistoryEvent::Load, parameterFileFor(kStartParameters),
                             start.addDays(1)),
             QString());
    const std::vector<HistoryEntry> kept = listHistory(folder);
    QCOMPARE(kept.size(), std::size_t(kHistoryLimit));
    QCOMPARE(kept.front().event, QStringLiteral("LOAD"));
    QCOMPARE(kept.back().time, start.addSecs(1)); // the oldest by name went

    // A history that cannot be written: the status line says so, the
    // transfer is what it always was.
    QDir(folder).removeRecursively();
    QFile blocker(folder);
    QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
    blocker.close();
    window->form()->toolButton_Send->click();
    QTRY_VERIFY(window->form()->statusActivity->text().startsWith("Written — History not saved: "));
    QCOMPARE(tx->received(), parameterFileFor(paramSet) + "WWW");
}

void TestHistory::rulesHoldWhateverTheFolderHolds_data()
{
    QTest::addColumn<QString>("folder"); // what is there before the entry
    QTest::addColumn<int>("added");      // entries more afterwards
    QTest::addColumn<QString>("name");   // the new entry's name, if one

    QTest::newRow("full, every entry dated ahead") << "future 1000" << 0 << "@_WRITE.txt";
    QTest::newRow("full, dated ahead, then a second real entry")
        << "future 1000, twice" << 0 << "@_WRITE.txt";
    QTest::newRow("same as the last written, one dated ahead") << "future, then same" << 0 << "";
    QTest::newRow("another tool took the name this second") << "taken" << 1 << "@_WRITE-2.txt";
    QTest::newRow("newest entry leads to a pipe") << "pipe newest" << 1 << "@_WRITE.txt";
}

void TestHistory::rulesHoldWhateverTheFolderHolds()
{
    QFETCH(QString, folder);
    QFETCH(int, added);
    QFETCH(QString, name);
    const QString path = historyFolder();
    QFile::remove(path); // what the unwritable-folder test left in its place
    QVERIFY(QDir().mkpath(path));
    const QDateTime now(QDate(2026, 12, 7), QTime(14, 5, 9));
    const QString second = now.toString("yyyy-MM-ddTHH-mm-ss");
    name.replace("@", second);
    ParameterSet mine = kStartParameters;
    mine.subTrim[4] = 17;
    auto entry = [&](const QString &file, const ParameterSet &p, int secondsAgo) {
        QFile f(path + '/' + file);
        QVERIFY(f.open(QIODevice::WriteOnly) &&
                f.write(parameterFileFor(p)) == kParameterFileLength);
        f.close();
        const utimbuf times{std::time(nullptr) - secondsAgo, std::time(nullptr) - secondsAgo};
        QVERIFY(::utime(QFile::encodeName(f.fileName()).constData(), &times) == 0);
    };
    const QDateTime ahead = now.addYears(3);
    if (folder.startsWith("future 1000")) {
        for (int i = 0; i < kHistoryLimit; ++i) {
            ParameterSet p = kStartParameters;
            p.subTrim[0] = i % 100;
            p.servoDelay[0] = i / 100;
            entry(ahead.addSecs(i).toString("yyyy-MM-ddTHH-mm-ss'_READ.txt'"), p, 100);
        }
    } else if (folder == "future, then same") {
        entry(ahead.toString("yyyy-MM-ddTHH-mm-ss'_READ.txt'"), kStartParameters, 100);
        entry(now.addSecs(-60).toString("yyyy-MM-ddTHH-mm-ss'_WRITE.txt'"), mine, 10);
    } else if (folder == "taken") {
        // A name that the listing cannot see as an entry: taken all the same.
        QVERIFY(::mkfifo(QFile::encodeName(path + '/' + second + "_WRITE.txt").constData(), 0600) ==
                0);
    } else if (folder == "pipe newest") {
        QVERIFY(::mkfifo(QFile::encodeName(path + "/pipe").constData(), 0600) == 0);
        QVERIFY(QFile::link(path + "/pipe",
                            path + ahead.toString("'/'yyyy-MM-ddTHH-mm-ss'_READ.txt'")));
    }
    const QStringList before = QDir(path).entryList(QDir::AllEntries | QDir::System);

    QCOMPARE(addHistoryEntry(path, HistoryEvent::Write, parameterFileFor(mine), now), QString());
    if (folder.endsWith("twice")) {
        // The entries dated ahead go, not the real one written before.
        ParameterSet next = mine;
        next.subTrim[5] = 9;
        QCOMPARE(addHistoryEntry(path, HistoryEvent::Read, parameterFileFor(next), now.addSecs(1)),
                 QString());
        QVERIFY(
            QFileInfo::exists(path + now.addSecs(1).toString("'/'yyyy-MM-ddTHH-mm-ss'_READ.txt'")));
    }

    const QStringList after = QDir(path).entryList(QDir::AllEntries | QDir::System);
    QCOMPARE(after.size(), before.size() + added);
    if (!name.isEmpty()) {
        QFile written(path + '/' + name);
        QVERIFY2(written.open(QIODevice::ReadOnly), qPrintable(after.join(' ')));
        QCOMPARE(written.readAll(), parameterFileFor(mine));
    }
    // Two entries of one second are told apart wherever the pilot picks one.
    QStringList titles;
    for (const HistoryEntry &e : listHistory(path))
        titles << historyEntryTitle(e);
    QCOMPARE(titles.removeDuplicates(), 0);
    QDir(path).removeRecursively();
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
