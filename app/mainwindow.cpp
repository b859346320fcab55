// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "check/transmittercheck.h"
#include "history/historyrecorder.h"
#include "keep/editorkeep.h"
#include "live/livewindow.h"
#include "models/library.h"
#include "ui/mainform.h"
#include "views/comparesources.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(new MainForm), refreshTimer(nullptr)
{
    ui->setupUi(this); // also connects the on_<object>_<signal> slots by name
    status = new StatusLine(
        {ui->statusActivity, ui->statusProgress, ui->statusChanges, ui->statusConnection,
         ui->statusModel},
        link, this);
    history = new HistoryRecorder(historyFolder(), link, this);
    connect(history, &HistoryRecorder::notSaved, status, &StatusLine::historyNotSaved);
    compareSources = new CompareSources(link, this);
    connect(history, &HistoryRecorder::written, compareSources, &CompareSources::historyChanged);
    setUpModels();
    setUpCheck();
    // A READ is judged when its grace period is over; only one that brought
    // every setting frame on a connection that is still up stands for what
    // the transmitter holds. A complete check is judged the same way.
    const auto judgeRead = [this](int settingFramesRead, const ParameterSet &asRead) {
        if (settingFramesRead < kSettingFrameKinds || link.connection() == 0)
            return;
        history->readComplete(asRead);
        compareSources->readComplete(asRead);
        models->transmitterHolds(asRead);
    };
    connect(status, &StatusLine::readJudged, this, judgeRead);
    connect(check, &TransmitterCheck::transmitterRead, this, judgeRead);
    link.setListener([this](const RunningCommand *finished) {
        status->commandsChanged(finished);
        check->commandsChanged(finished);
        if (!finished) {
            if (link.running().empty()) // an outer command withdrawn: idle now
                QTimer::singleShot(0, history, &HistoryRecorder::writePending);
            return;
        }
        history->commandFinished(*finished);
        models->commandFinished(*finished);
        // The pilot learns of a transfer the transmitter did not answer the
        // way they learn of one cut short. The verdict may come from inside
        // the receive slot or a close: the box waits for the loop.
        if (finished->unheard && !leaving) {
            QTimer::singleShot(0, this, [this, model = finished->sendsModel] {
                if (!leaving)
                    tellTransferUnfinished(model);
            });
        }
    });
    setUpPortHandling();
    undo = new EditorUndo(this, ui->tabWidget, ui->pushButton_Undo, ui->pushButton_Redo,
                          [this](const ParameterSet &) { ui_Display(); });
    // Undo and redo replace the editor as a whole: not while a transfer
    // builds its frames from it.
    undo->setRefusal([this](const QString &notDone) {
        const QString busy = runningTransfer(link);
        return busy.isEmpty() ? QString() : refusedWhileRunning(notDone, busy);
    });
    connect(undo, &EditorUndo::refused, status, &StatusLine::refused);
    // READ's frames trail its pause; its step closes when the status line
    // judges it: its grace period is over, or the next command starts.
    connect(status, &StatusLine::readJudged, undo, &EditorUndo::readJudged);
    // After undoing a restore, the line no longer says it waits for WRITE.
    connect(undo->stack(), &QUndoStack::indexChanged, status, &StatusLine::editorStepsAt);
    setUpCommandKeys();
    setUpLive();
    fillPortList();
    ui->tabWidget->setCurrentIndex(0); // the form selects ADVANCE1; open on SERVO

    refreshTimer = new QTimer(this);
    refreshTimer->setObjectName(QStringLiteral("refreshTimer"));
    refreshTimer->start(100);
    connect(refreshTimer, &QTimer::timeout, this, &MainWindow::ui_Display);
    setUpKeep();
}

MainWindow::~MainWindow()
{
    // Undo lets go of the keys and the buttons before the form goes.
    undo->release();
    releasePort(); // before the form goes: the port's reports must not reach it
    link.setListener(nullptr);
    // Entries of transfers that reached the transmitter are kept even when
    // the pilot leaves right after them.
    history->writePending();
    delete ui;
}

namespace {

// The pilot's edits would be gone with the window. The default keeps it,
// so that a hasty Return never throws work away.
bool pilotDropsChanges()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Note"),
                    QStringLiteral("The settings were changed and are neither written to the "
                                   "transmitter nor saved to a file.\n"
                                   "Quit anyway and lose the changes?"));
    QPushButton *keep =
        box.addButton(QStringLiteral("Write or save first"), QMessageBox::RejectRole);
    QPushButton *quit = box.addButton(QStringLiteral("Quit anyway"), QMessageBox::DestructiveRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == quit;
}

} // namespace

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    followPortsWhileClosed();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (endingUnasked) {
        // Nobody can answer: what the pilot did is kept already.
        leaving = true;
        link.connectionEnded();
        QMainWindow::closeEvent(event);
        return;
    }
    // Leaving ends every wait at once and throws the queued frames away, so
    // a transfer still under way would stop halfway. The pilot decides; the
    // default keeps the window and lets the transfer finish.
    if (link.isSending() &&
        QMessageBox::question(nullptr, QStringLiteral("Note"),
                              QStringLiteral("Settings are still being sent to the transmitter.\n"
                                             "Close anyway and leave the transfer unfinished?"),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    if (!link.isSending() && status->hasUnwrittenChanges() && !pilotDropsChanges()) {
        event->ignore();
        return;
    }
    if (!live->recordingMayEnd()) {
        event->ignore();
        return;
    }
    // The pilot chose: unwritten edits are not offered again.
    editorKeep->end(false);
    // Whatever is still running winds down without writing any more.
    leaving = true;
    link.connectionEnded();
    QMainWindow::closeEvent(event);
}

QUndoStack *MainWindow::editorSteps() const
{
    return undo->stack();
}

void MainWindow::replaceEditorSettings(const QString &stepName, const ParameterSet &after)
{
    undo->replaceEditorSettings(stepName, after);
}

void MainWindow::setUpCommandKeys()
{
    // Keys only for the commands that do not overwrite the transmitter at
    // a stroke: READ only asks, and LOAD and SAVE send nothing before the
    // pilot has picked a file in their dialog. WRITE, RESET and DATA RESET
    // overwrite the transmitter at once and stay a deliberate click.
    const struct {
        QToolButton *button;
        QKeySequence key;
        const char *does;
    } commands[] = {
        {ui->toolButton_Read, QKeySequence(Qt::Key_F5), "READ the transmitter's settings"},
        {ui->toolButton_Load, QKeySequence(Qt::CTRL | Qt::Key_O),
         "LOAD settings from a file and send them to the transmitter"},
        {ui->toolButton_Save, QKeySequence(Qt::CTRL | Qt::Key_S), "SAVE the settings to a file"},
    };
    for (const auto &command : commands) {
        auto *action = new QAction(this);
        action->setShortcut(command.key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        // A click, so the key waits out the button's lock like the mouse.
        QToolButton *button = command.button;
        connect(action, &QAction::triggered, button, [button] { button->click(); });
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            QLatin1String(command.does), command.key.toString(QKeySequence::NativeText)));
    }
}

std::optional<ParameterSet> MainWindow::lastCompleteReadSettings() const
{
    return compareSources->lastCompleteRead();
}
