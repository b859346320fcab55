#include "live/livelog.h"

#include "files/filewriter.h"

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

QString writeRecording(const LiveLog::Finished &finished)
{
    return writeWholeFile(finished.path, finished.csv);
}
