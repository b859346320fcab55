#include "link/linkactivity.h"

#include <QMessageBox>

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
    if (frame >= 0 && frame < 4)
        command.framesWritten[frame] = bytes;
}

CommandScope::CommandScope(LinkActivity &activity, CommandKind kind)
    : m_activity(activity), m_index(activity.m_running.size())
{
    activity.m_running.push_back(
        {kind, activity.m_current, CommandStep::Starting, false, false, {}});
    activity.tell(nullptr);
}

CommandScope::~CommandScope()
{
    // Commands end in the reverse order they started: a nested one returns
    // before the pause it ran in does.
    Q_ASSERT(m_activity.m_running.size() == m_index + 1);
    const RunningCommand finished = m_activity.m_running.back();
    m_activity.m_running.pop_back();
    m_activity.tell(m_withdrawn ? nullptr : &finished);
}

void tellTransferUnfinished()
{
    QMessageBox::about(nullptr, QStringLiteral("Note"),
                       QStringLiteral("The transmitter did not receive all settings! "
                                      "Please WRITE again."));
}
