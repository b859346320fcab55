#include "support/ptytransmitter.h"

#include "app/mainwindow.h"
#include "ui/mainform.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
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
    ui->openButton->click();
    if (ui->openButton->text() != QLatin1String("CLOSE"))
        return false;
    const auto greeted = [&] { return m_received.indexOf("OK", mark); };
    if (!silent && QTest::qWaitFor([&] { return greeted() >= 0; }, 1000 * kWaitScale)) {
        write(QByteArray(1, '\0'));
        const auto answer = [&] { return m_received.indexOf("WWW", greeted() + 2); };
        if (QTest::qWaitFor([&] { return answer() >= 0; }, 1000 * kWaitScale))
            m_received.remove(answer(), 3);
    }
    return true;
}

void PtyTransmitter::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_master, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        left -= n;
    }
}

bool PtyTransmitter::sendFrame(const QByteArray &frame, int timeoutMs)
{
    const int before = answerCount();
    write(frame);
    return QTest::qWaitFor([&] { return answerCount() > before; }, timeoutMs * kWaitScale);
}

QByteArray PtyTransmitter::takeReceived()
{
    QByteArray out;
    out.swap(m_received);
    return out;
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
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained. Anything else: the line was hung up and would
        // report itself readable for ever.
        if (n == 0 || errno != EAGAIN)
            m_notifier->setEnabled(false);
        return;
    }
}

QByteArray hexBytes(const char *spacedHex)
{
    return QByteArray::fromHex(QByteArray(spacedHex).replace(' ', ""));
}
