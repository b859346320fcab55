// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "files/appendingfile.h"
#include "link/framedecoder.h"

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

// A recording of every channel and telemetry frame from its start on. It
// goes as it happens into a journal in the tool's data folder, already in
// the format of the finished file: the wall-clock start on the first line,
// then a header that names every column with its unit, then one line per
// frame. A line fills the columns its frame carries and leaves the others
// empty. Memory stays the same however long it runs; the disk bounds it.
class LiveRecording
{
public:
    explicit LiveRecording(const QString &journalPath) : m_journal(journalPath) {}

    // Creates the journal with the first two lines. False when the disk
    // refuses: errorString() says why.
    bool start(const QDateTime &startedAt);
    // Adds one frame `ms` after the recording began. False, and nothing
    // kept, for a kind that is not live or when the disk refuses it (then
    // failed() is true and what the journal holds stays whole).
    bool add(qint64 ms, Incoming kind, const LiveStatus &live);
    bool failed() const { return !m_journal.errorString().isEmpty(); }
    QString errorString() const { return m_journal.errorString(); }
    int frames() const { return m_frames; }
    // How long the recording runs from its start to its last frame.
    qint64 lastMs() const { return m_lastMs; }
    QString journalPath() const { return m_journal.path(); }
    // Everything on the disk now, and the journal closed.
    void close()
    {
        m_journal.sync();
        m_journal.close();
    }

private:
    AppendingFile m_journal;
    int m_frames = 0;
    qint64 m_lastMs = 0;
};

// The first two lines of a recording's file.
QByteArray liveCsvHead(const QDateTime &startedAt);
// The line of one frame; empty for a kind that is not live.
QByteArray liveCsvLine(qint64 ms, Incoming kind, const LiveStatus &live);

// What a journal holds, read back: its start, frames and length.
struct LiveJournalSummary {
    bool valid = false;
    QDateTime startedAt;
    int frames = 0;
    qint64 lastMs = 0;
};
LiveJournalSummary summarizeLiveJournal(const QString &path);
