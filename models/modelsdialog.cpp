// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/modelsdialog.h"

#include "settings/catalogue.h"
#include "ui/formstyles.h"
#include "views/comparedialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

enum Column { Name, Saved, Differs };

// How often the Differs column looks whether the editor changed: the
// editor follows the transmitter's trims and the pilot's edits.
constexpr int kFollowEditorMs = 300;

QString differsText(const ModelEntry &model, const ParameterSet &editor)
{
    if (!model.readable())
        return QStringLiteral("not readable");
    const std::size_t count = compareSettings(editor, model.settings).size();
    if (count == 0)
        return QStringLiteral("same as the editor");
    return count == 1 ? QStringLiteral("1 setting") : QStringLiteral("%1 settings").arg(count);
}

QPushButton *button(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumHeight(36);
    b->setAutoDefault(false);
    return b;
}

// While the table is filled its columns keep their widths and nothing is
// painted; they are sized to their contents once at the end. Sized to their
// contents all along, every cell set would measure its whole column again:
// a library of thousands of models would hold the dialog for minutes.
class FillingTable
{
public:
    explicit FillingTable(QTableWidget *table) : list(table)
    {
        list->setUpdatesEnabled(false);
        list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    }
    ~FillingTable()
    {
        list->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        list->setUpdatesEnabled(true);
    }
    FillingTable(const FillingTable &) = delete;
    FillingTable &operator=(const FillingTable &) = delete;

private:
    QTableWidget *list;
};

} // namespace

ModelsDialog::ModelsDialog(ModelLibrary &models, const ParameterSet &editorSettings,
                           OpenAction open, SendAction send, ModelAction compare, QWidget *parent)
    : QDialog(parent), library(models), editor(editorSettings)
{
    setObjectName(QStringLiteral("modelsDialog"));
    setWindowTitle(QStringLiteral("MODELS"));
    setStyleSheet(darkDialogSheet());
    resize(820, 520);

    auto *layout = new QVBoxLayout(this);
    auto *about = new QLabel(
        QStringLiteral("Your models, each kept as a parameter file. \"Send to the transmitter\" "
                       "puts the saved model into the transmitter as it was saved, trims "
                       "included. \"Open in the editor\" lets you edit it first; WRITE then "
                       "sends it with the transmitter's own trims."),
        this);
    about->setObjectName(QStringLiteral("modelsHelp"));
    about->setWordWrap(true);
    layout->addWidget(about);

    list = fileListTable(this, QStringLiteral("modelsTable"),
                         {QStringLiteral("Model"), QStringLiteral("Saved"),
                          QStringLiteral("Differs from the editor")});
    layout->addWidget(list);
    empty = new QLabel(QStringLiteral("No models yet: set up the editor (READ, LOAD or edit), "
                                      "then \"Save the editor as…\" adds the first."),
                       this);
    empty->setObjectName(QStringLiteral("modelsEmpty"));
    layout->addWidget(empty);
    note = new QLabel(this);
    note->setObjectName(QStringLiteral("modelsNote"));
    note->setTextFormat(Qt::PlainText); // names as typed, "<b>x</b>" too
    note->hide();
    layout->addWidget(note);

    QPushButton *saveAs = button(this, QStringLiteral("Save the editor as…"), "modelsSaveAs");
    QPushButton *sendIt = button(this, QStringLiteral("Send to the transmitter"), "modelsSend");
    QPushButton *openIt = button(this, QStringLiteral("Open in the editor"), "modelsOpen");
    QPushButton *compareIt =
        button(this, QStringLiteral("Compare with the editor"), "modelsCompare");
    QPushButton *renameIt = button(this, QStringLiteral("Rename"), "modelsRename");
    QPushButton *deleteIt = button(this, QStringLiteral("Delete"), "modelsDelete");
    QPushButton *openFolder = button(this, QStringLiteral("Open folder"), "modelsOpenFolder");
    QPushButton *close = button(this, QStringLiteral("Close"), "modelsClose");
    auto *top = new QHBoxLayout;
    auto *bottom = new QHBoxLayout;
    for (QPushButton *b : {saveAs, sendIt, openIt, compareIt})
        top->addWidget(b);
    for (QPushButton *b : {renameIt, deleteIt, openFolder, close})
        bottom->addWidget(b);
    layout->addLayout(top);
    layout->addLayout(bottom);
    needSelection = {renameIt, deleteIt};
    needReadable = {sendIt, openIt, compareIt};

    // Each action gets a copy of the row's model: the list may be filled
    // again while it runs.
    connect(saveAs, &QPushButton::clicked, this, &ModelsDialog::saveEditorAs);
    connect(sendIt, &QPushButton::clicked, this, [this, send, sendIt] {
        if (const ModelEntry *model = actedOn()) {
            // The pilot may close the dialog while the model is sent.
            const QPointer<ModelsDialog> self(this);
            const QString refused = send(ModelEntry(*model), sendIt);
            if (!self)
                return;
            note->setText(refused);
            note->setVisible(!refused.isEmpty());
        }
    });
    connect(openIt, &QPushButton::clicked, this, [this, open] {
        if (const ModelEntry *model = actedOn()) {
            const QPointer<ModelsDialog> self(this);
            const QString refused = open(ModelEntry(*model));
            if (!self)
                return;
            note->setText(refused);
            note->setVisible(!refused.isEmpty());
        }
    });
    connect(compareIt, &QPushButton::clicked, this, [this, compare] {
        if (const ModelEntry *model = actedOn())
            compare(ModelEntry(*model));
    });
    connect(renameIt, &QPushButton::clicked, this, &ModelsDialog::renameSelected);
    connect(deleteIt, &QPushButton::clicked, this, &ModelsDialog::deleteSelected);
    connect(openFolder, &QPushButton::clicked, this, [this] {
        QDir().mkpath(library.folder());
        QDesktopServices::openUrl(QUrl::fromLocalFile(library.folder()));
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list, &QTableWidget::itemSelectionChanged, this, [this] {
        const ModelEntry *model = selected();
        for (QPushButton *b : needSelection)
            b->setEnabled(model != nullptr);
        for (QPushButton *b : needReadable)
            b->setEnabled(model != nullptr && model->readable());
    });
    connect(&library, &ModelLibrary::libraryChanged, this, &ModelsDialog::fill);
    // Files copied in, removed or changed by hand (or by another copy of
    // the tool) show while the dialog is open; a burst of changes is
    // listed once.
    auto *folderChanged = new QTimer(this);
    folderChanged->setSingleShot(true);
    folderChanged->setInterval(200);
    connect(folderChanged, &QTimer::timeout, this, &ModelsDialog::fill);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, folderChanged,
            QOverload<>::of(&QTimer::start));
    // A file overwritten in place does not change the folder: each listed
    // file is watched itself, so a broken one shows as not readable and a
    // changed one with its new count of differences.
    connect(&watcher, &QFileSystemWatcher::fileChanged, folderChanged,
            QOverload<>::of(&QTimer::start));
    auto *follow = new QTimer(this);
    connect(follow, &QTimer::timeout, this, &ModelsDialog::followEditor);
    follow->start(kFollowEditorMs);
    fill();
}

void ModelsDialog::fill()
{
    const ModelEntry *before = selected();
    const QString keep = before ? before->path : QString();
    if (watcher.directories().isEmpty() && QFileInfo(library.folder()).isDir())
        watcher.addPath(library.folder());
    shown = library.models();
    watchFiles();
    const QStringList labels = modelLabels(shown);
    FillingTable filling(list);
    list->setRowCount(int(shown.size()));
    for (int row = 0; row < int(shown.size()); ++row) {
        const ModelEntry &model = shown[std::size_t(row)];
        list->setItem(row, Name, readOnlyCell(labels[row]));
        list->item(row, Name)->setToolTip(asTyped(QDir::toNativeSeparators(model.path)));
        list->setItem(row, Saved,
                      readOnlyCell(model.saved.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    }
    fillDiffers();
    empty->setVisible(shown.empty());
    select(keep);
}

void ModelsDialog::watchFiles()
{
    // Only what changed in the list: a large library is refilled often.
    QSet<QString> listed;
    for (const ModelEntry &model : shown) {
        if (!model.undecodable)
            listed.insert(model.path);
    }
    const QStringList watched = watcher.files();
    QStringList gone;
    for (const QString &path : watched) {
        if (!listed.remove(path))
            gone << path;
    }
    if (!gone.isEmpty())
        watcher.removePaths(gone);
    // A file replaced by a new one (written beside and renamed) is no longer
    // the one watched: it is watched again when listed.
    if (!listed.isEmpty())
        watcher.addPaths(QStringList(listed.begin(), listed.end()));
}

void ModelsDialog::fillDiffers()
{
    counted = editor;
    FillingTable filling(list);
    for (int row = 0; row < int(shown.size()); ++row) {
        const ModelEntry &model = shown[std::size_t(row)];
        list->setItem(row, Differs, readOnlyCell(differsText(model, editor)));
        list->item(row, Differs)->setToolTip(asTyped(model.trouble));
    }
}

void ModelsDialog::followEditor()
{
    if (isVisible() && editor != counted)
        fillDiffers();
}

void ModelsDialog::select(const QString &path)
{
    int row = 0;
    for (int i = 0; i < int(shown.size()); ++i) {
        if (shown[std::size_t(i)].path == path)
            row = i;
    }
    list->clearSelection();
    if (!shown.empty())
        list->selectRow(row);
    emit list->itemSelectionChanged(); // also when nothing is left to select
}

const ModelEntry *ModelsDialog::selected() const
{
    const QList<QTableWidgetItem *> items = list->selectedItems();
    if (items.isEmpty())
        return nullptr;
    const int row = items.first()->row();
    return row >= 0 && std::size_t(row) < shown.size() ? &shown[std::size_t(row)] : nullptr;
}

void ModelsDialog::saveEditorAs()
{
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("Save the editor as"),
                              QStringLiteral("Model name:"), QLineEdit::Normal, QString(), &ok)
            .trimmed();
    if (!ok)
        return;
    const std::vector<ModelEntry> models = library.models();
    const ModelEntry *existing = findModel(models, name);
    if (existing) {
        // Replacing throws the model's settings away: the default keeps them.
        if (QMessageBox::question(
                this, QStringLiteral("Replace model"),
                asTyped(QStringLiteral("A model named %1 exists (%2).\nReplace "
                                       "it with the settings in the editor?")
                            .arg(existing->name, QFileInfo(existing->path).fileName())),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
    }
    QString savedPath;
    const QByteArray file = modelFileFor(editor);
    const QString trouble =
        library.save(name, file, existing ? existing->path : QString(), &savedPath);
    if (!savedPath.isEmpty()) {
        select(savedPath);
        emit modelSaved(name);
    }
    complain(savedPath.isEmpty() ? QStringLiteral("Model not saved")
                                 : QStringLiteral("Model saved"),
             trouble);
}

const ModelEntry *ModelsDialog::actedOn()
{
    const ModelEntry *model = selected();
    // A file whose name is not text is out of the tool's reach: the pilot
    // renames it in the models folder.
    if (model && model->undecodable) {
        QMessageBox::warning(this, QStringLiteral("Model not readable"), asTyped(model->trouble));
        return nullptr;
    }
    return model;
}

void ModelsDialog::renameSelected()
{
    const ModelEntry *model = actedOn();
    if (!model)
        return;
    const QString oldName = model->name;
    const QString path = model->path;
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("Rename model"), QStringLiteral("New name:"),
                              QLineEdit::Normal, oldName, &ok);
    if (!ok || name.trimmed() == oldName)
        return;
    const QString trouble = library.rename(path, name);
    // A rename is whole or not at all, but a stale name file left behind
    // does not undo the rename itself.
    const bool moved = !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
    complain(moved ? QStringLiteral("Model renamed") : QStringLiteral("Model not renamed"),
             trouble);
}

void ModelsDialog::deleteSelected()
{
    const ModelEntry *model = actedOn();
    if (!model)
        return;
    const QString name = model->name;
    const QString path = model->path;
    if (QMessageBox::question(
            this, QStringLiteral("Delete model"),
            asTyped(
                QStringLiteral("Delete the model %1 (%2)?").arg(name, QFileInfo(path).fileName())),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes)
        complain(QStringLiteral("Model not deleted"), library.remove(path));
}

void ModelsDialog::complain(const QString &title, const QString &trouble)
{
    if (!trouble.isEmpty())
        QMessageBox::warning(this, title, asTyped(trouble));
}

CompareSource modelCompareSource(const ModelEntry &model)
{
    return CompareSource{model.name, model.settings, model.trouble};
}

std::optional<CompareSource> pickModel(const ModelLibrary &library, QWidget *parent)
{
    const std::vector<ModelEntry> models = library.models();
    const int chosen = pickToCompare(parent, QStringLiteral("Model"), modelLabels(models));
    if (chosen < 0)
        return std::nullopt;
    return modelCompareSource(models[std::size_t(chosen)]);
}
