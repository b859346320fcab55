#include "history/history.h"

#include "files/paramfile.h"
#include "link/frames.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr char kTimeFormat[] = "yyyy-MM-ddTHH-mm-ss";

// "2026-12-07T14-05-09_WRITE.txt", a second entry of that second "…_WRITE-2.txt"
const QRegularExpression &entryName()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(\d{4}-\d\d-\d\dT\d\d-\d\d-\d\d)_(READ|WRITE|LOAD|RESET|DATA-RESET)(?:-(\d+))?\.txt$)"));
    return pattern;
}

bool newerFirst(const HistoryEntry &a, const HistoryEntry &b)
{
    return a.time != b.time ? a.time > b.time : a.sequence > b.sequence;
}

// Two files hold the same settings when every setting the frames carry
// decodes alike, whatever the frames' fixed characters.
bool sameSettings(const QByteArray &a, const QByteArray &b)
{
    ParameterSet left = kStartParameters;
    ParameterSet right = kStartParameters;
    const FileFramesAccepted l = decodeParameterFile(QString::fromLatin1(a), left);
    const FileFramesAccepted r = decodeParameterFile(QString::fromLatin1(b), right);
    return l.count() == 4 && r.count() == 4 && sameCarriedSettings(left, right);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(kParameterFileReadLimit);
}

} // namespace

QString historyEventName(HistoryEvent event)
{
    switch (event) {
    case HistoryEvent::Read:
        return QStringLiteral("READ");
    case HistoryEvent::Write:
        return QStringLiteral("WRITE");
    case HistoryEvent::Load:
        return QStringLiteral("LOAD");
    case HistoryEvent::Reset:
        return QStringLiteral("RESET");
    case HistoryEvent::DataReset:
        break;
    }
    return QStringLiteral("DATA-RESET");
}

QString historyFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vegalyra/history");
}

std::vector<HistoryEntry> listHistory(const QString &folder)
{
    std::vector<HistoryEntry> entries;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch m = entryName().match(name);
        if (!m.hasMatch())
            continue;
        const QDateTime time = QDateTime::fromString(m.captured(1), QLatin1String(kTimeFormat));
        if (!time.isValid())
            continue;
        const int sequence = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        entries.push_back({time, sequence, m.captured(2), dir.filePath(name)});
    }
    std::sort(entries.begin(), entries.end(), newerFirst);
    return entries;
}

QString addHistoryEntry(const QString &folder, HistoryEvent event, const QByteArray &file,
                        const QDateTime &now)
{
    std::vector<HistoryEntry> entries = listHistory(folder);
    if (!entries.empty() && sameSettings(contentOf(entries.front().path), file))
        return QString();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(folder);

    // A second entry within the same second, whatever its event, gets the
    // next number, so the names alone keep the order.
    const QDateTime second =
        QDateTime::fromString(now.toString(QLatin1String(kTimeFormat)), QLatin1String(kTimeFormat));
    int sequence = 1;
    for (const HistoryEntry &entry : entries) {
        if (entry.time == second)
            sequence = std::max(sequence, entry.sequence + 1);
    }
    QString path = QDir(folder).filePath(second.toString(QLatin1String(kTimeFormat)) +
                                         QLatin1Char('_') + historyEventName(event));
    path += sequence > 1 ? QStringLiteral("-%1.txt").arg(sequence) : QStringLiteral(".txt");

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size() || !out.commit())
        return out.errorString();

    // Only a full history is listed again, now with the new entry in it.
    if (entries.size() + 1 > std::size_t(kHistoryLimit)) {
        entries = listHistory(folder);
        for (std::size_t i = kHistoryLimit; i < entries.size(); ++i)
            QFile::remove(entries[i].path);
    }
    return QString();
}
