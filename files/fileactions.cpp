// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// SAVE and LOAD: the four frames as a parameter file. Both drive the
// transmitter too: SAVE sends the frames it stores, LOAD sends what it read.
#include "app/mainwindow.h"

#include "files/filewriter.h"
#include "files/paramfile.h"
#include "files/paramfileread.h"
#include "files/savefolder.h"
#include "link/framedecoder.h"
#include "link/pause.h"
#include "ui/mainform.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QToolButton>
#include <QtDebug>

#include <optional>

namespace {

void lockButtonBriefly(QAbstractButton *button)
{
    // The button may go during the lock (MODELS closed by the pilot).
    QPointer<QAbstractButton> own(button);
    own->setEnabled(false);
    pauseMs(200);
    if (own)
        own->setEnabled(true);
}

// SAVE and LOAD run from the click: the status line shows them during the
// lock and the file dialog. One that ends without a transfer (the pilot
// left during the lock, cancelled or picked a file that cannot be used)
// is withdrawn: nothing reports it as finished.
void withdraw(std::optional<CommandScope> &command)
{
    command->withdraw();
    command.reset();
}

void showFileError()
{
    QMessageBox::critical(nullptr, QStringLiteral("ERROR"),
                          QStringLiteral("Cannot read the specified file!"), QMessageBox::Ok);
}

} // namespace

void MainWindow::on_toolButton_Save_clicked()
{
    std::optional<CommandScope> save(std::in_place, link, CommandKind::Save);
    status->fileCommandStarts(QString());
    lockButtonBriefly(ui->toolButton_Save);
    if (leaving) // the pilot closed the window during the lock
        return withdraw(save);
    save->goesOn();
    const QString name =
        QFileDialog::getSaveFileName(nullptr, QStringLiteral("SAVE"), QStringLiteral("./"),
                                     QStringLiteral("file (*.txt *.dat);;allfile (*.*)"));
    qDebug().noquote() << name;
    if (name.isEmpty())
        return withdraw(save);
    status->fileCommandStarts(name);

    // The new content goes to a temporary file beside the old one and
    // replaces it only once complete: a failed save never costs the pilot
    // the file that was there, and a pipe or a device node picked by
    // mistake is refused rather than turned into a file of its own. The
    // temporary file is made before anything is sent, so a folder that
    // cannot be written is known at once.
    WholeFileWriter file(name);
    if (!file.open()) {
        qDebug().noquote() << file.errorString();
        withdraw(save);
        status->saved(name, false, true, QByteArray(), file.errorString());
        showFileError();
        return;
    }
    const bool delivered = sendSettings(*save);
    save.reset();
    const QByteArray bytes = parameterFileBytes();
    const bool written = file.commit(bytes);
    if (!written)
        qDebug().noquote() << file.errorString();
    status->saved(name, written, delivered, bytes, file.errorString());
    if (written)
        rememberSaveFolder(name);
    if (!written)
        showFileError();
    reportTransfer(delivered);
}

void MainWindow::on_toolButton_Load_clicked()
{
    // The file would replace the editor while another transfer builds its
    // frames from it.
    const QString busy = runningTransfer(link);
    if (!busy.isEmpty())
        return status->refused(refusedWhileRunning(QStringLiteral("Not loaded"), busy));
    loadStep(QStringLiteral("LOAD"), ui->toolButton_Load, QString(), QString());
}

void MainWindow::sendModelFile(const QString &path, const QString &model, QAbstractButton *own)
{
    // A model goes to the transmitter exactly as LOAD of its file sends it:
    // the same frames and pauses, the trims held while it runs, the same
    // boxes, history entry and judgement of whether the transmitter heard.
    loadStep(QStringLiteral("Send model ") + model, own, path, model);
}

void MainWindow::loadStep(const QString &stepName, QAbstractButton *own, const QString &path,
                          const QString &model)
{
    // Telemetry must not overwrite the trims being loaded and sent.
    suspendTrimUpdate = true;
    // One step the pilot can undo: the editor as it was before the file.
    const quint64 step = undo->beginCommandStep(stepName);
    loadFile(own, path, model);
    undo->endCommandStep(step);
}

void MainWindow::loadFile(QAbstractButton *own, const QString &path, const QString &model)
{
    std::optional<CommandScope> load(std::in_place, link, CommandKind::Load, !model.isEmpty());
    status->fileCommandStarts(path, model);
    lockButtonBriefly(own);
    if (leaving) { // the pilot closed the window during the lock
        withdraw(load);
        suspendTrimUpdate = false;
        return;
    }
    load->goesOn();
    const QString name = !path.isEmpty()
                             ? path
                             : QFileDialog::getOpenFileName(
                                   nullptr, QStringLiteral("Open file"), QStringLiteral("./"),
                                   QStringLiteral("All file (*.*);;file (*.txt *.dat)"));
    if (name.isEmpty()) {
        withdraw(load);
        suspendTrimUpdate = false;
        NotThePilot repair(*undo);
        Dr_DataSelet();
        FalseSaveData();
        return;
    }
    loadedFileName = name;
    QFile file;
    if (!openForReading(file, name)) {
        withdraw(load);
        suspendTrimUpdate = false;
        status->loadFailed(name);
        showFileError();
        return;
    }
    const QString text = readParameterFileText(file);
    file.close();
    // A file without a single frame of settings (a picture, a log, a file
    // cut short) would send the editor's own settings as if they were the
    // file's: nothing is sent, and the pilot is told.
    ParameterFileRead probe;
    probe.opened = true;
    probe.length = int(text.size());
    probe.settings = paramSet;
    probe.accepted = decodeParameterFile(text, probe.settings);
    const int framesHeld = probe.accepted.count();
    // A model goes out whole or not at all: its file may have changed since
    // MODELS read it, and the editor's frames would fill the gaps. Told in
    // the words MODELS uses for a file it finds broken.
    if (!model.isEmpty() && framesHeld != 4) {
        withdraw(load);
        suspendTrimUpdate = false;
        status->refused(QStringLiteral("Not sent: ") + parameterFileTrouble(model, probe));
        return;
    }
    if (framesHeld == 0) {
        qDebug("Blength00:%d", int(text.size()));
        withdraw(load);
        suspendTrimUpdate = false;
        status->loadHeldNoSettings(name);
        showFileError();
        return;
    }

    const int length = text.size();
    qDebug("Blength00:%d", length);
    FileFramesAccepted accepted;
    {
        NotThePilot fromFile(*undo);
        accepted = decodeParameterFile(text, paramSet);
        for (int k = 0; k < 3; ++k) {
            if (accepted.frame[k])
                qDebug("Blength0%d:%d", k + 1, length);
        }
        // The transmitter gets only values the tool itself accepts: a file
        // with a sub-trim of 110 sends the repaired 0, not 110.
        Dr_DataSelet();
        FalseSaveData();
    }
    status->fileCommandStarts(name, model);
    // The model's four frames as they are to go out: the transmitter holds
    // the model only when these are the ones that leave.
    const QByteArray modelFrames = model.isEmpty() ? QByteArray() : parameterFileFor(paramSet);
    const bool delivered = sendSettings(*load);
    load.reset();
    suspendTrimUpdate = false;
    {
        NotThePilot repair(*undo);
        Dr_DataSelet();
        FalseSaveData();
    }
    status->loaded(name, accepted, delivered, text, model, modelFrames);
    reportTransfer(delivered, !model.isEmpty());
}
