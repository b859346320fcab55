// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/appendingfile.h"

#include "files/filewriter.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr qint64 kSyncMs = 1000;

} // namespace

AppendingFile::AppendingFile(const QString &path) : m_file(path) {}

AppendingFile::~AppendingFile()
{
    m_file.close();
}

bool AppendingFile::fail(const QString &reason)
{
    m_error = reason;
    return false;
}

bool AppendingFile::open()
{
    QDir().mkpath(QFileInfo(m_file.fileName()).absolutePath());
    // Unbuffered: each piece is handed to the system at once.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    m_size = 0;
    m_sinceSync.start();
    return true;
}

bool AppendingFile::append(const QByteArray &piece)
{
    if (!m_file.isOpen())
        return fail(m_error.isEmpty() ? QStringLiteral("Not open") : m_error);
    if (m_file.write(piece) != piece.size()) {
        const QString reason = m_file.errorString();
        // What is there stays whole: the part of the piece that got in goes.
        m_file.resize(m_size);
        m_file.seek(m_size);
        return fail(reason);
    }
    m_size += piece.size();
    if (m_sinceSync.elapsed() >= kSyncMs)
        return sync();
    return true;
}

bool AppendingFile::sync()
{
    m_sinceSync.restart();
    if (!m_file.isOpen())
        return true;
#ifdef Q_OS_WIN
    const bool ok = ::_commit(m_file.handle()) == 0;
#else
    const bool ok = ::fdatasync(m_file.handle()) == 0 || errno == EINVAL;
#endif
    return ok || fail(qt_error_string(errno));
}

QString copyWholeFile(const QString &source, const QString &target, bool replace, bool *nameTaken)
{
    if (nameTaken)
        *nameTaken = false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return in.errorString();
    WholeFileWriter writer(target, replace ? FileCommit::Replace : FileCommit::CreateOnly);
    if (writer.stage(in) && writer.commit())
        return QString();
    if (nameTaken)
        *nameTaken = writer.nameTaken();
    return writer.errorString();
}
