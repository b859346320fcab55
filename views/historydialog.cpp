// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/historydialog.h"

#include "files/paramfileread.h"
#include "settings/catalogue.h"
#include "views/comparedialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

enum Column { When, What, Changed };

QString changeText(int count, bool oldest)
{
    if (count < 0)
        return QStringLiteral("cannot be read");
    if (oldest)
        return QStringLiteral("first entry");
    if (count == 0)
        return QStringLiteral("no change");
    return count == 1 ? QStringLiteral("1 setting") : QStringLiteral("%1 settings").arg(count);
}

} // namespace

std::vector<int> historyChangeCounts(const std::vector<HistoryEntry> &newestFirst)
{
    std::vector<int> counts(newestFirst.size(), -1);
    std::optional<ParameterSet> older;
    for (std::size_t i = newestFirst.size(); i-- > 0;) {
        const ParameterFileRead read = readParameterFileAt(newestFirst[i].path, kStartParameters);
        if (!parameterFileTrouble(newestFirst[i].path, read).isEmpty()) {
            older.reset();
            continue;
        }
        counts[i] = int(compareSettings(older.value_or(kStartParameters), read.settings).size());
        older = read.settings;
    }
    return counts;
}

HistoryDialog::HistoryDialog(const QString &historyFolder, EntryAction compare, EntryAction restore,
                             QWidget *parent, EntryNamer entryNamer)
    : QDialog(parent), folder(historyFolder), namer(std::move(entryNamer))
{
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(QStringLiteral("HISTORY"));
    setStyleSheet(darkDialogSheet());
    resize(720, 520);

    auto *layout = new QVBoxLayout(this);
    auto *where = new QLabel(
        QStringLiteral("What the transmitter held after each READ, WRITE, LOAD and RESET, "
                       "newest first, and how many settings each changed.\nRestoring puts an "
                       "entry into the editor only: WRITE sends it."),
        this);
    where->setWordWrap(true);
    layout->addWidget(where);

    list = fileListTable(
        this, QStringLiteral("historyTable"),
        {QStringLiteral("When"), QStringLiteral("What"), QStringLiteral("Settings changed")});
    layout->addWidget(list);

    auto *buttons = new QHBoxLayout;
    compareButton = new QPushButton(QStringLiteral("Compare with the editor"), this);
    restoreButton = new QPushButton(QStringLiteral("Restore to the editor"), this);
    auto *openFolder = new QPushButton(QStringLiteral("Open folder"), this);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    compareButton->setObjectName(QStringLiteral("historyCompare"));
    restoreButton->setObjectName(QStringLiteral("historyRestore"));
    for (QPushButton *b : {compareButton, restoreButton, openFolder, close}) {
        b->setMinimumHeight(36);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(compareButton, &QPushButton::clicked, this, [this, compare] { act(compare); });
    connect(restoreButton, &QPushButton::clicked, this, [this, restore] { act(restore); });
    connect(openFolder, &QPushButton::clicked, this, [this] {
        QDir().mkpath(folder);
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list, &QTableWidget::itemSelectionChanged, this, [this] {
        compareButton->setEnabled(selected() != nullptr);
        restoreButton->setEnabled(selected() != nullptr);
    });
    fill();
}

void HistoryDialog::showEvent(QShowEvent *event)
{
    // The first showing follows the listing made with the dialog.
    if (shownBefore)
        fill();
    shownBefore = true;
    QDialog::showEvent(event);
}

void HistoryDialog::entriesWritten()
{
    const HistoryEntry *entry = selected();
    const QString chosen = entry ? entry->path : QString();
    fill();
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i].path == chosen)
            list->selectRow(int(i));
}

void HistoryDialog::act(const EntryAction &action)
{
    const HistoryEntry *entry = selected();
    if (!entry)
        return;
    const HistoryEntry chosen = *entry;
    action(chosen);
    const ParameterFileRead read = readParameterFileAt(chosen.path, kStartParameters);
    if (!parameterFileTrouble(chosen.path, read).isEmpty())
        fill();
}

void HistoryDialog::fill()
{
    shown = listHistory(folder);
    const std::vector<int> counts = historyChangeCounts(shown);
    list->setRowCount(int(shown.size()));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const int row = int(i);
        list->setItem(row, When,
                      readOnlyCell(shown[i].time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        list->setItem(row, What, readOnlyCell(whatText(shown[i])));
        list->setItem(row, Changed, readOnlyCell(changeText(counts[i], i + 1 == shown.size())));
    }
    if (!shown.empty())
        list->selectRow(0);
    compareButton->setEnabled(!shown.empty());
    restoreButton->setEnabled(!shown.empty());
}

QString HistoryDialog::whatText(const HistoryEntry &entry) const
{
    if (!namer)
        return entry.event;
    const ParameterFileRead read = readParameterFileAt(entry.path, kStartParameters);
    const QString name =
        parameterFileTrouble(entry.path, read).isEmpty() ? namer(read.settings) : QString();
    return name.isEmpty() ? entry.event : entry.event + QStringLiteral(" — ") + name;
}

const HistoryEntry *HistoryDialog::selected() const
{
    const QList<QTableWidgetItem *> items = list->selectedItems();
    if (items.isEmpty())
        return nullptr;
    const int row = items.first()->row();
    return row >= 0 && std::size_t(row) < shown.size() ? &shown[std::size_t(row)] : nullptr;
}
