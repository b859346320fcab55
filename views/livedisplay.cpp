#include "app/mainwindow.h"

#include "link/framedecoder.h"
#include "model/parameterset.h"
#include "model/stickmode.h"
#include "ui/mainform.h"
#include "views/livemonitor.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>

void MainWindow::Servo_Display()
{
    for (int ch = 0; ch < 8; ++ch) {
        const int v = liveStatus.channelOutput[ch];
        setTextIfChanged(ui->channelReadout[ch], QString::number(v));
        const GaugeValues gauge = gaugeFor(v);
        ui->gaugeUpper[ch]->setValue(gauge.upper);
        ui->gaugeLower[ch]->setValue(gauge.lower);
    }
    setTextIfChanged(ui->lineEdit_TX, txVoltageText(liveStatus.txVoltage));
}

void MainWindow::Recieve_Display()
{
    setTextIfChanged(ui->lineEdit_RSSI, rssiText(liveStatus.rssi));
    setTextIfChanged(ui->lineEdit_EXT, tenthsVoltageText(liveStatus.extVoltage));
    setTextIfChanged(ui->lineEdit_RX, tenthsVoltageText(liveStatus.rxVoltage));
}

void MainWindow::StkTrim_Display()
{
    // Row k always shows one trim's position beside that same trim's step,
    // whichever stick the stick mode puts it under.
    const int mode = paramSet.stickMode;
    for (int row = 0; row < 4; ++row)
        setTextIfChanged(ui->lineEdit_Trim[row],
                         trimText(paramSet.stickTrim[trimIndexForRow(mode, row)]));
    for (int row = 0; row < 4; ++row) {
        // An unchanged step is left alone: QSpinBox::setValue would rebuild
        // its text and repaint the SYSTEM page on every tick.
        const int step = paramSet.trimStep[trimIndexForRow(mode, row)];
        if (ui->spinBox_step[row]->value() != step)
            ui->spinBox_step[row]->setValue(step);
    }
}
