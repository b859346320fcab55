#include "app/mainwindow.h"

// Placeholder definitions; filled in by the subsystem that owns this file.

void MainWindow::on_openButton_clicked() { }
void MainWindow::setUpPortHandling() { }
void MainWindow::fillPortList() { }
