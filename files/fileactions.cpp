#include "app/mainwindow.h"

// Placeholder definitions; filled in by the subsystem that owns this file.

void MainWindow::on_toolButton_Save_clicked() { }
void MainWindow::on_toolButton_Load_clicked() { }
