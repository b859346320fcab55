// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live/livelog.h"

#include "files/appendingfile.h"
#include "files/filewriter.h"
#include "files/savefolder.h"
#include "keep/instancekeep.h"

#include <QDir>
#include <QFile>

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

QString LiveLog::startRecording(const QString &path, const QString &journal)
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
    // With its offset from UTC, so the file says which local time it was.
    const QDateTime now = QDateTime::currentDateTime();
    m_startedAt = now.toOffsetFromUtc(now.offsetFromUtc());
    const QString journalPath =
        journal.isEmpty() ? ownKeepPath(QStringLiteral("recording.csv")) : journal;
    QDir().mkpath(QFileInfo(journalPath).absolutePath());
    auto recording = std::make_unique<LiveRecording>(journalPath);
    const QString target = writeWholeFile(journalPath + QStringLiteral(".target"), path.toUtf8());
    if (!target.isEmpty() || !recording->start(m_startedAt)) {
        // Named, since it is not the file the pilot chose that failed.
        const QString reason =
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(journalPath),
                                         target.isEmpty() ? recording->errorString() : target);
        recording.reset();
        QFile::remove(journalPath);
        QFile::remove(journalPath + QStringLiteral(".target"));
        return reason;
    }
    m_recording = std::move(recording);
    m_path = path;
    m_agreed = liveFileStamp(path);
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
    m_recording->close();
    f.journal = m_recording->journalPath();
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
    // Told once, with the frame the disk refused; the pilot's handler ends it.
    if (m_recording && !m_recording->failed() &&
        !m_recording->add(m_recordingClock.elapsed(), kind, live) && m_recording->failed()) {
        emit recordingFull(m_recording->errorString());
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
    bool nameTaken = false;
    const QString reason =
        copyWholeFile(finished.journal, finished.path, finished.agreed.exists, &nameTaken);
    if (reason.isEmpty()) {
        dropRecording(finished);
        return QString();
    }
    return nameTaken ? refuse() : reason;
}

void dropRecording(const LiveLog::Finished &finished)
{
    if (finished.journal.isEmpty())
        return;
    QFile::remove(finished.journal);
    QFile::remove(finished.journal + QStringLiteral(".target"));
}

LeftRecording leftRecordingAt(const QString &journal)
{
    LeftRecording left;
    left.journal = journal;
    QFile target(journal + QStringLiteral(".target"));
    if (target.open(QIODevice::ReadOnly))
        left.target = QString::fromUtf8(target.readAll());
    // A power cut may leave half a line at the end: it is no frame.
    QFile file(journal);
    if (file.open(QIODevice::ReadWrite) && file.size() > 0) {
        qint64 end = file.size();
        char c = 0;
        while (end > 0 && file.seek(end - 1) && file.getChar(&c) && c != '\n')
            --end;
        if (end != file.size())
            file.resize(end);
    }
    file.close();
    left.summary = summarizeLiveJournal(journal);
    return left;
}

namespace {

// The names a left recording may get, in order: its own, then "r6 (2).csv"...
QString leftRecordingName(const LeftRecording &left, int n)
{
    QString base = left.target;
    if (base.isEmpty() || !QFileInfo(base).absoluteDir().exists())
        base =
            QDir(lastSaveFolder())
                .filePath(QFileInfo(base.isEmpty() ? QStringLiteral("live.csv") : base).fileName());
    if (n == 1)
        return base;
    const QFileInfo info(base);
    const QString suffix = info.suffix();
    return info.dir().filePath(QStringLiteral("%1 (%2)%3")
                                   .arg(info.completeBaseName(), QString::number(n),
                                        suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix));
}

constexpr int kLeftNames = 1000;

bool sameBytes(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    while (!fa.atEnd()) {
        if (fa.read(1 << 20) != fb.read(1 << 20))
            return false;
    }
    return true;
}

} // namespace

QString leftRecordingNamed(const LeftRecording &left)
{
    // The journal starts with its start time to the millisecond: a file
    // with the same bytes is this recording, named before the journal went.
    for (int n = 1; n < kLeftNames; ++n) {
        const QString name = leftRecordingName(left, n);
        if (!QFileInfo::exists(name))
            return QString();
        if (sameBytes(left.journal, name))
            return name;
    }
    return QString();
}

QString keepLeftRecording(const LeftRecording &left, QString *reason)
{
    for (int n = 1; n < kLeftNames; ++n) {
        const QString name = leftRecordingName(left, n);
        bool taken = false;
        const QString why = copyWholeFile(left.journal, name, false, &taken);
        if (why.isEmpty()) {
            QFile::remove(left.journal);
            QFile::remove(left.journal + QStringLiteral(".target"));
            return name;
        }
        if (!taken) {
            *reason = why;
            return QString();
        }
    }
    *reason = QStringLiteral("No free name");
    return QString();
}
