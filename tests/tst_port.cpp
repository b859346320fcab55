// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandline.h"
#include "app/mainwindow.h"
#include "link/framedecoder.h"
#include "link/portlist.h"
#include "model/parameterset.h"
#include "support/benchtools.h"
#include "support/messageboxcatcher.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"
#include "ui/portnamebox.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

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
    void portListRules_data();
    void portListRules();
    void portEntryText_data();
    void portEntryText();
    void portListReadsWell();
    void init();
    void cleanup();
    void openSendsOk();
    void closeSaysGoodbyeAndCentresChannels();
    void goodbyeIsTheLastWord_data();
    void goodbyeIsTheLastWord();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();
    void anyOtherButtonTextCloses_data();
    void anyOtherButtonTextCloses();
    void vanishedDeviceClosesWithoutSpinning_data();
    void vanishedDeviceClosesWithoutSpinning();
    void anotherReaderIsNoUnplug();
    void portPluggedInLaterIsOffered();
    void portUsedStaysChosen();
    void commandLinePortsStayListed_data();
    void commandLinePortsStayListed();

private:
    void verifyClosedState();
    MainWindow *window = nullptr;
    MainForm *ui = nullptr;
};

void TestPort::portListReadsWell()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *box = qobject_cast<PortNameBox *>(ui->portNameBox);
    box->setItemData(1, QStringLiteral("ttyUSB0 — USB2.0-Serial"), PortNameBox::DetailsRole);
    box->setCurrentIndex(1);
    box->showPopup();
    QWidget *popup = box->view()->window();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    popup->repaint(); // the list is painted now, as the screen shows it
    // What the screen shows: white text on dark, the current entry on blue.
    const QImage shot = popup->screen()->grabWindow(popup->winId()).toImage();
    for (int row = 0; row < 2; ++row) {
        const QRect item = box->view()->visualRect(box->model()->index(row, 0));
        const QPoint left = box->view()->viewport()->mapTo(popup, item.topLeft());
        const int y = left.y() + item.height() / 2;
        const QColor ground = shot.pixelColor(left.x() + 1, y);
        int white = 0;
        for (int x = left.x(); x < left.x() + item.width(); ++x)
            white += qGray(shot.pixel(x, y)) > 200;
        // White on the ground reads at 4.5:1 at least (relative luminance).
        const auto linear = [](qreal c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        const qreal luminance = 0.2126 * linear(ground.redF()) + 0.7152 * linear(ground.greenF()) +
                                0.0722 * linear(ground.blueF());
        QVERIFY2(
            white > 0 && 1.05 / (luminance + 0.05) >= 4.5 &&
                (row == 1 ? ground.blue() > 150 && ground.red() < 150 : qGray(ground.rgb()) < 100),
            qPrintable(QStringLiteral("row %1 on %2").arg(row).arg(ground.name())));
    }
    box->hidePopup();
}

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
    setExtraPortNames({});
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

void TestPort::goodbyeIsTheLastWord_data()
{
    QTest::addColumn<int>("streamEveryMs"); // 0: no stream
    QTest::addColumn<bool>("framePending");
    QTest::newRow("idle") << 0 << false;
    QTest::newRow("frame arrived, not yet read") << 0 << true;
    QTest::newRow("streaming at 50 Hz") << 20 << false;
}

void TestPort::goodbyeIsTheLastWord()
{
    QFETCH(int, streamEveryMs);
    QFETCH(bool, framePending);
    const QByteArray channels =
        hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D");
    PtyTransmitter tx;
    QVERIFY(tx.openIn(*window));
    QTimer stream;
    connect(&stream, &QTimer::timeout, [&] { tx.write(channels); });
    if (streamEveryMs > 0) {
        stream.start(streamEveryMs);
        QTRY_VERIFY(tx.answerCount() >= 5);
    }
    if (framePending) {
        QVERIFY(tx.sendFrame(channels)); // one answered frame before
        tx.write(channels);
        QVERIFY(tx.waitUntilToolCanRead());
    }

    ui->openButton->click();
    QTRY_VERIFY(tx.received().contains("DIS"));
    // Nothing follows "DIS", however long the transmitter keeps talking.
    QVERIFY(!tx.waitForReceived(tx.received().size() + 1, 300));
    stream.stop();
    QCOMPARE(tx.received().indexOf("DIS"), tx.received().size() - 3);
    QVERIFY(tx.received().startsWith("OK"));
    QCOMPARE(tx.received().size() % 3, 2); // "OK", then whole answers, then "DIS"
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

void TestPort::vanishedDeviceClosesWithoutSpinning_data()
{
    QTest::addColumn<bool>("usbUnplug");
    QTest::newRow("far end closed") << false;
    QTest::newRow("USB-style unplug (line hung up)") << true;
}

void TestPort::vanishedDeviceClosesWithoutSpinning()
{
    QFETCH(bool, usbUnplug);
    PtyTransmitter tx;
    QVERIFY(tx.openIn(*window));
    QVERIFY(tx.waitForReceived(2));
    liveStatus.channelOutput[0] = 1800;

    if (!usbUnplug)
        tx.closeMaster();
    else if (!tx.hangUp())
        QSKIP("this machine does not allow hanging up a line (TIOCVHANGUP)");
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

    // With the window shown the list follows the cables by itself.
    window->show();
    fakePorts = QStringList{"ttyACM0", "ttyUSB1"};
    QTRY_COMPARE_WITH_TIMEOUT(ui->portNameBox->currentText(), QStringLiteral("ttyACM0"), 2500);
    QCOMPARE(ui->statusActivity->text(), QStringLiteral("New port: ttyACM0"));

    // Plugged in while the list is dropped down: the list stays as the
    // pilot sees it, and once it closes the port is announced and chosen.
    ui->portNameBox->showPopup();
    fakePorts = QStringList{"ttyACM0", "ttyUSB0", "ttyUSB1"};
    QSignalSpy polls(window->findChild<QTimer *>("portPoll"), &QTimer::timeout);
    QVERIFY(polls.wait(5000) || !polls.isEmpty());
    QCOMPARE(items(ui->portNameBox), (QStringList{"ttyACM0", "ttyUSB1"}));
    ui->portNameBox->hidePopup();
    QTRY_COMPARE_WITH_TIMEOUT(ui->portNameBox->currentText(), QStringLiteral("ttyUSB0"), 2500);
    QCOMPARE(ui->statusActivity->text(), QStringLiteral("New port: ttyUSB0"));

    // Several changes while it is down, the chosen port pulled among them:
    // once it closes the list is what is plugged in, the new port chosen;
    // with nothing new, the chosen port gone, the first one is.
    ui->portNameBox->showPopup();
    for (const QStringList &plugged :
         {QStringList{"ttyACM0", "ttyUSB1"}, QStringList{"ttyACM0", "ttyUSB1", "ttyUSB2"},
          QStringList{"ttyACM0", "ttyUSB2"}}) {
        fakePorts = plugged;
        QVERIFY(polls.wait(5000));
    }
    QCOMPARE(items(ui->portNameBox), (QStringList{"ttyACM0", "ttyUSB0", "ttyUSB1"}));
    ui->portNameBox->hidePopup();
    QTRY_COMPARE_WITH_TIMEOUT(items(ui->portNameBox), (QStringList{"ttyACM0", "ttyUSB2"}), 2500);
    QCOMPARE(ui->portNameBox->currentText(), QStringLiteral("ttyUSB2"));
    QCOMPARE(ui->statusActivity->text(), QStringLiteral("New port: ttyUSB2"));
    ui->portNameBox->showPopup();
    fakePorts = QStringList{"ttyACM0"};
    QVERIFY(polls.wait(5000));
    ui->portNameBox->hidePopup();
    QTRY_COMPARE_WITH_TIMEOUT(items(ui->portNameBox), QStringList{"ttyACM0"}, 2500);
    QCOMPARE(ui->portNameBox->currentText(), QStringLiteral("ttyACM0"));
}

void TestPort::portUsedStaysChosen()
{
    PtyTransmitter tx;
    fakePorts = QStringList{"ttyS0", tx.slavePath(), "ttyUSB0"};
    fillPortNames(ui->portNameBox);
    QVERIFY(tx.openIn(*window));
    ui->openButton->click(); // CLOSE
    QCOMPARE(items(ui->portNameBox), fakePorts);
    QCOMPARE(ui->portNameBox->currentText(), tx.slavePath());
    // The next start chooses the port of the last successful OPEN, while
    // it is there.
    QCOMPARE(MainWindow().form()->portNameBox->currentText(), tx.slavePath());
    fakePorts.removeAll(tx.slavePath());
    QCOMPARE(MainWindow().form()->portNameBox->currentText(), QStringLiteral("ttyS0"));
}

void TestPort::commandLinePortsStayListed_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("afterClose"); // with only ttyACM0 plugged in then

    QTest::newRow("no --port") << QStringList{"vegalyra"} << QStringList{"ttyS0", "ttyUSB0"}
                               << "ttyS0" << QStringList{"ttyACM0"};
    QTest::newRow("a pseudo-terminal") << QStringList{"vegalyra", "--port", "/dev/pts/7"}
                                       << QStringList{"ttyS0", "ttyUSB0", "/dev/pts/7"}
                                       << "/dev/pts/7" << QStringList{"ttyACM0", "/dev/pts/7"};
    QTest::newRow("two, one of them enumerated")
        << QStringList{"vegalyra", "--port=ttyUSB0", "--port", "/tmp/tx"}
        << QStringList{"ttyS0", "ttyUSB0", "/tmp/tx"} << "ttyUSB0"
        << QStringList{"ttyACM0", "ttyUSB0", "/tmp/tx"};
}

void TestPort::commandLinePortsStayListed()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, listed);
    QFETCH(QString, current);
    QFETCH(QStringList, afterClose);

    // What main() does with the options before the window shows.
    const CommandLineOptions options = parseCommandLine(arguments);
    QVERIFY(!options.exitNow);
    setExtraPortNames(options.ports);
    MainWindow started;
    if (!options.ports.isEmpty())
        started.selectPort(options.ports.first());
    MainForm *form = started.form();
    QCOMPARE(items(form->portNameBox), listed);
    QCOMPARE(form->portNameBox->currentText(), current);

    PtyTransmitter tx;
    QVERIFY(tx.openIn(started));
    fakePorts = QStringList{"ttyACM0"};
    form->openButton->click();
    QCOMPARE(items(form->portNameBox), afterClose);
}

void TestPort::anotherReaderIsNoUnplug()
{
    // A second program reading the same line takes bytes the tool was told
    // had arrived; the tool's read then finds nothing. The line is still
    // there: the tool stays connected.
    PtyTransmitter tx;
    QVERIFY(tx.openIn(*window));
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    const int other =
        ::open(QFile::encodeName(tx.slavePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(other >= 0);
    std::atomic<bool> reading{true};
    std::thread thief([&] {
        char bytes[64];
        pollfd line{other, POLLIN, 0};
        while (reading) {
            if (::poll(&line, 1, 10) > 0)
                (void)::read(other, bytes, sizeof bytes);
        }
    });
    QTimer stream;
    connect(&stream, &QTimer::timeout, [&] {
        tx.write(hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D"));
    });
    stream.start(2);
    QTest::qWait(1500);
    stream.stop();
    reading = false;
    thief.join();
    ::close(other);
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(ui->openButton->text(), QStringLiteral("CLOSE"));
}

void TestPort::portListRules_data()
{
    QTest::addColumn<int>("occasion");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("shownCurrent");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("preferred"); // the port that was open, or the remembered one
    QTest::addColumn<bool>("dropDownOpen");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("message");
    const int startUp = int(PortListOccasion::StartUp);
    const int closed = int(PortListOccasion::Closed);
    const int poll = int(PortListOccasion::Poll);
    const int popup = int(PortListOccasion::Popup);
    const QStringList three{"COM1", "COM5", "COM7"};
    QTest::newRow("close: the port that was open stays chosen")
        << closed << three << "COM5" << three << "COM5" << false << three << "COM5"
        << "";
    QTest::newRow("close: the port that was open is gone")
        << closed << three << "COM5" << QStringList{"COM1", "COM7"} << "COM5" << false
        << QStringList{"COM1", "COM7"} << "COM1"
        << "";
    QTest::newRow("start: the remembered port")
        << startUp << QStringList() << "" << three << "COM7" << false << three << "COM7"
        << "";
    QTest::newRow("start: remembered port not plugged in")
        << startUp << QStringList() << "" << three << "COM9" << false << three << "COM1"
        << "";
    QTest::newRow("start: no ports at all")
        << startUp << QStringList() << "" << QStringList() << "COM9" << false << QStringList() << ""
        << "";
    QTest::newRow("poll: a port appears and is chosen")
        << poll << QStringList{"COM1", "COM7"} << "COM1" << three << "" << false << three << "COM5"
        << "New port: COM5 (USB-SERIAL CH340)";
    QTest::newRow("poll: another port goes, the choice stays")
        << poll << three << "COM7" << QStringList{"COM5", "COM7"} << "" << false
        << QStringList{"COM5", "COM7"} << "COM7"
        << "";
    QTest::newRow("poll: the chosen port goes") << poll << three << "COM7" << QStringList{"COM1"}
                                                << "" << false << QStringList{"COM1"} << "COM1"
                                                << "";
    QTest::newRow("poll: the drop-down is open, nothing changes")
        << poll << QStringList{"COM1"} << "COM1" << three << "" << true << QStringList{"COM1"}
        << "COM1"
        << "";
    QTest::newRow("drop-down about to open: the pilot chooses, nothing is chosen for them")
        << popup << QStringList{"COM1", "COM7"} << "COM7" << three << "" << false << three << "COM7"
        << "";
    QTest::newRow("command-line port stays listed when its device goes")
        << poll << QStringList{"COM1", "/dev/pts/7"} << "/dev/pts/7" << QStringList{"COM1"} << ""
        << false << QStringList{"COM1", "/dev/pts/7"} << "/dev/pts/7"
        << "";
}

void TestPort::portListRules()
{
    QFETCH(int, occasion);
    QFETCH(QStringList, shown);
    QFETCH(QString, shownCurrent);
    QFETCH(QStringList, present);
    QFETCH(QString, preferred);
    QFETCH(bool, dropDownOpen);
    QFETCH(QStringList, names);
    QFETCH(QString, current);
    QFETCH(QString, message);
    QList<PortDetails> ports;
    for (const QString &name : present) {
        ports.append({name, name == "COM5" ? QStringLiteral("USB-SERIAL CH340") : QString(),
                      QString(), 0, 0});
    }
    // The pseudo-terminal stands for a port named with --port.
    const PortListChoice choice =
        choosePortList(PortListOccasion(occasion), shown, shownCurrent, ports,
                       names.contains("/dev/pts/7") ? QStringList{"/dev/pts/7"} : QStringList(),
                       preferred, dropDownOpen);
    QCOMPARE(choice.names, names);
    QCOMPARE(choice.current, current);
    QCOMPARE(choice.message, message);
}

void TestPort::portEntryText_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("maker");
    QTest::addColumn<int>("vendor");
    QTest::addColumn<int>("product");
    QTest::addColumn<QString>("expected");
    QTest::newRow("USB adapter") << "USB2.0-Serial"
                                 << "" << 0x1a86 << 0x7523 << "ttyUSB0 — USB2.0-Serial · 1a86:7523";
    QTest::newRow("maker said twice is said once")
        << "USB-SERIAL CH340"
        << "USB-SERIAL CH340" << 0 << 0 << "ttyUSB0 — USB-SERIAL CH340";
    QTest::newRow("the system knows nothing") << ""
                                              << "" << 0 << 0 << "ttyUSB0";
}

void TestPort::portEntryText()
{
    QFETCH(QString, description);
    QFETCH(QString, maker);
    QFETCH(int, vendor);
    QFETCH(int, product);
    QFETCH(QString, expected);
    QCOMPARE(::portEntryText({"ttyUSB0", description, maker, quint16(vendor), quint16(product)}),
             expected);
}

QTEST_MAIN(TestPort)
#include "tst_port.moc"
