// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// Every command first locks its own button for 200 ms, so that a nervous
// double click does not start it twice, and then refuses to talk to a
// transmitter that is not connected. The button text is the connection
// state. The lock is part of the command: the status line shows it from
// the click on, and a pilot who closes the window meanwhile is asked as
// during the rest of it; once the pilot has chosen to leave, it does not
// go on.
bool MainWindow::commandMayStart(QAbstractButton *ownButton, CommandScope &command)
{
    ownButton->setEnabled(false);
    pauseMs(200);
    ownButton->setEnabled(true);
    if (leaving) {
        command.withdraw();
        return false;
    }
    if (ui->openButton->text() == QLatin1String("OPEN")) {
        command.withdraw();
        QMessageBox::about(nullptr, QStringLiteral("Note"),
                           QStringLiteral("Please open the serial port!"));
        return false;
    }
    command.goesOn();
    return true;
}

void MainWindow::on_toolButton_Read_clicked()
{
    // The step closes once READ's grace period is over: the frames of a
    // real transmitter trail its pause (undo/editorundo.h).
    undo->beginReadStep();
    CommandScope read(link, CommandKind::Read);
    if (!commandMayStart(ui->toolButton_Read, read))
        return;
    sendToTransmitter("RR", CommandStep::ReadRequest);
    pauseMs(500); // the transmitter's parameter frames arrive during this wait
}

void MainWindow::on_toolButton_Send_clicked()
{
    CommandScope write(link, CommandKind::Write);
    if (!commandMayStart(ui->toolButton_Send, write))
        return;
    reportTransfer(sendSettings(write));
}

void MainWindow::on_toolButton_Reset_clicked()
{
    // Set before the lock, so no telemetry frame moves the trims at any
    // point of the reset; cleared on every way out.
    suspendTrimUpdate = true;
    const quint64 step = undo->beginCommandStep(QStringLiteral("RESET"));
    bool delivered = true;
    {
        CommandScope reset(link, CommandKind::Reset);
        if (commandMayStart(ui->toolButton_Reset, reset))
            delivered = sendFactorySettings(reset);
    }
    suspendTrimUpdate = false;
    undo->endCommandStep(step);
    reportTransfer(delivered);
}

void MainWindow::on_pushButton_Reset2_clicked()
{
    // Like RESET, but the trims keep following telemetry until the reset
    // centres them just before the trim frame goes out.
    const quint64 step = undo->beginCommandStep(QStringLiteral("DATA RESET"));
    bool delivered = true;
    {
        CommandScope reset(link, CommandKind::DataReset);
        if (commandMayStart(ui->pushButton_Reset2, reset))
            delivered = sendFactorySettings(reset);
    }
    undo->endCommandStep(step);
    reportTransfer(delivered);
}

bool MainWindow::sendSettings(CommandScope &transfer)
{
    SendData1();
    SendData2();
    SendData3();
    SendData4();
    // SAVE hands the transmitter the frames it stores, but does not end a
    // transfer with them.
    if (transfer.kind() != CommandKind::Save)
        sendToTransmitter("WWW", CommandStep::EndOfTransfer);
    return endTransfer(transfer);
}

bool MainWindow::sendFactorySettings(CommandScope &reset)
{
    // The record takes the factory values even when the connection goes
    // during the pauses: the pilot asked for them, only the transmitter
    // misses out (and the pilot is told to WRITE again).
    {
        NotThePilot factory(*undo);
        RestData();
        RestData2();
    }
    SendData1();
    SendData2();
    SendData3();
    {
        NotThePilot centre(*undo);
        centreTrimsAndSteps(paramSet);
    }
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

void MainWindow::reportTransfer(bool delivered, bool sendsModel)
{
    // A pilot who chose to leave mid-transfer has been told already.
    if (!delivered && !leaving)
        tellTransferUnfinished(sendsModel);
}
