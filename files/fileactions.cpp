#include "app/mainwindow.h"

// Parameter files are not supported yet: SAVE and LOAD do nothing until
// the file format is built, rather than sending or storing half a record.
void MainWindow::on_toolButton_Save_clicked() {}
void MainWindow::on_toolButton_Load_clicked() {}
