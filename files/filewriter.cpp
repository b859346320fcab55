// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/filewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A chain of links longer than this is a loop.
constexpr int kLinkHops = 40;

QString notRegular()
{
    return QStringLiteral("Not a regular file");
}

// What `path` finally names once its symbolic links are followed; the name
// need not exist yet. Empty for a loop.
QString followLinks(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < kLinkHops; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
    }
    return QString();
}

// The temporary file's name: hidden beside the target, never a name the
// history or a pilot's listing would take for a file of its own, and short
// and of one length whatever the target is called, so that any name the
// file system takes for the target can be written.
QString temporaryNameFor(const QString &finalPath)
{
    const quint64 random = QRandomGenerator::global()->generate64() % 3656158440062976ull; // 36^10
    return QFileInfo(finalPath).absolutePath() + QStringLiteral("/.vegalyra-") +
           QStringLiteral("%1").arg(random, 10, 36, QLatin1Char('0')) + QStringLiteral(".part");
}

} // namespace

WholeFileWriter::WholeFileWriter(const QString &target, FileCommit commit)
    : m_target(target), m_commit(commit)
{
}

WholeFileWriter::~WholeFileWriter()
{
    discard();
}

bool WholeFileWriter::fail(const QString &reason)
{
    m_error = reason;
    discard();
    return false;
}

bool WholeFileWriter::commit(const QByteArray &content)
{
    return stage(content) && commit();
}

QString writeWholeFile(const QString &target, const QByteArray &content)
{
    WholeFileWriter writer(target);
    return writer.commit(content) ? QString() : writer.errorString();
}

#ifndef Q_OS_WIN

namespace {

QString systemReason(int error)
{
    return qt_error_string(error);
}

// New files get the permissions any program's new file gets.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeBytes(int fd, const char *next, qint64 left)
{
    while (left > 0) {
        const ssize_t n = ::write(fd, next, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        next += n;
        left -= n;
    }
    return true;
}

bool writeAll(int fd, const QByteArray &content)
{
    if (!writeBytes(fd, content.constData(), content.size()))
        return false;
    // A file system that cannot sync a regular file says so with EINVAL;
    // everything else means the bytes may not be on the disk.
    return ::fsync(fd) == 0 || errno == EINVAL;
}

} // namespace

bool WholeFileWriter::open()
{
    if (m_opened)
        return true;
    m_error.clear();
    m_nameTaken = false;
    // A new name must be free of anything, a dangling link or a pipe too.
    struct stat taken {
    };
    if (m_commit == FileCommit::CreateOnly &&
        ::lstat(QFile::encodeName(m_target).constData(), &taken) == 0) {
        m_nameTaken = true;
        return fail(systemReason(EEXIST));
    }
    m_final = followLinks(m_target);
    if (m_final.isEmpty())
        return fail(systemReason(ELOOP));
    const QByteArray finalName = QFile::encodeName(m_final);
    struct stat existing {
    };
    mode_t mode = newFileMode();
    if (::stat(finalName.constData(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode))
            return fail(notRegular());
        // A file the pilot may not write (made read-only by its owner, or
        // another user's in a shared folder) is not replaced behind its
        // back, though the folder would let a new file take its name.
        if (m_commit == FileCommit::Replace &&
            ::faccessat(AT_FDCWD, finalName.constData(), W_OK, AT_EACCESS) != 0)
            return fail(systemReason(errno));
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        return fail(systemReason(errno));
    }
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = temporaryNameFor(m_final);
        m_fd = ::open(QFile::encodeName(m_temporary).constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_temporary.clear();
        return fail(systemReason(error));
    }
    // The umask applied at creation; the file's final permissions are set
    // explicitly, those of the file it replaces if there is one.
    if (::fchmod(m_fd, mode) != 0)
        return fail(systemReason(errno));
    m_opened = true;
    return true;
}

bool WholeFileWriter::stage(const QByteArray &content)
{
    if (m_staged)
        return true;
    if (!open())
        return false;
    if (!writeAll(m_fd, content))
        return fail(systemReason(errno));
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(systemReason(errno));
    m_staged = true;
    return true;
}

bool WholeFileWriter::stage(QIODevice &source)
{
    if (m_staged)
        return true;
    if (!open())
        return false;
    QByteArray piece(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = source.read(piece.data(), piece.size());
        if (n < 0)
            return fail(source.errorString());
        if (n == 0)
            break;
        if (!writeBytes(m_fd, piece.constData(), n))
            return fail(systemReason(errno));
    }
    return stage(QByteArray());
}

bool WholeFileWriter::commit()
{
    if (!m_staged)
        return fail(systemReason(EINVAL));
    const QByteArray temporary = QFile::encodeName(m_temporary);
    const QByteArray finalName = QFile::encodeName(m_final);
    if (m_commit == FileCommit::Replace) {
        if (::rename(temporary.constData(), finalName.constData()) != 0)
            return fail(systemReason(errno));
    } else if (::link(temporary.constData(), finalName.constData()) == 0) {
        // The name was free and is now the new file's; the temporary name goes.
        ::unlink(temporary.constData());
    } else if (errno == EEXIST) {
        m_nameTaken = true;
        return fail(systemReason(EEXIST));
    } else {
        // A file system without hard links: the name is claimed exclusively
        // first, then the whole file takes it.
        const int claim =
            ::open(finalName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (claim < 0) {
            m_nameTaken = errno == EEXIST;
            return fail(systemReason(errno));
        }
        ::close(claim);
        if (::rename(temporary.constData(), finalName.constData()) != 0) {
            const int error = errno;
            ::unlink(finalName.constData());
            return fail(systemReason(error));
        }
    }
    m_temporary.clear();
    m_opened = false;
    m_staged = false;
    return true;
}

void WholeFileWriter::discard()
{
    m_staged = false;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(QFile::encodeName(m_temporary).constData());
    m_temporary.clear();
    m_opened = false;
}

#else // Q_OS_WIN

bool WholeFileWriter::open()
{
    if (m_opened)
        return true;
    m_error.clear();
    m_nameTaken = false;
    m_final = followLinks(m_target);
    if (m_final.isEmpty())
        return fail(QStringLiteral("Too many levels of symbolic links"));
    if (m_commit == FileCommit::CreateOnly &&
        (QFileInfo::exists(m_target) || QFileInfo(m_target).isSymLink())) {
        m_nameTaken = true;
        return fail(qt_error_string(ERROR_FILE_EXISTS));
    }
    const QFileInfo existing(m_final);
    if (existing.exists() && !existing.isFile())
        return fail(notRegular());
    // A read-only file is not replaced behind its owner's back.
    if (m_commit == FileCommit::Replace && existing.exists() && !existing.isWritable())
        return fail(qt_error_string(ERROR_ACCESS_DENIED));
    m_file = new QFile;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = temporaryNameFor(m_final);
        m_file->setFileName(m_temporary);
        if (m_file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (!QFileInfo::exists(m_temporary))
            break;
    }
    if (!m_file->isOpen()) {
        const QString reason = m_file->errorString();
        m_temporary.clear();
        return fail(reason);
    }
    m_opened = true;
    return true;
}

// A short write (the disk filled up part way) sets no error on the file:
// the next write meets the full disk and carries the system's reason.
static bool writeWhole(QFile &file, const char *data, qint64 size, QString &reason)
{
    for (qint64 done = 0; done < size;) {
        const qint64 written = file.write(data + done, size - done);
        if (written <= 0) {
            reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                          : qt_error_string(int(GetLastError()));
            return false;
        }
        done += written;
    }
    return true;
}

bool WholeFileWriter::stage(const QByteArray &content)
{
    if (m_staged)
        return true;
    if (!open())
        return false;
    QString reason;
    if (!writeWhole(*m_file, content.constData(), content.size(), reason))
        return fail(reason);
    m_file->close();
    if (m_file->error() != QFileDevice::NoError)
        return fail(m_file->errorString());
    m_staged = true;
    return true;
}

bool WholeFileWriter::stage(QIODevice &source)
{
    if (m_staged)
        return true;
    if (!open())
        return false;
    QByteArray piece(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = source.read(piece.data(), piece.size());
        if (n < 0)
            return fail(source.errorString());
        if (n == 0)
            break;
        QString reason;
        if (!writeWhole(*m_file, piece.constData(), n, reason))
            return fail(reason);
    }
    return stage(QByteArray());
}

bool WholeFileWriter::commit()
{
    if (!m_staged)
        return fail(qt_error_string(ERROR_INVALID_FUNCTION));
    DWORD flags = MOVEFILE_WRITE_THROUGH;
    if (m_commit == FileCommit::Replace)
        flags |= MOVEFILE_REPLACE_EXISTING;
    const std::wstring from = QDir::toNativeSeparators(m_temporary).toStdWString();
    const std::wstring to = QDir::toNativeSeparators(m_final).toStdWString();
    if (!MoveFileExW(from.c_str(), to.c_str(), flags)) {
        const DWORD error = GetLastError();
        m_nameTaken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        return fail(qt_error_string(int(error)));
    }
    m_temporary.clear();
    m_opened = false;
    m_staged = false;
    delete m_file;
    m_file = nullptr;
    return true;
}

void WholeFileWriter::discard()
{
    m_staged = false;
    if (m_file) {
        m_file->close();
        delete m_file;
        m_file = nullptr;
    }
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
    m_temporary.clear();
    m_opened = false;
}

#endif
