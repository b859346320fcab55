// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/stopsignals.h"

#include <QGuiApplication>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The handler may only make async-signal-safe calls: it writes one byte
// into a pipe, and the event loop reads it.
int stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
    errno = saved;
}

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace
#endif

StopRequests::StopRequests(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    if (stopPipe[0] < 0 && ::pipe(stopPipe) == 0) {
        for (int fd : stopPipe) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
        }
    }
    if (stopPipe[0] >= 0) {
        auto *notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            while (::read(stopPipe[0], bytes, sizeof bytes) > 0) {
            }
            heard();
        });
        struct sigaction action {
        };
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signal : kStopSignals)
            ::sigaction(signal, &action, nullptr);
    }
#endif
#if QT_CONFIG(sessionmanager)
    // The session ends: what the pilot did is kept before the session
    // manager lets the tool go.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &StopRequests::heard,
                Qt::DirectConnection);
    }
#endif
}

StopRequests::~StopRequests()
{
#ifdef Q_OS_UNIX
    // A later signal ends the tool the system's way.
    for (int signal : kStopSignals)
        std::signal(signal, SIG_DFL);
#endif
}

void StopRequests::heard()
{
    if (m_told)
        return;
    m_told = true;
    emit stopRequested();
}
