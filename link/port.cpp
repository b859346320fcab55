#include "app/mainwindow.h"

#include "link/framedecoder.h"
#include "link/portlist.h"
#include "ui/mainform.h"
#include "ui/portnamebox.h"

#include <QComboBox>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QToolButton>

#include <functional>

namespace {

QStringList (*portEnumerator)() = nullptr;
QStringList extraPorts;

// How long the close waits for "DIS" to leave: closing the port at once
// would drop the bytes still queued, and the transmitter would never learn
// that the tool has gone. The command is three bytes at 115200 baud.
constexpr int kGoodbyeDrainMs = 100;

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
void returnToClosed(QSerialPort &port, MainForm *ui, const std::function<void()> &showServos)
{
    if (port.isOpen())
        port.close();
    for (int &output : liveStatus.channelOutput)
        output = 1000;
    showServos();
    showConnected(ui, false);
    fillPortNames(ui->portNameBox);
}

bool isDeviceGone(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
}

} // namespace

QStringList availablePortNames()
{
    if (portEnumerator)
        return portEnumerator();
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names.append(info.portName());
    return names;
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

void fillPortNames(QComboBox *box)
{
    box->clear();
    box->addItems(availablePortNames());
    for (const QString &name : extraPorts) {
        if (box->findText(name) < 0)
            box->addItem(name);
    }
}

void refreshPortNames(QComboBox *box)
{
    const QString chosen = box->currentText();
    fillPortNames(box);
    const int index = box->findText(chosen);
    if (index >= 0)
        box->setCurrentIndex(index);
}

void MainWindow::on_openButton_clicked()
{
    if (ui->openButton->text() == QLatin1String("OPEN")) {
        applyLineSettings(serialPort, ui->portNameBox->currentText());
        if (!serialPort.open(QIODevice::ReadWrite)) {
            QMessageBox::about(nullptr, QStringLiteral("Note"),
                               QStringLiteral("Cannot open the serial port!"));
            return;
        }
        showConnected(ui, true);
        serialPort.write("OK");
        return;
    }
    if (serialPort.isOpen()) {
        serialPort.write("DIS");
        serialPort.waitForBytesWritten(kGoodbyeDrainMs);
    }
    returnToClosed(serialPort, ui, [this] { Servo_Display(); });
}

void MainWindow::setUpPortHandling()
{
    connect(&serialPort, &QSerialPort::readyRead, this, &MainWindow::serialPort_readyRead);

    // A transmitter unplugged, or an adapter pulled, makes the open port
    // report a read error on every turn of the event loop: the tool would
    // spin a core while the window still claims to be connected. Go back to
    // the closed state instead; no "DIS", there is no one left to hear it.
    connect(&serialPort, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) {
                if (isDeviceGone(error) && serialPort.isOpen())
                    returnToClosed(serialPort, ui, [this] { Servo_Display(); });
            });

    // Only the pilot's close rebuilds the list otherwise; an adapter plugged
    // in while the tool is idle is offered when the pilot opens the list.
    if (auto *box = qobject_cast<PortNameBox *>(ui->portNameBox)) {
        connect(box, &PortNameBox::popupAboutToShow, this, [this] {
            if (!serialPort.isOpen())
                refreshPortNames(ui->portNameBox);
        });
    }
}

void MainWindow::selectPort(const QString &name)
{
    const int index = ui->portNameBox->findText(name);
    if (index >= 0)
        ui->portNameBox->setCurrentIndex(index);
}

void MainWindow::fillPortList()
{
    fillPortNames(ui->portNameBox);
}
