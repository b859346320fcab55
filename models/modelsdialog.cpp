#include "models/modelsdialog.h"

#include "settings/catalogue.h"
#include "views/comparedialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

enum Column { Name, Saved, Differs };

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

} // namespace

ModelsDialog::ModelsDialog(ModelLibrary &models, const ParameterSet &editorSettings,
                           ModelAction open, ModelAction compare, QWidget *parent)
    : QDialog(parent), library(models), editor(editorSettings)
{
    setObjectName(QStringLiteral("modelsDialog"));
    setWindowTitle(QStringLiteral("MODELS"));
    setStyleSheet(darkDialogSheet());
    resize(820, 520);

    auto *layout = new QVBoxLayout(this);
    auto *about = new QLabel(
        QStringLiteral("Your models, each kept as a parameter file. Opening one puts it into the "
                       "editor only: WRITE sends it to the transmitter."),
        this);
    about->setWordWrap(true);
    layout->addWidget(about);

    list = fileListTable(this, QStringLiteral("modelsTable"),
                         {QStringLiteral("Model"), QStringLiteral("Saved"),
                          QStringLiteral("Differs from the editor")});
    layout->addWidget(list);

    QPushButton *saveAs = button(this, QStringLiteral("Save the editor as…"), "modelsSaveAs");
    QPushButton *openIt = button(this, QStringLiteral("Open in the editor"), "modelsOpen");
    QPushButton *compareIt =
        button(this, QStringLiteral("Compare with the editor"), "modelsCompare");
    QPushButton *renameIt = button(this, QStringLiteral("Rename"), "modelsRename");
    QPushButton *deleteIt = button(this, QStringLiteral("Delete"), "modelsDelete");
    QPushButton *openFolder = button(this, QStringLiteral("Open folder"), "modelsOpenFolder");
    QPushButton *close = button(this, QStringLiteral("Close"), "modelsClose");
    auto *top = new QHBoxLayout;
    auto *bottom = new QHBoxLayout;
    for (QPushButton *b : {saveAs, openIt, compareIt})
        top->addWidget(b);
    for (QPushButton *b : {renameIt, deleteIt, openFolder, close})
        bottom->addWidget(b);
    layout->addLayout(top);
    layout->addLayout(bottom);
    needSelection = {renameIt, deleteIt};
    needReadable = {openIt, compareIt};

    connect(saveAs, &QPushButton::clicked, this, &ModelsDialog::saveEditorAs);
    connect(openIt, &QPushButton::clicked, this, [this, open] {
        if (const ModelEntry *model = selected())
            open(*model);
    });
    connect(compareIt, &QPushButton::clicked, this, [this, compare] {
        if (const ModelEntry *model = selected())
            compare(*model);
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
    fill();
}

void ModelsDialog::fill()
{
    const ModelEntry *before = selected();
    const QString keep = before ? before->name : QString();
    shown = library.models();
    list->setRowCount(int(shown.size()));
    int row = 0;
    int keepRow = 0;
    for (const ModelEntry &model : shown) {
        list->setItem(row, Name, readOnlyCell(model.name));
        list->setItem(row, Saved,
                      readOnlyCell(model.saved.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        list->setItem(row, Differs, readOnlyCell(differsText(model, editor)));
        list->item(row, Differs)->setToolTip(model.trouble);
        if (model.name == keep)
            keepRow = row;
        ++row;
    }
    list->clearSelection();
    if (!shown.empty())
        list->selectRow(keepRow);
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
    if (const ModelEntry *existing = findModel(models, name)) {
        // Replacing throws the model's settings away: the default keeps them.
        if (QMessageBox::question(this, QStringLiteral("Replace model"),
                                  QStringLiteral("A model named %1 exists.\nReplace it with the "
                                                 "settings in the editor?")
                                      .arg(existing->name),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes)
            return;
    }
    complain(QStringLiteral("Model not saved"), library.save(name, modelFileFor(editor)));
}

void ModelsDialog::renameSelected()
{
    const ModelEntry *model = selected();
    if (!model)
        return;
    const QString oldName = model->name;
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("Rename model"), QStringLiteral("New name:"),
                              QLineEdit::Normal, oldName, &ok);
    if (ok && name.trimmed() != oldName)
        complain(QStringLiteral("Model not renamed"), library.rename(oldName, name));
}

void ModelsDialog::deleteSelected()
{
    const ModelEntry *model = selected();
    if (!model)
        return;
    const QString name = model->name;
    if (QMessageBox::question(
            this, QStringLiteral("Delete model"), QStringLiteral("Delete the model %1?").arg(name),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes)
        complain(QStringLiteral("Model not deleted"), library.remove(name));
}

void ModelsDialog::complain(const QString &title, const QString &trouble)
{
    if (!trouble.isEmpty())
        QMessageBox::warning(this, title, trouble);
}

CompareSource modelCompareSource(const ModelEntry &model)
{
    return CompareSource{model.name, model.settings, model.trouble};
}

std::optional<CompareSource> pickModel(const ModelLibrary &library, QWidget *parent)
{
    const std::vector<ModelEntry> models = library.models();
    QStringList names;
    for (const ModelEntry &model : models)
        names << model.name;
    const int chosen = pickToCompare(parent, QStringLiteral("Model"), names);
    if (chosen < 0)
        return std::nullopt;
    return modelCompareSource(models[std::size_t(chosen)]);
}
