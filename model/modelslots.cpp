#include "app/mainwindow.h"

// Placeholder definitions; filled in by the subsystem that owns this file.

void MainWindow::RestData() { }
void MainWindow::RestData2() { }
void MainWindow::FalseSaveData() { }
