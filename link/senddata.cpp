// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "link/frames.h"
#include "link/pause.h"

#include <QDebug>

namespace {

// Rebuilds the kind's frame from the record; all 81 characters go out in
// one write.
QByteArray builtFrame(const FrameLayout &layout, int traceNumber)
{
    const QString &text = storeBuiltFrame(layout, encodeFrame(layout, paramSet));
    qDebug("Str%dBlength:%d", traceNumber, int(text.length()));
    return text.toLatin1();
}

} // namespace

// Each builder sends its frame and gives the transmitter 800 ms to take it
// in. With the port closed, or the connection the command started on gone,
// nothing is written; the buffer is rebuilt and the pause kept all the same.

void MainWindow::SendData1()
{
    paramSet.txAlarmTenths = alarmTenths(paramSet.txAlarmVolt);
    sendToTransmitter(builtFrame(kFrameLayoutS, 1), CommandStep::FrameS);
    pauseMs(800);
}

void MainWindow::SendData2()
{
    sendToTransmitter(builtFrame(kFrameLayoutG, 2), CommandStep::FrameG);
    pauseMs(800);
}

void MainWindow::SendData3()
{
    paramSet.rxAlarmTenths = alarmTenths(paramSet.rxAlarmVolt);
    paramSet.extAlarmTenths = alarmTenths(paramSet.extAlarmVolt);
    sendToTransmitter(builtFrame(kFrameLayoutH, 3), CommandStep::FrameH);
    pauseMs(800);
}

void MainWindow::SendData4()
{
    sendToTransmitter(builtFrame(kFrameLayoutI, 4), CommandStep::FrameI);
    pauseMs(800);
}
