// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/historyrecorder.h"

#include "files/paramfile.h"

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

HistoryRecorder::HistoryRecorder(const QString &historyFolder, const LinkActivity &activity,
                                 QObject *parent)
    : QObject(parent), folder(historyFolder), link(activity)
{
}

void HistoryRecorder::readComplete(const ParameterSet &asRead)
{
    keep(HistoryEvent::Read, parameterFileFor(asRead));
}

void HistoryRecorder::commandFinished(const RunningCommand &finished)
{
    const std::optional<HistoryEvent> event = historyEventOf(finished.kind);
    const QByteArray file = finished.deliveredFile();
    if (event && !file.isEmpty())
        keep(*event, file);
    // An outer command's end brings back what waited for it.
    if (!pending.empty())
        QTimer::singleShot(0, this, &HistoryRecorder::writePending);
}

void HistoryRecorder::keep(HistoryEvent event, const QByteArray &file)
{
    pending.push_back({event, file, QDateTime::currentDateTime()});
    // After the slot that ended the command has told its outcome.
    QTimer::singleShot(0, this, &HistoryRecorder::writePending);
}

void HistoryRecorder::writePending()
{
    // A command still running (an outer one whose pause this was) is
    // finished first; its end brings this back.
    if (!link.running().empty())
        return;
    const std::vector<Pending> waiting = std::move(pending);
    pending.clear();
    for (const Pending &entry : waiting) {
        const QString trouble = addHistoryEntry(folder, entry.event, entry.file, entry.time);
        if (!trouble.isEmpty())
            emit notSaved(trouble);
    }
    if (!waiting.empty())
        emit written();
}
