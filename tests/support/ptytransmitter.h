#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class MainWindow;
class QSocketNotifier;

// A sanitizer build runs the tool several times slower, so waits for its
// bytes get that many times their room; what a test asserts stays the same.
#ifdef VEGALYRA_WAIT_SCALE
constexpr int kWaitScale = VEGALYRA_WAIT_SCALE;
#else
constexpr int kWaitScale = 1;
#endif

// A transmitter on the far side of a pseudo-terminal. The tool opens the
// slave end like any serial port; the test reads what the tool writes and
// answers on the master end, one frame per write so that each frame
// reaches the tool as one notification.
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
    // A transmitter that is there is heard: unless `silent`, it greets the
    // tool with a byte that carries nothing, so that transfers in the next
    // two seconds count as heard, and keeps the tool's answer to it out of
    // received().
    bool openIn(MainWindow &window, bool silent = false);

    // Writes bytes to the tool in one write(), without waiting.
    void write(const QByteArray &bytes);
    // Writes one frame and waits until the tool has answered it with "WWW".
    bool sendFrame(const QByteArray &frame, int timeoutMs = 3000);

    // Everything the tool has written so far (collected while events run).
    QByteArray received() const { return m_received; }
    QByteArray takeReceived();
    void clearReceived() { m_received.clear(); }
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

private:
    void readFromTool();

    int m_master = -1;
    int m_spareSlave = -1; // keeps the line up while the tool has the port closed
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_received;
};

// Hex notation for frames in tests: "FE 18 05 DC" -> bytes.
QByteArray hexBytes(const char *spacedHex);
