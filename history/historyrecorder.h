// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/history.h"
#include "link/linkactivity.h"
#include "model/parameterset.h"

#include <QDateTime>
#include <QObject>

#include <vector>

// Keeps the settings history: an entry after each complete READ and each
// delivered WRITE, LOAD, RESET and DATA RESET. Entries wait until no
// command runs, so the file work never falls between two frames of a
// transfer. It only listens and writes files; trouble is reported by
// notSaved().
class HistoryRecorder : public QObject
{
    Q_OBJECT
public:
    // `link` tells whether commands are running; it must outlive the
    // recorder's use (the window writes what waits before it goes).
    HistoryRecorder(const QString &folder, const LinkActivity &link, QObject *parent = nullptr);

    // A READ brought every setting frame: `asRead` is the record as the
    // transmitter's last frame and the repair after it left it.
    void readComplete(const ParameterSet &asRead);
    // A command ended. A delivered WRITE, LOAD, RESET or DATA RESET leaves
    // its frames exactly as they went on the wire, all four or none.
    void commandFinished(const RunningCommand &finished);
    // Writes the entries waiting, unless a command still runs.
    void writePending();

signals:
    // An entry could not be written; `reason` in the system's words.
    void notSaved(const QString &reason);
    // Entries were written: lists of the history follow.
    void written();

private:
    void keep(HistoryEvent event, const QByteArray &file);

    struct Pending {
        HistoryEvent event;
        QByteArray file;
        QDateTime time;
    };
    QString folder;
    const LinkActivity &link;
    std::vector<Pending> pending;
};
