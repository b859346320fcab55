// The model library: names on disk, recognising what the transmitter
// holds, and MODELS in the window over a pseudo-terminal, all in a data
// folder of the test's own.
#include "app/mainwindow.h"
#include "files/paramfile.h"
#include "link/framedecoder.h"
#include "models/library.h"
#include "models/modelsdialog.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"
#include "views/historydialog.h"

#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

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
    return QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files,
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
    void recognition_data();
    void recognition();
    void throughTheWindow();

private:
    QTemporaryDir data;
    QString folder() const { return modelsFolder(); }
};

void TestModels::init()
{
    QVERIFY(data.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QDir(data.path()).removeRecursively();
    QDir().mkpath(folder());
}

void TestModels::naming_data()
{
    QTest::addColumn<QStringList>("saved");      // saved in this order
    QTest::addColumn<QStringList>("renamed");    // from, to
    QTest::addColumn<QString>("trouble");        // what the last step says
    QTest::addColumn<QStringList>("names");      // as listed
    QTest::addColumn<QStringList>("files");      // on disk
    QTest::addColumn<QStringList>("unreadable"); // listed as not readable

    QTest::newRow("odd characters")
        << QStringList{"Quad 5\"", "Cub 1.2 m", "a/b:c", "CON", " Heli. "} << QStringList()
        << QString() << QStringList{"a/b:c", "CON", "Cub 1.2 m", "Heli.", "Quad 5\""}
        << QStringList{"_CON.txt", "a_b_c.txt", "Cub 1.2 m.txt", "Heli_.txt", "Quad 5_.txt"}
        << QStringList();
    QTest::newRow("same name twice, other case")
        << QStringList{"Cub", "cub"} << QStringList() << QString() << QStringList{"cub"}
        << QStringList{"Cub.txt"} << QStringList();
    QTest::newRow("two names, one file name")
        << QStringList{"Quad 5?", "Quad 5\""} << QStringList() << QString()
        << QStringList{"Quad 5\"", "Quad 5?"} << QStringList{"Quad 5_ (2).txt", "Quad 5_.txt"}
        << QStringList();
    QTest::newRow("rename") << QStringList{"Quad 5?", "Glider"}
                            << QStringList{"Quad 5?", "Cub 1.2 m"} << QString()
                            << QStringList{"Cub 1.2 m", "Glider"}
                            << QStringList{"Cub 1.2 m.txt", "Glider.txt"} << QStringList();
    QTest::newRow("rename onto an existing name")
        << QStringList{"Cub", "Glider"} << QStringList{"Cub", "glider"}
        << "A model named Glider already exists" << QStringList{"Cub", "Glider"}
        << QStringList{"Cub.txt", "Glider.txt"} << QStringList();
    QTest::newRow("no name") << QStringList{"Cub", "  "} << QStringList() << "A model needs a name"
                             << QStringList{"Cub"} << QStringList{"Cub.txt"} << QStringList();
    QTest::newRow("foreign files")
        << QStringList{"Cub", "foreign:notes", "foreign:copied"} << QStringList() << QString()
        << QStringList{"copied", "Cub", "notes"}
        << QStringList{"copied.txt", "Cub.txt", "notes.txt"} << QStringList{"notes"};
}

void TestModels::naming()
{
    QFETCH(QStringList, saved);
    QFETCH(QStringList, renamed);
    QFETCH(QString, trouble);
    QFETCH(QStringList, names);
    QFETCH(QStringList, files);
    QFETCH(QStringList, unreadable);

    QString last;
    for (const QString &name : saved) {
        if (name.startsWith("foreign:")) {
            // Put there by hand: a parameter file copied in, or any text.
            QFile file(QDir(folder()).filePath(name.mid(8) + ".txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(name.endsWith("copied") ? parameterFileFor(kStartParameters) : "notes");
            continue;
        }
        last = saveModelFile(folder(), name, parameterFileFor(kStartParameters));
    }
    if (!renamed.isEmpty())
        last = renameModelFile(folder(), renamed[0], renamed[1]);
    QVERIFY2(trouble.isEmpty() ? last.isEmpty() : last.contains(trouble), qPrintable(last));

    QStringList listed, notReadable;
    for (const ModelEntry &model : listModels(folder())) {
        listed << model.name;
        if (!model.readable())
            notReadable << model.name;
    }
    QCOMPARE(listed, names);
    QCOMPARE(fileNames(folder()), files);
    QCOMPARE(notReadable, unreadable);
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
    QVERIFY(tx.waitForReceived(2)); // "OK"
    QTest::qWait(250);              // the first refresh tick has passed
    MainForm *ui = window.form();

    // Save the editor as a model.
    ui->spinBox_sub[0]->setValue(7);
    ui->pushButton_Models->click();
    auto *dialog = window.findChild<ModelsDialog *>();
    QVERIFY(dialog);
    answerInput("Cub 1.2 m");
    dialog->findChild<QPushButton *>("modelsSaveAs")->click();
    QCOMPARE(dialog->table()->rowCount(), 1);
    QCOMPARE(dialog->table()->item(0, 0)->text(), QStringLiteral("Cub 1.2 m"));
    QCOMPARE(dialog->table()->item(0, 2)->text(), QStringLiteral("same as the editor"));
    dialog->close();

    // A READ of the model's settings, as a transmitter that holds it
    // reports them, names the model beside the connection, and the history
    // entry of that READ too.
    const ParameterSet cub = listModels(modelsFolder()).front().settings;
    const QList<QByteArray> answer = settingFrames(cub);
    int sent = 0;
    QTimer answering;
    connect(&answering, &QTimer::timeout, [&] {
        if (sent < answer.size())
            tx.write(answer[sent++]);
    });
    QTimer::singleShot(250, &answering, [&answering] { answering.start(15); });
    ui->toolButton_Read->click();
    QTRY_COMPARE_WITH_TIMEOUT(ui->statusModel->text(), QStringLiteral("Cub 1.2 m"), 3000);
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
    QTest::qWait(50);
    QCOMPARE(tx.received(), QByteArray());

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

QTEST_MAIN(TestModels)
#include "tst_models.moc"
