// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The model library: names on disk, recognising what the transmitter
// holds, and MODELS in the window over a pseudo-terminal, all in a data
// folder of the test's own.
#include "app/mainwindow.h"
#include "app/startup.h"
#include "files/paramfile.h"
#include "link/framedecoder.h"
#include "models/library.h"
#include "models/modelsdialog.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"
#include "views/historydialog.h"
#include "views/statustexts.h"

#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Settings that differ from the start values in `count` catalogue settings.
ParameterSet differingIn(int count)
{
    ParameterSet p = kStartParameters;
    for (int i = 0; i < count; ++i) {
        if (i < 8)
            p.subTrim[i] = 5 + i;
        else
            p.reverse[i - 8] = 1 - p.reverse[i - 8];
    }
    return p;
}

QStringList fileNames(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.txt"), QStringLiteral("*.dat")}, QDir::Files,
                                  QDir::Name | QDir::IgnoreCase);
}

// Answers the next text input the tool asks for.
void answerInput(const QString &text)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, text] {
        auto *input = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!input)
            return;
        input->setTextValue(text);
        input->accept();
        poll->deleteLater();
    });
    poll->start(10);
}

} // namespace

class TestModels : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void naming_data();
    void naming();
    void sendOutcome();
    void recognition_data();
    void recognition();
    void throughTheWindow();
    void duringSend_data();
    void duringSend();

private:
    QTemporaryDir data;
    QString folder() const { return modelsFolder(); }
};

void TestModels::init()
{
    QVERIFY(data.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    // Qt's own removal does not see a name that is not UTF-8.
    ::unlink((QFile::encodeName(folder()) + "/b\xff"
                                            "d.txt")
                 .constData());
    QDir(data.path()).removeRecursively();
    QDir().mkpath(folder());
}

void TestModels::naming_data()
{
    QTest::addColumn<QStringList>("saved");      // saved or put there, in this order
    QTest::addColumn<QStringList>("action");     // rename FILE NAME, delete FILE
    QTest::addColumn<QString>("trouble");        // what the last step says
    QTest::addColumn<QStringList>("names");      // as listed
    QTest::addColumn<QStringList>("files");      // on disk
    QTest::addColumn<QStringList>("unreadable"); // listed as not readable

    const QString cjk90(90, QChar(0x4E2D));
    const QString cjk89 = cjk90.left(89) + QChar(0x56FD);
    QTest::newRow("odd characters")
        << QStringList{"Quad 5\"", "Cub 1.2 m", "a/b:c", "CON", " Heli. "} << QStringList()
        << QString() << QStringList{"a/b:c", "CON", "Cub 1.2 m", "Heli.", "Quad 5\""}
        << QStringList{"_CON.txt", "a_b_c.txt", "Cub 1.2 m.txt", "Heli_.txt", "Quad 5_.txt"}
        << QStringList();
    // The console and the clock are devices on Windows, like CON.
    QTest::newRow("Windows devices")
        << QStringList{"CONIN$", "conout$", "CLOCK$"} << QStringList() << QString()
        << QStringList{"CLOCK$", "CONIN$", "conout$"}
        << QStringList{"_CLOCK$.txt", "_CONIN$.txt", "_conout$.txt"} << QStringList();
    QTest::newRow("same name twice, other case")
        << QStringList{"Cub", "cub"} << QStringList() << QString() << QStringList{"cub"}
        << QStringList{"Cub.txt"} << QStringList();
    QTest::newRow("two names, one file name")
        << QStringList{"Quad 5?", "Quad 5\""} << QStringList() << QString()
        << QStringList{"Quad 5\"", "Quad 5?"} << QStringList{"Quad 5_ (2).txt", "Quad 5_.txt"}
        << QStringList();
    QTest::newRow("rename") << QStringList{"Quad 5?", "Glider"}
                            << QStringList{"rename", "Quad 5_.txt", "Cub 1.2 m"} << QString()
                            << QStringList{"Cub 1.2 m", "Glider"}
                            << QStringList{"Cub 1.2 m.txt", "Glider.txt"} << QStringList();
    QTest::newRow("rename onto an existing name")
        << QStringList{"Cub", "Glider"} << QStringList{"rename", "Cub.txt", "glider"}
        << "A model named Glider already exists" << QStringList{"Cub", "Glider"}
        << QStringList{"Cub.txt", "Glider.txt"} << QStringList();
    QTest::newRow("no name") << QStringList{"Cub", "  "} << QStringList() << "A model needs a name"
                             << QStringList{"Cub"} << QStringList{"Cub.txt"} << QStringList();
    QTest::newRow("foreign files")
        << QStringList{"Cub", "text:notes.txt", "copy:copied.txt"} << QStringList() << QString()
        << QStringList{"copied", "Cub", "notes"}
        << QStringList{"copied.txt", "Cub.txt", "notes.txt"} << QStringList{"notes"};
    QTest::newRow("case-only pair: delete takes its own file")
        << QStringList{"copy:Cub.txt", "copy:cub.txt"} << QStringList{"delete", "cub.txt"}
        << QString() << QStringList{"Cub"} << QStringList{"Cub.txt"} << QStringList();
    QTest::newRow("case-only pair: rename takes its own file")
        << QStringList{"copy:Cub.txt", "copy:cub.txt"}
        << QStringList{"rename", "cub.txt", "Trainer"} << QString() << QStringList{"Cub", "Trainer"}
        << QStringList{"Cub.txt", "Trainer.txt"} << QStringList();
    QTest::newRow("same shown name from two files")
        << QStringList{"Cub 1.2 m", "copy:other.txt", "name:other.name=Cub 1.2 m"}
        << QStringList{"delete", "other.txt"} << QString() << QStringList{"Cub 1.2 m"}
        << QStringList{"Cub 1.2 m.txt"} << QStringList();
    QTest::newRow("90 CJK characters, twice the same start")
        << QStringList{cjk90, cjk89} << QStringList() << QString() << QStringList{cjk90, cjk89}
        << QStringList{cjk90.left(82) + " (2).txt", cjk90.left(83) + ".txt"} << QStringList();
    QTest::newRow("mode 000 and a pipe")
        << QStringList{"Cub", "mode000:M.txt", "fifo:F.txt"} << QStringList() << QString()
        << QStringList{"Cub", "F", "M"} << QStringList{"Cub.txt", "M.txt"} << QStringList{"F", "M"};
    QTest::newRow(".dat, ending in capitals, renamed")
        << QStringList{"copy:Glider.DAT", "copy:Heli.dat", "Cub"}
        << QStringList{"rename", "Heli.dat", "Heli 2"} << QString()
        << QStringList{"Cub", "Glider", "Heli 2"}
        << QStringList{"Cub.txt", "Glider.DAT", "Heli 2.dat"} << QStringList();
    QTest::newRow("full disk: the model file fails")
        << QStringList{"limit:300", "Quad 5?"} << QStringList()
        << "its file could not be written (File too large)" << QStringList() << QStringList()
        << QStringList();
    QTest::newRow("a name file in the way: the next free file name")
        << QStringList{"folder:Quad 5_.name", "Quad 5?"} << QStringList() << QString()
        << QStringList{"Quad 5?"} << QStringList{"Quad 5_ (2).txt"} << QStringList();
    QTest::newRow("a name that is another model's file name keeps that model's name")
        << QStringList{"copy:Cub.dat", "name:Cub.dat.name=Cub 1.2 m", "Cub.dat"} << QStringList()
        << QString() << QStringList{"Cub 1.2 m", "Cub.dat"} << QStringList{"Cub.dat", "Cub.dat.txt"}
        << QStringList();
    QTest::newRow("full disk: rename whose name cannot be written changes nothing")
        << QStringList{"Cub", "limit:3"} << QStringList{"rename", "Cub.txt", "Quad 5?"}
        << "Cub was not renamed: its name could not be written (File too large). Nothing changed"
        << QStringList{"Cub"} << QStringList{"Cub.txt"} << QStringList();
    QTest::newRow("full disk: replacing a model keeps it as it was")
        << QStringList{"Quad 5?", "limit:300", "Quad 5?"} << QStringList()
        << "The model is there as it was before" << QStringList{"Quad 5?"}
        << QStringList{"Quad 5_.txt"} << QStringList();
    const QString lossy = QStringLiteral("b") + QChar(QChar::ReplacementCharacter) + "d";
    QTest::newRow("a file name that is not UTF-8 is listed, not hidden")
        << QStringList{"Cub", "raw:"} << QStringList{"delete", "b\\xFFd.txt"}
        << "its file name is not valid text" << QStringList{lossy, "Cub"} << QStringList{"Cub.txt"}
        << QStringList{lossy};
    // Decoded, the name that is not text is a real file's.
    QTest::newRow("deleting a file name that is not UTF-8 leaves the file it reads as")
        << QStringList{"copy:" + lossy + ".txt", "raw:"} << QStringList{"delete", "b\\xFFd.txt"}
        << "rename it in the models folder" << QStringList{lossy, lossy}
        << QStringList{lossy + ".txt"} << QStringList{lossy};
    QTest::newRow("renaming a file name that is not UTF-8 leaves the file it reads as")
        << QStringList{"copy:" + lossy + ".txt", "raw:"}
        << QStringList{"rename", "b\\xFFd.txt", "Cub"} << "rename it in the models folder"
        << QStringList{lossy, lossy} << QStringList{lossy + ".txt"} << QStringList{lossy};
    QTest::newRow("a .dat.txt model saved before keeps its name")
        << QStringList{"copy:F3A_ Cub.dat.txt", "name:F3A_ Cub.dat.name=F3A: Cub.dat"}
        << QStringList() << QString() << QStringList{"F3A: Cub.dat"}
        << QStringList{"F3A_ Cub.dat.txt"} << QStringList();
    QTest::newRow("renaming it takes its old name file along")
        << QStringList{"copy:F3A_ Cub.dat.txt", "name:F3A_ Cub.dat.name=F3A: Cub.dat"}
        << QStringList{"rename", "F3A_ Cub.dat.txt", "Glider"} << QString() << QStringList{"Glider"}
        << QStringList{"Glider.txt"} << QStringList();
}

void TestModels::naming()
{
    QFETCH(QStringList, saved);
    QFETCH(QStringList, action);
    QFETCH(QString, trouble);
    QFETCH(QStringList, names);
    QFETCH(QStringList, files);
    QFETCH(QStringList, unreadable);

    QString last;
    for (const QString &step : saved) {
        const QString how = step.section(':', 0, 0);
        const QString path = QDir(folder()).filePath(step.section(':', 1).section('=', 0, 0));
        QFile file(path);
        if (how == "raw") {
            const QByteArray raw = QFile::encodeName(folder()) + "/b\xff"
                                                                 "d.txt";
            FILE *bytes = ::fopen(raw.constData(), "w");
            QVERIFY(bytes && ::fclose(bytes) == 0);
        } else if (how == "limit") {
            // A disk that is full for a file this long.
            ignoreFileSizeSignal();
            rlimit limit{rlim_t(step.section(':', 1).toInt()), RLIM_INFINITY};
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        } else if (how == "fifo") {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (how == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (step.contains(':') && how != "a/b") {
            // Put there by hand: a parameter file copied in, a name kept
            // beside one, any text.
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(how == "text"   ? QByteArray("notes")
                       : how == "name" ? step.section('=', 1).toUtf8()
                                       : parameterFileFor(kStartParameters));
            file.close();
            if (how == "mode000")
                QVERIFY(file.setPermissions({}));
        } else {
            last = saveModelFile(folder(), step, parameterFileFor(kStartParameters));
        }
    }
    // Rows of the same shown name are told apart wherever the pilot picks.
    QStringList labels = modelLabels(listModels(folder()));
    QCOMPARE(labels.removeDuplicates(), 0);
    const QString chosen = QDir(folder()).filePath(action.value(1));
    if (action.value(0) == "rename")
        last = renameModelFile(folder(), chosen, action[2]);
    else if (action.value(0) == "delete")
        last = deleteModelFile(folder(), chosen);
    rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &unlimited);
    QVERIFY2(trouble.isEmpty() ? last.isEmpty() : last.contains(trouble), qPrintable(last));

    QStringList listed, notReadable;
    QSet<QString> paths;
    for (const ModelEntry &model : listModels(folder())) {
        QVERIFY2(!paths.contains(model.path), qPrintable(model.path));
        paths << model.path;
        listed << model.name;
        if (!model.readable())
            notReadable << model.name;
    }
    if (::geteuid() == 0)
        unreadable.removeOne("M"); // root reads a file of mode 000
    QCOMPARE(listed, names);
    QCOMPARE(fileNames(folder()), files);
    QCOMPARE(notReadable, unreadable);
    // No name file is left behind without its model.
    for (const QString &nameFile : QDir(folder()).entryList({"*.name"}, QDir::Files)) {
        const QString model = QDir(folder()).filePath(nameFile.chopped(5));
        QVERIFY2(QFileInfo::exists(model) || QFileInfo::exists(model + ".txt"),
                 qPrintable(nameFile));
    }
    // `model:NAME` finds every listed model, pipes included, but never
    // one whose file name is not text.
    for (const QString &name : names) {
        QString shown, missing;
        const QString path = resolveModelArgument("model:" + name, folder(), &shown, &missing);
        QVERIFY2(path.isEmpty() ? missing.contains("rename it in the models folder")
                                : QFileInfo::exists(path),
                 qPrintable(missing));
    }
}

// Never "WRITE again" after a model that did not arrive: WRITE sends the
// live trims, not the model's.
void TestModels::sendOutcome()
{
    QCOMPARE(modelSentOutcome("Cub", true, false, false),
             QStringLiteral("Model Cub not received whole — send it again from MODELS"));
    QCOMPARE(
        modelSentOutcome("Cub", true, false, true),
        QStringLiteral("Model Cub: the transmitter did not answer — send it again from MODELS"));
}

void TestModels::recognition_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("differences"); // from what the transmitter holds
    QTest::addColumn<QString>("text");

    QTest::newRow("equal") << QStringList{"Cub 1.2 m"} << QList<int>{0} << "Cub 1.2 m";
    QTest::newRow("3 differ") << QStringList{"Cub 1.2 m"} << QList<int>{3}
                              << "like Cub 1.2 m (3 settings differ)";
    QTest::newRow("10 differ") << QStringList{"Cub"} << QList<int>{10}
                               << "like Cub (10 settings differ)";
    QTest::newRow("11 differ") << QStringList{"Cub"} << QList<int>{11} << QString();
    QTest::newRow("nearest") << QStringList{"Cub", "Glider", "Heli"} << QList<int>{3, 1, 11}
                             << "like Glider (1 setting differs)";
    QTest::newRow("equally near: the earlier name")
        << QStringList{"Zlin", "Acro"} << QList<int>{2, 2} << "like Acro (2 settings differ)";
    QTest::newRow("empty library") << QStringList() << QList<int>() << QString();
    // Names read as typed: nothing in them is taken for a place holder.
    QTest::newRow("%1 in the name")
        << QStringList{"A%1"} << QList<int>{3} << "like A%1 (3 settings differ)";
    QTest::newRow("& and a tag in the name") << QStringList{"<b>x</b> & %L2"} << QList<int>{1}
                                             << "like <b>x</b> & %L2 (1 setting differs)";
}

void TestModels::recognition()
{
    QFETCH(QStringList, names);
    QFETCH(QList<int>, differences);
    QFETCH(QString, text);

    // Through the files, as the library keeps them.
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(
            saveModelFile(folder(), names[i], modelFileFor(differingIn(differences[i]))).isEmpty());
    QCOMPARE(recognitionText(recogniseModel(kStartParameters, listModels(folder()))), text);
}

void TestModels::throughTheWindow()
{
    paramSet = kStartParameters;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    PtyTransmitter tx;
    QVERIFY(tx.openIn(window));
    QVERIFY(tx.waitForReceived(2));  // "OK"
    QVERIFY(waitForRefresh(window)); // the first refresh tick has passed
    MainForm *ui = window.form();

    // Save the editor as a model: an empty library says how; the new
    // model is the selected row, and the editor's settings are now in a
    // file, so nothing is "Changed".
    ui->spinBox_sub[0]->setValue(7);
    QTRY_VERIFY(!ui->statusChanges->text().isEmpty());
    ui->pushButton_Models->click();
    auto *dialog = window.findChild<ModelsDialog *>();
    QVERIFY(dialog);
    QVERIFY(dialog->findChild<QLabel *>("modelsEmpty")->isVisible());
    QVERIFY(saveModelFile(modelsFolder(), "Acro", parameterFileFor(kStartParameters)).isEmpty());
    answerInput("Cub 1.2 m");
    dialog->findChild<QPushButton *>("modelsSaveAs")->click();
    QCOMPARE(dialog->table()->rowCount(), 2);
    QCOMPARE(dialog->table()->selectedItems().first()->text(), QStringLiteral("Cub 1.2 m"));
    QCOMPARE(dialog->table()->item(1, 2)->text(), QStringLiteral("same as the editor"));
    QTRY_COMPARE(ui->statusChanges->text(), QString());
    // The Differs column follows the editor while the dialog is open.
    ui->spinBox_sub[1]->setValue(4);
    QTRY_COMPARE(dialog->table()->item(1, 2)->text(), QStringLiteral("1 setting"));
    ui->spinBox_sub[1]->setValue(0);
    QVERIFY(QFile::remove(QDir(modelsFolder()).filePath("Acro.txt")));
    dialog->close();

    // A READ of the model's settings, as a transmitter that holds it
    // reports them, names the model beside the connection, and the history
    // entry of that READ too.
    const ParameterSet cub = listModels(modelsFolder()).front().settings;
    tx.answerReads(settingFrames(cub));
    ui->toolButton_Read->click();
    QTRY_COMPARE_WITH_TIMEOUT(ui->statusModel->text(), QStringLiteral("Cub 1.2 m"), kAnswerWaitMs);
    QTRY_VERIFY(!listHistory(historyFolder()).empty());
    ui->pushButton_History->click();
    auto *history = window.findChild<HistoryDialog *>();
    QVERIFY(history);
    QCOMPARE(history->table()->item(0, 1)->text(), QStringLiteral("READ — Cub 1.2 m"));
    history->close();

    // Open in the editor: one undo step, nothing sent.
    ui->spinBox_sub[0]->setValue(-3);
    QTRY_COMPARE(paramSet.subTrim[0], -3);
    tx.clearReceived();
    ui->pushButton_Models->click();
    dialog = window.findChild<ModelsDialog *>();
    dialog->findChild<QPushButton *>("modelsOpen")->click();
    QCOMPARE(paramSet.subTrim[0], 7);
    QCOMPARE(ui->statusActivity->text(),
             QStringLiteral("Opened model Cub 1.2 m in the editor — WRITE sends it"));
    dialog->close();
    ui->tabWidget->setCurrentWidget(ui->spinBox_sub[0]->parentWidget());
    QTRY_VERIFY(!window.findChild<QDialog *>());
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    ui->spinBox_sub[0]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), ui->spinBox_sub[0]);
    QTest::keySequence(ui->spinBox_sub[0], QKeySequence(QStringLiteral("Ctrl+Z")));
    QTRY_COMPARE(paramSet.subTrim[0], -3);
    QVERIFY(!ui->statusActivity->text().startsWith("Opened model"));
    // Redone, the open says again what it did.
    ui->pushButton_Redo->click();
    QCOMPARE(ui->statusActivity->text(),
             QStringLiteral("Opened model Cub 1.2 m in the editor — WRITE sends it"));
    ui->pushButton_Undo->click();
    QCOMPARE(paramSet.subTrim[0], -3);
    QTest::qWait(50);
    QCOMPARE(tx.received(), QByteArray());

    // A model equal to the editor opened and undone: the undo takes back the
    // open, not the pilot's edit before it.
    ui->spinBox_sub[0]->setValue(7);
    QTRY_COMPARE(ui->statusChanges->text(), QString());
    ui->pushButton_Models->click();
    dialog = window.findChild<ModelsDialog *>();
    dialog->findChild<QPushButton *>("modelsOpen")->click();
    ui->pushButton_Undo->click();
    QCOMPARE(paramSet.subTrim[0], 7);
    QVERIFY(waitForRefresh(window));
    QCOMPARE(ui->statusChanges->text(), QString());

    // Send to the transmitter: the model as saved, its trims too, not the
    // trims the transmitter reports live; named once it holds it.
    ParameterSet glider = kStartParameters;
    for (int i = 0; i < 4; ++i)
        glider.stickTrim[i] = 100 + 10 * i;
    const QByteArray gliderFile = modelFileFor(glider);
    QVERIFY(saveModelFile(modelsFolder(), "Glider", gliderFile).isEmpty());
    QTimer streaming; // a transmitter reports its trims (at 80) all the while
    connect(&streaming, &QTimer::timeout, [&] {
        tx.write(hexBytes("FE 19 40 50 00 6E 00 00 00 00 50 50 50 50 00 00 00 00 00 00"));
    });
    streaming.start(300);
    QTRY_COMPARE(paramSet.stickTrim[0], 80);
    tx.clearReceived();
    dialog->close();
    QTRY_VERIFY(!window.findChild<ModelsDialog *>());
    ui->pushButton_Models->click();
    dialog = window.findChild<ModelsDialog *>();
    dialog->table()->selectRow(1);
    QCOMPARE(dialog->table()->item(1, 0)->text(), QStringLiteral("Glider"));
    dialog->findChild<QPushButton *>("modelsSend")->click();
    streaming.stop();
    for (int k = 0; k < 4; ++k)
        QVERIFY2(tx.received().contains(gliderFile.mid(k * 81, 81)), tx.received().constData());
    QVERIFY(tx.received().endsWith("WWW"));
    QTRY_COMPARE(ui->statusActivity->text(),
                 QStringLiteral("Sent model Glider to the transmitter"));
    QTRY_COMPARE(ui->statusModel->text(), QStringLiteral("Glider"));

    // Send while WRITE runs is refused: only WRITE's frames reach the
    // transmitter.
    streaming.start(300);
    tx.clearReceived();
    QString refusal;
    QTimer::singleShot(300, dialog, [&] {
        dialog->findChild<QPushButton *>("modelsSend")->click();
        refusal = dialog->findChild<QLabel *>("modelsNote")->text();
    });
    ui->toolButton_Send->click(); // returns once WRITE's transfer has ended
    streaming.stop();
    QCOMPARE(refusal, QStringLiteral("Not sent: WRITE is running — try again when it has ended"));
    QCOMPARE(tx.received().count(gliderFile.left(81)), 1);
    dialog->close();
    // A WRITE nobody was heard taking: the transmitter may hold the old
    // settings or the new, so no model is named.
    tx.setStreaming(false);
    MessageBoxCatcher boxes;
    ui->toolButton_Send->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, 3000);
    QCOMPARE(ui->statusModel->text(), QString());

    // Closing the port: the next transmitter may hold anything.
    ui->openButton->click();
    QTRY_COMPARE(ui->statusModel->text(), QString());
}

// What the pilot does while a model is on the wire: nothing replaces the
// editor, and the outcome claims the model only when its four frames left.
void TestModels::duringSend_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("said");    // on the status line once Send has ended
    QTest::addColumn<bool>("fileFrames"); // the four frames that left are the file's
    const QString sent = QStringLiteral("Sent model Glider to the transmitter — ");
    QTest::newRow("Open") << "open"
                          << sent + "Not opened: Send is running — try again when it has ended"
                          << true;
    QTest::newRow("Undo") << "undo"
                          << sent + "Not undone: Send is running — try again when it has ended"
                          << true;
    QTest::newRow("Send") << "send"
                          << sent + "Not sent: Send is running — try again when it has ended"
                          << true;
    QTest::newRow("edit on a later frame's page")
        << "edit"
        << "Sent, but changed during the transfer: the transmitter holds the editor, not Glider"
        << false;
    // WRITE would send the editor with the transmitter's own trims.
    QTest::newRow("unheard")
        << "unheard"
        << "The transmitter did not receive all settings! Please send the model again from MODELS."
        << true;
    QTest::newRow("file broken in place after listing")
        << "break"
        << "Not sent: Glider: frame I is not valid: wrong kind letter or end letter" << false;
    QTest::newRow("file broken in place as Send starts")
        << "break late"
        << "Not sent: Glider: frame I is not valid: wrong kind letter or end letter" << false;
    QTest::newRow("LOAD") << "load"
                          << sent + "Not loaded: Send is running — try again when it has ended"
                          << true;
    QTest::newRow("a check cut short by Send")
        << "check"
        << "Sent model Glider to the transmitter — Check interrupted by Send" << true;
    // RESET runs to its end inside Send's pause; Send's last frames are
    // then built from the factory settings, as is the editor.
    QTest::newRow("RESET")
        << "reset"
        << "Sent, but changed during the transfer: the transmitter holds the editor, not Glider"
        << false;
}

void TestModels::duringSend()
{
    QFETCH(QString, action);
    QFETCH(QString, said);
    QFETCH(bool, fileFrames);

    ParameterSet glider = kStartParameters;
    for (int i = 0; i < 4; ++i)
        glider.stickTrim[i] = 100 + 10 * i;
    const QByteArray gliderFile = modelFileFor(glider);
    QVERIFY(saveModelFile(folder(), "Glider", gliderFile).isEmpty());
    QVERIFY(saveModelFile(folder(), "Heli", modelFileFor(differingIn(5))).isEmpty());
    paramSet = kStartParameters;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    PtyTransmitter tx;
    QVERIFY(tx.openIn(window));
    QVERIFY(tx.waitForReceived(2));
    QTest::qWait(250);
    MainForm *ui = window.form();
    ui->spinBox_sub[0]->setValue(9); // a step to undo
    QTRY_VERIFY(ui->pushButton_Undo->isEnabled());
    ui->pushButton_Models->click();
    auto *dialog = window.findChild<ModelsDialog *>();
    QVERIFY(dialog);
    dialog->table()->selectRow(0);
    QCOMPARE(dialog->table()->item(0, 0)->text(), QStringLiteral("Glider"));
    auto *send = dialog->findChild<QPushButton *>("modelsSend");
    tx.clearReceived();

    if (action.startsWith("break")) {
        // Overwritten in place: the folder itself does not change.
        const auto breakIt = [&] {
            QFile file(QDir(folder()).filePath("Glider.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(gliderFile.left(3 * 81) + QByteArray(81, 'x'));
        };
        if (action == "break") {
            breakIt();
            send->click();
            QCOMPARE(dialog->findChild<QLabel *>("modelsNote")->text(), said);
        } else { // after Send has read it, during its first pause
            QTimer::singleShot(0, dialog, breakIt);
            send->click();
            QCOMPARE(ui->statusActivity->toolTip(), said);
        }
        QTRY_VERIFY(dialog->table()->item(0, 2)->text().contains("not readable"));
        QTest::qWait(1200);
        QCOMPARE(tx.received(), QByteArray());
        return;
    }
    if (action == "unheard") {
        tx.setStreaming(false);
        MessageBoxCatcher boxes;
        send->click();
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, 3000);
        QCOMPARE(boxes.texts.first(), said);
        QCOMPARE(tx.received().left(4 * 81) == gliderFile, fileFrames);
        return;
    }
    if (action == "check") { // no answer comes: Send cuts it short
        QTest::keyClick(dialog->windowHandle(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(tx.waitForReceived(2));
        tx.clearReceived();
    }
    QTimer::singleShot(500, dialog, [&] {
        if (action == "load") {
            ui->toolButton_Load->click();
        } else if (action == "reset") {
            ui->toolButton_Reset->click();
        } else if (action == "open") {
            dialog->table()->selectRow(1);
            dialog->findChild<QPushButton *>("modelsOpen")->click();
        } else if (action == "send") {
            dialog->table()->selectRow(1);
            send->click();
        } else if (action == "undo") {
            ui->pushButton_Undo->click();
        } else if (action == "edit") {
            ui->spinBox_THCURE_Data[3]->setValue(ui->spinBox_THCURE_Data[3]->value() + 5);
        }
    });
    send->click(); // returns once the transfer has ended
    QTRY_COMPARE_WITH_TIMEOUT(ui->statusActivity->toolTip(), said, 3000);
    QCOMPARE(tx.received().left(4 * 81) == gliderFile, fileFrames);
    // And "WWW": no second transfer but RESET's.
    QTRY_COMPARE(tx.received().size(), (action == "reset" ? 2 : 1) * (4 * 81 + 3));
}

QTEST_MAIN(TestModels)
#include "tst_models.moc"
