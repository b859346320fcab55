// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>
#include <QtGlobal>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

// The commands that talk to the transmitter in sequences with pauses.
enum class CommandKind { Read, Write, Reset, DataReset, Save, Load };

// Where a running command stands: the last thing it sent, or would have
// sent had its connection still been up.
enum class CommandStep { Starting, ReadRequest, FrameS, FrameG, FrameH, FrameI, EndOfTransfer };

struct RunningCommand {
    CommandKind kind;
    quint64 connection; // the connection it started on; 0: the port was closed
    CommandStep step;
    bool cutOff; // it held bytes back because its connection had gone
    // The line did not take what was written: it was still queued at the
    // port when the command ended.
    bool notTaken = false;
    // The setting frames S, G, H and I as they were handed to the port, in
    // that order, also by a command run during its pauses (the last of each
    // kind); empty for a frame none of them wrote.
    QByteArray framesWritten[4];
    // When its first setting frame went to the port, and when it ended, on
    // the link's clock; -1 until then.
    qint64 firstFrameAt = -1;
    qint64 endedAt = -1;
    // Everything left the port, but nothing came from the transmitter
    // around the transfer: it is switched off, or this is not its port.
    bool unheard = false;
    // A LOAD that sends a model from MODELS: the pilot knows it as Send.
    bool sendsModel = false;

    // The transmitter received everything this command wrote, on a
    // connection that was up, and was heard while it did. A command that ran
    // with the port closed delivered nothing.
    bool delivered() const { return connection != 0 && !cutOff && !notTaken && !unheard; }
    // The four frames as they went on the wire, one parameter file; empty
    // unless the transmitter received all of them whole.
    QByteArray deliveredFile() const;
};

// A transmitter is never silent while connected: it streams channel and
// telemetry frames many times a second. So bytes leaving the port count as
// delivered only when a frame of the transmitter's own arrived after the
// transfer's first frame left, during the transfer or within this grace
// after its end. What it said before the transfer may have been said by
// the transmitter it had before, or before it was switched off.
constexpr qint64 kVoiceGraceMs = 1000;

enum class Voice { Heard, Awaited, Silent };
// `lastHeardAt` is the last frame of the transmitter's on the transfer's
// connection (-1: none yet); `now` the time of asking. Awaited while the
// grace is still running.
Voice transmitterVoice(qint64 firstFrameAt, qint64 endedAt, qint64 lastHeardAt, qint64 now);

// Which connection to the transmitter is up, and which commands are running
// on which. Every successful open starts a new connection, so a command
// can tell "the port I started on" from "a port the pilot opened since".
// Commands nest (a second one runs to its end inside another's pause), so
// the running ones form a stack, the innermost last; only the innermost
// one's code is ever executing.
class LinkActivity
{
public:
    LinkActivity();
    void connectionOpened();
    // A transfer still waiting to hear the transmitter never will.
    void connectionEnded();
    // The connection that is up now; 0 when there is none.
    quint64 connection() const { return m_current; }

    // A frame of the transmitter's own arrived on the connection that is up.
    // A transfer waiting for its voice is told at once.
    void heard();
    // How long the connection that is up has been silent: since the last
    // frame of the transmitter's arrived, or since it opened when none did
    // yet. 0 with no connection.
    qint64 silentForMs() const;
    // Transfers that have ended but wait (at most kVoiceGraceMs) to hear the
    // transmitter before they are reported as finished; oldest first.
    const std::vector<RunningCommand> &awaitingVoice() const { return m_awaiting; }

    // Running commands, outermost first; empty when the tool is idle.
    const std::vector<RunningCommand> &running() const { return m_running; }
    // True while a command is still delivering settings to the connection
    // it started on: leaving now would cut a transfer short.
    bool isSending() const;

    // Asked before the innermost command writes the bytes of `step`; true
    // when they may go to the port. A command whose connection has gone
    // writes nothing more and is marked cut off (one that started with the
    // port closed never writes and is never cut off). Bytes written outside
    // any command go to whatever port is open.
    bool mayWrite(CommandStep step);
    // Tells the innermost command what it handed to the port for `step`;
    // `whole` is false when the port took less than all of it.
    void wrote(CommandStep step, const QByteArray &bytes, bool whole);

    // Told whenever a command starts, reaches another step or ends; for an
    // end, `finished` is the command that just returned (else nullptr).
    // The status line watches the commands through this and never steers
    // them.
    using Listener = std::function<void(const RunningCommand *finished)>;
    void setListener(Listener listener) { m_listener = std::move(listener); }

private:
    void tell(const RunningCommand *finished) const
    {
        if (m_listener)
            m_listener(finished);
    }
    void finish(RunningCommand finished);
    // Reports every awaiting transfer whose verdict is known by now;
    // `ended`: the connection went, nothing more can be heard.
    void settleAwaiting(bool ended);
    qint64 now() const { return m_clock.elapsed(); }
    friend class CommandScope;
    QElapsedTimer m_clock;
    qint64 m_openedAt = 0;
    qint64 m_lastHeardAt = -1;
    std::vector<RunningCommand> m_awaiting;
    QTimer m_graceOver;
    quint64 m_opened = 0;
    quint64 m_current = 0;
    std::vector<RunningCommand> m_running;
    Listener m_listener;
};

// Marks a command as running for its lifetime, from the pilot's click on,
// bound to the connection that is up when it starts.
class CommandScope
{
public:
    CommandScope(LinkActivity &activity, CommandKind kind, bool sendsModel = false);
    ~CommandScope();
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

    // True once the command held something back because its connection had
    // gone: the transmitter did not get everything.
    bool cutOff() const { return m_activity.m_running[m_index].cutOff; }
    // The connection the command started on; 0 when the port was closed.
    quint64 connection() const { return m_activity.m_running[m_index].connection; }
    // The line did not take the command's bytes by the time it ended.
    void markNotTaken() { m_activity.m_running[m_index].notTaken = true; }
    CommandKind kind() const { return m_activity.m_running[m_index].kind; }

    // The command's button lock is over and it goes on: it talks to the
    // connection that is up now, which the pilot may have opened during
    // the lock.
    void goesOn() { m_activity.m_running[m_index].connection = m_activity.m_current; }
    // The command does not go on after its lock (the port is closed, or the
    // pilot is leaving): it ends without having done anything, so nothing
    // reports it as finished.
    void withdraw() { m_withdrawn = true; }

private:
    LinkActivity &m_activity;
    std::size_t m_index;
    bool m_withdrawn = false;
};

// Tells the pilot that a transfer was cut short and the transmitter did not
// receive all settings. A model sent from MODELS is sent again from there:
// WRITE would send the editor with the transmitter's own trims.
void tellTransferUnfinished(bool sendsModel = false);
