// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/linkactivity.h"

#include "link/frames.h"

#include <QMessageBox>

#include <algorithm>

namespace {

// The transfers that only count once the transmitter answered; READ is
// judged by the frames it brings, SAVE by its file.
bool needsVoice(CommandKind kind)
{
    return kind == CommandKind::Write || kind == CommandKind::Load || kind == CommandKind::Reset ||
           kind == CommandKind::DataReset;
}

} // namespace

Voice transmitterVoice(qint64 firstFrameAt, qint64 endedAt, qint64 lastHeardAt, qint64 now)
{
    if (lastHeardAt >= 0 && lastHeardAt >= firstFrameAt && lastHeardAt <= endedAt + kVoiceGraceMs)
        return Voice::Heard;
    return now < endedAt + kVoiceGraceMs ? Voice::Awaited : Voice::Silent;
}

LinkActivity::LinkActivity()
{
    m_clock.start();
    m_graceOver.setSingleShot(true);
    m_graceOver.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_graceOver, &QTimer::timeout, [this] { settleAwaiting(false); });
}

void LinkActivity::connectionOpened()
{
    m_current = ++m_opened;
    m_openedAt = now();
    m_lastHeardAt = -1;
}

void LinkActivity::connectionEnded()
{
    m_current = 0;
    m_lastHeardAt = -1;
    settleAwaiting(true);
}

void LinkActivity::heard()
{
    if (m_current == 0)
        return;
    m_lastHeardAt = now();
    if (!m_awaiting.empty())
        settleAwaiting(false);
}

qint64 LinkActivity::silentForMs() const
{
    if (m_current == 0)
        return 0;
    return now() - (m_lastHeardAt >= 0 ? m_lastHeardAt : m_openedAt);
}

void LinkActivity::finish(RunningCommand finished)
{
    finished.endedAt = now();
    if (!needsVoice(finished.kind) || !finished.delivered() || finished.firstFrameAt < 0) {
        tell(&finished);
        return;
    }
    switch (transmitterVoice(finished.firstFrameAt, finished.endedAt, m_lastHeardAt, now())) {
    case Voice::Heard:
        tell(&finished);
        return;
    case Voice::Silent:
        finished.unheard = true;
        tell(&finished);
        return;
    case Voice::Awaited:
        // Nothing about it changes until the verdict: the status line goes
        // on showing its end of transfer.
        m_awaiting.push_back(finished);
        if (!m_graceOver.isActive())
            m_graceOver.start(int(kVoiceGraceMs));
        tell(nullptr);
        return;
    }
}

void LinkActivity::settleAwaiting(bool ended)
{
    const qint64 t = now();
    // Reporting may start another command or end the connection, which
    // lands here again: take each verdict off the list before telling it.
    for (std::size_t i = 0; i < m_awaiting.size();) {
        RunningCommand command = m_awaiting[i];
        const Voice voice =
            command.connection == m_current
                ? transmitterVoice(command.firstFrameAt, command.endedAt, m_lastHeardAt, t)
                : Voice::Silent;
        if (voice == Voice::Awaited && !ended) {
            ++i;
            continue;
        }
        command.unheard = voice != Voice::Heard;
        m_awaiting.erase(m_awaiting.begin() + std::ptrdiff_t(i));
        tell(&command);
    }
    if (m_awaiting.empty()) {
        m_graceOver.stop();
    } else if (!m_graceOver.isActive()) {
        const qint64 next = m_awaiting.front().endedAt + kVoiceGraceMs - now();
        m_graceOver.start(int(std::max<qint64>(next, 0)));
    }
}

bool LinkActivity::isSending() const
{
    for (const RunningCommand &command : m_running) {
        if (command.kind != CommandKind::Read && command.connection != 0 &&
            command.connection == m_current)
            return true;
    }
    return false;
}

bool LinkActivity::mayWrite(CommandStep step)
{
    if (m_running.empty())
        return true;
    RunningCommand &command = m_running.back();
    command.step = step;
    tell(nullptr);
    if (command.connection != 0 && command.connection == m_current)
        return true;
    if (command.connection != 0)
        command.cutOff = true;
    return false;
}

void LinkActivity::wrote(CommandStep step, const QByteArray &bytes, bool whole)
{
    if (m_running.empty())
        return;
    RunningCommand &command = m_running.back();
    if (!whole) {
        command.notTaken = true;
        return;
    }
    const int frame = int(step) - int(CommandStep::FrameS);
    if (frame >= 0 && frame < 4) {
        command.framesWritten[frame] = bytes;
        if (command.firstFrameAt < 0)
            command.firstFrameAt = now();
        // A command started during another's pause (a RESET during a Send)
        // reaches the same transmitter: the outer one's frames are what the
        // transmitter last took of each kind, not only its own.
        for (RunningCommand &outer : m_running) {
            if (&outer != &command && outer.kind != CommandKind::Read && outer.connection != 0 &&
                outer.connection == m_current)
                outer.framesWritten[frame] = bytes;
        }
    }
}

CommandScope::CommandScope(LinkActivity &activity, CommandKind kind, bool sendsModel)
    : m_activity(activity), m_index(activity.m_running.size())
{
    activity.m_running.push_back(
        {kind, activity.m_current, CommandStep::Starting, false, false, {}});
    activity.m_running.back().sendsModel = sendsModel;
    activity.tell(nullptr);
}

CommandScope::~CommandScope()
{
    // Commands end in the reverse order they started: a nested one returns
    // before the pause it ran in does.
    Q_ASSERT(m_activity.m_running.size() == m_index + 1);
    const RunningCommand finished = m_activity.m_running.back();
    m_activity.m_running.pop_back();
    if (m_withdrawn)
        m_activity.tell(nullptr);
    else
        m_activity.finish(finished);
}

void tellTransferUnfinished(bool sendsModel)
{
    QMessageBox::about(nullptr, QStringLiteral("Note"),
                       sendsModel ? QStringLiteral("The transmitter did not receive all settings! "
                                                   "Please send the model again from MODELS.")
                                  : QStringLiteral("The transmitter did not receive all settings! "
                                                   "Please WRITE again."));
}

QByteArray RunningCommand::deliveredFile() const
{
    if (!delivered())
        return QByteArray();
    QByteArray file;
    for (const QByteArray &frame : framesWritten) {
        if (frame.size() != kFrameLength)
            return QByteArray();
        file += frame;
    }
    return file;
}
