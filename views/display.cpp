// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "model/parameterset.h"
#include "ui/mainform.h"
#include "views/hover.h"
#include "views/statusline.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>

// The refresh copies the ParameterSet into the settings widgets every tick,
// with the widgets' signals live: a value a widget cannot show (outside its
// range, more decimals than it has, an index past its items) comes back
// through the widget's setter slot as the value the pilot actually sees.
//
// The show* helpers skip the widget's setter when it already holds the
// value. Qt's setters would not emit in that case either, but they would
// still rebuild the spin box text and schedule a repaint, on all 134
// widgets, ten times a second, and would overwrite a number the pilot is
// half-way through typing.

namespace {

void showValue(QSpinBox *box, int value)
{
    if (box->value() != value)
        box->setValue(value);
}

void showValue(QDoubleSpinBox *box, double value)
{
    if (box->value() != value)
        box->setValue(value);
}

void showIndex(QComboBox *box, int index)
{
    if (box->currentIndex() != index)
        box->setCurrentIndex(index);
}

template <int N> void showValues(QSpinBox *const (&boxes)[N], const int (&values)[N])
{
    for (int i = 0; i < N; ++i)
        showValue(boxes[i], values[i]);
}

void hover(QComboBox *box, int slot)
{
    applyHoverRule(box, hoverTicks[slot]);
}

} // namespace

void MainWindow::ui_Display()
{
    // What the widgets report back while the record is copied into them is
    // not the pilot's doing.
    NotThePilot refresh(*undo);
    Servo_Display();
    Recieve_Display();
    Rev_Display();
    EPA_Display();
    SubTrim_Display();
    FS_Display();
    Delay_Display();
    Aux_Display();
    // the ADVANCE1 D/R group goes before ADVANCE2's: moving comboBox_DR_CH1
    // to a channel picked on ADVANCE2 reselects the working copies, which
    // DRCure_Display then shows in the same tick
    DR_Display();
    Parameter_Display();
    Atti_Display();
    Elev_Display();
    Vtype_Display();
    Prm_Display();
    DRCure_Display();
    THcure_Display();
    StkTrim_Display();
    status->refreshChanges();
}

void MainWindow::Rev_Display()
{
    for (int i = 0; i < 8; ++i)
        showIndex(ui->comboBox_rev[i], paramSet.reverse[i]);
    for (int i = 0; i < 8; ++i)
        hover(ui->comboBox_rev[i], HoverSlot::Rev + i);
}

void MainWindow::EPA_Display()
{
    showValues(ui->spinBox_Lepa, paramSet.endPointLeft);
    showValues(ui->spinBox_Repa, paramSet.endPointRight);
}

void MainWindow::SubTrim_Display()
{
    showValues(ui->spinBox_sub, paramSet.subTrim);
}

void MainWindow::FS_Display()
{
    showValues(ui->spinBox_FS, paramSet.failSafe);
}

void MainWindow::Delay_Display()
{
    showValues(ui->spinBox_delay, paramSet.servoDelay);
}

void MainWindow::Aux_Display()
{
    // channels 1 to 4 have no selectable source: their boxes hold "NC"
    for (int i = 0; i < 4; ++i)
        showIndex(ui->comboBox_AUX[i], 0);
    for (int i = 4; i < 8; ++i)
        showIndex(ui->comboBox_AUX[i], paramSet.auxSource[i]);
    for (int i = 0; i < 8; ++i)
        hover(ui->comboBox_AUX[i], HoverSlot::Aux + i);
}

void MainWindow::DR_Display()
{
    showIndex(ui->comboBox_DR_MIX1, paramSet.drMix);
    showIndex(ui->comboBox_DR_CH1, paramSet.drChannel);
    showIndex(ui->comboBox_DR_SW1, paramSet.drSwitch);
    showValue(ui->spinBox_DR_UP1, paramSet.drEditUp);
    showValue(ui->spinBox_DR_DOWN1, paramSet.drEditDown);
    hover(ui->comboBox_DR_MIX1, HoverSlot::DrMix1);
    hover(ui->comboBox_DR_CH1, HoverSlot::DrCh1);
    hover(ui->comboBox_DR_SW1, HoverSlot::DrSw1);
}

void MainWindow::Parameter_Display()
{
    showValue(ui->doubleSpinBox_Volt, paramSet.txAlarmVolt);
    showValue(ui->spinBox_Mode, paramSet.stickMode);
    showValue(ui->spinBox_Vertion, paramSet.txVersion);
    showValue(ui->doubleSpinBox_rxVolt, paramSet.rxAlarmVolt);
    showValue(ui->doubleSpinBox_extVolt, paramSet.extAlarmVolt);
    showValue(ui->spinBox_Rssi, paramSet.rssiAlarm);
}

void MainWindow::Atti_Display()
{
    showIndex(ui->comboBox_AttiM, paramSet.attitudeChannel);
    showValues(ui->spinBox_Atti, paramSet.attitude);
    hover(ui->comboBox_AttiM, HoverSlot::AttiM);
}

void MainWindow::Elev_Display()
{
    showIndex(ui->comboBox_EleMix, paramSet.elevonMix);
    showValues(ui->spinBox_Elev, paramSet.elevon);
    hover(ui->comboBox_EleMix, HoverSlot::EleMix);
}

void MainWindow::Vtype_Display()
{
    showIndex(ui->comboBox_RuMix, paramSet.vtailMix);
    showValues(ui->spinBox_Ru, paramSet.vtail);
    hover(ui->comboBox_RuMix, HoverSlot::RuMix);
}

void MainWindow::Prm_Display()
{
    for (int k = 0; k < 4; ++k) {
        const ProgMix &mix = paramSet.progMix[k];
        showIndex(ui->comboBox_PRM_Mix[k], mix.mode);
        showIndex(ui->comboBox_PRM_Master[k], mix.master);
        showIndex(ui->comboBox_PRM_Slave[k], mix.slave);
        showValue(ui->spinBox_PRM_Data1[k], mix.offset);
        showValue(ui->spinBox_PRM_Data2[k], mix.up);
        showValue(ui->spinBox_PRM_Data3[k], mix.down);
    }
    for (int k = 0; k < 4; ++k) {
        hover(ui->comboBox_PRM_Mix[k], HoverSlot::Prm + 3 * k);
        hover(ui->comboBox_PRM_Master[k], HoverSlot::Prm + 3 * k + 1);
        hover(ui->comboBox_PRM_Slave[k], HoverSlot::Prm + 3 * k + 2);
    }
}

void MainWindow::DRCure_Display()
{
    showIndex(ui->comboBox_DR_MIX2, paramSet.drMix);
    showIndex(ui->comboBox_DR_CH2, paramSet.drChannel);
    showIndex(ui->comboBox_DR_SW2, paramSet.drSwitch);
    showIndex(ui->comboBox_DR_POSI, paramSet.drPosition);
    showValue(ui->spinBox_DR_RATE, paramSet.drEditRate);
    showValue(ui->spinBox_DR_EXP, paramSet.drEditExpo);
    hover(ui->comboBox_DR_MIX2, HoverSlot::DrMix2);
    hover(ui->comboBox_DR_CH2, HoverSlot::DrCh2);
    hover(ui->comboBox_DR_SW2, HoverSlot::DrSw2);
    hover(ui->comboBox_DR_POSI, HoverSlot::DrPosi);
}

void MainWindow::THcure_Display()
{
    showIndex(ui->comboBox_THCURE_MIX, paramSet.throttleCurveMix);
    showValues(ui->spinBox_THCURE_Data, paramSet.throttleCurve);
    hover(ui->comboBox_THCURE_MIX, HoverSlot::ThcureMix);
}
