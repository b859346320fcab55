// Writes the history entries: after every READ that brought all settings
// and every transfer that delivered all of them. An entry is written only
// once no command is running, so the file work never falls between two
// frames of a transfer.
#include "app/mainwindow.h"

#include "files/paramfile.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QTimer>

#include <optional>

namespace {

// The event a delivered transfer leaves in the history; none for commands
// that leave none (READ is judged separately, SAVE has the pilot's file).
std::optional<HistoryEvent> historyEventOf(CommandKind kind)
{
    switch (kind) {
    case CommandKind::Write:
        return HistoryEvent::Write;
    case CommandKind::Load:
        return HistoryEvent::Load;
    case CommandKind::Reset:
        return HistoryEvent::Reset;
    case CommandKind::DataReset:
        return HistoryEvent::DataReset;
    case CommandKind::Read:
    case CommandKind::Save:
        break;
    }
    return std::nullopt;
}

} // namespace

void MainWindow::setUpHistory()
{
    connect(status, &StatusLine::readJudged, this, [this](int settingFramesRead) {
        if (settingFramesRead >= kSettingFrameKinds && link.connection() != 0)
            keepForHistory(HistoryEvent::Read, parameterFileFor(paramSet));
    });
}

void MainWindow::noteCommandForHistory(const RunningCommand &finished)
{
    const std::optional<HistoryEvent> event = historyEventOf(finished.kind);
    if (!finished.delivered() || !event)
        return;
    // The frames exactly as they went on the wire, all four or none.
    QByteArray file;
    for (const QByteArray &frame : finished.framesWritten) {
        if (frame.size() != kFrameLength)
            return;
        file += frame;
    }
    keepForHistory(*event, file);
}

void MainWindow::keepForHistory(HistoryEvent event, const QByteArray &file)
{
    pendingHistory.push_back({event, file, QDateTime::currentDateTime()});
    // After the slot that ended the command has told its outcome.
    QTimer::singleShot(0, this, &MainWindow::writePendingHistory);
}

void MainWindow::writePendingHistory()
{
    // A command still running (an outer one whose pause this was) is
    // finished first; its end brings this back.
    if (!link.running().empty() || leaving)
        return;
    const QString folder = historyFolder();
    for (const PendingHistory &entry : pendingHistory) {
        const QString trouble = addHistoryEntry(folder, entry.event, entry.file, entry.time);
        if (!trouble.isEmpty())
            status->historyNotSaved(trouble);
    }
    pendingHistory.clear();
}
