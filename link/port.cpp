// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "app/qtcompat.h"

#include "link/framedecoder.h"
#include "link/openfailure.h"
#include "link/portlist.h"
#include "link/serialcomm.h"
#include "ui/mainform.h"
#include "ui/portnamebox.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSettings>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

#if defined(Q_OS_UNIX)
#include <termios.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

QStringList (*portEnumerator)() = nullptr;
QStringList extraPorts;

// At 115200 baud the line carries about 11.5 bytes per millisecond. Waits
// for queued bytes allow for that rate plus a margin; a line that has not
// taken them by then is stuck.
constexpr qint64 kLineBytesPerMs = 11;
constexpr qint64 kDrainMarginMs = 100;

// How often the list looks for adapters plugged in or pulled while the port
// is closed.
constexpr int kPortPollMs = 1000;

void showConnected(MainForm *ui, bool connected)
{
    ui->portNameBox->setEnabled(!connected);
    ui->openButton->setText(connected ? QStringLiteral("CLOSE") : QStringLiteral("OPEN"));
    ui->toolButton_led->setIcon(QIcon(connected ? QStringLiteral(":/myImage/images/green.png")
                                                : QStringLiteral(":/myImage/images/red.png")));
}

void applyLineSettings(QSerialPort &port, const QString &name)
{
    port.setPortName(name);
    port.setBaudRate(115200, QSerialPort::AllDirections);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
}

// Everything that follows the link going down, whether the pilot closed it
// or the device went away: the channel monitor returns to centre at once,
// and the pilot may choose a port again from the ports present now.
void returnToClosed(QSerialPort &port, LinkActivity &link, MainForm *ui,
                    const std::function<void()> &showServos)
{
    link.connectionEnded(); // commands started on it write nothing more
    if (port.isOpen())
        port.close();
    for (int &output : liveStatus.channelOutput)
        output = 1000;
    showServos();
    showConnected(ui, false);
    // The pilot reopens the port just used with one click.
    // (The box held the port's name, as the pilot chose it, while it was open.)
    updatePortNames(ui->portNameBox, PortListOccasion::Closed, ui->portNameBox->currentText());
}

// Waits until the driver has sent what it holds, so that closing the port
// or changing its line settings cannot catch the last bytes on the wire.
bool waitUntilSent(QSerialPort &port)
{
#if defined(Q_OS_UNIX)
    return ::tcdrain(port.handle()) == 0;
#elif defined(Q_OS_WIN)
    return ::FlushFileBuffers(port.handle()) != 0;
#else
    Q_UNUSED(port);
    return true;
#endif
}

// Hands everything queued to the driver and waits until it has left. False
// when the line did not take it in time.
bool drainOutput(QSerialPort &port)
{
    const QDeadlineTimer deadline(kDrainMarginMs + port.bytesToWrite() / kLineBytesPerMs);
    while (port.bytesToWrite() > 0) {
        if (!port.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    return waitUntilSent(port);
}

// "DIS" is the last thing the transmitter hears from this connection, and it
// hears it whole. Waiting for the bytes would also take in a frame that has
// arrived and answer it after "DIS", so the port says nothing more from
// here on; what was queued before leaves first, and the port is closed
// only once "DIS" is off the line. On a stuck line "DIS" is not started at
// all rather than cut off by the close. Returns how many bytes the line
// did not take: the close drops them.
qint64 sayGoodbye(QSerialPort &port)
{
    const QSignalBlocker noMoreAnswers(port);
    if (drainOutput(port)) {
        port.write("DIS");
        drainOutput(port);
    }
    return port.bytesToWrite();
}

bool isReadFailure(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
}

// A failed read is not yet an unplugged device: another program reading
// the same line can take the bytes between the tool being told they
// arrived and its read, which then finds nothing. A device that is really
// gone has been hung up, and then no longer answers for its line settings.
bool isDeviceGone(QSerialPort &port)
{
#if defined(Q_OS_UNIX)
    termios settings{};
    return ::tcgetattr(port.handle(), &settings) != 0;
#else
    Q_UNUSED(port);
    return true;
#endif
}

} // namespace

QList<PortDetails> availablePorts()
{
    QList<PortDetails> ports;
    if (portEnumerator) {
        for (const QString &name : portEnumerator())
            ports.append({name, QString(), QString(), 0, 0});
        return ports;
    }
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        ports.append({info.portName(), info.description(), info.manufacturer(),
                      info.hasVendorIdentifier() ? info.vendorIdentifier() : quint16(0),
                      info.hasProductIdentifier() ? info.productIdentifier() : quint16(0)});
    }
    return ports;
}

QStringList portSignature()
{
    if (portEnumerator)
        return portEnumerator();
#if defined(Q_OS_WIN)
    // Windows lists every COM port of the machine in the registry. A cable
    // that comes back as COM8 instead of COM7 changes a value's data, not
    // how many there are: devices and ports are compared both.
    QStringList names;
    for (const SerialCommEntry &entry : serialCommEntries())
        names << entry.device + QLatin1Char('=') + entry.port;
    names.sort();
    return names;
#else
    // A serial device comes and goes as a node directly under /dev.
    return QDir(QStringLiteral("/dev"))
        .entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
#endif
}

void setPortEnumerator(QStringList (*enumerate)())
{
    portEnumerator = enumerate;
}

void setExtraPortNames(const QStringList &names)
{
    extraPorts = names;
}

const QStringList &extraPortNames()
{
    return extraPorts;
}

namespace {

QStringList itemsOf(const QComboBox *box)
{
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    return names;
}

void showPortList(QComboBox *box, const PortListChoice &choice, const QList<PortDetails> &ports)
{
    box->clear();
    for (const QString &name : choice.names) {
        box->addItem(name);
        if (const PortDetails *known = findPort(ports, name))
            box->setItemData(box->count() - 1, portEntryText(*known), PortNameBox::DetailsRole);
    }
    box->setCurrentIndex(box->findText(choice.current));
}

} // namespace

void fillPortNames(QComboBox *box)
{
    const QList<PortDetails> ports = availablePorts();
    showPortList(box,
                 choosePortList(PortListOccasion::StartUp, {}, QString(), ports, extraPorts,
                                QString(), false),
                 ports);
}

QString updatePortNames(QComboBox *box, PortListOccasion occasion, const QString &preferred)
{
    const auto *portBox = qobject_cast<PortNameBox *>(box);
    const bool dropped = portBox && portBox->isDroppedDown();
    const QList<PortDetails> ports = availablePorts();
    const QStringList shown = itemsOf(box);
    const PortListChoice choice =
        choosePortList(occasion, shown, box->currentText(), ports, extraPorts, preferred, dropped);
    // A poll that finds the same ports leaves the box alone.
    if (choice.names != shown || choice.current != box->currentText())
        showPortList(box, choice, ports);
    return choice.message;
}

QString rememberedPort()
{
    return QSettings().value(QStringLiteral("port/lastOpened")).toString();
}

void rememberPort(const QString &name)
{
    QSettings().setValue(QStringLiteral("port/lastOpened"), name);
}

void MainWindow::on_openButton_clicked()
{
    if (ui->openButton->text() == QLatin1String("OPEN")) {
        applyLineSettings(serialPort, ui->portNameBox->currentText());
        if (!serialPort.open(QIODevice::ReadWrite)) {
            // The pilot reads why behind the box, and after it.
            status->openFailed(openFailureText(examineOpenFailure(serialPort)));
            QMessageBox::about(nullptr, QStringLiteral("Note"),
                               QStringLiteral("Cannot open the serial port!"));
            return;
        }
        link.connectionOpened();
        portPoll->stop(); // the list stays as it is while the port is open
        rememberPort(ui->portNameBox->currentText());
        showConnected(ui, true);
        status->connected(serialPort.portName(), int(serialPort.baudRate()));
        serialPort.write("OK");
        return;
    }
    const qint64 dropped = serialPort.isOpen() ? sayGoodbye(serialPort) : 0;
    returnToClosed(serialPort, link, ui, [this] { Servo_Display(); });
    status->disconnected(false);
    emit connectionClosed();
    followPortsWhileClosed();
    if (dropped > 0)
        status->closedWithUnsentBytes(dropped);
}

void MainWindow::setUpPortHandling()
{
    // Closing must not put the line settings back as they were before the
    // open: a line-settings change right after "DIS" could send its tail at
    // another speed.
    qtcompat::keepLineSettingsOnClose(serialPort);
    connect(&serialPort, &QSerialPort::readyRead, this, &MainWindow::serialPort_readyRead);

    // A transmitter unplugged, or an adapter pulled, makes the open port
    // report a read error on every turn of the event loop: the tool would
    // spin a core while the window still claims to be connected. Go back to
    // the closed state instead; no "DIS", there is no one left to hear it.
    connect(&serialPort, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) {
                if (!isReadFailure(error) || !serialPort.isOpen())
                    return;
                if (isDeviceGone(serialPort)) {
                    returnToClosed(serialPort, link, ui, [this] { Servo_Display(); });
                    status->disconnected(true);
                    emit connectionClosed();
                    followPortsWhileClosed();
                    return;
                }
                // The line is still there: keep listening. (A resource
                // error stops the port's read notifications; asking for the
                // buffer size it has starts them again.)
                serialPort.clearError();
                serialPort.setReadBufferSize(serialPort.readBufferSize());
            });

    // An adapter plugged in or pulled while the port is closed shows in the
    // list within a second, and one plugged in is chosen; the list is also
    // brought up to date when the pilot opens it.
    if (auto *box = qobject_cast<PortNameBox *>(ui->portNameBox)) {
        connect(box, &PortNameBox::popupAboutToShow, this, [this] {
            if (!serialPort.isOpen())
                updatePortNames(ui->portNameBox, PortListOccasion::Popup);
        });
        // A port plugged in or pulled while the pilot was choosing is
        // announced and chosen once the list is closed, as the poll would
        // have done. (Queued: the list is hidden by then.)
        connect(box, &PortNameBox::popupHidden, this, &MainWindow::pollPorts,
                Qt::QueuedConnection);
    }
    portPoll = new QTimer(this);
    portPoll->setObjectName(QStringLiteral("portPoll"));
    portPoll->setInterval(kPortPollMs);
    connect(portPoll, &QTimer::timeout, this, &MainWindow::pollPorts);
}

void MainWindow::pollPorts()
{
    if (serialPort.isOpen() || !isVisible()) {
        portPoll->stop();
        return;
    }
    // While the list is dropped down it stays as the pilot sees it; the
    // devices are taken in as new once it is closed.
    if (const auto *box = qobject_cast<PortNameBox *>(ui->portNameBox); box && box->isDroppedDown())
        return;
    // The system is asked for the ports only when a device came or went.
    QStringList devices = portSignature();
    if (devices == devicesSeen)
        return;
    devicesSeen.swap(devices);
    const QString message = updatePortNames(ui->portNameBox, PortListOccasion::Poll);
    if (!message.isEmpty())
        status->portAppeared(message);
}

void MainWindow::followPortsWhileClosed()
{
    if (serialPort.isOpen() || !isVisible() || portPoll->isActive())
        return;
    // The list was just built from the ports present.
    devicesSeen = portSignature();
    portPoll->start();
}

void MainWindow::selectPort(const QString &name)
{
    const int index = ui->portNameBox->findText(name);
    if (index >= 0)
        ui->portNameBox->setCurrentIndex(index);
}

void MainWindow::fillPortList()
{
    updatePortNames(ui->portNameBox, PortListOccasion::StartUp, rememberedPort());
}

bool MainWindow::lineTookEverything(quint64 connection)
{
    // Draining may take in a frame that arrives meanwhile, and a device that
    // goes away meanwhile closes the port: only a connection that is still
    // the same one afterwards has carried the bytes.
    const auto sameConnection = [&] {
        return connection != 0 && link.connection() == connection && serialPort.isOpen();
    };
    return sameConnection() && drainOutput(serialPort) && sameConnection();
}

void MainWindow::releasePort()
{
    // The port outlives the form; its error reports must not reach widgets
    // that are gone, and nothing is answered any more.
    disconnect(&serialPort, nullptr, this, nullptr);
    // What is already queued leaves whole. The port then closes itself
    // without "DIS": only the pilot's explicit close tells the transmitter
    // that the tool leaves.
    if (serialPort.isOpen())
        drainOutput(serialPort);
}
