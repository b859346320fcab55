// READ, WRITE, RESET and DATA RESET: short scripts of commands, frames and
// fixed pauses. The tool never waits for a particular reply; whatever the
// transmitter sends back is taken in by the receive dispatcher while the
// pauses run their nested event loops.
#include "app/mainwindow.h"

#include "link/framedecoder.h"
#include "link/pause.h"
#include "model/parameterset.h"
#include "ui/mainform.h"

#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace {

// Every command first locks its own button for 200 ms, so that a nervous
// double click does not start it twice, and then refuses to talk to a
// transmitter that is not connected. The button text is the connection
// state.
bool commandMayStart(QAbstractButton *ownButton, const QAbstractButton *openButton)
{
    ownButton->setEnabled(false);
    pauseMs(200);
    ownButton->setEnabled(true);
    if (openButton->text() == QLatin1String("OPEN")) {
        QMessageBox::about(nullptr, QStringLiteral("Note"),
                           QStringLiteral("Please open the serial port!"));
        return false;
    }
    return true;
}

// After a factory reset the trims sit at centre with the standard step,
// whatever telemetry reported while the first three frames went out.
void centreTrimsAndSteps(ParameterSet &p)
{
    for (int i = 0; i < 4; ++i) {
        p.stickTrim[i] = 120;
        p.trimStep[i] = 2;
    }
}

} // namespace

void MainWindow::on_toolButton_Read_clicked()
{
    if (!commandMayStart(ui->toolButton_Read, ui->openButton))
        return;
    serialPort.write("RR");
    pauseMs(500); // the transmitter's parameter frames arrive during this wait
}

void MainWindow::on_toolButton_Send_clicked()
{
    if (!commandMayStart(ui->toolButton_Send, ui->openButton))
        return;
    SendData1();
    SendData2();
    SendData3();
    SendData4();
    serialPort.write("WWW");
}

void MainWindow::on_toolButton_Reset_clicked()
{
    // Set before the lock, so no telemetry frame moves the trims at any
    // point of the reset; cleared on every way out.
    suspendTrimUpdate = true;
    if (commandMayStart(ui->toolButton_Reset, ui->openButton))
        sendFactorySettings();
    suspendTrimUpdate = false;
}

void MainWindow::on_pushButton_Reset2_clicked()
{
    // Like RESET, but the trims keep following telemetry until the reset
    // centres them just before the trim frame goes out.
    if (commandMayStart(ui->pushButton_Reset2, ui->openButton))
        sendFactorySettings();
}

void MainWindow::sendFactorySettings()
{
    RestData();
    RestData2();
    SendData1();
    SendData2();
    SendData3();
    centreTrimsAndSteps(paramSet);
    SendData4();
    serialPort.write("WWW");
}
