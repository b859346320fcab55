// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "models/library.h"

#include <QDialog>
#include <QFileSystemWatcher>

#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QLabel;
class QPushButton;
class QTableWidget;
struct CompareSource;

// MODELS: the pilot's models with the day each was last saved and how many
// settings it differs from the editor, following the editor while open. The
// editor can be saved as a model; a model can be sent to the transmitter as
// it was saved, opened in the editor, compared with it, renamed and
// deleted. Every action takes the file of the row chosen.
class ModelsDialog : public QDialog
{
    Q_OBJECT
public:
    using ModelAction = std::function<void(const ModelEntry &)>;
    // Opening returns why it refused, empty when it went ahead.
    using OpenAction = std::function<QString(const ModelEntry &)>;
    // Sending locks `button` the way a command locks its own; it returns
    // why it refused, empty when it went ahead.
    using SendAction = std::function<QString(const ModelEntry &, QAbstractButton *button)>;
    // `editor` is read whenever the list is filled or a model saved, and
    // watched while the dialog is shown.
    ModelsDialog(ModelLibrary &library, const ParameterSet &editor, OpenAction open,
                 SendAction send, ModelAction compare, QWidget *parent = nullptr);

    QTableWidget *table() const { return list; }

signals:
    // The editor's settings were saved as the model `name`.
    void modelSaved(const QString &name);

private:
    void fill();
    // Each listed file is watched: one overwritten in place does not change
    // the folder.
    void watchFiles();
    void fillDiffers();
    void followEditor();
    // Selects the row of the file `path`, else the first.
    void select(const QString &path);
    const ModelEntry *selected() const;
    // The selected model, unless its file is out of reach (said in a box).
    const ModelEntry *actedOn();
    void saveEditorAs();
    void renameSelected();
    void deleteSelected();
    void complain(const QString &title, const QString &trouble);

    ModelLibrary &library;
    const ParameterSet &editor;
    std::vector<ModelEntry> shown;
    // The editor as the Differs column was last counted against.
    ParameterSet counted{};
    QTableWidget *list;
    QLabel *empty;
    // One line on the last action that was refused.
    QLabel *note;
    QFileSystemWatcher watcher;
    std::vector<QPushButton *> needSelection;
    std::vector<QPushButton *> needReadable;
};

// A model as something COMPARE shows beside the editor, and the pilot's
// pick of one (nothing when the library is empty or the pilot cancelled).
CompareSource modelCompareSource(const ModelEntry &model);
std::optional<CompareSource> pickModel(const ModelLibrary &library, QWidget *parent);
