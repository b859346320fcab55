// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "emulator/pty.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

PtyPair openRawPty()
{
    PtyPair pty;
    char name[PATH_MAX] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    // Raw from the start: no byte of a frame may be translated or echoed
    // back to the transmitter before the tool has set the line up itself.
    if (openpty(&pty.master, &pty.slave, name, &raw, nullptr) != 0) {
        pty.error = QString::fromLocal8Bit(std::strerror(errno));
        return pty;
    }
    for (int fd : {pty.master, pty.slave})
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
    pty.devicePath = QString::fromLocal8Bit(name);
    return pty;
}

void closePty(PtyPair &pty)
{
    for (int *fd : {&pty.master, &pty.slave}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

QString createDeviceLink(const QString &linkPath, const QString &devicePath)
{
    const QByteArray link = QFile::encodeName(linkPath);
    struct stat st {
    };
    if (lstat(link.constData(), &st) == 0) {
        if (!S_ISLNK(st.st_mode))
            return QStringLiteral("%1 exists and is not a symlink; not replacing it").arg(linkPath);
        if (::unlink(link.constData()) != 0)
            return QStringLiteral("cannot replace %1: %2")
                .arg(linkPath, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (::symlink(QFile::encodeName(devicePath).constData(), link.constData()) != 0)
        return QStringLiteral("cannot create %1: %2")
            .arg(linkPath, QString::fromLocal8Bit(std::strerror(errno)));
    return QString();
}

void removeDeviceLink(const QString &linkPath, const QString &devicePath)
{
    if (QFileInfo(linkPath).isSymLink() && QFile::symLinkTarget(linkPath) == devicePath)
        QFile::remove(linkPath);
}
