// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct RunningCommand;

// The pilot's model library: one parameter file per model (the 324
// characters SAVE writes, so LOAD and the verbs read it), named after the
// model. A name the file system would refuse is kept readable on disk with
// the refused characters replaced; the name as typed then lives in a small
// text file beside it ("<file>.name"). A parameter file copied into the
// folder by hand shows under its file name.

// <application data>/vegalyra/models ($XDG_DATA_HOME on Linux).
QString modelsFolder();

struct ModelEntry {
    QString name;    // as the pilot typed it
    QString path;    // the parameter file
    QDateTime saved; // when the file was last written
    QString trouble; // why its settings cannot be used; empty when readable
    ParameterSet settings{};
    // Its file name is not text: `path` only shows it (bytes that are not
    // text as \xHH) and reaches no file, and nothing acts on it.
    bool undecodable = false;
    bool readable() const { return trouble.isEmpty(); }
};

// Why a typed name cannot name a model; empty when it can. A name is what
// remains after trimming the spaces at both ends.
QString modelNameTrouble(const QString &name);
// The file name (without ".txt") for a model name: characters a file
// system refuses, and dots or spaces at the end, replaced by "_"; cut to
// fit the file system's 255 bytes beside its name file.
QString modelFileBase(const QString &name);

// Every file in `folder` ending in ".txt" or ".dat" (case aside), sorted by
// name (case aside). A file that cannot be read, is not a regular file or
// holds no whole parameter file is listed with its trouble; nothing in the
// folder is changed.
std::vector<ModelEntry> listModels(const QString &folder);
// The models called `name`, case aside: first one whose file says that
// very name, then the others of that very name, then those that differ
// only in case.
std::vector<const ModelEntry *> modelsNamed(const std::vector<ModelEntry> &models,
                                            const QString &name);
// The first of modelsNamed(), if any.
const ModelEntry *findModel(const std::vector<ModelEntry> &models, const QString &name);
// What the pilot picks each model by: its name, and where another model
// has the same name (case aside) its file's name too ("Cub (cub.txt)").
// No two labels are the same.
QStringList modelLabels(const std::vector<ModelEntry> &models);

// Which model some settings are. `differences` is 0 when every setting the
// catalogue compares is equal; the nearest model is named only when it
// differs in at most kNearModelLimit settings. Of equally near models the
// earlier in the list wins.
constexpr int kNearModelLimit = 10;
struct ModelRecognition {
    QString name;
    int differences = 0;
};
std::optional<ModelRecognition> recogniseModel(const ParameterSet &settings,
                                               const std::vector<ModelEntry> &models);
// "Cub 1.2 m", "like Cub 1.2 m (3 settings differ)", or empty.
QString recognitionText(const std::optional<ModelRecognition> &recognition);

// The model file for the editor's settings: the 324 characters SAVE would
// write, the alarms as the volts the pilot edited.
QByteArray modelFileFor(const ParameterSet &editor);

// The library's files: saving, renaming and deleting models, all within
// `folder`, each acting on the one file it is given. Each returns why it
// did not happen, empty on success.
// A save replaces the file `replacing` when given, else the model of that
// name (findModel), else it makes a new file; the file and its name are
// both written or neither. `savedPath` gets the file written.
QString saveModelFile(const QString &folder, const QString &name, const QByteArray &file,
                      const QString &replacing = QString(), QString *savedPath = nullptr);
QString renameModelFile(const QString &folder, const QString &path, const QString &newName);
QString deleteModelFile(const QString &folder, const QString &path);

// `model:NAME` on the command line: the path of that model's file; a name
// several models share is refused unless one file says that very name, and
// a model whose file name is not text is refused. Any
// other argument is returned as it is, a path. `shownName` gets the
// model's name (or the file's name); `trouble` says why there is none.
QString resolveModelArgument(const QString &argument, const QString &folder, QString *shownName,
                             QString *trouble);

// The library as the window meets it: told what the transmitter holds
// (after a complete READ, after a transfer it took, nothing once the port
// closes), it says which model that is, again whenever the library
// changes. It never steers the link or the editor.
class ModelLibrary : public QObject
{
    Q_OBJECT
public:
    explicit ModelLibrary(const QString &folder, QObject *parent = nullptr);

    QString folder() const { return dir; }
    std::vector<ModelEntry> models() const { return listModels(dir); }

    QString save(const QString &name, const QByteArray &file, const QString &replacing = QString(),
                 QString *savedPath = nullptr);
    // The model whose file is `path`.
    QString rename(const QString &path, const QString &newName);
    QString remove(const QString &path);

    // The recognition text for some settings against the library as it
    // stands.
    QString nameFor(const ParameterSet &settings) const;

public slots:
    void transmitterHolds(const ParameterSet &settings);
    // A finished command: a WRITE, LOAD or RESET the transmitter took whole
    // changes what it holds.
    void commandFinished(const RunningCommand &finished);
    // The port closed: the next transmitter may hold anything.
    void transmitterGone();

signals:
    // What the transmitter holds, as recognitionText() says it.
    void heldModelChanged(const QString &text);
    void libraryChanged();

private:
    QString changed(const QString &trouble);
    void tellHeld();

    QString dir;
    std::optional<ParameterSet> held;
    QString heldText;
};
