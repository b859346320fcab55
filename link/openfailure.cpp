// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/openfailure.h"

#include <QFile>
#include <QSerialPortInfo>

#include <cerrno>

#if defined(Q_OS_UNIX)
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

OpenFailure examineOpenFailure(const QSerialPort &port)
{
    OpenFailure failure{port.portName(), port.error(), port.errorString(),
                        QString(),       QString(),    false};
    if (failure.portName.isEmpty())
        return failure;
#if defined(Q_OS_UNIX)
    // The port keeps names under /dev short ("ttyUSB0", "pts/3"); a port
    // that is not listed has no system location to look up.
    failure.devicePath = failure.portName.startsWith(QLatin1Char('/'))
                             ? failure.portName
                             : QStringLiteral("/dev/") + failure.portName;
    const QByteArray path = QFile::encodeName(failure.devicePath);
    struct stat info;
    if (::stat(path.constData(), &info) == 0) {
        if (const struct group *owner = ::getgrgid(info.st_gid))
            failure.group = QString::fromLocal8Bit(owner->gr_name);
        failure.accessDenied = ::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES;
    }
#else
    failure.devicePath = QSerialPortInfo(failure.portName).systemLocation();
#endif
    return failure;
}
