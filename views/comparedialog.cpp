// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/comparedialog.h"

#include "settings/catalogue.h"
#include "ui/formstyles.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Page, Place, Name, EditorValue, OtherValue, Columns };

} // namespace

QString darkDialogSheet()
{
    return QStringLiteral(
               "QDialog{background-color: rgb(40, 40, 40);}\n"
               "QLabel, QCheckBox{color: white; font: bold 14px;}\n"
               "QCheckBox::indicator{width: 14px; height: 14px; border: 2px solid white; "
               "border-radius: 3px; background-color: rgb(70, 70, 70);}\n"
               "QCheckBox::indicator:checked{background-color: rgb(85, 170, 255);}\n"
               "QLabel#compareCount{color: rgb(255, 170, 0); font: bold 18px;}\n"
               "QTableWidget{background-color: rgb(50, 50, 50); alternate-background-color: "
               "rgb(60, 60, 60); color: white; gridline-color: rgb(80, 80, 80); font: 14px; "
               "selection-background-color: rgb(85, 170, 255); border: none;}\n"
               "QHeaderView{background-color: rgb(80, 80, 80);}\n"
               "QHeaderView::section{background-color: rgb(80, 80, 80); color: white; "
               "font: bold 14px; border: none; padding: 4px;}\n"
               "QTableCornerButton::section{background-color: rgb(80, 80, 80); border: none;}\n") +
           formStyles().dataResetButton +
           QStringLiteral("\nQPushButton:disabled{color: rgb(120, 120, 120);}\n"
                          "QPushButton:focus{border-color: rgb(85, 170, 255);}\n");
}

int pickToCompare(QWidget *parent, const QString &title, const QStringList &choices)
{
    if (choices.isEmpty())
        return -1;
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        parent, title, QStringLiteral("Compare the editor with:"), choices, 0, false, &ok);
    return ok ? choices.indexOf(chosen) : -1;
}

QTableWidgetItem *readOnlyCell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidget *fileListTable(QWidget *parent, const QString &objectName, const QStringList &headers)
{
    auto *list = new QTableWidget(0, headers.size(), parent);
    list->setObjectName(objectName);
    list->setHorizontalHeaderLabels(headers);
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->horizontalHeader()->setStretchLastSection(true);
    list->verticalHeader()->hide();
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAlternatingRowColors(true);
    return list;
}

namespace {

QString countText(std::size_t differences)
{
    if (differences == 0)
        return QStringLiteral("No differences");
    if (differences == 1)
        return QStringLiteral("1 setting differs");
    return QStringLiteral("%1 settings differ").arg(differences);
}

QTableWidgetItem *cell(const QString &text, bool differs)
{
    QTableWidgetItem *item = readOnlyCell(text);
    if (differs)
        item->setForeground(QColor(255, 170, 0));
    return item;
}

} // namespace

CompareDialog::CompareDialog(const ParameterSet &editorSettings, QWidget *parent)
    : QDialog(parent), editor(editorSettings)
{
    setObjectName(QStringLiteral("compareDialog"));
    setWindowTitle(QStringLiteral("COMPARE"));
    setStyleSheet(darkDialogSheet());
    resize(920, 560);

    auto *layout = new QVBoxLayout(this);
    sourceRow = new QHBoxLayout;
    sourceRow->addWidget(new QLabel(QStringLiteral("Compare the editor with:"), this));
    sourceRow->addStretch();
    layout->addLayout(sourceRow);

    what = new QLabel(QStringLiteral("Choose what to compare the editor with."), this);
    what->setObjectName(QStringLiteral("compareWhat"));
    count = new QLabel(this);
    count->setObjectName(QStringLiteral("compareCount"));
    // Names as typed: a model called "<b>x</b>" is not drawn bold.
    what->setTextFormat(Qt::PlainText);
    count->setTextFormat(Qt::PlainText);
    layout->addWidget(what);
    layout->addWidget(count);

    table = new QTableWidget(0, Columns, this);
    table->setObjectName(QStringLiteral("compareTable"));
    table->setHorizontalHeaderLabels({QStringLiteral("Page"), QStringLiteral("Place"),
                                      QStringLiteral("Setting"), QStringLiteral("Editor"),
                                      QString()});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(table, 1);

    auto *bottom = new QHBoxLayout;
    showAll = new QCheckBox(QStringLiteral("Show all settings"), this);
    showAll->setObjectName(QStringLiteral("compareShowAll"));
    connect(showAll, &QCheckBox::toggled, this, &CompareDialog::showTable);
    bottom->addWidget(showAll);
    bottom->addStretch();
    auto *close = new QPushButton(QStringLiteral("CLOSE"), this);
    close->setObjectName(QStringLiteral("compareClose"));
    close->setMinimumSize(110, 40);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(close);
    layout->addLayout(bottom);
}

QPushButton *CompareDialog::addSource(const QString &text, Picker pick)
{
    auto *button = new QPushButton(text, this);
    button->setMinimumHeight(40);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, pick] {
        if (const std::optional<CompareSource> source = pick()) {
            compareWith(*source);
            emit sourcePicked();
        }
    });
    // Sources stand in the order they were added, before the stretch.
    sourceRow->insertWidget(sourceRow->count() - 1, button);
    return button;
}

void CompareDialog::compareWith(const CompareSource &source, const QString &whenSame)
{
    other = source;
    otherSameText = whenSame;
    editorCompared = editor;
    table->horizontalHeaderItem(OtherValue)->setText(source.name);
    what->setText(source.trouble.isEmpty()
                      ? QStringLiteral("The editor compared with: %1").arg(source.name)
                      : source.trouble);
    showTable();
}

void CompareDialog::showTable()
{
    table->setRowCount(0);
    if (!other || !other->trouble.isEmpty()) {
        count->clear();
        return;
    }
    const std::vector<SettingDifference> differences =
        compareSettings(editorCompared, other->settings);
    count->setText(differences.empty() && !otherSameText.isEmpty() ? otherSameText
                                                                   : countText(differences.size()));

    auto addRow = [this](const SettingRow &row, const QString &mine, const QString &theirs,
                         bool differs) {
        const int r = table->rowCount();
        table->insertRow(r);
        const QString texts[Columns] = {QString::fromLatin1(row.page), row.place, row.name, mine,
                                        theirs};
        for (int c = 0; c < Columns; ++c)
            table->setItem(r, c, cell(texts[c], differs));
    };
    if (showAll->isChecked()) {
        auto next = differences.begin();
        for (const SettingRow &row : settingsCatalogue()) {
            const bool differs = next != differences.end() && next->row == &row;
            addRow(row, settingValueText(row, editorCompared),
                   settingValueText(row, other->settings), differs);
            if (differs)
                ++next;
        }
    } else {
        // Every line differs here; the colour marks them only among all.
        for (const SettingDifference &d : differences)
            addRow(*d.row, d.before, d.after, false);
    }
}
