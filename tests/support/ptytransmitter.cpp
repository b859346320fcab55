// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ptytransmitter.h"

#include "app/mainwindow.h"
#include "check/transmittercheck.h"
#include "ui/mainform.h"
#include "views/statusline.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTest>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PtyTransmitter::PtyTransmitter(QObject *parent) : QObject(parent)
{
    char name[PATH_MAX] = {};
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    // Raw line so no byte is translated or echoed before the tool opens it.
    termios tio{};
    if (tcgetattr(slave, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    m_master = master;
    m_spareSlave = slave;
    m_slavePath = QString::fromLocal8Bit(name);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { readFromTool(); });
    // All eight channels at centre, the battery not reported.
    m_channels = hexBytes("FE 18 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 00 00");
    m_stream.setInterval(100);
    connect(&m_stream, &QTimer::timeout, this, &PtyTransmitter::streamFrame);
}

PtyTransmitter::~PtyTransmitter()
{
    closeMaster();
}

bool PtyTransmitter::openIn(MainWindow &window, bool silent)
{
    MainForm *ui = window.form();
    ui->portNameBox->addItem(m_slavePath);
    ui->portNameBox->setCurrentIndex(ui->portNameBox->count() - 1);
    const int mark = m_received.size();
    m_window = &window;
    ui->openButton->click();
    if (ui->openButton->text() != QLatin1String("CLOSE"))
        return false;
    setStreaming(!silent);
    return silent ||
           QTest::qWaitFor([&] { return m_received.indexOf("OK", mark) >= 0; }, 1000 * kWaitScale);
}

bool PtyTransmitter::toolHasPortOpen() const
{
    return m_window && m_window->linkActivity().connection() != 0;
}

int PtyTransmitter::unreadByTool() const
{
    int count = 0;
    return m_spareSlave >= 0 && ::ioctl(m_spareSlave, FIONREAD, &count) == 0 ? count : 0;
}

void PtyTransmitter::streamFrame()
{
    if (m_master < 0)
        return;
    if (!toolHasPortOpen()) {
        // A closed port loses what arrives: the frame is not read later.
        if (m_answerFrom >= 0 && unreadByTool() > 0) {
            ::tcflush(m_spareSlave, TCIFLUSH);
        } else if (m_answerFrom >= 0 && m_notifier->isEnabled()) {
            // Taken before the close: its answer may still be on its way
            // through a busy kernel, and must not pass for the next one.
            pollfd line{m_master, POLLIN, 0};
            while (m_answerFrom >= 0 && m_notifier->isEnabled() &&
                   ::poll(&line, 1, 1000 * kWaitScale) == 1)
                readFromTool();
        }
        m_answerFrom = -1;
        return;
    }
    if (m_notifier->isEnabled())
        readFromTool();
    // A frame of the test's on its way must not merge with this one, nor a
    // queued answer pass for this one's; an answer awaited once all is quiet
    // will not come (the tool took the frame while saying goodbye).
    if (unreadByTool() > 0 || m_window->queuedForTransmitter() > 0 ||
        (m_answerFrom >= 0 && !m_notifier->isEnabled()))
        return;
    m_answerFrom = m_received.size();
    writeRaw(m_channels);
}

void PtyTransmitter::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    if (bytes.size() == 20 && quint8(bytes[0]) == 0xFE && bytes[1] == 0x18)
        m_channels = bytes; // the transmitter goes on reporting these outputs
    // Serves events only while the tool still has a frame of the stream to
    // take, which it does within a turn of the loop.
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(20);
    while (m_answerFrom >= 0 && unreadByTool() > 0 && toolHasPortOpen() &&
           clock.elapsed() < 1000 * kWaitScale)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    writeRaw(bytes);
}

void PtyTransmitter::writeRaw(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_master, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        data += n;
        left -= n;
    }
    // The kernel hands bytes on to the tool's side a moment later; until
    // they are there, nobody could tell that they are still to be read.
    waitUntilToolCanRead(100);
}

bool PtyTransmitter::sendFrame(const QByteArray &frame, int timeoutMs)
{
    const int before = answerCount();
    write(frame);
    return QTest::qWaitFor([&] { return answerCount() > before; }, timeoutMs * kWaitScale);
}

void PtyTransmitter::answerReads(const QList<QByteArray> &frames)
{
    m_answer = frames;
    m_requestsFrom = m_wire.size();
    m_heldForAnswer = !frames.isEmpty();
    applyHolds();
}

void PtyTransmitter::holdToolsWaits(bool hold)
{
    m_heldByTest = hold;
    applyHolds();
}

void PtyTransmitter::applyHolds()
{
    if (!m_window)
        return;
    const bool hold = m_heldByTest || m_heldForAnswer;
    if (auto *check = m_window->findChild<TransmitterCheck *>())
        check->holdWait(hold);
    if (auto *status = m_window->findChild<StatusLine *>())
        status->holdReadGrace(hold);
}

void PtyTransmitter::answerRequests()
{
    const int request = m_answer.isEmpty() ? -1 : m_wire.indexOf("RR", m_requestsFrom);
    if (request >= 0) { // a new request gets the whole answer
        m_requestsFrom = request + 2;
        m_answerLeft = m_answer;
        m_answerTaken = false;
        m_heldForAnswer = true;
        applyHolds();
    }
    // One frame per notification: the next goes once the tool has taken
    // the last one (a stream frame too).
    if ((m_answerLeft.isEmpty() && !m_answerTaken) || unreadByTool() > 0 || !toolHasPortOpen())
        return;
    if (!m_answerLeft.isEmpty()) {
        writeRaw(m_answerLeft.takeFirst());
        m_answerTaken = m_answerLeft.isEmpty();
        return;
    }
    m_answerTaken = false;
    emit answerSent();
    m_heldForAnswer = false;
    applyHolds();
}

QByteArray PtyTransmitter::takeReceived()
{
    const QByteArray out = m_received;
    clearReceived();
    return out;
}

void PtyTransmitter::clearReceived()
{
    m_received.clear();
    if (m_answerFrom >= 0)
        m_answerFrom = 0;
}

bool PtyTransmitter::waitForReceived(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_received.size() >= count; }, timeoutMs * kWaitScale);
}

int PtyTransmitter::answerCount() const
{
    // Counted without overlaps: "WWWWWW" is two answers, not four.
    int answers = 0;
    for (int at = m_received.indexOf("WWW"); at >= 0; at = m_received.indexOf("WWW", at + 3))
        ++answers;
    return answers;
}

void PtyTransmitter::closeMaster()
{
    m_stream.stop();
    delete m_notifier;
    m_notifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_spareSlave >= 0)
        ::close(m_spareSlave);
    m_master = -1;
    m_spareSlave = -1;
}

bool PtyTransmitter::hangUp()
{
    const int fd = ::open(QFile::encodeName(m_slavePath).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return false;
    const bool done = ::ioctl(fd, TIOCVHANGUP) == 0;
    ::close(fd);
    return done;
}

void PtyTransmitter::setReading(bool reading)
{
    if (!m_notifier)
        return;
    m_notifier->setEnabled(reading);
    if (reading)
        readFromTool();
}

void PtyTransmitter::setLineStopped(bool stopped)
{
    if (m_spareSlave >= 0)
        ::tcflow(m_spareSlave, stopped ? TCOOFF : TCOON);
}

bool PtyTransmitter::waitUntilToolCanRead(int timeoutMs) const
{
    pollfd line{m_spareSlave, POLLIN, 0};
    return m_spareSlave >= 0 && ::poll(&line, 1, timeoutMs) == 1 && (line.revents & POLLIN);
}

void PtyTransmitter::readFromTool()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            m_received.append(buffer, static_cast<int>(n));
            m_wire.append(buffer, static_cast<int>(n));
            if (m_echo)
                writeRaw(QByteArray(buffer, static_cast<int>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained. Anything else: the line was hung up and would
        // report itself readable for ever.
        if (n == 0 || errno != EAGAIN)
            m_notifier->setEnabled(false);
        break;
    }
    // The tool answers every notification at once, so the first answer
    // after the stream frame left is the one to it.
    const int answer = m_answerFrom >= 0 ? m_received.indexOf("WWW", m_answerFrom) : -1;
    if (answer >= 0) {
        m_received.remove(answer, 3);
        m_answerFrom = -1;
    }
    answerRequests();
}

bool waitForRefresh(MainWindow &window)
{
    QSignalSpy tick(window.findChild<QTimer *>(QStringLiteral("refreshTimer")), &QTimer::timeout);
    return tick.wait(5000 * kWaitScale);
}

QByteArray hexBytes(const char *spacedHex)
{
    return QByteArray::fromHex(QByteArray(spacedHex).replace(' ', ""));
}
