// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
struct SettingDifference;

// The window's dark look for its dialogs: the background of the window,
// captions in white, counts in the orange of the group titles, the buttons
// of the header bar.
QString darkDialogSheet();

// The pilot's pick among `choices` in a small list dialog titled `title`,
// as an index; -1 when there is nothing to pick or the pilot cancelled.
int pickToCompare(QWidget *parent, const QString &title, const QStringList &choices);

// A cell of the dialogs' tables: the pilot can select it, not edit it.
QTableWidgetItem *readOnlyCell(const QString &text);

// The dialogs' lists of files (history entries, models): one row each, the
// whole row selected, the last column taking the width that is left.
QTableWidget *fileListTable(QWidget *parent, const QString &objectName, const QStringList &headers);

// What the editor's settings are compared with.
struct CompareSource {
    QString name; // heads its column: "Transmitter (last READ)", "model.txt"
    ParameterSet settings{};
    // Why there is nothing to compare with (a file that cannot be read or
    // has frames LOAD would skip); `settings` then mean nothing.
    QString trouble;
};

struct HistoryEntry;
// A history entry as something to compare with, and the pilot's pick of
// one (nothing when there is none or the pilot cancelled)
// (views/historyview.cpp).
std::optional<CompareSource> historyCompareSource(const HistoryEntry &entry);
std::optional<CompareSource> pickHistoryEntry(QWidget *parent);

// Shows, setting by setting, where the editor differs from the settings of
// another source: the transmitter's last READ, a parameter file, and
// whatever else offers itself through addSource(). Only differences by
// default, with their count; a switch shows every setting. It only reads:
// nothing is sent and nothing in the editor changes.
class CompareDialog : public QDialog
{
    Q_OBJECT
public:
    // `editor` is read each time a comparison is made.
    explicit CompareDialog(const ParameterSet &editor, QWidget *parent = nullptr);

    // Asked when the pilot picks a source; nothing when the pilot cancelled.
    using Picker = std::function<std::optional<CompareSource>()>;
    // A button for one more source, in the row of sources; returned so the
    // caller can disable it while the source has nothing to offer.
    QPushButton *addSource(const QString &text, Picker pick);

    // Compares the editor with `source` and shows the result; `whenSame`
    // is what the count says when nothing differs ("No differences").
    void compareWith(const CompareSource &source, const QString &whenSame = QString());

signals:
    // The pilot picked a source and it is shown.
    void sourcePicked();

private:
    void showTable();

    const ParameterSet &editor;
    std::optional<CompareSource> other;
    QString otherSameText;
    ParameterSet editorCompared{};

    QHBoxLayout *sourceRow;
    QLabel *what;
    QLabel *count;
    QTableWidget *table;
    QCheckBox *showAll;
};
