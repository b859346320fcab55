#include "app/verbs.h"

#include "files/paramfileread.h"
#include "history/history.h"
#include "settings/catalogue.h"

#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace {

// A file whose frames LOAD would skip in part would show or compare half
// of a model's settings and the start values for the rest: that misleads,
// so such a file is trouble as a whole.
bool readWhole(const QString &path, ParameterSet &settings, QTextStream &err)
{
    const ParameterFileRead read = readParameterFileAt(path, kStartParameters);
    const QString trouble = parameterFileTrouble(path, read);
    if (!trouble.isEmpty()) {
        err << trouble << '\n';
        return false;
    }
    settings = read.settings;
    return true;
}

// Trace lines go to the debug channel, which a verb keeps closed: its
// standard error carries one line of trouble at most.
void dropTraceLines(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    std::fputs(qPrintable(qFormatLogMessage(type, context, text) + QLatin1Char('\n')), stderr);
}

} // namespace

int runShow(const QString &path, QTextStream &out, QTextStream &err)
{
    ParameterSet settings{};
    if (!readWhole(path, settings, err))
        return 2;
    for (const SettingRow &row : settingsCatalogue())
        out << settingTitle(row) << ": " << settingValueText(row, settings) << '\n';
    return 0;
}

int runDiff(const QString &pathA, const QString &pathB, QTextStream &out, QTextStream &err)
{
    ParameterSet a{}, b{};
    if (!readWhole(pathA, a, err) || !readWhole(pathB, b, err))
        return 2;
    const std::vector<SettingDifference> differences = compareSettings(a, b);
    for (const SettingDifference &d : differences)
        out << settingTitle(*d.row) << ": " << d.before << " -> " << d.after << '\n';
    return differences.empty() ? 0 : 1;
}

int runHistory(const QString &folder, QTextStream &out)
{
    for (const HistoryEntry &entry : listHistory(folder)) {
        out << entry.time.toString(Qt::ISODate) << "  " << entry.event.leftJustified(10) << "  "
            << QDir::toNativeSeparators(entry.path) << '\n';
    }
    return 0;
}

int runVerb(const QString &verb, const QStringList &arguments)
{
    const QtMessageHandler previous = qInstallMessageHandler(dropTraceLines);
    QTextStream out(stdout);
    QTextStream err(stderr);
    int status = 2;
    if (verb == QLatin1String("show") && arguments.size() == 1)
        status = runShow(arguments.at(0), out, err);
    else if (verb == QLatin1String("diff") && arguments.size() == 2)
        status = runDiff(arguments.at(0), arguments.at(1), out, err);
    else if (verb == QLatin1String("history") && arguments.isEmpty())
        status = runHistory(historyFolder(), out);
    out.flush();
    err.flush();
    qInstallMessageHandler(previous);
    return status;
}
