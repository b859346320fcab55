#include "app/mainwindow.h"
#include "link/framedecoder.h"
#include "link/portlist.h"
#include "model/parameterset.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"

#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <sys/resource.h>

namespace {

// Stands in for the platform's port enumeration, so a test can plug an
// adapter in after start-up.
QStringList fakePorts;
QStringList listFakePorts()
{
    return fakePorts;
}

QImage lampImage(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage();
}
QImage lamp(const char *colour)
{
    return lampImage(QIcon(QStringLiteral(":/myImage/images/%1.png").arg(colour)));
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QStringList items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

class TestPort : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setPortEnumerator(listFakePorts); }
    void init();
    void cleanup();
    void openSendsOk();
    void closeSaysGoodbyeAndCentresChannels();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();
    void anyOtherButtonTextCloses_data();
    void anyOtherButtonTextCloses();
    void vanishedDeviceClosesWithoutSpinning();
    void portPluggedInLaterIsOffered();

private:
    void verifyClosedState();
    MainWindow *window = nullptr;
    MainForm *ui = nullptr;
};

void TestPort::init()
{
    fakePorts = QStringList{"ttyS0", "ttyUSB0"};
    for (int &v : liveStatus.channelOutput)
        v = 1000;
    window = new MainWindow;
    ui = window->form();
}

void TestPort::cleanup()
{
    delete window;
    window = nullptr;
}

void TestPort::verifyClosedState()
{
    QCOMPARE(ui->openButton->text(), QStringLiteral("OPEN"));
    QVERIFY(ui->portNameBox->isEnabled());
    QCOMPARE(lampImage(ui->toolButton_led->icon()), lamp("red"));
    QCOMPARE(items(ui->portNameBox), fakePorts);
    QCOMPARE(ui->portNameBox->currentIndex(), fakePorts.isEmpty() ? -1 : 0);
}

void TestPort::openSendsOk()
{
    PtyTransmitter tx;
    QVERIFY(tx.isValid());
    QVERIFY(tx.openIn(*window));
    QVERIFY(!ui->portNameBox->isEnabled());
    QCOMPARE(lampImage(ui->toolButton_led->icon()), lamp("green"));
    QVERIFY(tx.waitForReceived(2));
    QVERIFY(!tx.waitForReceived(3, 300)); // and nothing after it
    QCOMPARE(tx.received(), QByteArray("OK"));
}

void TestPort::closeSaysGoodbyeAndCentresChannels()
{
    PtyTransmitter tx;
    QVERIFY(tx.openIn(*window));
    QVERIFY(tx.waitForReceived(2));
    tx.clearReceived();
    for (int ch = 0; ch < 8; ++ch)
        liveStatus.channelOutput[ch] = 200 * ch + 300;
    QVERIFY(QMetaObject::invokeMethod(window, "Servo_Display"));
    fakePorts = QStringList{"ttyACM0"}; // what is plugged in at the moment of closing

    ui->openButton->click();
    // The monitor is back at rest before the next refresh could run.
    for (int ch = 0; ch < 8; ++ch) {
        QCOMPARE(liveStatus.channelOutput[ch], 1000);
        QCOMPARE(ui->channelReadout[ch]->text(), QStringLiteral("1000"));
        QCOMPARE(ui->gaugeUpper[ch]->value(), 10);
        QCOMPARE(ui->gaugeLower[ch]->value(), 1000);
    }
    verifyClosedState();
    QVERIFY(tx.waitForReceived(3));
    QCOMPARE(tx.received(), QByteArray("DIS"));
}

void TestPort::failedOpenChangesNothing_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("no port present") << QStringList() << QString();
    QTest::newRow("port that does not exist")
        << QStringList{"ttyS0"} << QStringLiteral("/dev/vegalyra-no-such-port");
}

void TestPort::failedOpenChangesNothing()
{
    QFETCH(QStringList, ports);
    QFETCH(QString, chosen);
    fakePorts = ports;
    fillPortNames(ui->portNameBox);
    if (!chosen.isEmpty()) {
        ui->portNameBox->addItem(chosen);
        ui->portNameBox->setCurrentText(chosen);
    }
    const QStringList before = items(ui->portNameBox);
    const qint64 lampBefore = ui->toolButton_led->icon().cacheKey();

    MessageBoxCatcher catcher;
    ui->openButton->click();
    QCOMPARE(catcher.titles, QStringList{"Note"});
    QCOMPARE(catcher.texts, QStringList{"Cannot open the serial port!"});
    QCOMPARE(ui->openButton->text(), QStringLiteral("OPEN"));
    QVERIFY(ui->portNameBox->isEnabled());
    QCOMPARE(items(ui->portNameBox), before);
    QCOMPARE(ui->portNameBox->currentText(), chosen);
    QCOMPARE(ui->toolButton_led->icon().cacheKey(), lampBefore);
}

void TestPort::anyOtherButtonTextCloses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("portOpen");
    QTest::newRow("lower case, port open") << "open" << true;
    QTest::newRow("trailing blank, port open") << "OPEN " << true;
    QTest::newRow("empty, port open") << "" << true;
    QTest::newRow("CLOSE, port already closed") << "CLOSE" << false;
}

void TestPort::anyOtherButtonTextCloses()
{
    QFETCH(QString, text);
    QFETCH(bool, portOpen);
    PtyTransmitter tx;
    if (portOpen) {
        QVERIFY(tx.openIn(*window));
        QVERIFY(tx.waitForReceived(2));
        tx.clearReceived();
    }
    liveStatus.channelOutput[3] = 1700;
    ui->openButton->setText(text);
    MessageBoxCatcher catcher;
    ui->openButton->click();
    QCOMPARE(liveStatus.channelOutput[3], 1000);
    verifyClosedState();
    if (portOpen)
        QVERIFY(tx.waitForReceived(3));
    QCOMPARE(tx.received(), QByteArray(portOpen ? "DIS" : ""));
    QVERIFY(catcher.titles.isEmpty());
}

void TestPort::vanishedDeviceClosesWithoutSpinning()
{
    PtyTransmitter tx;
    QVERIFY(tx.openIn(*window));
    QVERIFY(tx.waitForReceived(2));
    liveStatus.channelOutput[0] = 1800;

    tx.closeMaster();
    QTRY_COMPARE_WITH_TIMEOUT(ui->openButton->text(), QStringLiteral("OPEN"), 1000 * kWaitScale);
    QCOMPARE(ui->channelReadout[0]->text(), QStringLiteral("1000"));
    verifyClosedState();

    // A port left open on a vanished device reports errors on every turn of
    // the event loop; half a second of idling must cost next to nothing.
    const double before = cpuSeconds();
    QTest::qWait(500);
    const double used = cpuSeconds() - before;
    qInfo("CPU while idle after the device vanished: %.3f s of 0.5 s", used);
    QVERIFY2(used < 0.15, qPrintable(QString::number(used)));
}

void TestPort::portPluggedInLaterIsOffered()
{
    fakePorts = QStringList{"ttyS0"};
    fillPortNames(ui->portNameBox);
    fakePorts = QStringList{"ttyACM0", "ttyS0", "ttyUSB1"};
    QCOMPARE(items(ui->portNameBox), QStringList{"ttyS0"}); // idle: nothing changes

    ui->portNameBox->showPopup();
    QCOMPARE(items(ui->portNameBox), fakePorts);
    QCOMPARE(ui->portNameBox->currentText(), QStringLiteral("ttyS0"));
    ui->portNameBox->hidePopup();

    fakePorts = QStringList{"ttyUSB1"}; // the chosen adapter was pulled
    ui->portNameBox->showPopup();
    QCOMPARE(items(ui->portNameBox), fakePorts);
    QCOMPARE(ui->portNameBox->currentText(), QStringLiteral("ttyUSB1"));
    ui->portNameBox->hidePopup();
}

QTEST_MAIN(TestPort)
#include "tst_port.moc"
