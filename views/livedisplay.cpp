// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "link/framedecoder.h"
#include "model/parameterset.h"
#include "model/stickmode.h"
#include "ui/mainform.h"
#include "views/livemonitor.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>

namespace {

// A progress bar repaints a new value only when it judges the change wide
// enough for its width; a gauge is narrow and tall, so a move of a few
// dozen would stay unpainted and leave a stub of the old value. Every new
// value is painted; an unchanged one costs nothing on the tick.
void showGauge(QProgressBar *bar, int value)
{
    if (bar->value() == value)
        return;
    bar->setValue(value);
    bar->update();
}

} // namespace

void MainWindow::Servo_Display()
{
    for (int ch = 0; ch < 8; ++ch) {
        const int v = liveStatus.channelOutput[ch];
        showLiveValue(ui->channelReadout[ch], liveShown.channel[ch], v,
                      [](int n) { return QString::number(n); });
        const GaugeValues gauge = gaugeFor(v);
        showGauge(ui->gaugeUpper[ch], gauge.upper);
        showGauge(ui->gaugeLower[ch], gauge.lower);
    }
    showLiveValue(ui->lineEdit_TX, liveShown.tx, liveStatus.txVoltage, txVoltageText);
}

void MainWindow::Recieve_Display()
{
    showLiveValue(ui->lineEdit_RSSI, liveShown.rssi, liveStatus.rssi, rssiText);
    showLiveValue(ui->lineEdit_EXT, liveShown.ext, liveStatus.extVoltage, tenthsVoltageText);
    showLiveValue(ui->lineEdit_RX, liveShown.rx, liveStatus.rxVoltage, tenthsVoltageText);
}

void MainWindow::StkTrim_Display()
{
    // Row k always shows one trim's position beside that same trim's step,
    // whichever stick the stick mode puts it under.
    const int mode = paramSet.stickMode;
    for (int row = 0; row < 4; ++row)
        showLiveValue(ui->lineEdit_Trim[row], liveShown.trimRow[row],
                      paramSet.stickTrim[trimIndexForRow(mode, row)], trimText);
    for (int row = 0; row < 4; ++row) {
        // An unchanged step is left alone: QSpinBox::setValue would rebuild
        // its text and repaint the SYSTEM page on every tick.
        const int step = paramSet.trimStep[trimIndexForRow(mode, row)];
        if (ui->spinBox_step[row]->value() != step)
            ui->spinBox_step[row]->setValue(step);
    }
}
