// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// HISTORY in the window: the entries, compared with the editor or restored
// to it. A restore changes the editor only; the pilot WRITEs it.
#include "app/mainwindow.h"

#include "files/paramfileread.h"
#include "history/historyrecorder.h"
#include "models/library.h"
#include "ui/mainform.h"
#include "views/comparedialog.h"
#include "views/historydialog.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>

std::optional<CompareSource> historyCompareSource(const HistoryEntry &entry)
{
    const ParameterFileRead read = readParameterFileAt(entry.path, kStartParameters);
    const QString title = historyEntryTitle(entry);
    return CompareSource{title, read.settings, parameterFileTrouble(title, read)};
}

std::optional<CompareSource> pickHistoryEntry(QWidget *parent)
{
    const std::vector<HistoryEntry> entries = listHistory(historyFolder());
    QStringList titles;
    for (const HistoryEntry &entry : entries)
        titles << historyEntryTitle(entry);
    const int chosen = pickToCompare(parent, QStringLiteral("History entry"), titles);
    if (chosen < 0)
        return std::nullopt;
    return historyCompareSource(entries[std::size_t(chosen)]);
}

void MainWindow::on_pushButton_History_clicked()
{
    const auto compare = [this](const HistoryEntry &entry) {
        auto *dialog = new CompareDialog(paramSet, this);
        dialog->addAction(checkKey);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        if (const std::optional<CompareSource> source = historyCompareSource(entry))
            dialog->compareWith(*source);
        dialog->open();
    };
    const auto restore = [this](const HistoryEntry &entry) { restoreFromHistory(entry.path); };
    // The library is listed once for all entries; each entry is named by
    // the model its settings are.
    const auto name = [library = models->models()](const ParameterSet &settings) {
        return recognitionText(recogniseModel(settings, library));
    };
    auto *dialog = new HistoryDialog(historyFolder(), compare, restore, this, name);
    dialog->addAction(checkKey);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(history, &HistoryRecorder::written, dialog, &HistoryDialog::entriesWritten);
    dialog->open();
}

void MainWindow::restoreFromHistory(const QString &path)
{
    const QString busy = runningTransfer(link);
    if (!busy.isEmpty())
        return status->refused(refusedWhileRunning(QStringLiteral("Not restored"), busy));
    // Decoded, repaired and reselected the way LOAD takes a file; an entry
    // that is not whole restores nothing rather than half a model.
    const ParameterFileRead read = readParameterFileAt(path, paramSet);
    if (!parameterFileTrouble(path, read).isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("ERROR"),
                              QStringLiteral("Cannot read the specified file!"), QMessageBox::Ok);
        return;
    }
    replaceEditorSettings(QStringLiteral("Restore ") + QFileInfo(path).fileName(), read.settings);
    status->restoredFromHistory(QFileInfo(path).fileName(), undo->stack()->index());
}
