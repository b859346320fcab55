// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

// What the transmitter held, kept automatically: after every READ that
// brought all settings and every transfer that delivered all of them, the
// settings go into a parameter file of their own in the history folder, so
// that a reset, a wrong file or a slip of the mouse can be taken back.
// Files in, files out: nothing here knows of windows or ports.

// The events that leave an entry, as they appear in its file name.
enum class HistoryEvent { Read, Write, Load, Reset, DataReset };
QString historyEventName(HistoryEvent event); // "READ", …, "DATA-RESET"

// Entries kept at most; writing one more removes the oldest.
constexpr int kHistoryLimit = 1000;

// <application data>/vegalyra/history ($XDG_DATA_HOME on Linux).
QString historyFolder();

struct HistoryEntry {
    QDateTime time; // local time, from the file name
    int sequence;   // 1 for the first entry of its second, then 2, 3 …
    QString event;  // "READ", "WRITE", …
    QString path;
    QDateTime written; // the file's time: which entry was really written last
};

// The entries in `folder`, newest first, by the time in their names (file
// times can lie after a copy). Files whose names are not entries' are left
// out and left alone.
std::vector<HistoryEntry> listHistory(const QString &folder);

// "2026-12-07 14:05:09 WRITE", a second entry of that second "… WRITE (2)":
// no two entries share a title.
QString historyEntryTitle(const HistoryEntry &entry);

// Keeps `file` (the 324 characters of a parameter file) as a new entry for
// `event` at `now`, unless its settings equal those of the entry written
// last; then trims the folder to kHistoryLimit entries, never removing the
// new one. Written whole or not at all, and never in place of another
// entry: a name already taken gets the next number.
// Returns why it could not be written, empty on success (also when nothing
// needed writing).
QString addHistoryEntry(const QString &folder, HistoryEvent event, const QByteArray &file,
                        const QDateTime &now);
