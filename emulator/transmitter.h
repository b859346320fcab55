// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "emulator/linkreader.h"
#include "model/parameterset.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

// A well-behaved transmitter on one end of a serial line (the master side
// of a pseudo-terminal). It keeps a settings record, streams channel and
// telemetry frames after "OK" until "DIS", answers "RR" with its setting
// frames and stores the frames S, G, H and I that a WRITE sends.
//
// Every frame goes out in a write of its own, and the next one waits for
// the tool's "WWW" for the one before (or a short while, so a peer that
// never answers cannot stall it): the tool takes each notification as one
// frame, and two frames read together would both be lost.
class EmulatedTransmitter : public QObject
{
    Q_OBJECT
public:
    // Streaming paces: one channel frame and one telemetry frame every
    // 40 ms, taking turns, so each kind arrives at 25 Hz.
    static constexpr int kStreamTickMs = 20;
    // How long a setting frame of a READ answer waits for the tool's "WWW"
    // for the frame before it.
    static constexpr int kReplyWaitMs = 250;
    // A frame or command that stopped arriving is dropped after this quiet.
    static constexpr int kPartialDropMs = 300;

    struct Counts {
        int commands = 0;
        int framesStored = 0;
        int unknownBytes = 0;
        int partialsDropped = 0;
        int framesSent = 0;
        int framesUnheard = 0; // dropped: the tool had not read them in time
    };

    // lineFd: the master side, read and written without blocking; it stays
    // owned by the caller. slaveFd (may be -1): the device side this
    // process holds open, whose queue it empties when nobody reads it.
    EmulatedTransmitter(int lineFd, int slaveFd, const ParameterSet &record,
                        QObject *parent = nullptr);

    const ParameterSet &record() const { return m_record; }
    const Counts &counts() const { return m_counts; }
    bool isStreaming() const { return m_streamTimer.isActive(); }

signals:
    // One readable line for each thing the tool said.
    void logLine(const QString &line);

private:
    struct Outgoing {
        QByteArray bytes;
        bool stream;
    };

    void readLine();
    void handle(const LinkEvent &event);
    void onCommand(const QByteArray &command);
    void onAnswer();
    void storeFrame(const QByteArray &frame);
    void startStreaming();
    void stopStreaming();
    void streamTick();
    void queueReply();
    void dropQueuedStream();
    void sendNext();
    bool writeFrame(const QByteArray &frame);
    void reportStream(bool force);

    int m_fd;
    int m_slaveFd;
    ParameterSet m_record;
    LinkReader m_reader;
    Counts m_counts;
    QSocketNotifier *m_notifier = nullptr;

    QList<Outgoing> m_outbox;
    bool m_awaitingAnswer = false;
    bool m_lastSentWasStream = false;
    QElapsedTimer m_sinceSend;
    int m_answersOwed = 0;
    QElapsedTimer m_sinceLateSend;
    QTimer m_sendTimer;
    QTimer m_partialTimer;

    QTimer m_streamTimer;
    QElapsedTimer m_switchedOn;
    bool m_nextIsTelemetry = false;
    QElapsedTimer m_sinceReport;
    int m_streamSent = 0;
    int m_streamAnswered = 0;

    int m_replyLeft = 0;
    int m_replyLate = 0; // reply frames sent without the answer to the one before
};
