// The model library in the window: MODELS, and the name of the model the
// transmitter holds beside the connection. The library hears a complete
// READ, a transfer the transmitter took and the port closing. Sending a
// model is LOAD of its file; opening one changes the editor only, the
// pilot WRITEs it.
#include "app/mainwindow.h"

#include "files/paramfileread.h"
#include "models/library.h"
#include "models/modelsdialog.h"
#include "ui/mainform.h"
#include "views/comparedialog.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>

void MainWindow::setUpModels()
{
    models = new ModelLibrary(modelsFolder(), this);
    connect(models, &ModelLibrary::heldModelChanged, status, &StatusLine::showHeldModel);
    connect(&serialPort, &QSerialPort::aboutToClose, models, &ModelLibrary::transmitterGone);

    const auto open = [this](const ModelEntry &model) {
        // Read again, as LOAD reads a file: it may have changed on disk
        // since the list was filled.
        const ParameterFileRead read = readParameterFileAt(model.path, paramSet);
        const QString trouble = parameterFileTrouble(model.name, read);
        if (!trouble.isEmpty()) {
            QMessageBox::warning(nullptr, QStringLiteral("Model not opened"), trouble);
            return;
        }
        replaceEditorSettings(QStringLiteral("Open model ") + model.name, read.settings);
        status->openedModel(model.name, undo->stack()->index());
    };
    const auto send = [this](const ModelEntry &model, QAbstractButton *button) {
        sendModelFile(model.path, model.name, button);
    };
    const auto compare = [this](const ModelEntry &model) {
        auto *dialog = new CompareDialog(paramSet, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->compareWith(modelCompareSource(model));
        dialog->open();
    };
    connect(ui->pushButton_Models, &QPushButton::clicked, this, [this, open, send, compare] {
        auto *dialog = new ModelsDialog(*models, paramSet, open, send, compare, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &ModelsDialog::modelSaved, status, &StatusLine::savedModel);
        dialog->open();
    });
}
