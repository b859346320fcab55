// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// SAVE and LOAD through the window: real files in a temporary folder, the
// file dialogs answered like a pilot would, the frames checked on a
// pseudo-terminal.
#include "app/mainwindow.h"
#include "app/startup.h"
#include "files/paramfile.h"
#include "history/history.h"
#include "link/framedecoder.h"
#include "link/frames.h"
#include "model/editing.h"
#include "model/parameterset.h"
#include "support/filedialoganswerer.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kStartFile =
    "S00100000787878787878787870707070707070707070707070707070424210424242424213027E2Y"
    "G41E2D3C4855680DCDCDCDCDC140A642A6A6674747474747474740074747474747474740135006D2Z"
    "H7474747474747474003747474015747474001020314253647407474747474747474110140380000X"
    "I8888888812121212000000000000000000000000000000000000000000000000000000000000000V";

// The file (and the wire) for a record, alarm tenths taken from the volts
// as the frame builders do.
ParameterSet withTenthsFromVolts(ParameterSet p)
{
    p.txAlarmTenths = alarmTenths(p.txAlarmVolt);
    p.rxAlarmTenths = alarmTenths(p.rxAlarmVolt);
    p.extAlarmTenths = alarmTenths(p.extAlarmVolt);
    return p;
}

QByteArray fileFor(const ParameterSet &record)
{
    return parameterFileFor(withTenthsFromVolts(record));
}

// The fields frame k carries, copied from one record to another.
void copyFrameFields(int k, const ParameterSet &from, ParameterSet &to)
{
    const FrameLayout &layout = *kFileFrameLayouts[k];
    for (int i = 0; i < layout.fieldCount; ++i) {
        if (layout.fields[i].field)
            layout.fields[i].field(to) = layout.fields[i].field(const_cast<ParameterSet &>(from));
    }
    if (layout.afterDecode)
        layout.afterDecode(to);
}

// A valid record in which every field the frames carry differs from the
// start values.
ParameterSet everyFieldChanged()
{
    ParameterSet p = kStartParameters;
    for (const FrameLayout *layout : kFileFrameLayouts) {
        for (int i = 0; i < layout->fieldCount; ++i) {
            if (!layout->fields[i].field)
                continue;
            int &v = layout->fields[i].field(p);
            const int start = v;
            for (int step : {-1, 1, -2, 2}) {
                v = start + step;
                ParameterSet check = p;
                validateParameters(check);
                if (check == p)
                    break;
            }
        }
    }
    p.txAlarmVolt = p.txAlarmTenths / 10.0;
    p.rxAlarmVolt = p.rxAlarmTenths / 10.0;
    p.extAlarmVolt = p.extAlarmTenths / 10.0;
    return p;
}

QStringList traceLines;
void collectTrace(QtMsgType, const QMessageLogContext &, const QString &text)
{
    traceLines << text;
}

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT
private slots:
    // The file dialog stores its history in Qt's settings; keep that out of
    // the real home folder, where the write-limit row would truncate it.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path())); }
    void init();
    void cleanup();
    void everyCarriedValueSurvivesTheFile();
    void saveWritesAndSendsTheFrames_data();
    void saveWritesAndSendsTheFrames();
    void saveThenLoadGivesBackTheRecord();
    void loadTakesEachFrameOnItsOwn_data();
    void loadTakesEachFrameOnItsOwn();
    void failuresLoseNothing_data();
    void failuresLoseNothing();

private:
    MainWindow *window = nullptr;
    PtyTransmitter *tx = nullptr;
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // The record as the window keeps it once its pages have shown it and
    // validation has run (a form that offers one switch keeps drSwitch at 0).
    ParameterSet settled(const ParameterSet &p)
    {
        paramSet = p;
        [&] { QVERIFY(waitForRefresh(*window)); }();
        ParameterSet kept = withTenthsFromVolts(paramSet);
        validateParameters(kept);
        paramSet = kStartParameters;
        [&] { QVERIFY(waitForRefresh(*window)); }();
        return kept;
    }
    void click(const char *name) { window->findChild<QAbstractButton *>(name)->click(); }
    void openPort()
    {
        QVERIFY(tx->openIn(*window));
        QVERIFY(tx->waitForReceived(2));
        tx->clearReceived();
    }
};

void TestFiles::init()
{
    paramSet = kStartParameters;
    suspendTrimUpdate = false;
    window = new MainWindow;
    tx = new PtyTransmitter;
    QVERIFY(tx->isValid());
    traceLines.clear();
}

void TestFiles::cleanup()
{
    qInstallMessageHandler(nullptr);
    delete window;
    delete tx;
}

void TestFiles::everyCarriedValueSurvivesTheFile()
{
    for (const FrameLayout *layout : kFileFrameLayouts) {
        for (int i = 0; i < layout->fieldCount; ++i) {
            const FrameField &f = layout->fields[i];
            if (!f.field)
                continue;
            const int lowest =
                -fieldBias(f.coding) +
                (f.coding == FieldCoding::Dec || f.coding == FieldCoding::Dec3 ? 0 : 16);
            const int highest = f.coding == FieldCoding::Dec    ? 9
                                : f.coding == FieldCoding::Dec3 ? 999
                                                                : 255 - fieldBias(f.coding);
            for (int value = lowest; value <= highest; ++value) {
                ParameterSet sent = kStartParameters;
                f.field(sent) = value;
                const QString frame =
                    encodeFrame(*layout, sent) + layout->buffer->mid(layout->builtLength);
                ParameterSet loaded = kStartParameters;
                QVERIFY(decodeFileFrame(*layout, frame, 0, loaded));
                QCOMPARE(f.field(loaded), value);
                QCOMPARE(encodeFrame(*layout, loaded), encodeFrame(*layout, sent));
            }
        }
    }
}

void TestFiles::saveWritesAndSendsTheFrames_data()
{
    QTest::addColumn<bool>("portOpen");
    QTest::newRow("port open") << true;
    QTest::newRow("port closed") << false;
}

void TestFiles::saveWritesAndSendsTheFrames()
{
    QFETCH(bool, portOpen);
    if (portOpen)
        openPort();
    FileDialogAnswerer dialogs;
    dialogs.answers << path("model.txt");
    click("toolButton_Save");

    QFile file(path("model.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), kStartFile);
    QCOMPARE(dialogs.titles, QStringList{"SAVE"});
    QCOMPARE(dialogs.directories, QStringList{QDir::currentPath()});
    QCOMPARE(dialogs.filters.value(0), (QStringList{"file (*.txt *.dat)", "allfile (*.*)"}));
    QCOMPARE(tx->received(), portOpen ? kStartFile : QByteArray()); // no "WWW" after SAVE
}

void TestFiles::saveThenLoadGivesBackTheRecord()
{
    const ParameterSet changed = settled(everyFieldChanged());
    paramSet = changed;
    openPort();
    FileDialogAnswerer dialogs;
    dialogs.answers << path("all.dat") << path("all.dat");
    click("toolButton_Save");
    const QByteArray saved = tx->takeReceived();
    QCOMPARE(saved, fileFor(changed));

    paramSet = kStartParameters;
    click("toolButton_Load");
    QVERIFY(tx->waitForReceived(kParameterFileLength + 3));
    QCOMPARE(tx->received(), saved + "WWW");
    QCOMPARE(dialogs.titles.value(1), QString("Open file"));
    QCOMPARE(dialogs.filters.value(1), (QStringList{"All file (*.*)", "file (*.txt *.dat)"}));
    for (int k = 0; k < 4; ++k) {
        ParameterSet expected = paramSet;
        copyFrameFields(k, changed, expected);
        QVERIFY2(expected == paramSet, qPrintable(QString("frame %1").arg(k)));
    }
    QVERIFY(!suspendTrimUpdate);
}

void TestFiles::loadTakesEachFrameOnItsOwn_data()
{
    QTest::addColumn<QString>("shape");            // how the file differs from a saved one
    QTest::addColumn<QVector<int>>("framesTaken"); // S = 0 … I = 3
    QTest::addColumn<QByteArray>("subTrim0Chars"); // written over subTrim[0], if any
    QTest::addColumn<int>("expectedSubTrim0");     // after validation, if subTrim0Chars

    QTest::newRow("161 characters") << "161" << QVector<int>{} << QByteArray() << 0;
    QTest::newRow("200 characters") << "200" << QVector<int>{0, 1} << QByteArray() << 0;
    QTest::newRow("G behind a bad first frame") << "bad S" << QVector<int>{1} << QByteArray() << 0;
    QTest::newRow("line ends between frames") << "crlf" << QVector<int>{0} << QByteArray() << 0;
    QTest::newRow("trailing line end") << "lf" << QVector<int>{0, 1, 2, 3} << QByteArray() << 0;
    QTest::newRow("lower-case hex") << "lower" << QVector<int>{0, 1, 2, 3} << QByteArray() << 0;
    // 230 - 120 = 110 is beyond a sub-trim: repaired to 0 before it is sent.
    QTest::newRow("E6") << "" << QVector<int>{0, 1, 2, 3} << QByteArray("E6") << 0;
    QTest::newRow("not hex") << "" << QVector<int>{0, 1, 2, 3} << QByteArray("z1") << 0;
    QTest::newRow("not text") << "" << QVector<int>{0, 1, 2, 3} << QByteArray("\xC3(") << 0;
}

void TestFiles::loadTakesEachFrameOnItsOwn()
{
    QFETCH(QString, shape);
    QFETCH(QVector<int>, framesTaken);
    QFETCH(QByteArray, subTrim0Chars);
    QFETCH(int, expectedSubTrim0);
    const ParameterSet changed = settled(everyFieldChanged());
    const QByteArray whole = fileFor(changed);
    auto frame = [&](int k) { return whole.mid(k * kFrameLength, kFrameLength); };
    QByteArray content = whole;
    if (shape == "161" || shape == "200")
        content = whole.left(shape.toInt());
    else if (shape == "bad S")
        content = "X" + whole.mid(1, 161);
    else if (shape == "crlf")
        content = frame(0) + "\r\n" + frame(1) + "\r\n" + frame(2) + "\r\n" + frame(3);
    else if (shape == "lf")
        content = whole + "\n";
    else if (shape == "lower") {
        content = whole.toLower();
        for (int at = 0; at < kParameterFileLength; at += kFrameLength) {
            content[at] = whole[at];                         // kind letter
            content[at + 80] = whole[at + kFrameLength - 1]; // end letter
        }
    }
    if (!subTrim0Chars.isEmpty())
        content.replace(9, 2, subTrim0Chars);
    QFile file(path("case.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();

    ParameterSet expected = paramSet;
    for (int k : framesTaken)
        copyFrameFields(k, changed, expected);
    if (!subTrim0Chars.isEmpty())
        expected.subTrim[0] = expectedSubTrim0;
    selectDualRate(expected);
    validateParameters(expected);

    openPort();
    FileDialogAnswerer dialogs;
    dialogs.answers << file.fileName();
    MessageBoxCatcher boxes;
    const ParameterSet before = paramSet;
    const std::size_t historyBefore = listHistory(historyFolder()).size();
    click("toolButton_Load");

    if (framesTaken.isEmpty()) {
        // Not one frame of settings: the editor's own settings are not
        // passed off as the file's, and the history keeps nothing.
        QCOMPARE(boxes.texts, QStringList{"Cannot read the specified file!"});
        QTest::qWait(50);
        QCOMPARE(tx->received(), QByteArray());
        QVERIFY(paramSet == before);
        QTest::qWait(50);
        QCOMPARE(listHistory(historyFolder()).size(), historyBefore);
        return;
    }
    QCOMPARE(boxes.texts, QStringList());
    QVERIFY(tx->waitForReceived(kParameterFileLength + 3));
    QCOMPARE(tx->received(), fileFor(expected) + "WWW");
    QVERIFY(paramSet == withTenthsFromVolts(expected));
}

void TestFiles::failuresLoseNothing_data()
{
    QTest::addColumn<QString>("action"); // the button the pilot presses
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("box");   // the message box text, empty for none
    QTest::addColumn<QString>("trace"); // a trace line that must appear
    QTest::newRow("load from a socket") << "toolButton_Load"
                                        << "socket"
                                        << "Cannot read the specified file!"
                                        << "";
    QTest::newRow("load a huge file") << "toolButton_Load"
                                      << "huge.txt"
                                      << ""
                                      << "Blength01:65536";
    QTest::newRow("load an endless device") << "toolButton_Load"
                                            << "/dev/zero"
                                            << "Cannot read the specified file!"
                                            << "Blength00:65536";
    QTest::newRow("save into a missing folder") << "toolButton_Save"
                                                << "missing/model.txt"
                                                << "Cannot read the specified file!"
                                                << "";
    QTest::newRow("save beyond the disk's limit") << "toolButton_Save"
                                                  << "full.txt"
                                                  << "Cannot read the specified file!"
                                                  << "";
    QTest::newRow("save onto a pipe") << "toolButton_Save"
                                      << "pipe"
                                      << "Cannot read the specified file!"
                                      << "";
}

void TestFiles::failuresLoseNothing()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    QFETCH(QString, box);
    QFETCH(QString, trace);
    const QString file = target.startsWith('/') ? target : dir.filePath(target);
    const QByteArray previous = "the pilot's earlier file";
    if (target == "socket") {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(file).constData(), sizeof address.sun_path);
        QVERIFY(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    } else if (target == "huge.txt") {
        QFile huge(file);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        huge.write(kStartFile);
        huge.write(QByteArray(1 << 20, 'x'));
    } else if (target == "pipe") {
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
    } else if (target == "full.txt") {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(previous) == previous.size());
        old.close();
        ignoreFileSizeSignal();           // as the tool does when it starts
        rlimit limit{100, RLIM_INFINITY}; // fewer bytes than one parameter file
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
    }
    paramSet.subTrim[3] = 33;
    const ParameterSet before = paramSet;
    MessageBoxCatcher boxes;
    FileDialogAnswerer dialogs;
    dialogs.answers << file;
    qInstallMessageHandler(collectTrace);
    click(qPrintable(action));
    qInstallMessageHandler(nullptr);
    rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &unlimited);

    QCOMPARE(boxes.texts, box.isEmpty() ? QStringList() : QStringList{box});
    QCOMPARE(boxes.titles, box.isEmpty() ? QStringList() : QStringList{"ERROR"});
    if (!trace.isEmpty())
        QVERIFY2(traceLines.contains(trace), qPrintable(traceLines.join(' ')));
    if (target == "full.txt") {
        QFile old(file);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), previous);
    }
    if (target.startsWith("missing"))
        QVERIFY(!QFile::exists(file));
    if (target == "pipe")
        QVERIFY(!QFileInfo(file).isFile()); // still the pipe, not a file in its place
    if (!box.isEmpty() && action == "toolButton_Load") {
        QVERIFY(paramSet == before);
        // Telemetry moves the trims again once LOAD has given up.
        openPort();
        QVERIFY(
            tx->sendFrame(hexBytes("FE 19 40 50 00 6E 00 00 00 00 50 50 50 50 00 00 00 00 00 00")));
        QCOMPARE(paramSet.stickTrim[0], 0x50);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".tmp").size(), 0);
}

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
