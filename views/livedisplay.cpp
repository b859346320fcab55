#include "app/mainwindow.h"

// Placeholder definitions; filled in by the subsystem that owns this file.

void MainWindow::Servo_Display() { }
void MainWindow::Recieve_Display() { }
void MainWindow::StkTrim_Display() { }
