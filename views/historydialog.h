// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/history.h"
#include "model/parameterset.h"

#include <QDialog>

#include <functional>
#include <vector>

class QPushButton;
class QTableWidget;

// HISTORY: the entries of what the transmitter held, newest first, with
// how many settings each changed against the one before it. For the
// selected entry the pilot can compare it with the editor or restore it to
// the editor; nothing is sent from here.
class HistoryDialog : public QDialog
{
    Q_OBJECT
public:
    using EntryAction = std::function<void(const HistoryEntry &)>;
    // What an entry's settings are called ("Cub 1.2 m"), shown after its
    // event; empty when they have no name.
    using EntryNamer = std::function<QString(const ParameterSet &)>;
    HistoryDialog(const QString &folder, EntryAction compare, EntryAction restore,
                  QWidget *parent = nullptr, EntryNamer namer = {});

    const std::vector<HistoryEntry> &entries() const { return shown; }
    QTableWidget *table() const { return list; }
    // Entries were written while the dialog is open (a check's READ, a
    // WRITE): they are listed at once, the pilot's selection kept.
    void entriesWritten();

protected:
    // Entries may have gone or come while the dialog was hidden.
    void showEvent(QShowEvent *event) override;

private:
    void fill();
    // Runs `action` on the selected entry; one that turned out to be gone
    // or unreadable lists the folder again.
    void act(const EntryAction &action);
    QString whatText(const HistoryEntry &entry) const;
    const HistoryEntry *selected() const;

    QString folder;
    EntryNamer namer;
    bool shownBefore = false;
    std::vector<HistoryEntry> shown;
    QTableWidget *list;
    QPushButton *compareButton;
    QPushButton *restoreButton;
};

// Settings changed between an entry and the one before it (older); every
// catalogue setting counts for the oldest entry's start values. -1 when a
// file cannot be read whole.
std::vector<int> historyChangeCounts(const std::vector<HistoryEntry> &newestFirst);
