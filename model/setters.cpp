// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "model/editing.h"
#include "model/parameterset.h"

// Every editable widget stores its value straight into the record. The
// widget's own range is the only limit; checking, sending and redisplay
// happen elsewhere (validation after a receive or load, the frame builders,
// the refresh tick).

// A plain setter: one widget, one field, the value as the widget gives it.
#define STORE(slot, type, field)                                                                   \
    void MainWindow::slot(type value)                                                              \
    {                                                                                              \
        paramSet.field = value;                                                                    \
    }

STORE(on_comboBox_rev1_currentIndexChanged, int, reverse[0])
STORE(on_comboBox_rev2_currentIndexChanged, int, reverse[1])
STORE(on_comboBox_rev3_currentIndexChanged, int, reverse[2])
STORE(on_comboBox_rev4_currentIndexChanged, int, reverse[3])
STORE(on_comboBox_rev5_currentIndexChanged, int, reverse[4])
STORE(on_comboBox_rev6_currentIndexChanged, int, reverse[5])
STORE(on_comboBox_rev7_currentIndexChanged, int, reverse[6])
STORE(on_comboBox_rev8_currentIndexChanged, int, reverse[7])
STORE(on_spinBox_sub1_valueChanged, int, subTrim[0])
STORE(on_spinBox_sub2_valueChanged, int, subTrim[1])
STORE(on_spinBox_sub3_valueChanged, int, subTrim[2])
STORE(on_spinBox_sub4_valueChanged, int, subTrim[3])
STORE(on_spinBox_sub5_valueChanged, int, subTrim[4])
STORE(on_spinBox_sub6_valueChanged, int, subTrim[5])
STORE(on_spinBox_sub7_valueChanged, int, subTrim[6])
STORE(on_spinBox_sub8_valueChanged, int, subTrim[7])
STORE(on_spinBox_Lepa1_valueChanged, int, endPointLeft[0])
STORE(on_spinBox_Lepa2_valueChanged, int, endPointLeft[1])
STORE(on_spinBox_Lepa3_valueChanged, int, endPointLeft[2])
STORE(on_spinBox_Lepa4_valueChanged, int, endPointLeft[3])
STORE(on_spinBox_Lepa5_valueChanged, int, endPointLeft[4])
STORE(on_spinBox_Lepa6_valueChanged, int, endPointLeft[5])
STORE(on_spinBox_Lepa7_valueChanged, int, endPointLeft[6])
STORE(on_spinBox_Lepa8_valueChanged, int, endPointLeft[7])
STORE(on_spinBox_Repa1_valueChanged, int, endPointRight[0])
STORE(on_spinBox_Repa2_valueChanged, int, endPointRight[1])
STORE(on_spinBox_Repa3_valueChanged, int, endPointRight[2])
STORE(on_spinBox_Repa4_valueChanged, int, endPointRight[3])
STORE(on_spinBox_Repa5_valueChanged, int, endPointRight[4])
STORE(on_spinBox_Repa6_valueChanged, int, endPointRight[5])
STORE(on_spinBox_Repa7_valueChanged, int, endPointRight[6])
STORE(on_spinBox_Repa8_valueChanged, int, endPointRight[7])
STORE(on_spinBox_FS1_valueChanged, int, failSafe[0])
STORE(on_spinBox_FS2_valueChanged, int, failSafe[1])
STORE(on_spinBox_FS3_valueChanged, int, failSafe[2])
STORE(on_spinBox_FS4_valueChanged, int, failSafe[3])
STORE(on_spinBox_FS5_valueChanged, int, failSafe[4])
STORE(on_spinBox_FS6_valueChanged, int, failSafe[5])
STORE(on_spinBox_FS7_valueChanged, int, failSafe[6])
STORE(on_spinBox_FS8_valueChanged, int, failSafe[7])
STORE(on_spinBox_delay1_valueChanged, int, servoDelay[0])
STORE(on_spinBox_delay2_valueChanged, int, servoDelay[1])
STORE(on_spinBox_delay3_valueChanged, int, servoDelay[2])
STORE(on_spinBox_delay4_valueChanged, int, servoDelay[3])
STORE(on_spinBox_delay5_valueChanged, int, servoDelay[4])
STORE(on_spinBox_delay6_valueChanged, int, servoDelay[5])
STORE(on_spinBox_delay7_valueChanged, int, servoDelay[6])
STORE(on_spinBox_delay8_valueChanged, int, servoDelay[7])
STORE(on_comboBox_AUX5_currentIndexChanged, int, auxSource[4])
STORE(on_comboBox_AUX6_currentIndexChanged, int, auxSource[5])
STORE(on_comboBox_AUX7_currentIndexChanged, int, auxSource[6])
STORE(on_comboBox_AUX8_currentIndexChanged, int, auxSource[7])
STORE(on_comboBox_AttiM_currentIndexChanged, int, attitudeChannel)
STORE(on_spinBox_Atti1_valueChanged, int, attitude[0])
STORE(on_spinBox_Atti2_valueChanged, int, attitude[1])
STORE(on_spinBox_Atti3_valueChanged, int, attitude[2])
STORE(on_spinBox_Atti4_valueChanged, int, attitude[3])
STORE(on_spinBox_Atti5_valueChanged, int, attitude[4])
STORE(on_spinBox_Atti6_valueChanged, int, attitude[5])
STORE(on_comboBox_EleMix_currentIndexChanged, int, elevonMix)
STORE(on_spinBox_Elev01_valueChanged, int, elevon[0])
STORE(on_spinBox_Elev02_valueChanged, int, elevon[1])
STORE(on_spinBox_Elev03_valueChanged, int, elevon[2])
STORE(on_spinBox_Elev04_valueChanged, int, elevon[3])
STORE(on_spinBox_Elev05_valueChanged, int, elevon[4])
STORE(on_spinBox_Elev06_valueChanged, int, elevon[5])
STORE(on_comboBox_RuMix_currentIndexChanged, int, vtailMix)
STORE(on_spinBox_Ru1_valueChanged, int, vtail[0])
STORE(on_spinBox_Ru2_valueChanged, int, vtail[1])
STORE(on_spinBox_Ru3_valueChanged, int, vtail[2])
STORE(on_spinBox_Ru4_valueChanged, int, vtail[3])
STORE(on_comboBox_PRM01_Mix_currentIndexChanged, int, progMix[0].mode)
STORE(on_comboBox_PRM02_Mix_currentIndexChanged, int, progMix[1].mode)
STORE(on_comboBox_PRM03_Mix_currentIndexChanged, int, progMix[2].mode)
STORE(on_comboBox_PRM04_Mix_currentIndexChanged, int, progMix[3].mode)
STORE(on_comboBox_PRM01_Master_currentIndexChanged, int, progMix[0].master)
STORE(on_comboBox_PRM02_Master_currentIndexChanged, int, progMix[1].master)
STORE(on_comboBox_PRM03_Master_currentIndexChanged, int, progMix[2].master)
STORE(on_comboBox_PRM04_Master_currentIndexChanged, int, progMix[3].master)
STORE(on_comboBox_PRM01_Slave_currentIndexChanged, int, progMix[0].slave)
STORE(on_comboBox_PRM02_Slave_currentIndexChanged, int, progMix[1].slave)
STORE(on_comboBox_PRM03_Slave_currentIndexChanged, int, progMix[2].slave)
STORE(on_comboBox_PRM04_Slave_currentIndexChanged, int, progMix[3].slave)
STORE(on_spinBox_PRM01_Data1_valueChanged, int, progMix[0].offset)
STORE(on_spinBox_PRM02_Data1_valueChanged, int, progMix[1].offset)
STORE(on_spinBox_PRM03_Data1_valueChanged, int, progMix[2].offset)
STORE(on_spinBox_PRM04_Data1_valueChanged, int, progMix[3].offset)
STORE(on_spinBox_PRM01_Data2_valueChanged, int, progMix[0].up)
STORE(on_spinBox_PRM02_Data2_valueChanged, int, progMix[1].up)
STORE(on_spinBox_PRM03_Data2_valueChanged, int, progMix[2].up)
STORE(on_spinBox_PRM04_Data2_valueChanged, int, progMix[3].up)
STORE(on_spinBox_PRM01_Data3_valueChanged, int, progMix[0].down)
STORE(on_spinBox_PRM02_Data3_valueChanged, int, progMix[1].down)
STORE(on_spinBox_PRM03_Data3_valueChanged, int, progMix[2].down)
STORE(on_spinBox_PRM04_Data3_valueChanged, int, progMix[3].down)
STORE(on_comboBox_THCURE_MIX_currentIndexChanged, int, throttleCurveMix)
STORE(on_spinBox_THCURE_Data01_valueChanged, int, throttleCurve[0])
STORE(on_spinBox_THCURE_Data02_valueChanged, int, throttleCurve[1])
STORE(on_spinBox_THCURE_Data03_valueChanged, int, throttleCurve[2])
STORE(on_spinBox_THCURE_Data04_valueChanged, int, throttleCurve[3])
STORE(on_spinBox_THCURE_Data05_valueChanged, int, throttleCurve[4])
STORE(on_spinBox_THCURE_Data06_valueChanged, int, throttleCurve[5])
STORE(on_spinBox_THCURE_Data07_valueChanged, int, throttleCurve[6])
STORE(on_comboBox_DR_MIX1_currentIndexChanged, int, drMix)
STORE(on_comboBox_DR_MIX2_currentIndexChanged, int, drMix)
STORE(on_comboBox_DR_SW2_currentIndexChanged, int, drSwitch)
// The second D/R group's channel box only stores the channel; the next
// refresh moves the first group's box along, and its setter reselects the
// working copies before the second group is shown again.
STORE(on_comboBox_DR_CH2_currentIndexChanged, int, drChannel)
STORE(on_doubleSpinBox_Volt_valueChanged, double, txAlarmVolt)
STORE(on_doubleSpinBox_rxVolt_valueChanged, double, rxAlarmVolt)
STORE(on_doubleSpinBox_extVolt_valueChanged, double, extAlarmVolt)
STORE(on_spinBox_Rssi_valueChanged, int, rssiAlarm)
STORE(on_spinBox_Mode_valueChanged, int, stickMode)
STORE(on_spinBox_Vertion_valueChanged, int, txVersion)

#undef STORE

void MainWindow::Dr_DataSelet()
{
    selectDualRate(paramSet);
}

void MainWindow::on_comboBox_DR_CH1_currentIndexChanged(int value)
{
    editDrChannel(paramSet, value);
}
void MainWindow::on_comboBox_DR_POSI_currentIndexChanged(int value)
{
    editDrPosition(paramSet, value);
}
void MainWindow::on_spinBox_DR_UP1_valueChanged(int value)
{
    editDrUp(paramSet, value);
}
void MainWindow::on_spinBox_DR_DOWN1_valueChanged(int value)
{
    editDrDown(paramSet, value);
}
void MainWindow::on_spinBox_DR_RATE_valueChanged(int value)
{
    editDrRate(paramSet, value);
}
void MainWindow::on_spinBox_DR_EXP_valueChanged(int value)
{
    editDrExpo(paramSet, value);
}

// The step widgets keep their place on the page; the stick mode decides
// which of the transmitter's trims each one sets.
void MainWindow::on_spinBox_step1_valueChanged(int value)
{
    editTrimStep(paramSet, 0, value);
}
void MainWindow::on_spinBox_step2_valueChanged(int value)
{
    editTrimStep(paramSet, 1, value);
}
void MainWindow::on_spinBox_step3_valueChanged(int value)
{
    editTrimStep(paramSet, 2, value);
}
void MainWindow::on_spinBox_step4_valueChanged(int value)
{
    editTrimStep(paramSet, 3, value);
}
