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
