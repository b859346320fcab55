// The tool and the transmitter emulator as two processes on one
// pseudo-terminal: READ brings the emulator's settings onto every page,
// WRITE stores the pilot's edits in the emulator, and the live stream moves
// the gauges until the link goes down.
#include "app/mainwindow.h"
#include "emulator/record.h"
#include "files/paramfile.h"
#include "link/framedecoder.h"
#include "model/editing.h"
#include "model/parameterset.h"
#include "support/messageboxcatcher.h"
#include "ui/mainform.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <memory>

namespace {

// A model whose settings differ from the tool's start values in every one
// of the four frames and on every settings page.
ParameterSet pilotsModel()
{
    ParameterSet p = factoryRecord();
    for (int i = 0; i < 8; ++i) {
        p.reverse[i] = 1 - kStartParameters.reverse[i];
        p.subTrim[i] = -30 + 8 * i;
        p.endPointLeft[i] = 100 + i;
        p.endPointRight[i] = 110 - i;
        p.servoDelay[i] = 5 + 10 * i;
        p.failSafe[i] = 12 + 11 * i;
    }
    const int aux[4] = {5, 4, 1, 0};
    std::copy(aux, aux + 4, p.auxSource + 4);
    p.drMix = 1;
    p.drPosition = 1;
    const int rates[2][4] = {{90, 80, 70, 60}, {55, 65, 75, 85}};
    const int expos[2][4] = {{-20, 10, 30, -40}, {25, -15, 5, 45}};
    std::copy(&rates[0][0], &rates[0][0] + 8, &p.drRate[0][0]);
    std::copy(&expos[0][0], &expos[0][0] + 8, &p.drExpo[0][0]);
    p.attitudeChannel = 1;
    const int attitude[6] = {10, 25, 40, 60, 75, 95};
    std::copy(attitude, attitude + 6, p.attitude);
    p.elevonMix = 1;
    const int elevon[6] = {80, -70, 60, 50, -40, 30};
    std::copy(elevon, elevon + 6, p.elevon);
    p.vtailMix = 1;
    const int vtail[4] = {-30, 40, -60, 70};
    std::copy(vtail, vtail + 4, p.vtail);
    p.throttleCurveMix = 1;
    p.throttleCurveExtra = 2;
    const int curve[7] = {5, 20, 38, 55, 70, 88, 97};
    std::copy(curve, curve + 7, p.throttleCurve);
    p.progMix[0] = {2, 2, 6, 15, -35, 45};
    p.progMix[1] = {1, 3, 7, -10, 55, -65};
    p.progMix[2] = {2, 4, 0, 20, 35, 45};
    p.progMix[3] = {1, 6, 2, -25, 60, 80};
    p.txAlarmTenths = 72;
    p.rxAlarmTenths = 45;
    p.extAlarmTenths = 105;
    p.rssiAlarm = -70;
    p.stickMode = 1;
    const int steps[4] = {4, 6, 8, 10};
    std::copy(steps, steps + 4, p.trimStep);
    const int trims[4] = {100, 130, 110, 140};
    std::copy(trims, trims + 4, p.stickTrim);
    return p;
}

// What the tool's record should hold once a READ of `model` is through:
// its start values, overwritten by what the setting frames and the
// telemetry carry, with the dual-rate working copies selected again.
ParameterSet afterRead(const ParameterSet &model)
{
    ParameterSet p = kStartParameters;
    LiveStatus live{};
    for (const QByteArray &frame : settingFrames(model))
        decodeNotification(frame, p, live, false);
    std::copy(model.stickTrim, model.stickTrim + 4, p.stickTrim);
    selectDualRate(p);
    validateParameters(p);
    return p;
}

// What every settings widget shows, by object name.
using Shown = QMap<QString, QString>;
Shown settingsShown(const MainWindow &window)
{
    Shown shown;
    const QWidget *pages = window.form()->tabWidget;
    for (const QComboBox *box : pages->findChildren<QComboBox *>())
        shown[box->objectName()] = box->currentText();
    for (const QAbstractSpinBox *box : pages->findChildren<QAbstractSpinBox *>())
        shown[box->objectName()] = box->text();
    return shown;
}

// The pages as a window shows `record` after one refresh.
Shown pagesShowing(const ParameterSet &record)
{
    const ParameterSet saved = paramSet;
    paramSet = record;
    Shown shown;
    {
        MainWindow reference;
        QMetaObject::invokeMethod(&reference, "ui_Display", Qt::DirectConnection);
        shown = settingsShown(reference);
    }
    paramSet = saved;
    return shown;
}

double cpuSecondsOf(qint64 pid)
{
    if (pid == 0) {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // Fields 14 and 15 (utime, stime) follow the command name in brackets.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toLongLong() + fields.value(12).toLongLong()) /
           double(sysconf(_SC_CLK_TCK));
}

// The emulator as a process of its own, its device path from the first
// line it prints.
class Emulator
{
public:
    bool start(const QStringList &arguments)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(VEGALYRA_EMULATOR_PATH), arguments);
        if (!QTest::qWaitFor([this] { return m_process.canReadLine(); }, 10000))
            return false;
        const QString line = QString::fromLocal8Bit(m_process.readLine());
        m_device = QRegularExpression(QStringLiteral("(/dev/\\S+)")).match(line).captured(1);
        return !m_device.isEmpty();
    }
    QString device() const { return m_device; }
    qint64 pid() const { return m_process.processId(); }
    bool stop()
    {
        m_process.terminate();
        return m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
    }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
    QString output() { return QString::fromLocal8Bit(m_process.readAllStandardOutput()); }

private:
    QProcess m_process;
    QString m_device;
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void readEditWrite();
    void streamMovesGaugesUntilLinkEnds_data();
    void streamMovesGaugesUntilLinkEnds();

private:
    bool open(const Emulator &emulator);
    MainForm *ui() { return window->form(); }
    QAbstractButton *button(const char *name) { return window->findChild<QAbstractButton *>(name); }
    std::unique_ptr<MainWindow> window;
    QTemporaryDir dir;
};

void TestEndToEnd::init()
{
    paramSet = kStartParameters;
    liveStatus = LiveStatus{{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}, 0, 0, 0, 0};
    window = std::make_unique<MainWindow>();
}

void TestEndToEnd::cleanup()
{
    window.reset();
}

bool TestEndToEnd::open(const Emulator &emulator)
{
    ui()->portNameBox->addItem(emulator.device());
    ui()->portNameBox->setCurrentText(emulator.device());
    ui()->openButton->click();
    return ui()->openButton->text() == QLatin1String("CLOSE");
}

void TestEndToEnd::readEditWrite()
{
    const ParameterSet model = pilotsModel();
    const QString modelFile = dir.filePath(QStringLiteral("model.txt"));
    const QString savedFile = dir.filePath(QStringLiteral("saved.txt"));
    {
        QFile file(modelFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(recordFileBytes(model));
    }
    ParameterSet expected = afterRead(model);
    expected.txVersion = kEmulatorFirmwareVersion;
    const Shown expectedPages = pagesShowing(expected);

    Emulator emulator;
    QVERIFY(emulator.start({"--load", modelFile, "--save", savedFile}));
    QVERIFY(open(emulator));

    // READ, and note when the pages first show the whole record.
    QElapsedTimer clock;
    qint64 shownAfterMs = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (shownAfterMs < 0 && settingsShown(*window) == expectedPages)
            shownAfterMs = clock.elapsed();
    });
    poll.start(5);
    clock.start();
    button("toolButton_Read")->click();
    QTRY_COMPARE_WITH_TIMEOUT(settingsShown(*window), expectedPages, 5000);
    QCOMPARE(paramSet, expected);
    qInfo("READ: every page showed the emulator's record %lld ms after the click "
          "(the command itself takes %lld ms)",
          shownAfterMs, clock.elapsed());

    // One edit on every settings page, then WRITE.
    ui()->spinBox_sub[2]->setValue(42);
    ui()->spinBox_Atti[1]->setValue(33);
    ui()->spinBox_THCURE_Data[3]->setValue(61);
    ui()->spinBox_PRM_Data2[1]->setValue(-22);
    ui()->spinBox_step[1]->setValue(7);
    ui()->doubleSpinBox_Volt->setValue(6.6);
    QVERIFY(paramSet != expected);
    button("toolButton_Send")->click();

    QVERIFY(emulator.stop());
    QFile saved(savedFile);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    // What the tool sent is what its SAVE would write.
    QCOMPARE(saved.readAll(), parameterFileBytes());
    QVERIFY(parameterFileBytes() != recordFileBytes(model));
}

void TestEndToEnd::streamMovesGaugesUntilLinkEnds_data()
{
    QTest::addColumn<bool>("transmitterDies");
    QTest::newRow("pilot presses CLOSE") << false;
    QTest::newRow("transmitter killed mid-stream") << true;
}

void TestEndToEnd::streamMovesGaugesUntilLinkEnds()
{
    QFETCH(bool, transmitterDies);
    Emulator emulator;
    QVERIFY(emulator.start({}));
    QVERIFY(open(emulator));

    // Every gauge travels, and the header fills in.
    QVector<QSet<int>> seen(8);
    const double toolCpu = cpuSecondsOf(0);
    const double emulatorCpu = cpuSecondsOf(emulator.pid());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(QTest::qWaitFor(
        [&] {
            int moving = 0;
            for (int ch = 0; ch < 8; ++ch) {
                seen[ch].insert(ui()->gaugeUpper[ch]->value() * 10000 +
                                ui()->gaugeLower[ch]->value());
                moving += seen[ch].size() >= 3;
            }
            return moving == 8 && clock.elapsed() >= 2000;
        },
        10000));
    qInfo("CPU while streaming: tool %.1f %%, emulator %.1f %%",
          100 * (cpuSecondsOf(0) - toolCpu) / (clock.elapsed() / 1000.0),
          100 * (cpuSecondsOf(emulator.pid()) - emulatorCpu) / (clock.elapsed() / 1000.0));
    QVERIFY(ui()->lineEdit_RSSI->text().endsWith(QLatin1String("dBm")));
    for (QLineEdit *volts : {ui()->lineEdit_TX, ui()->lineEdit_RX, ui()->lineEdit_EXT})
        QVERIFY2(volts->text() != QLatin1String(" 0.0V"), qPrintable(volts->objectName()));

    MessageBoxCatcher catcher;
    if (transmitterDies)
        emulator.kill();
    else
        ui()->openButton->click();
    QTRY_COMPARE(ui()->openButton->text(), QStringLiteral("OPEN"));
    for (int ch = 0; ch < 8; ++ch) {
        QCOMPARE(ui()->channelReadout[ch]->text(), QStringLiteral("1000"));
        QCOMPARE(ui()->gaugeUpper[ch]->value(), 10);
        QCOMPARE(ui()->gaugeLower[ch]->value(), 1000);
    }
    QVERIFY(catcher.titles.isEmpty());
    if (!transmitterDies)
        QVERIFY(emulator.stop());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
