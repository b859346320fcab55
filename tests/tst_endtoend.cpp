// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <memory>

namespace {

void fill(int *to, std::initializer_list<int> values)
{
    std::copy(values.begin(), values.end(), to);
}

// A model whose settings differ from the tool's start values in every one
// of the four frames and on every settings page.
ParameterSet pilotsModel()
{
    ParameterSet p = factoryRecord();
    fill(p.reverse, {1, 1, 0, 1, 1, 1, 1, 1});
    fill(p.subTrim, {-30, -22, -14, -6, 2, 10, 18, 26});
    fill(p.endPointLeft, {100, 101, 102, 103, 104, 105, 106, 107});
    fill(p.endPointRight, {110, 109, 108, 107, 106, 105, 104, 103});
    fill(p.servoDelay, {5, 15, 25, 35, 45, 55, 65, 75});
    fill(p.failSafe, {12, 23, 34, 45, 56, 67, 78, 89});
    fill(p.auxSource + 4, {5, 4, 1, 0});
    fill(&p.drRate[0][0], {90, 80, 70, 60, 55, 65, 75, 85});
    fill(&p.drExpo[0][0], {-20, 10, 30, -40, 25, -15, 5, 45});
    fill(p.attitude, {10, 25, 40, 60, 75, 95});
    fill(p.elevon, {80, -70, 60, 50, -40, 30});
    fill(p.vtail, {-30, 40, -60, 70});
    fill(p.throttleCurve, {5, 20, 38, 55, 70, 88, 97});
    p.progMix[0] = {2, 2, 6, 15, -35, 45};
    p.progMix[1] = {1, 3, 7, -10, 55, -65};
    p.progMix[2] = {2, 4, 0, 20, 35, 45};
    p.progMix[3] = {1, 6, 2, -25, 60, 80};
    p.drMix = p.drPosition = p.attitudeChannel = p.elevonMix = p.vtailMix = 1;
    p.throttleCurveMix = p.stickMode = 1;
    p.throttleCurveExtra = 2;
    p.txAlarmTenths = 72;
    p.rxAlarmTenths = 45;
    p.extAlarmTenths = 105;
    p.rssiAlarm = -70;
    fill(p.trimStep, {4, 6, 8, 10});
    fill(p.stickTrim, {100, 130, 110, 140});
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
    QTRY_COMPARE_WITH_TIMEOUT(settingsShown(*window), expectedPages, 20000);
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
    QVERIFY(QTest::qWaitFor(
        [&] {
            int moving = 0;
            for (int ch = 0; ch < 8; ++ch) {
                seen[ch].insert(ui()->gaugeUpper[ch]->value() * 10000 +
                                ui()->gaugeLower[ch]->value());
                moving += seen[ch].size() >= 3;
            }
            return moving == 8;
        },
        10000));
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
