// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/paramfileread.h"

#include "model/editing.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
bool openNonBlocking(QFile &file, const QString &name, QString *error)
{
    const int fd = ::open(localFileName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (error)
            *error = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
}
#else
bool openNonBlocking(QFile &file, const QString &name, QString *error)
{
    file.setFileName(name);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (!opened && error)
        *error = file.errorString();
    return opened;
}
#endif

// "S", "G and I", "S, G, H and I"
QString frameList(const FileFramesAccepted &accepted)
{
    QStringList kinds;
    for (int k = 0; k < 4; ++k) {
        if (!accepted.frame[k])
            kinds << QString(QLatin1Char(kFileFrameLayouts[k]->kind));
    }
    const QString last = kinds.takeLast();
    return kinds.isEmpty() ? last
                           : kinds.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

} // namespace

// Bytes of a name that are not text stand for themselves in this range of
// private-use characters.
constexpr ushort kRawByteBase = 0xF700;

QString fileNameFromLocal(const QByteArray &bytes)
{
    const QString text = QFile::decodeName(bytes);
    if (QFile::encodeName(text) == bytes)
        return text;
    QString kept;
    for (const char byte : bytes) {
        const uchar b = uchar(byte);
        kept += b < 0x80 ? QChar(b) : QChar(ushort(kRawByteBase + b));
    }
    return kept;
}

namespace {

bool isRawByte(QChar c)
{
    return c.unicode() >= kRawByteBase + 0x80 && c.unicode() <= kRawByteBase + 0xFF;
}

} // namespace

QByteArray localFileName(const QString &name)
{
    if (std::none_of(name.begin(), name.end(), isRawByte))
        return QFile::encodeName(name);
    QByteArray bytes;
    QString text;
    for (const QChar c : name) {
        if (!isRawByte(c)) {
            text += c;
            continue;
        }
        bytes += QFile::encodeName(text) + char(c.unicode() - kRawByteBase);
        text.clear();
    }
    return bytes + QFile::encodeName(text);
}

bool openForReading(QFile &file, const QString &name)
{
    return openNonBlocking(file, name, nullptr);
}

ParameterFileRead readParameterFileAt(const QString &path, const ParameterSet &start)
{
    ParameterFileRead read;
    read.settings = start;
    // A folder opens like a file on some systems and reads as nothing.
    if (QFileInfo(path).isDir()) {
        read.openError = QStringLiteral("it is a folder");
        return read;
    }
    QFile file;
    read.opened = openNonBlocking(file, path, &read.openError);
    if (!read.opened)
        return read;
    const QString text = readParameterFileText(file);
    read.length = text.size();
    read.accepted = decodeParameterFile(text, read.settings);
    selectDualRate(read.settings);
    validateParameters(read.settings);
    return read;
}

QString parameterFileTrouble(const QString &path, const ParameterFileRead &read)
{
    if (!read.opened)
        return QStringLiteral("%1: cannot be read: %2").arg(path, read.openError);
    if (read.accepted.count() == 4)
        return QString();
    const int missing = 4 - read.accepted.count();
    const QString frames = missing == 1
                               ? QStringLiteral("frame %1 is").arg(frameList(read.accepted))
                               : QStringLiteral("frames %1 are").arg(frameList(read.accepted));
    if (read.length < kParameterFileLength)
        return QStringLiteral("%1: %2 not valid: the file has %3 characters, a parameter file %4")
            .arg(path, frames, QString::number(read.length), QString::number(kParameterFileLength));
    return QStringLiteral("%1: %2 not valid: wrong kind letter or end letter").arg(path, frames);
}
