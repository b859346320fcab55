// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/library.h"

#include "files/filewriter.h"
#include "files/paramfile.h"
#include "files/paramfileread.h"
#include "link/frames.h"
#include "link/linkactivity.h"
#include "model/editing.h"
#include "settings/catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

constexpr int kNameLimit = 100;
// A name file holds one short line; a bigger one is not ours.
constexpr qint64 kNameFileLimit = 1024;
// The longest file name most file systems take, in bytes; a model's file
// name and its name file (".name" instead of ".txt") both fit.
constexpr int kFileNameBytes = 255;
constexpr int kBaseBytes = kFileNameBytes - 5;

const QString kTxt = QStringLiteral(".txt");
const QString kNameSuffix = QStringLiteral(".name");
const QString kArgumentPrefix = QStringLiteral("model:");

bool hasModelEnding(const QString &fileName)
{
    return fileName.endsWith(kTxt, Qt::CaseInsensitive) ||
           fileName.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive);
}

// The name of a model file the tool wrote ("Quad 5_.txt") is kept in
// "Quad 5_.name"; any other model file ("Cub.dat", "Cub.TXT", "Cub.dat.txt")
// has its file name and ".name" ("Cub.dat.name", "Cub.dat.txt.name"). No two
// model files ever share a name file: "Cub.dat.txt" is not given
// "Cub.dat.name", which is Cub.dat's.
QString nameFilePath(const QString &modelPath)
{
    const QFileInfo info(modelPath);
    const QString base = info.completeBaseName();
    if (info.fileName().endsWith(kTxt) && !hasModelEnding(base))
        return info.dir().filePath(base + kNameSuffix);
    return modelPath + kNameSuffix;
}

// The name file a model file's name is read from. A "Cub.dat.txt" saved by
// an earlier version of the tool kept its name in "Cub.dat.name": that one
// still counts while the model has no name file of today's kind and no
// "Cub.dat" claims it.
QString nameFileInUse(const QString &modelPath)
{
    const QString own = nameFilePath(modelPath);
    const QFileInfo info(modelPath);
    const QString base = info.completeBaseName();
    if (own != modelPath + kNameSuffix || !info.fileName().endsWith(kTxt) ||
        QFileInfo::exists(own) || QFileInfo(own).isSymLink())
        return own;
    const QString owner = info.dir().filePath(base);
    if (QFileInfo::exists(owner) || QFileInfo(owner).isSymLink())
        return own;
    return info.dir().filePath(base + kNameSuffix);
}

// The name a model file's own name says: "Cub" for "Cub.txt" and "Cub.dat".
QString nameOfFile(const QString &modelPath)
{
    // A file copied in by hand may end in a space ("trail .txt"): it is
    // listed, and reached by `model:`, under the name without it.
    return QFileInfo(modelPath).completeBaseName().trimmed();
}

// The name kept beside a model file, if there is a usable one.
QString nameBeside(const QString &modelPath)
{
    QFile file;
    const QString namePath = nameFileInUse(modelPath);
    if (!QFileInfo(namePath).isFile() || !openForReading(file, namePath))
        return QString();
    const QString name = QString::fromUtf8(file.read(kNameFileLimit)).trimmed();
    return modelNameTrouble(name).isEmpty() ? name : QString();
}

int fileNameBytes(const QString &name)
{
    return localFileName(name).size();
}

// `base` cut at the end to at most `room` bytes, whole characters only;
// what the cut leaves at the end is kept readable on every system.
QString fitted(QString base, int room)
{
    while (!base.isEmpty() && fileNameBytes(base) > room)
        base.chop(base.size() > 1 && base.at(base.size() - 1).isLowSurrogate() ? 2 : 1);
    for (int i = base.size() - 1; i >= 0 && (base[i] == '.' || base[i] == ' '); --i)
        base[i] = QLatin1Char('_');
    return base;
}

// A file name in `folder` for the model `name`, ending in `ending`, where
// both the file and its name file are free, also where the file system
// ignores case: a second "Quad 5?" beside "Quad 5\"" becomes "Quad 5_ (2)".
// `own` is the model being renamed: its own file and name file do not
// count as taken.
QString freeModelPath(const QString &folder, const QString &name, const QString &ending = kTxt,
                      const QString &own = QString())
{
    QSet<QString> taken;
    const QDir dir(folder);
    const QStringList ownFiles = {QFileInfo(own).fileName(),
                                  QFileInfo(nameFilePath(own)).fileName()};
    for (const QString &entry :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (own.isEmpty() || !ownFiles.contains(entry))
            taken.insert(entry.toLower());
    }
    const QString base = modelFileBase(name);
    const auto isTaken = [&](const QString &candidate) {
        const QString path = dir.filePath(candidate + ending);
        const QString nameFile = QFileInfo(nameFilePath(path)).fileName();
        return taken.contains((candidate + ending).toLower()) ||
               taken.contains(nameFile.toLower()) || fileNameBytes(nameFile) > kFileNameBytes;
    };
    QString candidate =
        fitted(base, kBaseBytes - (ending == kTxt && !hasModelEnding(base) ? 0 : 4));
    for (int n = 2; isTaken(candidate); ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        // A name file longer than the file (".dat.name") gets its room too.
        const int room =
            kBaseBytes - fileNameBytes(suffix) - (ending == kTxt ? 0 : fileNameBytes(ending));
        candidate = fitted(base, room) + suffix;
    }
    return dir.filePath(candidate + ending);
}

int countDifferences(const ParameterSet &a, const ParameterSet &b, int stopAt)
{
    int count = 0;
    for (const SettingRow &row : settingsCatalogue()) {
        if (settingValue(row, a) != settingValue(row, b) && ++count >= stopAt)
            break;
    }
    return count;
}

bool reservedOnWindows(const QString &base)
{
    // The console's input and output and the clock are devices too.
    static const QStringList devices = {QStringLiteral("CON"),    QStringLiteral("PRN"),
                                        QStringLiteral("AUX"),    QStringLiteral("NUL"),
                                        QStringLiteral("CONIN$"), QStringLiteral("CONOUT$"),
                                        QStringLiteral("CLOCK$")};
    const QString stem = base.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    if (devices.contains(stem))
        return true;
    // COM1 … COM9, and COM¹, COM² and COM³ as well.
    return stem.size() == 4 &&
           (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))) &&
           (stem.at(3).isDigit() || QStringLiteral("\u00b9\u00b2\u00b3").contains(stem.at(3)));
}

// Where a model's file or its name could not be written: what is left and
// why. A model that was replaced is there as it was.
QString notSaved(const QString &name, const QString &what, const QString &reason, bool isNew)
{
    return QStringLiteral("The model %1 was not saved: %2 could not be written (%3). %4")
        .arg(name, what, reason,
             isNew ? QStringLiteral("Nothing in the library changed: neither its file nor its "
                                    "name is there.")
                   : QStringLiteral("The model is there as it was before."));
}

#ifdef Q_OS_UNIX // only names that are not text need these, and only Unix has them
QString unreachableTrouble(const QString &fileName)
{
    return QStringLiteral("%1: cannot be read: its file name is not valid text; rename it in the "
                          "models folder")
        .arg(fileName);
}

// A file name as the pilot can read it: bytes that are not UTF-8 as \xHH,
// and a backslash doubled so that no two such names read the same. It is
// only shown: decoded, the name could be a real file's ("b\uFFFDd.txt"), and
// a file could even be called this; nothing acts on such a model.
QString shownFileName(const QByteArray &raw)
{
    QString shown;
    for (int i = 0; i < raw.size();) {
        int length = 1;
        while (length <= 4 && i + length <= raw.size() &&
               QString::fromUtf8(raw.mid(i, length)).toUtf8() != raw.mid(i, length))
            ++length;
        if (length > 4 || i + length > raw.size()) {
            shown +=
                QStringLiteral("\\x") +
                QString::number(uchar(raw[i]), 16).toUpper().rightJustified(2, QLatin1Char('0'));
            ++i;
            continue;
        }
        const QString text = QString::fromUtf8(raw.mid(i, length));
        shown += text == QLatin1String("\\") ? QStringLiteral("\\\\") : text;
        i += length;
    }
    return shown;
}
#endif

// The model of `path` in the library, if it is listed.
const ModelEntry *listedAt(const std::vector<ModelEntry> &models, const QString &path)
{
    for (const ModelEntry &m : models) {
        if (m.path == path)
            return &m;
    }
    return nullptr;
}

// Model files whose names are not text in the system's encoding (bytes
// that are not UTF-8): Qt's own listing leaves them out, and no path Qt
// builds reaches them, so they are found here only to be shown.
std::vector<ModelEntry> undecodableModelFiles(const QString &folder)
{
    std::vector<ModelEntry> models;
#ifdef Q_OS_UNIX
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return models;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        const QString fileName = QFile::decodeName(raw);
        if (QFile::encodeName(fileName) == raw || !hasModelEnding(fileName))
            continue;
        ModelEntry model;
        // Decoded, the name may be that of a real file ("b\uFFFDd.txt"):
        // the path must never lead there.
        model.undecodable = true;
        model.path = QDir(folder).filePath(shownFileName(raw));
        model.name = QFileInfo(fileName).completeBaseName();
        model.trouble = unreachableTrouble(fileName);
        struct stat info;
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
            model.saved = QDateTime::fromSecsSinceEpoch(info.st_mtime);
        models.push_back(model);
    }
    ::closedir(dir);
#else
    Q_UNUSED(folder)
#endif
    return models;
}

} // namespace

QString modelsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vegalyra/models");
}

QString modelNameTrouble(const QString &typed)
{
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return QStringLiteral("A model needs a name.");
    if (name.size() > kNameLimit)
        return QStringLiteral("A model name has at most %1 characters.").arg(kNameLimit);
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("A model name cannot hold line breaks or tabs.");
    }
    return QString();
}

QString modelFileBase(const QString &typed)
{
    QString base = typed.trimmed();
    for (QChar &c : base) {
        if (c.unicode() < 0x20 || QStringLiteral("<>:\"/\\|?*").contains(c))
            c = QLatin1Char('_');
    }
    // Windows drops dots and spaces at the end; a dot in front hides the
    // file on Linux.
    for (int i = base.size() - 1; i >= 0 && (base[i] == '.' || base[i] == ' '); --i)
        base[i] = QLatin1Char('_');
    if (base.startsWith(QLatin1Char('.')))
        base[0] = QLatin1Char('_');
    if (base.isEmpty() || reservedOnWindows(base))
        base.prepend(QLatin1Char('_'));
    // A long name in a script of several bytes a character (90 CJK
    // characters are 270 bytes) is cut in the file name only.
    return fitted(base, kBaseBytes);
}

std::vector<ModelEntry> listModels(const QString &folder)
{
    std::vector<ModelEntry> models;
    // Every model file is listed, also one that cannot be read or is not
    // a file at all: the pilot sees why rather than missing a model. The
    // endings are matched case aside, as SAVE offers them.
    const QFileInfoList files = QDir(folder).entryInfoList(
        {QStringLiteral("*.txt"), QStringLiteral("*.dat")}, QDir::Files | QDir::System);
    for (const QFileInfo &info : files) {
        ModelEntry entry;
        entry.path = info.filePath();
        entry.name = nameBeside(entry.path);
        if (entry.name.isEmpty())
            entry.name = nameOfFile(entry.path);
        entry.saved = info.lastModified();
        if (!info.isFile()) {
            // A pipe or a device is never opened: reading it could wait
            // for ever or take what is not ours.
            entry.trouble =
                QStringLiteral("%1: cannot be read: not a regular file").arg(info.fileName());
        } else {
            const ParameterFileRead read = readParameterFileAt(entry.path, kStartParameters);
            entry.trouble = parameterFileTrouble(info.fileName(), read);
            entry.settings = read.settings;
        }
        models.push_back(entry);
    }
    for (const ModelEntry &entry : undecodableModelFiles(folder))
        models.push_back(entry);
    std::sort(models.begin(), models.end(), [](const ModelEntry &a, const ModelEntry &b) {
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.path < b.path;
    });
    return models;
}

std::vector<const ModelEntry *> modelsNamed(const std::vector<ModelEntry> &models,
                                            const QString &name)
{
    const QString wanted = name.trimmed();
    std::vector<const ModelEntry *> exact, caseAside;
    for (const ModelEntry &m : models) {
        if (m.name == wanted && nameOfFile(m.path) == wanted)
            exact.insert(exact.begin(), &m);
        else if (m.name == wanted)
            exact.push_back(&m);
        else if (m.name.compare(wanted, Qt::CaseInsensitive) == 0)
            caseAside.push_back(&m);
    }
    exact.insert(exact.end(), caseAside.begin(), caseAside.end());
    return exact;
}

const ModelEntry *findModel(const std::vector<ModelEntry> &models, const QString &name)
{
    const std::vector<const ModelEntry *> named = modelsNamed(models, name);
    return named.empty() ? nullptr : named.front();
}

QStringList modelLabels(const std::vector<ModelEntry> &models)
{
    QHash<QString, int> uses;
    for (const ModelEntry &m : models)
        ++uses[m.name.toLower()];
    QStringList labels;
    QSet<QString> given;
    for (const ModelEntry &m : models) {
        QString label = m.name;
        if (uses.value(m.name.toLower()) > 1)
            label += QStringLiteral(" (%1)").arg(QFileInfo(m.path).fileName());
        // A name that happens to read like another row's label still gets
        // a label of its own.
        for (int n = 2; given.contains(label); ++n)
            label = QStringLiteral("%1 (%2) #%3")
                        .arg(m.name, QFileInfo(m.path).fileName(), QString::number(n));
        given.insert(label);
        labels << label;
    }
    return labels;
}

std::optional<ModelRecognition> recogniseModel(const ParameterSet &settings,
                                               const std::vector<ModelEntry> &models)
{
    const ModelEntry *nearest = nullptr;
    int fewest = kNearModelLimit + 1;
    for (const ModelEntry &m : models) {
        if (!m.readable())
            continue;
        const int differences = countDifferences(settings, m.settings, fewest);
        if (differences < fewest) {
            fewest = differences;
            nearest = &m;
        }
        if (fewest == 0)
            break;
    }
    if (!nearest)
        return std::nullopt;
    return ModelRecognition{nearest->name, fewest};
}

QString recognitionText(const std::optional<ModelRecognition> &r)
{
    if (!r)
        return QString();
    if (r->differences == 0)
        return r->name;
    if (r->differences == 1)
        return QStringLiteral("like %1 (1 setting differs)").arg(r->name);
    return QStringLiteral("like %1 (%2 settings differ)")
        .arg(r->name, QString::number(r->differences));
}

QByteArray modelFileFor(const ParameterSet &editor)
{
    // The alarms travel as tenths that follow the volts only when a frame
    // is built; SAVE builds the frames first.
    ParameterSet p = editor;
    p.txAlarmTenths = alarmTenths(p.txAlarmVolt);
    p.rxAlarmTenths = alarmTenths(p.rxAlarmVolt);
    p.extAlarmTenths = alarmTenths(p.extAlarmVolt);
    return parameterFileFor(p);
}

QString saveModelFile(const QString &folder, const QString &typed, const QByteArray &file,
                      const QString &replacing, QString *savedPath)
{
    const QString trouble = modelNameTrouble(typed);
    if (!trouble.isEmpty())
        return trouble;
    const QString name = typed.trimmed();
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder %1 cannot be created.")
            .arg(QDir::toNativeSeparators(folder));
    QString path = replacing;
    if (path.isEmpty()) {
        const std::vector<ModelEntry> models = listModels(folder);
        const ModelEntry *existing = findModel(models, name);
        path = existing ? existing->path : freeModelPath(folder, name);
    }
    // The model file and its name are both written whole before either
    // takes its place: a full disk leaves neither, never a model listed
    // under its file name.
    const bool isNew = !QFileInfo(path).exists() && !QFileInfo(path).isSymLink();
    const QString namePath = nameFilePath(path);
    const bool keepName = nameOfFile(path) != name;
    WholeFileWriter model(path);
    WholeFileWriter nameFile(namePath);
    if (!model.stage(file))
        return notSaved(name, QStringLiteral("its file"), model.errorString(), isNew);
    if (keepName && !nameFile.stage(name.toUtf8()))
        return notSaved(name, QStringLiteral("its name"), nameFile.errorString(), isNew);
    if (!model.commit())
        return notSaved(name, QStringLiteral("its file"), model.errorString(), isNew);
    const bool named =
        keepName ? nameFile.commit() : !QFileInfo::exists(namePath) || QFile::remove(namePath);
    const QString reason = keepName ? nameFile.errorString() : QStringLiteral("it is in the way");
    if (!named && isNew && QFile::remove(path))
        return notSaved(name, QStringLiteral("its name"), reason, true);
    if (savedPath)
        *savedPath = path;
    if (named)
        return QString();
    return QStringLiteral("The model %1 was saved, but its name could not be kept beside its "
                          "file (%2): it is listed as %3.")
        .arg(name, reason, nameOfFile(path));
}

QString renameModelFile(const QString &folder, const QString &path, const QString &typed)
{
    const QString trouble = modelNameTrouble(typed);
    if (!trouble.isEmpty())
        return trouble;
    const QString name = typed.trimmed();
    const std::vector<ModelEntry> models = listModels(folder);
    const auto model = std::find_if(models.begin(), models.end(),
                                    [&](const ModelEntry &m) { return m.path == path; });
    if (model == models.end())
        return QStringLiteral("%1 is no longer in the library.").arg(QFileInfo(path).fileName());
    if (model->undecodable)
        return model->trouble;
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return model->trouble.isEmpty() ? QStringLiteral("%1 is no longer in the library.")
                                              .arg(QFileInfo(path).fileName())
                                        : model->trouble;
    for (const ModelEntry *other : modelsNamed(models, name)) {
        if (other->path != path)
            return QStringLiteral("A model named %1 already exists.").arg(other->name);
    }
    // The file keeps its ending; its name follows the new model name where
    // the file system takes it. The new name file is written whole first and
    // takes its place only once the model file has moved: a rename is done
    // whole or not at all.
    const QFileInfo info(path);
    QString target = path;
    if (model->name.compare(name, Qt::CaseInsensitive) != 0 &&
        info.completeBaseName() != modelFileBase(name))
        target = freeModelPath(folder, name, QLatin1Char('.') + info.suffix(), path);
    const QString oldNamePath = nameFileInUse(path);
    const QString namePath = nameFilePath(target);
    const bool keepName = nameOfFile(target) != name;
    const QString notRenamed = QStringLiteral("%1 was not renamed: %2. Nothing changed.");
    WholeFileWriter nameFile(namePath);
    if (keepName && !nameFile.stage(name.toUtf8()))
        return notRenamed.arg(
            model->name,
            QStringLiteral("its name could not be written (%1)").arg(nameFile.errorString()));
    QFile file(path);
    if (target != path && !file.rename(target))
        return notRenamed.arg(model->name, file.errorString());
    const bool oldNameThere = QFileInfo::exists(oldNamePath);
    if (keepName && !nameFile.commit()) {
        const QString reason = nameFile.errorString();
        if (target == path || QFile::rename(target, path))
            return notRenamed.arg(model->name,
                                  QStringLiteral("its name could not be written (%1)").arg(reason));
        return QStringLiteral("%1 was renamed to %2, but its name could not be written (%3): it "
                              "is listed as %4.")
            .arg(info.fileName(), QFileInfo(target).fileName(), reason, nameOfFile(target));
    }
    if (oldNameThere && !(keepName && oldNamePath == namePath)) {
        QFile old(oldNamePath);
        if (!old.remove() && target == path)
            return notRenamed.arg(
                model->name,
                QStringLiteral("its name file could not be removed (%1)").arg(old.errorString()));
        if (QFileInfo::exists(oldNamePath))
            return QStringLiteral("%1 was renamed, but its old name file %2 could not be "
                                  "removed (%3).")
                .arg(name, QFileInfo(oldNamePath).fileName(), old.errorString());
    }
    return QString();
}

QString deleteModelFile(const QString &folder, const QString &path)
{
    const std::vector<ModelEntry> models = listModels(folder);
    const ModelEntry *model = listedAt(models, path);
    if (model && model->undecodable)
        return model->trouble;
    if (!model || (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()))
        return QStringLiteral("%1 is no longer in the library.").arg(QFileInfo(path).fileName());
    QFile file(path);
    if (!file.remove())
        return QStringLiteral("%1 could not be deleted: %2.")
            .arg(QFileInfo(path).fileName(), file.errorString());
    QFile::remove(nameFileInUse(path));
    return QString();
}

QString resolveModelArgument(const QString &argument, const QString &folder, QString *shownName,
                             QString *trouble)
{
    if (!argument.startsWith(kArgumentPrefix)) {
        *shownName = QFileInfo(argument).fileName();
        return argument;
    }
    const QString name = argument.mid(kArgumentPrefix.size());
    const std::vector<ModelEntry> models = listModels(folder);
    const std::vector<const ModelEntry *> named = modelsNamed(models, name);
    if (named.empty()) {
        *trouble = QStringLiteral("%1: no model of that name in %2")
                       .arg(argument, QDir::toNativeSeparators(folder));
        return QString();
    }
    // Only an unmistakable model is taken: the one whose file is named as
    // asked, or the only one of that name. Otherwise the pilot names the
    // file.
    const ModelEntry *model = named.front();
    const bool sure = nameOfFile(model->path) == name.trimmed() || named.size() == 1 ||
                      (model->name == name.trimmed() && named[1]->name != model->name);
    if (sure && model->undecodable) {
        *trouble = model->trouble;
        return QString();
    }
    if (!sure) {
        QStringList files;
        for (const ModelEntry *m : named)
            files << QDir::toNativeSeparators(m->path);
        *trouble =
            QStringLiteral("%1: %2 models of that name; give one of their files: %3")
                .arg(argument, QString::number(named.size()), files.join(QStringLiteral(", ")));
        return QString();
    }
    *shownName = model->name;
    return model->path;
}

ModelLibrary::ModelLibrary(const QString &folder, QObject *parent) : QObject(parent), dir(folder) {}

QString ModelLibrary::save(const QString &name, const QByteArray &file, const QString &replacing,
                           QString *savedPath)
{
    return changed(saveModelFile(dir, name, file, replacing, savedPath));
}

QString ModelLibrary::rename(const QString &path, const QString &newName)
{
    return changed(renameModelFile(dir, path, newName));
}

QString ModelLibrary::remove(const QString &path)
{
    return changed(deleteModelFile(dir, path));
}

QString ModelLibrary::nameFor(const ParameterSet &settings) const
{
    return recognitionText(recogniseModel(settings, models()));
}

void ModelLibrary::transmitterHolds(const ParameterSet &settings)
{
    held = settings;
    tellHeld();
}

void ModelLibrary::commandFinished(const RunningCommand &finished)
{
    if (finished.kind == CommandKind::Read || finished.kind == CommandKind::Save)
        return;
    // Frames left, but the transmitter was not heard taking them all: it may
    // hold the old settings or the new, so it holds no model the tool knows.
    if (!finished.delivered() && finished.firstFrameAt >= 0) {
        held.reset();
        tellHeld();
        return;
    }
    // What the transmitter took is the frames as they went on the wire.
    const QByteArray file = finished.deliveredFile();
    ParameterSet taken = kStartParameters;
    if (file.isEmpty() || decodeParameterFile(QString::fromLatin1(file), taken).count() != 4)
        return;
    selectDualRate(taken);
    validateParameters(taken);
    transmitterHolds(taken);
}

void ModelLibrary::transmitterGone()
{
    held.reset();
    tellHeld();
}

QString ModelLibrary::changed(const QString &trouble)
{
    emit libraryChanged();
    tellHeld();
    return trouble;
}

void ModelLibrary::tellHeld()
{
    const QString text = held ? nameFor(*held) : QString();
    if (text == heldText)
        return;
    heldText = text;
    emit heldModelChanged(text);
}
