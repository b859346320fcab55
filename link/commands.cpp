#include "app/mainwindow.h"

// Placeholder definitions; filled in by the subsystem that owns this file.

void MainWindow::on_toolButton_Read_clicked() { }
void MainWindow::on_toolButton_Send_clicked() { }
void MainWindow::on_toolButton_Reset_clicked() { }
void MainWindow::on_pushButton_Reset2_clicked() { }
