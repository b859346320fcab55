// READ, WRITE, RESET and DATA RESET: short scripts of commands, frames and
// fixed pauses. The tool never waits for a particular reply; whatever the
// transmitter sends back is taken in by the receive dispatcher while the
// pauses run their nested event loops.
#include "app/mainwindow.h"

#include "link/framedecoder.h"
#include "link/linkactivity.h"
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
    CommandScope read(link, CommandKind::Read);
    sendToTransmitter("RR", CommandStep::ReadRequest);
    pauseMs(500); // the transmitter's parameter frames arrive during this wait
}

void MainWindow::on_toolButton_Send_clicked()
{
    if (!commandMayStart(ui->toolButton_Send, ui->openButton))
        return;
    reportTransfer(sendSettings(CommandKind::Write));
}

void MainWindow::on_toolButton_Reset_clicked()
{
    // Set before the lock, so no telemetry frame moves the trims at any
    // point of the reset; cleared on every way out.
    suspendTrimUpdate = true;
    const bool started = commandMayStart(ui->toolButton_Reset, ui->openButton);
    const bool delivered = !started || sendFactorySettings(CommandKind::Reset);
    suspendTrimUpdate = false;
    reportTransfer(delivered);
}

void MainWindow::on_pushButton_Reset2_clicked()
{
    // Like RESET, but the trims keep following telemetry until the reset
    // centres them just before the trim frame goes out.
    if (commandMayStart(ui->pushButton_Reset2, ui->openButton))
        reportTransfer(sendFactorySettings(CommandKind::DataReset));
}

bool MainWindow::sendSettings(CommandKind kind)
{
    CommandScope transfer(link, kind);
    SendData1();
    SendData2();
    SendData3();
    SendData4();
    // SAVE hands the transmitter the frames it stores, but does not end a
    // transfer with them.
    if (kind != CommandKind::Save)
        sendToTransmitter("WWW", CommandStep::EndOfTransfer);
    return endTransfer(transfer);
}

bool MainWindow::sendFactorySettings(CommandKind kind)
{
    // The record takes the factory values even when the connection goes
    // during the pauses: the pilot asked for them, only the transmitter
    // misses out (and the pilot is told to WRITE again).
    CommandScope reset(link, kind);
    RestData();
    RestData2();
    SendData1();
    SendData2();
    SendData3();
    centreTrimsAndSteps(paramSet);
    SendData4();
    sendToTransmitter("WWW", CommandStep::EndOfTransfer);
    return endTransfer(reset);
}

bool MainWindow::endTransfer(CommandScope &transfer)
{
    if (transfer.cutOff())
        return false;
    // With the port closed nothing was to be delivered, and nothing was lost.
    if (transfer.connection() == 0 || leaving)
        return true;
    // Bytes still queued at the port have not reached the transmitter, and
    // a close would drop them: a line that does not take them is a failed
    // transfer, not a written one.
    if (lineTookEverything(transfer.connection()))
        return true;
    transfer.markNotTaken();
    return false;
}

void MainWindow::sendToTransmitter(const QByteArray &bytes, CommandStep step)
{
    // Nothing of a transfer may reach a connection it did not start on: a
    // transmitter reconnected meanwhile would take the rest of an old
    // transfer for a new one. Once the pilot has chosen to leave, nothing
    // more goes out at all.
    if (!link.mayWrite(step) || leaving)
        return;
    link.wrote(step, bytes, serialPort.write(bytes) == bytes.size());
}

void MainWindow::reportTransfer(bool delivered)
{
    // A pilot who chose to leave mid-transfer has been told already.
    if (!delivered && !leaving)
        tellTransferUnfinished();
}
