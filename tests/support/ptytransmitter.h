// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class MainWindow;
class QSocketNotifier;

// A sanitizer build runs the tool several times slower, so waits for its
// bytes get that many times their room; what a test asserts stays the same.
#ifdef VEGALYRA_WAIT_SCALE
constexpr int kWaitScale = VEGALYRA_WAIT_SCALE;
#else
constexpr int kWaitScale = 1;
#endif

// How long a test waits at most for the tool and a transmitter to get
// through a whole answer: only ever waited on, never a verdict.
constexpr int kAnswerWaitMs = 20000 * kWaitScale;

// A transmitter on the far side of a pseudo-terminal. The tool opens the
// slave end like any serial port; the test reads what the tool writes and
// answers on the master end, one frame per write so that each frame
// reaches the tool as one notification.
//
// Like a switched-on transmitter it streams a channel frame every 100 ms
// while the tool has the port open (the last one the test sent, else all
// at centre); the tool's answers to those stay out of received(), wire()
// has every byte. A test that wants a silent line asks for one.
class PtyTransmitter : public QObject
{
    Q_OBJECT
public:
    explicit PtyTransmitter(QObject *parent = nullptr);
    ~PtyTransmitter() override;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // Puts the slave path into portNameBox as the current entry and clicks
    // openButton. True once the window shows the open state ("CLOSE").
    // Unless `silent`, waits for the tool's "OK" and streams from then on.
    bool openIn(MainWindow &window, bool silent = false);

    void setStreaming(bool streaming) { streaming ? m_stream.start() : m_stream.stop(); }
    void setEcho(bool echo) { m_echo = echo; } // a loopback plug: all comes back

    // Writes bytes to the tool in one write(), once it has taken any stream
    // frame still on its way (the two must not arrive as one notification).
    void write(const QByteArray &bytes);
    // Writes one frame and waits until the tool has answered it with "WWW".
    bool sendFrame(const QByteArray &frame, int timeoutMs = 3000);

    // Answers every "RR" the tool sends from now on with `frames` (none:
    // no answer), like a transmitter: each frame as soon as the tool has
    // taken the one before, on its answer rather than on a clock. From now
    // (after openIn) and while an answer runs, the tool's waits for it (the
    // check's, READ's grace) are held, so a busy machine cannot make the
    // answer late; they run whole from the end of the answer, once
    // answerSent() has been emitted.
    void answerReads(const QList<QByteArray> &frames);
    // The test's own hold on those waits, for frames it sends itself or
    // for what it does before a verdict; they run once neither holds them.
    void holdToolsWaits(bool hold);

    // Everything the tool has written so far (collected while events run),
    // less its answers to the stream.
    QByteArray received() const { return m_received; }
    // Every byte the tool has written, in order, answers to the stream too.
    QByteArray wire() const { return m_wire; }
    QByteArray takeReceived();
    void clearReceived();
    // Waits until at least `count` bytes have been collected.
    bool waitForReceived(int count, int timeoutMs = 3000);
    // Number of "WWW" answers collected so far.
    int answerCount() const;

    // The device goes away: closes the master end and the spare slave end.
    void closeMaster();
    // The device goes away the way an unplugged USB adapter does: the line
    // is hung up under every program that has it open. False when the
    // machine does not allow it (it needs CAP_SYS_ADMIN).
    bool hangUp();

    // A line that carries nothing from the tool: what it writes piles up in
    // the pseudo-terminal until reading resumes.
    void setReading(bool reading);
    // A line that stops taking anything from the tool, like an adapter
    // whose far end hangs: what the tool writes stays queued at its port.
    void setLineStopped(bool stopped);
    // Waits, without serving any events, until bytes written to the tool
    // are waiting on its side of the line.
    bool waitUntilToolCanRead(int timeoutMs = 1000) const;

signals:
    // The whole answer to an "RR" has been taken by the tool; its waits
    // are still held while this is emitted.
    void answerSent();

private:
    void answerRequests();
    void applyHolds();
    void readFromTool();
    void streamFrame();
    void writeRaw(const QByteArray &bytes);
    int unreadByTool() const; // bytes written to the tool, not yet read by it
    bool toolHasPortOpen() const;

    int m_master = -1;
    int m_spareSlave = -1; // keeps the line up while the tool has the port closed
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_received;
    QByteArray m_wire;
    QPointer<MainWindow> m_window;
    QTimer m_stream;
    QByteArray m_channels;
    // Where in received() the answer to the stream frame will be; -1: none.
    int m_answerFrom = -1;
    bool m_echo = false;
    QList<QByteArray> m_answer;     // what every "RR" is answered with
    QList<QByteArray> m_answerLeft; // the frames of the current answer still to go
    bool m_answerTaken = false;     // the last frame is out, the tool is to take it
    bool m_heldForAnswer = false;
    bool m_heldByTest = false;
    int m_requestsFrom = 0; // where in wire() to look for the next "RR"
};

// Waits until the window's 100 ms refresh has run once more: the settings
// have passed through the widgets and the status line took its snapshot.
bool waitForRefresh(MainWindow &window);

// Hex notation for frames in tests: "FE 18 05 DC" -> bytes.
QByteArray hexBytes(const char *spacedHex);
