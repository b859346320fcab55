// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "model/parameterset.h"

void MainWindow::RestData()
{
    restFactoryA(paramSet);
}

void MainWindow::RestData2()
{
    restFactoryB(paramSet);
}

void MainWindow::FalseSaveData()
{
    validateParameters(paramSet);
}
