// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "emulator/transmitter.h"

#include "emulator/liveframes.h"
#include "emulator/record.h"
#include "files/paramfile.h"
#include "link/framedecoder.h"

#include <QSocketNotifier>
#include <QStringList>

#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// How often the stream reports how the tool keeps up with it.
constexpr int kStreamReportMs = 5000;
// Unknown bytes shown in one log line; the rest are only counted.
constexpr int kUnknownShown = 16;

QString hexText(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes.left(kUnknownShown).toHex(' ').toUpper());
    if (bytes.size() > kUnknownShown)
        text += QStringLiteral(" …");
    return text;
}

const FrameLayout *layoutFor(char kind)
{
    for (const FrameLayout *layout : kFileFrameLayouts) {
        if (layout->kind == kind)
            return layout;
    }
    return nullptr;
}

} // namespace

EmulatedTransmitter::EmulatedTransmitter(int lineFd, int slaveFd, const ParameterSet &record,
                                         QObject *parent)
    : QObject(parent), m_fd(lineFd), m_slaveFd(slaveFd), m_record(record)
{
    m_switchedOn.start();
    m_sinceSend.start();
    m_sendTimer.setSingleShot(true);
    m_sendTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_sendTimer, &QTimer::timeout, this, &EmulatedTransmitter::sendNext);
    m_partialTimer.setSingleShot(true);
    m_partialTimer.setInterval(kPartialDropMs);
    connect(&m_partialTimer, &QTimer::timeout, this, [this] {
        for (const LinkEvent &event : m_reader.dropPartial())
            handle(event);
    });
    m_streamTimer.setInterval(kStreamTickMs);
    m_streamTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_streamTimer, &QTimer::timeout, this, &EmulatedTransmitter::streamTick);

    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EmulatedTransmitter::readLine);
}

void EmulatedTransmitter::readLine()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            for (const LinkEvent &event : m_reader.feed(QByteArray(buffer, int(n))))
                handle(event);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // End of the line (the device side is gone): nothing more to read,
        // and a notifier left on would fire on every turn of the loop.
        m_notifier->setEnabled(false);
        emit logLine(QStringLiteral("line closed"));
        break;
    }
    if (m_reader.pendingSize() > 0)
        m_partialTimer.start();
    else
        m_partialTimer.stop();
}

void EmulatedTransmitter::handle(const LinkEvent &event)
{
    switch (event.kind) {
    case LinkEvent::Command:
        ++m_counts.commands;
        onCommand(event.bytes);
        break;
    case LinkEvent::Frame:
        storeFrame(event.bytes);
        break;
    case LinkEvent::Unknown:
        m_counts.unknownBytes += int(event.bytes.size());
        emit logLine(QStringLiteral("unknown bytes (%1): %2 — ignored")
                         .arg(event.bytes.size())
                         .arg(hexText(event.bytes)));
        break;
    case LinkEvent::DroppedPartial:
        ++m_counts.partialsDropped;
        m_counts.unknownBytes += int(event.bytes.size());
        emit logLine(QStringLiteral("incomplete %1 dropped after %2 bytes: %3")
                         .arg(QStringLiteral("SGHI").contains(QLatin1Char(event.bytes.at(0)))
                                  ? QStringLiteral("frame %1").arg(QLatin1Char(event.bytes.at(0)))
                                  : QStringLiteral("command"))
                         .arg(event.bytes.size())
                         .arg(hexText(event.bytes)));
        break;
    }
}

void EmulatedTransmitter::onCommand(const QByteArray &command)
{
    if (command == "OK") {
        emit logLine(QStringLiteral("OK: streaming channel and telemetry frames, %1 Hz each")
                         .arg(1000 / (2 * kStreamTickMs)));
        startStreaming();
    } else if (command == "DIS") {
        emit logLine(QStringLiteral("DIS: streaming stopped"));
        stopStreaming();
    } else if (command == "RR") {
        emit logLine(QStringLiteral("RR: sending the 18 setting frames and the aux frame"));
        queueReply();
    } else if (command == "WWW") {
        onAnswer();
    }
}

void EmulatedTransmitter::onAnswer()
{
    // A frame that went without waiting any longer for the answer to the
    // one before leaves that answer owed; when it comes soon after, it is
    // no end of a transfer.
    if (!m_awaitingAnswer && m_answersOwed > 0 && m_sinceLateSend.elapsed() < kReplyWaitMs) {
        --m_answersOwed;
        return;
    }
    if (m_awaitingAnswer && m_lastSentWasStream) {
        ++m_streamAnswered; // fifty a second: summed up by reportStream
    } else if (m_awaitingAnswer && m_replyLeft > 0) {
        emit logLine(QStringLiteral("WWW: setting frame taken, %1 to go").arg(m_replyLeft));
    } else if (m_awaitingAnswer) {
        emit logLine(QStringLiteral("WWW: setting frames all taken"));
    } else {
        emit logLine(QStringLiteral("WWW: end of transfer"));
    }
    m_awaitingAnswer = false;
    sendNext();
}

void EmulatedTransmitter::storeFrame(const QByteArray &frame)
{
    const char kind = frame.at(0);
    const FrameLayout *layout = layoutFor(kind);
    if (!layout || !storeFrameInRecord(*layout, frame, m_record))
        return;
    ++m_counts.framesStored;
    emit logLine(QStringLiteral("frame %1: stored in the record").arg(QLatin1Char(kind)));
}

void EmulatedTransmitter::startStreaming()
{
    // Frames that piled up while nobody had the port open would reach the
    // tool as one lump of stale values; the line starts afresh.
    if (m_slaveFd >= 0)
        tcflush(m_slaveFd, TCIFLUSH);
    m_awaitingAnswer = false;
    m_streamSent = m_streamAnswered = 0;
    m_sinceReport.start();
    m_streamTimer.start();
}

void EmulatedTransmitter::stopStreaming()
{
    if (m_streamTimer.isActive())
        reportStream(true);
    m_streamTimer.stop();
    dropQueuedStream();
}

void EmulatedTransmitter::streamTick()
{
    reportStream(false);
    // A tool that is still busy with the last frame (or a READ answer that
    // is under way) misses this tick rather than getting two frames at once.
    if (!m_outbox.isEmpty())
        return;
    const LiveSample sample = liveSampleAt(m_switchedOn.elapsed());
    const QByteArray frame =
        m_nextIsTelemetry ? telemetryFrame(sample, m_record) : channelFrame(sample);
    m_nextIsTelemetry = !m_nextIsTelemetry;
    m_outbox.append({frame, true});
    sendNext();
}

void EmulatedTransmitter::queueReply()
{
    // A second READ while one is answered starts the answer over.
    m_outbox.clear();
    for (const QByteArray &frame : settingFrames(m_record))
        m_outbox.append({frame, false});
    m_replyLeft = int(m_outbox.size());
    m_replyLate = 0;
    sendNext();
}

void EmulatedTransmitter::dropQueuedStream()
{
    for (int i = int(m_outbox.size()) - 1; i >= 0; --i) {
        if (m_outbox.at(i).stream)
            m_outbox.removeAt(i);
    }
}

void EmulatedTransmitter::sendNext()
{
    if (m_outbox.isEmpty())
        return;
    const Outgoing &next = m_outbox.first();
    const int wait = next.stream ? kStreamTickMs : kReplyWaitMs;
    const qint64 waited = m_sinceSend.elapsed();
    if (m_awaitingAnswer && waited < wait) {
        m_sendTimer.start(int(wait - waited));
        return;
    }
    const bool late = m_awaitingAnswer;
    if (late) {
        m_answersOwed = qMin(m_answersOwed + 1, 4); // a silent peer owes them all
        m_sinceLateSend.start();
    }
    const Outgoing out = m_outbox.takeFirst();
    m_sendTimer.stop();
    if (!writeFrame(out.bytes)) {
        ++m_counts.framesUnheard;
        m_awaitingAnswer = false;
    } else {
        ++m_counts.framesSent;
        m_awaitingAnswer = true;
    }
    m_sinceSend.restart();
    m_lastSentWasStream = out.stream;
    if (out.stream) {
        ++m_streamSent;
    } else {
        m_replyLate += late;
        if (--m_replyLeft == 0 && m_replyLate > 0)
            emit logLine(QStringLiteral("RR: answer sent, %1 frames without the tool's WWW "
                                        "for the one before")
                             .arg(m_replyLate));
    }
    if (!m_outbox.isEmpty())
        m_sendTimer.start(out.stream ? kStreamTickMs : kReplyWaitMs);
}

bool EmulatedTransmitter::writeFrame(const QByteArray &frame)
{
    // A frame still unread on the line (the tool is busy, or nobody has the
    // port open) would reach the tool together with this one as a single
    // lump, which it drops whole: the newer frame takes the old one's place.
    int unread = 0;
    if (m_slaveFd >= 0 && ioctl(m_slaveFd, TIOCINQ, &unread) == 0 && unread > 0 &&
        tcflush(m_slaveFd, TCIFLUSH) == 0)
        ++m_counts.framesUnheard;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ssize_t n;
        do {
            n = ::write(m_fd, frame.constData(), size_t(frame.size()));
        } while (n < 0 && errno == EINTR);
        if (n == frame.size())
            return true;
        // The line took only part of the frame, or none: empty it and send
        // the frame whole once more.
        if (m_slaveFd < 0 || tcflush(m_slaveFd, TCIFLUSH) != 0)
            return false;
    }
    return false;
}

void EmulatedTransmitter::reportStream(bool force)
{
    if (!force && m_sinceReport.elapsed() < kStreamReportMs)
        return;
    if (m_streamSent > 0)
        emit logLine(QStringLiteral("stream: %1 frames in %2 s, %3 answered with WWW")
                         .arg(m_streamSent)
                         .arg(m_sinceReport.elapsed() / 1000.0, 0, 'f', 1)
                         .arg(m_streamAnswered));
    m_streamSent = m_streamAnswered = 0;
    m_sinceReport.restart();
}
