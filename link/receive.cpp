#include "app/mainwindow.h"

// Placeholder definitions; filled in by the subsystem that owns this file.

void MainWindow::serialPort_readyRead() { }
int MainWindow::byteArrayToInt(QByteArray /*b*/, int /*a*/) { return 0; }
