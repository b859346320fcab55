// COMPARE: the editor's settings beside the transmitter's last READ, a
// parameter file or a history entry, setting by setting.
#include "app/mainwindow.h"

#include "views/comparedialog.h"
#include "views/comparesources.h"

void MainWindow::on_pushButton_Compare_clicked()
{
    auto *dialog = new CompareDialog(paramSet, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    compareSources->offerTo(dialog);
    dialog->open();
}
