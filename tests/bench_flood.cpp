// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// A wrong device on the line: a peer that sends single bytes at the line
// rate of 115200 baud (11520 bytes/s) and takes in no more than that rate of
// the tool's output. Every notification is answered with three bytes, so
// the answers can outgrow what the line carries. Prints the CPU time and
// the memory of the tool's process over the flood.
//
// With "loopback" the peer is a loopback plug instead: it echoes what the
// tool sends at the line's rate.
//
// The peer runs in a child process, so the CPU time measured is the
// tool's alone.

#include "app/mainwindow.h"
#include "support/benchtools.h"
#include "ui/mainform.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr long kLineBytesPerSecond = 11520;

double residentMiB()
{
    long pages = 0;
    long resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void addNs(timespec &t, long ns)
{
    t.tv_nsec += ns;
    while (t.tv_nsec >= 1000000000L) {
        t.tv_nsec -= 1000000000L;
        ++t.tv_sec;
    }
}

// The peer: one byte per write at line rate, and reads the tool's output
// no faster than the line carries it. Stops after the given time and says
// how much it sent and took in.
[[noreturn]] void floodAtLineRate(int master, int seconds)
{
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    const long nsPerByte = 1000000000L / kLineBytesPerSecond;
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    double readBudget = 0;
    char sink[4096];
    const time_t end = next.tv_sec + seconds;
    long sent = 0;
    long taken = 0;
    for (unsigned char b = 0; next.tv_sec < end; ++b) {
        const char byte = char(b | 1); // never a frame marker on its own
        if (::write(master, &byte, 1) < 0 && errno != EAGAIN)
            _exit(0);
        ++sent;
        readBudget += 1.0; // the line carries one byte each way per byte time
        while (readBudget >= 1.0) {
            const ssize_t n =
                ::read(master, sink, size_t(std::min(readBudget, double(sizeof sink))));
            if (n <= 0)
                break;
            readBudget -= double(n);
            taken += n;
        }
        if (readBudget > 64)
            readBudget = 64; // an idle line does not bank capacity
        addNs(next, nsPerByte);
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
    std::printf("peer sent %ld bytes, took in %ld bytes of answers\n", sent, taken);
    std::fflush(stdout);
    _exit(0);
}

// A loopback plug: what the tool sends comes straight back, at the line's
// rate. The tool answers every notification with "WWW", which comes back
// as the next notification: an exchange that never ends.
[[noreturn]] void echoAtLineRate(int master, int seconds, int told)
{
    const long nsPerByte = 1000000000L / kLineBytesPerSecond;
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    const time_t end = next.tv_sec + seconds;
    long echoed = 0;
    char bytes[4096];
    while (next.tv_sec < end) {
        pollfd line{master, POLLIN, 0};
        if (::poll(&line, 1, 100) <= 0) {
            clock_gettime(CLOCK_MONOTONIC, &next);
            continue;
        }
        const ssize_t n = ::read(master, bytes, sizeof bytes);
        if (n <= 0)
            break;
        // The bytes leave the plug one byte time after another.
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (now.tv_sec > next.tv_sec || (now.tv_sec == next.tv_sec && now.tv_nsec > next.tv_nsec))
            next = now;
        addNs(next, nsPerByte * long(n));
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        if (::write(master, bytes, size_t(n)) < 0 && errno != EAGAIN)
            _exit(0);
        echoed += n;
    }
    std::printf("plug echoed %ld bytes\n", echoed);
    if (::write(told, &echoed, sizeof echoed) < 0)
        _exit(1);
    std::fflush(stdout);
    _exit(0);
}

} // namespace

// bench_flood [SECONDS [loopback]]
int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const bool loopback = argc > 2 && std::strcmp(argv[2], "loopback") == 0;
    int master = -1;
    int slave = -1;
    char name[PATH_MAX] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropDebug);
    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    window.form()->portNameBox->addItem(QString::fromLocal8Bit(name));
    window.form()->portNameBox->setCurrentIndex(window.form()->portNameBox->count() - 1);
    window.form()->openButton->click();
    if (window.form()->openButton->text() != QLatin1String("CLOSE")) {
        std::fprintf(stderr, "could not open %s\n", name);
        return 1;
    }
    QTest::qWait(300);

    // What the tool costs with the port open and nothing arriving (its
    // refresh ticks), so that the cost of an answer can be told from it.
    double idleShare = 0;
    {
        const double cpu = cpuSeconds();
        QElapsedTimer idle;
        idle.start();
        QTimer::singleShot(2000, &app, &QApplication::quit);
        app.exec();
        idleShare = (cpuSeconds() - cpu) / (idle.elapsed() / 1000.0);
    }
    // The plug tells how many bytes it echoed: three for each answer.
    int echoedPipe[2] = {-1, -1};
    if (loopback && ::pipe(echoedPipe) != 0) {
        std::perror("pipe");
        return 1;
    }
    const pid_t peer = fork();
    if (peer == 0) {
        if (loopback)
            echoAtLineRate(master, seconds, echoedPipe[1]);
        floodAtLineRate(master, seconds);
    }
    ::close(master);

    const double cpuBefore = cpuSeconds();
    const double memBefore = residentMiB();
    QElapsedTimer wall;
    wall.start();
    if (loopback)
        std::printf("loopback plug at %ld bytes/s for %d s\n", kLineBytesPerSecond, seconds);
    else
        std::printf("flood of single bytes at %ld bytes/s for %d s\n", kLineBytesPerSecond,
                    seconds);
    std::printf("  t/s   CPU %%   RSS MiB   queued bytes\n");
    // The real event loop: QTest::qWait would sleep between its turns and
    // take in far fewer notifications than the tool does in use.
    double lastCpu = cpuBefore;
    int second = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double cpu = cpuSeconds();
        std::printf("  %3d  %5.1f  %8.2f  %8lld\n", ++second, 100.0 * (cpu - lastCpu),
                    residentMiB(), static_cast<long long>(window.queuedForTransmitter()));
        lastCpu = cpu;
        if (second == seconds)
            app.quit();
    });
    tick.start(1000);
    app.exec();
    const double used = cpuSeconds() - cpuBefore;
    const double elapsed = wall.elapsed() / 1000.0;
    waitpid(peer, nullptr, 0);
    long echoed = 0;
    if (loopback) {
        ::close(echoedPipe[1]);
        if (::read(echoedPipe[0], &echoed, sizeof echoed) != ssize_t(sizeof echoed))
            echoed = 0;
    }
    std::printf("CPU %.2f s in %.1f s = %.1f %% of one core; RSS %.2f -> %.2f MiB (%+.2f MiB)\n",
                used, elapsed, 100.0 * used / elapsed, memBefore, residentMiB(),
                residentMiB() - memBefore);
    // How fast the exchange turns depends on how soon the system runs the
    // plug and the tool, so on the machine's load; the CPU time an answer
    // costs does much less. At 115200 baud the line carries at most 3840
    // "WWW" a second, which bounds what a real plug can cost.
    const double answers = double(echoed) / 3.0;
    if (loopback && answers > 0) {
        const double perAnswer = (used - idleShare * elapsed) / answers;
        std::printf("idle %.1f %% of one core; %.0f answers/s; %.1f us CPU an answer (user + "
                    "system, idle part taken off); at the line's %ld answers/s: %.1f %% of one "
                    "core\n",
                    100.0 * idleShare, answers / elapsed, 1e6 * perAnswer,
                    kLineBytesPerSecond / 3, 100.0 * (idleShare + perAnswer * (kLineBytesPerSecond / 3.0)));
    }
    ::close(slave);
    return 0;
}
