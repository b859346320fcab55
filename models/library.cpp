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
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr int kNameLimit = 100;
// A name file holds one short line; a bigger one is not ours.
constexpr qint64 kNameFileLimit = 1024;

const QString kTxt = QStringLiteral(".txt");
const QString kNameSuffix = QStringLiteral(".name");
const QString kArgumentPrefix = QStringLiteral("model:");

QString nameFilePath(const QString &modelPath)
{
    const QFileInfo info(modelPath);
    return info.dir().filePath(info.completeBaseName() + kNameSuffix);
}

// The name kept beside a model file, if there is a usable one.
QString nameBeside(const QString &modelPath)
{
    QFile file;
    if (!openForReading(file, nameFilePath(modelPath)))
        return QString();
    const QString name = QString::fromUtf8(file.read(kNameFileLimit)).trimmed();
    return modelNameTrouble(name).isEmpty() ? name : QString();
}

// The typed name goes beside the file only when the file name does not
// already say it; a name file left from before goes.
QString keepNameBeside(const QString &modelPath, const QString &name)
{
    const QString namePath = nameFilePath(modelPath);
    if (QFileInfo(modelPath).completeBaseName() != name) {
        const QString trouble = writeWholeFile(namePath, name.toUtf8());
        return trouble.isEmpty() ? QString()
                                 : QStringLiteral("its name could not be kept: ") + trouble;
    }
    if (QFileInfo::exists(namePath) && !QFile::remove(namePath))
        return QStringLiteral("%1 could not be removed").arg(namePath);
    return QString();
}

// A file name in `folder` that nothing has yet, also where the file system
// ignores case: a second "Quad 5?" beside "Quad 5\"" becomes "Quad 5_ (2)".
QString freeModelPath(const QString &folder, const QString &name)
{
    QSet<QString> taken;
    const QDir dir(folder);
    for (const QString &entry :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        taken.insert(entry.toLower());
    const QString base = modelFileBase(name);
    QString candidate = base;
    for (int n = 2; taken.contains((candidate + kTxt).toLower()); ++n)
        candidate = QStringLiteral("%1 (%2)").arg(base).arg(n);
    return dir.filePath(candidate + kTxt);
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
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                        QStringLiteral("AUX"), QStringLiteral("NUL")};
    const QString stem = base.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    if (devices.contains(stem))
        return true;
    return stem.size() == 4 &&
           (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))) &&
           stem.at(3).isDigit();
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
    return base;
}

std::vector<ModelEntry> listModels(const QString &folder)
{
    std::vector<ModelEntry> models;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.txt")}, QDir::Files | QDir::Readable);
    for (const QFileInfo &info : files) {
        ModelEntry entry;
        entry.path = info.filePath();
        entry.name = nameBeside(entry.path);
        if (entry.name.isEmpty())
            entry.name = info.completeBaseName();
        entry.saved = info.lastModified();
        const ParameterFileRead read = readParameterFileAt(entry.path, kStartParameters);
        entry.trouble = parameterFileTrouble(info.fileName(), read);
        entry.settings = read.settings;
        models.push_back(entry);
    }
    std::sort(models.begin(), models.end(), [](const ModelEntry &a, const ModelEntry &b) {
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.path < b.path;
    });
    return models;
}

const ModelEntry *findModel(const std::vector<ModelEntry> &models, const QString &name)
{
    const QString wanted = name.trimmed();
    for (const ModelEntry &m : models) {
        if (m.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &m;
    }
    return nullptr;
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
    return QStringLiteral("like %1 (%2 settings differ)").arg(r->name).arg(r->differences);
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

QString saveModelFile(const QString &folder, const QString &typed, const QByteArray &file)
{
    const QString trouble = modelNameTrouble(typed);
    if (!trouble.isEmpty())
        return trouble;
    const QString name = typed.trimmed();
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder %1 cannot be created.").arg(folder);
    const std::vector<ModelEntry> models = listModels(folder);
    const ModelEntry *existing = findModel(models, name);
    const QString path = existing ? existing->path : freeModelPath(folder, name);
    const QString written = writeWholeFile(path, file);
    if (!written.isEmpty())
        return written;
    return keepNameBeside(path, name);
}

QString renameModelFile(const QString &folder, const QString &oldName, const QString &typed)
{
    const QString trouble = modelNameTrouble(typed);
    if (!trouble.isEmpty())
        return trouble;
    const QString name = typed.trimmed();
    const std::vector<ModelEntry> models = listModels(folder);
    const ModelEntry *model = findModel(models, oldName);
    if (!model)
        return QStringLiteral("There is no model named %1.").arg(oldName);
    const ModelEntry *other = findModel(models, name);
    if (other && other != model)
        return QStringLiteral("A model named %1 already exists.").arg(other->name);
    QString path = model->path;
    if (!other) {
        path = freeModelPath(folder, name);
        if (!QFile::rename(model->path, path))
            return QStringLiteral("%1 could not be renamed.")
                .arg(QFileInfo(model->path).fileName());
        QFile::remove(nameFilePath(model->path));
    }
    return keepNameBeside(path, name);
}

QString deleteModelFile(const QString &folder, const QString &name)
{
    const std::vector<ModelEntry> models = listModels(folder);
    const ModelEntry *model = findModel(models, name);
    if (!model)
        return QStringLiteral("There is no model named %1.").arg(name);
    if (!QFile::remove(model->path))
        return QStringLiteral("%1 could not be deleted.").arg(QFileInfo(model->path).fileName());
    QFile::remove(nameFilePath(model->path));
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
    const ModelEntry *model = findModel(models, name);
    if (!model) {
        *trouble = QStringLiteral("%1: no model of that name in %2")
                       .arg(argument, QDir::toNativeSeparators(folder));
        return QString();
    }
    *shownName = model->name;
    return model->path;
}

ModelLibrary::ModelLibrary(const QString &folder, QObject *parent) : QObject(parent), dir(folder) {}

QString ModelLibrary::save(const QString &name, const QByteArray &file)
{
    return changed(saveModelFile(dir, name, file));
}

QString ModelLibrary::rename(const QString &oldName, const QString &newName)
{
    return changed(renameModelFile(dir, oldName, newName));
}

QString ModelLibrary::remove(const QString &name)
{
    return changed(deleteModelFile(dir, name));
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
