#pragma once

#include "models/library.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QTableWidget;
struct CompareSource;

// MODELS: the pilot's models with the day each was last saved and how many
// settings it differs from the editor. The editor can be saved as a model;
// a model can be opened in the editor or compared with it, renamed and
// deleted. Nothing is sent from here: WRITE sends what the editor holds.
class ModelsDialog : public QDialog
{
    Q_OBJECT
public:
    using ModelAction = std::function<void(const ModelEntry &)>;
    // `editor` is read whenever the list is filled or a model saved.
    ModelsDialog(ModelLibrary &library, const ParameterSet &editor, ModelAction open,
                 ModelAction compare, QWidget *parent = nullptr);

    QTableWidget *table() const { return list; }

private:
    void fill();
    const ModelEntry *selected() const;
    void saveEditorAs();
    void renameSelected();
    void deleteSelected();
    void complain(const QString &title, const QString &trouble);

    ModelLibrary &library;
    const ParameterSet &editor;
    std::vector<ModelEntry> shown;
    QTableWidget *list;
    std::vector<QPushButton *> needSelection;
    std::vector<QPushButton *> needReadable;
};

// A model as something COMPARE shows beside the editor, and the pilot's
// pick of one (nothing when the library is empty or the pilot cancelled).
CompareSource modelCompareSource(const ModelEntry &model);
std::optional<CompareSource> pickModel(const ModelLibrary &library, QWidget *parent);
