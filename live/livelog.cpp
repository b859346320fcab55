// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live/livelog.h"

#include "files/filewriter.h"

#include <QFileInfo>

LiveFileStamp liveFileStamp(const QString &path)
{
    const QFileInfo info(path);
    LiveFileStamp stamp;
    // A link to nothing yet is there too: what it names is written.
    stamp.exists = info.exists() || info.isSymLink();
    if (stamp.exists) {
        stamp.size = info.size();
        stamp.modified = info.lastModified();
        stamp.changed = info.metadataChangeTime();
    }
    return stamp;
}

LiveLog::LiveLog(QObject *parent) : QObject(parent)
{
    m_clock.start();
}

qint64 LiveLog::recordingMs() const
{
    return m_recording ? m_recordingClock.elapsed() : 0;
}

QString LiveLog::startRecording(const QString &path)
{
    if (m_recording)
        return QString();
    {
        // The temporary file goes again at once; the recording is written
        // whole when it ends.
        WholeFileWriter probe(path);
        if (!probe.open())
            return probe.errorString();
    }
    m_recording = std::make_unique<LiveRecording>();
    m_path = path;
    m_agreed = liveFileStamp(path);
    // With its offset from UTC, so the file says which local time it was.
    const QDateTime now = QDateTime::currentDateTime();
    m_startedAt = now.toOffsetFromUtc(now.offsetFromUtc());
    m_recordingClock.start();
    emit recordingChanged();
    return QString();
}

LiveLog::Finished LiveLog::finishRecording()
{
    Finished f;
    if (!m_recording)
        return f;
    f.path = m_path;
    f.csv = m_recording->csv(m_startedAt);
    f.frames = m_recording->frames();
    f.ms = m_recordingClock.elapsed();
    f.agreed = m_agreed;
    m_recording.reset();
    m_path.clear();
    emit recordingChanged();
    return f;
}

void LiveLog::frameDecoded(Incoming kind, const LiveStatus &live)
{
    addAt(now(), kind, live);
}

void LiveLog::addAt(qint64 ms, Incoming kind, const LiveStatus &live)
{
    if (kind != Incoming::Channels && kind != Incoming::Telemetry)
        return;
    m_ring.add(ms, kind, live);
    // Told once, with the frame that fills it; the pilot's handler ends it.
    if (m_recording && m_recording->add(m_recordingClock.elapsed(), kind, live) &&
        m_recording->isFull()) {
        emit recordingFull();
    }
}

void LiveLog::lineEnded()
{
    m_ring.lineEnded();
}

QString writeRecording(const LiveLog::Finished &finished, bool *taken)
{
    const auto refuse = [taken] {
        if (taken)
            *taken = true;
        return QStringLiteral("Another file of that name was written since recording began");
    };
    if (taken)
        *taken = false;
    if (liveFileStamp(finished.path) != finished.agreed)
        return refuse();
    // A free name must still be free when the file takes it.
    WholeFileWriter writer(finished.path,
                           finished.agreed.exists ? FileCommit::Replace : FileCommit::CreateOnly);
    if (writer.commit(finished.csv))
        return QString();
    return writer.nameTaken() ? refuse() : writer.errorString();
}
