// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// PRINT: the editor's settings as a settings sheet, shown in the print
// preview, from where the pilot prints it or saves it as a PDF.
#include "app/mainwindow.h"

#include "settings/sheet.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

#include <memory>

void MainWindow::on_pushButton_Print_clicked()
{
    // The preview repaints whenever the pilot changes the paper, so the
    // printer lives as long as the dialog does.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    auto *dialog = new QPrintPreviewDialog(printer.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Print the settings"));
    // The sheet shows what the editor holds when the pages are drawn; the
    // version is the one the SYSTEM page shows.
    connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [printer](QPrinter *target) {
        paintSheet(buildSheet(paramSet, QStringLiteral("Transmitter settings"), paramSet.txVersion),
                   *target);
    });
    dialog->open();
}
