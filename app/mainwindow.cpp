#include "app/mainwindow.h"

#include "history/historyrecorder.h"
#include "ui/mainform.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(new MainForm), refreshTimer(nullptr)
{
    ui->setupUi(this); // also connects the on_<object>_<signal> slots by name
    status = new StatusLine(ui, link, this);
    history = new HistoryRecorder(historyFolder(), link, this);
    connect(history, &HistoryRecorder::notSaved, status, &StatusLine::historyNotSaved);
    connect(status, &StatusLine::readJudged, history,
            [this](int settingFramesRead, const ParameterSet &asRead) {
                if (settingFramesRead >= kSettingFrameKinds && link.connection() != 0)
                    history->readComplete(asRead);
            });
    link.setListener([this](const RunningCommand *finished) {
        status->commandsChanged(finished);
        if (finished)
            history->commandFinished(*finished);
        else if (link.running().empty()) // an outer command withdrawn: idle now
            QTimer::singleShot(0, history, &HistoryRecorder::writePending);
    });
    setUpPortHandling();
    setUpCompare();
    setUpUndo();
    fillPortList();
    ui->tabWidget->setCurrentIndex(0); // the form selects ADVANCE1; open on SERVO

    refreshTimer = new QTimer(this);
    refreshTimer->start(100);
    connect(refreshTimer, &QTimer::timeout, this, &MainWindow::ui_Display);
}

MainWindow::~MainWindow()
{
    // The steps and the keys go before the form: clearing the steps
    // updates the UNDO and REDO buttons.
    qApp->removeEventFilter(this);
    steps->disconnect(this);
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

void MainWindow::closeEvent(QCloseEvent *event)
{
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
    // Whatever is still running winds down without writing any more.
    leaving = true;
    link.connectionEnded();
    QMainWindow::closeEvent(event);
}
