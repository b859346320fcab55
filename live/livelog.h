// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "live/liverecording.h"
#include "live/livering.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

// What stood at a file's name at one moment: enough to tell whether
// another program (a second instance recording in the same minute) has
// written there since.
struct LiveFileStamp {
    bool exists = false;
    qint64 size = -1;
    QDateTime modified, changed;
    bool operator==(const LiveFileStamp &o) const
    {
        return exists == o.exists && size == o.size && modified == o.modified &&
               changed == o.changed;
    }
    bool operator!=(const LiveFileStamp &o) const { return !(*this == o); }
};
LiveFileStamp liveFileStamp(const QString &path);

// What the transmitter reported over time: the ring of the last ten
// minutes, kept from start-up whether LIVE is shown or not, and the
// recording while one runs. It hears the receive path and never sends.
class LiveLog : public QObject
{
    Q_OBJECT
public:
    explicit LiveLog(QObject *parent = nullptr);

    const LiveRing &ring() const { return m_ring; }
    // Milliseconds on the ring's clock. It starts ten minutes in, so a
    // frame of the past (from a file, a benchmark) has a place in the ring.
    qint64 now() const { return m_clock.elapsed() + kLiveSlots * kLiveSlotMs; }
    // A frame decoded at `ms` on that clock.
    void addAt(qint64 ms, Incoming kind, const LiveStatus &live);

    bool isRecording() const { return m_recording != nullptr; }
    // The file the running recording goes to; empty when none runs.
    QString recordingPath() const { return m_path; }
    // How long the running recording has run, and its frames.
    qint64 recordingMs() const;
    int recordingFrames() const { return m_recording ? m_recording->frames() : 0; }

    // Starts a recording for `path`. The folder is tried first, so a place
    // that cannot be written is known before the pilot records anything:
    // returns the reason when it cannot be, empty when recording. The
    // frames go to `journal` as they come (with the target's name in
    // `journal` + ".target"), so that a start after a crash finds them;
    // by default this instance's journal in the tool's data folder.
    QString startRecording(const QString &path, const QString &journal = QString());
    // Ends the recording and returns it with its file name, for writing.
    struct Finished {
        QString path;
        QString journal; // the whole file as it is to be, in the data folder
        int frames = 0;
        qint64 ms = 0;
        // What the pilot agreed to replace when choosing `path`: nothing
        // when the name was free.
        LiveFileStamp agreed;
    };
    Finished finishRecording();

public slots:
    // A frame was decoded into the live record.
    void frameDecoded(Incoming kind, const LiveStatus &live);
    // The port closed, or the device went away.
    void lineEnded();

signals:
    void recordingChanged();
    // The disk took no more of the recording: it stops, `reason` says why.
    void recordingFull(const QString &reason);

private:
    QElapsedTimer m_clock;
    LiveRing m_ring;
    std::unique_ptr<LiveRecording> m_recording;
    QElapsedTimer m_recordingClock;
    QDateTime m_startedAt;
    QString m_path;
    LiveFileStamp m_agreed;
};

// Writes a finished recording through the one file writer: the reason it
// could not be written, empty when it is there whole (and its journal gone).
// A file that took the name after the pilot chose it is never replaced:
// `taken` tells of it.
QString writeRecording(const LiveLog::Finished &finished, bool *taken = nullptr);
// The recording is not wanted: its journal goes.
void dropRecording(const LiveLog::Finished &finished);

// A recording's journal that an instance left without finishing it.
struct LeftRecording {
    QString journal;
    QString target; // the name it was to have; empty when unknown
    LiveJournalSummary summary;
};
// What the journal `journal` (with its ".target" beside it) holds; the
// journal is cut back to its last whole line.
LeftRecording leftRecordingAt(const QString &journal);
// Writes it under its name, or the next free one ("r6 (2).csv"), as Stop
// would: the name it got, or empty with `reason`.
QString keepLeftRecording(const LeftRecording &left, QString *reason);
// The name under which the left recording already stands whole (a stop
// ended between the file taking its name and the journal going), or empty.
QString leftRecordingNamed(const LeftRecording &left);
