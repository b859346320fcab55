// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

class QFile;
class QIODevice;

// Every file the tool writes goes through here: SAVE's parameter files, the
// history entries and the settings sheet. A file is either there whole or
// not there at all, and a failure says why in the system's own words.
//
// Only a regular file the user may write, or a new name in a folder the
// user may write, is written (a symbolic link is followed to what it
// names); a file the user may not write is refused ("Permission denied"),
// and a pipe, a device node or a socket is never replaced by a file of its
// own. The content goes to a temporary file beside the target (a short
// hidden name of one length, whatever the target is called), every byte
// checked, and only then takes the target's name. On any failure nothing
// new is left behind and the old file is untouched.

enum class FileCommit {
    Replace,    // the content replaces a file of that name, if there is one
    CreateOnly, // the name must still be free: an existing file is never replaced
};

class WholeFileWriter
{
public:
    explicit WholeFileWriter(const QString &target, FileCommit commit = FileCommit::Replace);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter &) = delete;
    WholeFileWriter &operator=(const WholeFileWriter &) = delete;

    // Checks the target and creates the temporary file beside it, so that a
    // folder that cannot be written is known before any work is done.
    bool open();
    // Writes `content` whole to the temporary file and gives it the
    // target's name. Opens first if open() was not called.
    bool commit(const QByteArray &content);
    // The same in two steps, so that several files can be written first and
    // take their names only once all of them are whole: stage() writes the
    // temporary file, commit() gives it the target's name.
    bool stage(const QByteArray &content);
    bool commit();
    // Stages everything `source` reads, a piece at a time: a long recording
    // never sits in memory whole.
    bool stage(QIODevice &source);

    // Why it failed ("No space left on device"); empty while all is well.
    QString errorString() const { return m_error; }
    // CreateOnly found the name taken.
    bool nameTaken() const { return m_nameTaken; }

private:
    bool fail(const QString &reason);
    void discard();

    QString m_target;
    QString m_final; // the target with symbolic links followed
    QString m_temporary;
    FileCommit m_commit;
    QString m_error;
    bool m_nameTaken = false;
    bool m_opened = false;
    bool m_staged = false;
#ifdef Q_OS_WIN
    QFile *m_file = nullptr;
#else
    int m_fd = -1;
#endif
};

// The whole of `content` as the file `target`. Returns the reason it could
// not be written, empty on success.
QString writeWholeFile(const QString &target, const QByteArray &content);
