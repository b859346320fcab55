#include "app/mainwindow.h"

// Placeholder definitions; filled in by the subsystem that owns this file.

void MainWindow::SendData1() { }
void MainWindow::SendData2() { }
void MainWindow::SendData3() { }
void MainWindow::SendData4() { }
