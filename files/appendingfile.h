// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

// A file that grows while something happens (a recording's journal): each
// piece handed to append() is in the file when append() returns, so a kill
// of the tool loses none of it, and once a second the file is synced, so a
// power cut loses at most that second. A piece the disk cannot take whole
// is taken back: the file ends after the last whole piece, never inside
// one. It is only ever a new file in the tool's own data folder; the
// finished file takes its name through WholeFileWriter.
class AppendingFile
{
public:
    explicit AppendingFile(const QString &path);
    ~AppendingFile();
    AppendingFile(const AppendingFile &) = delete;
    AppendingFile &operator=(const AppendingFile &) = delete;

    // Creates the file (an old one of that name goes) with the folder.
    bool open();
    bool append(const QByteArray &piece);
    // Puts everything on the disk now.
    bool sync();
    void close() { m_file.close(); }
    qint64 size() const { return m_size; }
    QString path() const { return m_file.fileName(); }
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &reason);

    QFile m_file;
    qint64 m_size = 0;
    QElapsedTimer m_sinceSync;
    QString m_error;
};

// Copies the whole of `source` into `target` through WholeFileWriter,
// `replace` or only under a name still free, a piece at a time so that a
// long recording never sits in memory. The reason on failure, else empty;
// `nameTaken` tells that a free name was taken meanwhile.
QString copyWholeFile(const QString &source, const QString &target, bool replace,
                      bool *nameTaken = nullptr);
