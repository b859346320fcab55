// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QLockFile;

// What each running instance of the tool keeps on disk while the pilot
// works (a recording's journal, edits not yet written to the transmitter)
// lies in one folder of the tool's data, under names that start with the
// instance's own name ("<pid>-<start>"). The instance holds a lock of that
// name while it runs: what a running instance holds is never offered, and
// what an instance left that no longer runs is found by the next start.

// The folder: beside the history, in the tool's data.
QString keepFolder();

// This instance's name and the path of its file `what` ("recording.csv").
// The first call takes the instance's lock.
QString ownKeepPath(const QString &what);

// Lets go of the lock, as the tool ends.
void releaseOwnKeep();

// What one instance that no longer runs left. Its lock is held by this
// instance from now until the value goes, so that a second start at the
// same moment does not offer the same again; then the lock (and the
// instance's folder entry, if nothing of it is left) goes.
class LeftBehind
{
public:
    LeftBehind(const QString &name, std::unique_ptr<QLockFile> lock);
    ~LeftBehind();
    LeftBehind(LeftBehind &&) noexcept;
    LeftBehind &operator=(LeftBehind &&) noexcept;

    QString name() const { return m_name; }
    // The path of its file `what`, whether it is there or not.
    QString path(const QString &what) const;
    bool has(const QString &what) const;

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
};

// Every instance that left something and no longer runs, oldest first.
std::vector<LeftBehind> leftByEndedInstances();
