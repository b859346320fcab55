// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// COMPARE: the editor's settings beside the transmitter's last READ, a
// parameter file, a history entry or a model, setting by setting.
#include "app/mainwindow.h"

#include "check/transmittercheck.h"
#include "models/library.h"
#include "models/modelsdialog.h"
#include "views/comparedialog.h"
#include "views/comparesources.h"

#include <QPushButton>

void MainWindow::on_pushButton_Compare_clicked()
{
    openCompare();
}

CompareDialog *MainWindow::openCompare()
{
    auto *dialog = new CompareDialog(paramSet, this);
    dialog->addAction(checkKey);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    offerCheck(dialog); // first, while the port is open (app/checkwindow.cpp)
    compareSources->offerTo(dialog);
    QPushButton *fromModel = dialog->addSource(
        QStringLiteral("Model…"), [this, dialog] { return pickModel(*models, dialog); });
    fromModel->setEnabled(!models->models().empty());
    dialog->open();
    showCheckIn(dialog); // the check under way, or one the pilot has not seen

    return dialog;
}
