// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/history.h"

#include "files/filewriter.h"
#include "files/paramfile.h"
#include "files/paramfileread.h"
#include "link/frames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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
bool sameSettings(const QString &a, const QByteArray &b)
{
    ParameterSet left = kStartParameters;
    ParameterSet right = kStartParameters;
    const FileFramesAccepted l = decodeParameterFile(a, left);
    const FileFramesAccepted r = decodeParameterFile(QString::fromLatin1(b), right);
    return l.count() == 4 && r.count() == 4 && sameCarriedSettings(left, right);
}

// Read as LOAD reads a file: without blocking and only so far, so an entry
// name that leads to a pipe or a device cannot hang the window.
QString contentOf(const QString &path)
{
    QFile file;
    if (!openForReading(file, path))
        return QString();
    return readParameterFileText(file);
}

// The entry written last. A clock that was once ahead leaves entries whose
// names lie in the future; the file times say which was really written
// last. Equal times go by name.
const HistoryEntry *lastWritten(const std::vector<HistoryEntry> &newestFirst)
{
    const HistoryEntry *last = nullptr;
    for (const HistoryEntry &entry : newestFirst) {
        if (!last || entry.written > last->written)
            last = &entry;
    }
    return last;
}

QString entryPath(const QString &folder, const QDateTime &second, HistoryEvent event, int sequence)
{
    QString name =
        second.toString(QLatin1String(kTimeFormat)) + QLatin1Char('_') + historyEventName(event);
    name += sequence > 1 ? QStringLiteral("-%1.txt").arg(sequence) : QStringLiteral(".txt");
    return QDir(folder).filePath(name);
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
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files)) {
        const QString name = info.fileName();
        const QRegularExpressionMatch m = entryName().match(name);
        // Only regular files are entries: a name that leads to a pipe or a
        // device is never opened.
        if (!m.hasMatch() || !info.isFile())
            continue;
        const QDateTime time = QDateTime::fromString(m.captured(1), QLatin1String(kTimeFormat));
        if (!time.isValid())
            continue;
        const int sequence = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        entries.push_back({time, sequence, m.captured(2), dir.filePath(name), info.lastModified()});
    }
    std::sort(entries.begin(), entries.end(), newerFirst);
    return entries;
}

QString historyEntryTitle(const HistoryEntry &entry)
{
    QString title =
        entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char(' ') + entry.event;
    if (entry.sequence > 1)
        title += QStringLiteral(" (%1)").arg(entry.sequence);
    return title;
}

QString addHistoryEntry(const QString &folder, HistoryEvent event, const QByteArray &file,
                        const QDateTime &now)
{
    std::vector<HistoryEntry> entries = listHistory(folder);
    if (const HistoryEntry *last = lastWritten(entries)) {
        if (sameSettings(contentOf(last->path), file))
            return QString();
    }
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(folder));

    // A second entry within the same second, whatever its event, gets the
    // next number, so the names alone keep the order. Another copy of the
    // tool may take a name between the listing and the write: the entry
    // never replaces one, it takes the next number.
    const QDateTime second =
        QDateTime::fromString(now.toString(QLatin1String(kTimeFormat)), QLatin1String(kTimeFormat));
    int sequence = 1;
    for (const HistoryEntry &entry : entries) {
        if (entry.time == second)
            sequence = std::max(sequence, entry.sequence + 1);
    }
    QString path;
    for (int attempt = 0;; ++attempt, ++sequence) {
        path = entryPath(folder, second, event, sequence);
        WholeFileWriter out(path, FileCommit::CreateOnly);
        if (out.commit(file))
            break;
        if (!out.nameTaken() || attempt >= kHistoryLimit)
            return out.errorString();
    }

    // Only a full history is listed again, now with the new entry in it.
    // The entry just written stays whatever its name says. Entries named
    // after now (a clock that was once ahead) go first, the farthest
    // first, or they would outlive every real entry; then the oldest by
    // name.
    if (entries.size() + 1 > std::size_t(kHistoryLimit)) {
        entries = listHistory(folder);
        const auto ahead =
            std::stable_partition(entries.begin(), entries.end(),
                                  [&](const HistoryEntry &entry) { return entry.time <= second; });
        std::reverse(ahead, entries.end()); // nearest first among those ahead
        std::size_t kept = 1;               // the new entry
        for (const HistoryEntry &entry : entries) {
            if (entry.path == path)
                continue;
            if (kept < std::size_t(kHistoryLimit))
                ++kept;
            else
                QFile::remove(entry.path);
        }
    }
    return QString();
}
