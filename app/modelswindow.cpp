// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The model library in the window: MODELS, and the name of the model the
// transmitter holds beside the connection. The library hears a complete
// READ, a transfer the transmitter took and the port closing. Sending a
// model is LOAD of its file; opening one changes the editor only, the
// pilot WRITEs it.
#include "app/mainwindow.h"

#include "files/paramfileread.h"
#include "models/library.h"
#include "models/modelsdialog.h"
#include "ui/formstyles.h"
#include "ui/mainform.h"
#include "views/comparedialog.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>

#include <memory>
#include <utility>

void MainWindow::setUpModels()
{
    models = new ModelLibrary(modelsFolder(), this);
    connect(models, &ModelLibrary::heldModelChanged, status, &StatusLine::showHeldModel);
    connect(&serialPort, &QSerialPort::aboutToClose, models, &ModelLibrary::transmitterGone);

    // The step of the last "Open in the editor": redoing it says again
    // what it did, as undoing it took that back.
    struct OpenedStep {
        const QUndoCommand *step = nullptr;
        int index = -1;
        QString name;
        bool heard = false;
    };
    const auto opened = std::make_shared<OpenedStep>();
    const auto hearRedo = [this, opened] {
        if (std::exchange(opened->heard, true))
            return;
        connect(undo->stack(), &QUndoStack::indexChanged, this, [this, opened](int index) {
            if (opened->step && index == opened->index &&
                undo->stack()->command(index - 1) == opened->step)
                status->openedModel(opened->name, index);
        });
    };

    const auto open = [this, opened, hearRedo](const ModelEntry &model) {
        // A transfer builds its frames from the editor one after another:
        // the transmitter would get part of one model and part of another.
        const QString busy = runningTransfer(link);
        if (!busy.isEmpty()) {
            const QString refused = refusedWhileRunning(QStringLiteral("Not opened"), busy);
            status->refused(refused);
            return refused;
        }
        // Read again, as LOAD reads a file: it may have changed on disk
        // since the list was filled.
        const ParameterFileRead read = readParameterFileAt(model.path, paramSet);
        const QString trouble = parameterFileTrouble(model.name, read);
        if (!trouble.isEmpty()) {
            QMessageBox::warning(nullptr, QStringLiteral("Model not opened"), asTyped(trouble));
            return QStringLiteral("Not opened: ") + trouble;
        }
        hearRedo();
        const int before = undo->stack()->index();
        replaceEditorSettings(QStringLiteral("Open model ") + model.name, read.settings);
        const int after = undo->stack()->index();
        *opened = OpenedStep{after > before ? undo->stack()->command(after - 1) : nullptr, after,
                             model.name};
        status->openedModel(model.name, after);
        return QString();
    };
    const auto send = [this](const ModelEntry &model, QAbstractButton *button) {
        // Two transfers at once would mix their frames on the wire, and
        // the transmitter would hold neither model. READ's trailing frames
        // still go into the editor during its grace: a check waits for
        // them too.
        QString refused;
        const QString busy = runningTransfer(link);
        if (!busy.isEmpty())
            refused = refusedWhileRunning(QStringLiteral("Not sent"), busy);
        else if (!link.running().empty())
            refused =
                refusedWhileRunning(QStringLiteral("Not sent"), commandName(link.running().back()));
        else if (status->readBeingJudged())
            refused = refusedWhileRunning(QStringLiteral("Not sent"), QStringLiteral("READ"));
        if (refused.isEmpty()) {
            // The file as it is now, not as it was listed: a model goes out
            // whole or not at all.
            const QString trouble =
                parameterFileTrouble(model.name, readParameterFileAt(model.path, paramSet));
            if (!trouble.isEmpty())
                refused = QStringLiteral("Not sent: ") + trouble;
        }
        if (!refused.isEmpty()) {
            status->refused(refused);
            return refused;
        }
        sendModelFile(model.path, model.name, button);
        return QString();
    };
    const auto compare = [this](const ModelEntry &model) {
        auto *dialog = new CompareDialog(paramSet, this);
        dialog->addAction(checkKey);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->compareWith(modelCompareSource(model));
        dialog->open();
    };
    connect(ui->pushButton_Models, &QPushButton::clicked, this, [this, open, send, compare] {
        auto *dialog = new ModelsDialog(*models, paramSet, open, send, compare, this);
        dialog->addAction(checkKey);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &ModelsDialog::modelSaved, status, &StatusLine::savedModel);
        dialog->open();
    });
}
