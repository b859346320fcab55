#include "app/mainwindow.h"
#include "link/frames.h"
#include "link/pause.h"

#include <QDebug>

namespace {

// Rebuilds the kind's frame from the record, sends all 81 characters in one
// write and gives the transmitter 800 ms to take it in. A closed port
// refuses the write; the buffer is rebuilt and the pause kept all the same.
void buildAndSend(QSerialPort &port, const FrameLayout &layout, int traceNumber)
{
    const QString &text = storeBuiltFrame(layout, encodeFrame(layout, paramSet));
    qDebug("Str%dBlength:%d", traceNumber, int(text.length()));
    const QByteArray bytes = text.toLatin1();
    port.write(bytes.constData(), bytes.size());
    pauseMs(800);
}

} // namespace

void MainWindow::SendData1()
{
    paramSet.txAlarmTenths = alarmTenths(paramSet.txAlarmVolt);
    buildAndSend(serialPort, kFrameLayoutS, 1);
}

void MainWindow::SendData2()
{
    buildAndSend(serialPort, kFrameLayoutG, 2);
}

void MainWindow::SendData3()
{
    paramSet.rxAlarmTenths = alarmTenths(paramSet.rxAlarmVolt);
    paramSet.extAlarmTenths = alarmTenths(paramSet.extAlarmVolt);
    buildAndSend(serialPort, kFrameLayoutH, 3);
}

void MainWindow::SendData4()
{
    buildAndSend(serialPort, kFrameLayoutI, 4);
}
