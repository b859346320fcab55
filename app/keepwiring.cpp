// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the pilot did is kept on disk as it happens: the editor's unwritten
// edits here, a recording's journal in live/. An end the pilot did not ask
// for keeps both; the next start offers what an ended instance left.
#include "app/mainwindow.h"

#include "app/stopsignals.h"

#include "keep/editorkeep.h"
#include "keep/instancekeep.h"
#include "live/livewindow.h"
#include "models/library.h"
#include "views/statusline.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

void MainWindow::setUpKeep()
{
    editorKeep = new EditorKeep(
        ownKeepPath(QStringLiteral("edits")),
        [this](const ParameterSet &against) { return models->nameFor(against); }, this);
    connect(editorKeep, &EditorKeep::notKept, status, &StatusLine::editsNotKept);
    connect(refreshTimer, &QTimer::timeout, editorKeep, [this] {
        editorKeep->look(paramSet, status->transmitterHeld(), status->hasEditsTransmitterLacks());
    });
    // Asked to end without the pilot: finish, keep, and go.
    auto *stop = new StopRequests(this);
    connect(stop, &StopRequests::stopRequested, this, &MainWindow::endUnasked);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MainWindow::endUnasked);
}

void MainWindow::endUnasked()
{
    if (endingUnasked)
        return;
    endingUnasked = true;
    live->finishUnasked();
    editorKeep->end(true);
    close();
    QCoreApplication::quit();
}

bool MainWindow::offerLeftEdits(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const std::optional<KeptEdits> kept = keptEditsFrom(file.readAll());
    file.close();
    if (!kept) {
        QFile::remove(path); // not edits the tool can read back
        return false;
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Note"),
                    QStringLiteral("Edits not written to the transmitter when the tool stopped "
                                   "on %1:")
                        .arg(QLocale().toString(kept->at, QLocale::ShortFormat)),
                    QMessageBox::NoButton, this);
    QPushButton *restore =
        box.addButton(QStringLiteral("Restore into the editor"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(restore);
    box.exec();
    if (box.clickedButton() == discard) {
        QFile::remove(path);
        return false;
    }
    if (box.clickedButton() != restore)
        return false; // the tool is ending: offered again at the next start
    // "Changed" is judged against what the transmitter held then; the
    // editor as it started comes back with one undo. Nothing is sent.
    status->judgeChangesAgainst(kept->against);
    replaceEditorSettings(QStringLiteral("Restore unwritten edits"), kept->editor);
    // This instance keeps them from now on.
    editorKeep->look(paramSet, status->transmitterHeld(), status->hasEditsTransmitterLacks());
    editorKeep->flush();
    QFile::remove(path);
    return true;
}

void MainWindow::offerWhatWasLeft()
{
    std::vector<LeftBehind> left = leftByEndedInstances();
    bool restored = false;
    for (const LeftBehind &instance : left) {
        // One set of edits fits the editor: others wait for the next start.
        if (instance.has(QStringLiteral("edits")) && !restored && !endingUnasked)
            restored = offerLeftEdits(instance.path(QStringLiteral("edits")));
    }
    for (const LeftBehind &instance : left) {
        if (instance.has(QStringLiteral("recording.csv")) && !endingUnasked)
            LiveWindow::offerLeftRecording(instance.path(QStringLiteral("recording.csv")));
    }
}
