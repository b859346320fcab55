// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/verbs.h"

#include "app/console.h"
#include "files/filewriter.h"
#include "files/paramfileread.h"
#include "history/history.h"
#include "models/library.h"
#include "settings/catalogue.h"
#include "settings/help.h"
#include "settings/sheet.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A file whose frames LOAD would skip in part would show or compare half
// of a model's settings and the start values for the rest: that misleads,
// so such a file is trouble as a whole.
// `argument` is a file or `model:NAME`; `shown` gets the name the pilot
// knows it by.
bool readWhole(const QString &argument, ParameterSet &settings, QTextStream &err,
               QString *shown = nullptr)
{
    QString name, missing;
    const QString path = resolveModelArgument(argument, modelsFolder(), &name, &missing);
    if (path.isEmpty()) {
        err << missing << '\n';
        return false;
    }
    if (shown)
        *shown = name;
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

// The verbs run in a terminal, a script, over ssh or from cron; the sheet
// needs fonts and a paint device, never a window. A display named in the
// environment may not even be there (a forwarded one that is gone), and
// connecting to it would abort: Qt's offscreen platform is used always.
void chooseHeadlessPlatform()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
}

// Paper as the pilot's country has it: Letter where letters are, else A4.
QPageSize paperSize()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                : QPageSize::A4);
}

// The platform's own warnings (a runtime folder it had to choose, say) are
// not the pilot's business: standard error carries the verb's one line of
// trouble and nothing else.
void dropPlatformWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtWarningMsg)
        dropTraceLines(type, context, text);
}

// The PDF is painted into memory and written as a whole, like every file
// the tool writes.
QByteArray pdfBytes(const Sheet &sheet)
{
    chooseHeadlessPlatform();
    const QtMessageHandler previous = qInstallMessageHandler(dropPlatformWarnings);
    int argc = 1;
    char name[] = "vegalyra";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(sheet.title);
        pdf.setCreator(QStringLiteral("vegalyra"));
        pdf.setPageSize(paperSize());
        paintSheet(sheet, pdf);
    }
    qInstallMessageHandler(previous);
    return buffer.data();
}

// The same file by another name (a link, "./x" for "x").
bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo left(a), right(b);
    return left.exists() && right.exists() && left.canonicalFilePath() == right.canonicalFilePath();
}

} // namespace

int runShow(const QString &path, QTextStream &out, QTextStream &err, bool explain)
{
    ParameterSet settings{};
    if (!readWhole(path, settings, err))
        return 2;
    for (const SettingRow &row : settingsCatalogue()) {
        out << settingTitle(row) << ": " << settingValueText(row, settings) << '\n';
        if (explain)
            out << "    " << settingHelpLine(row) << '\n';
    }
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

int runHistory(const QString &folder, QTextStream &out, QTextStream &err)
{
    const std::vector<HistoryEntry> entries = listHistory(folder);
    if (entries.empty())
        err << "No settings history yet (" << QDir::toNativeSeparators(folder) << ")\n";
    for (const HistoryEntry &entry : entries) {
        out << entry.time.toString(Qt::ISODate) << "  " << entry.event.leftJustified(10) << "  "
            << QDir::toNativeSeparators(entry.path) << '\n';
    }
    return 0;
}

int runModels(const QString &folder, QTextStream &out)
{
    const std::vector<ModelEntry> models = listModels(folder);
    if (models.empty()) {
        out << "No models in " << QDir::toNativeSeparators(folder) << '\n';
        return 0;
    }
    int width = 0;
    for (const ModelEntry &model : models)
        width = std::max(width, int(model.name.size()));
    for (const ModelEntry &model : models) {
        out << model.name.leftJustified(width) << "  "
            << model.saved.toString(QStringLiteral("yyyy-MM-dd HH:mm")) << "  "
            << QDir::toNativeSeparators(model.path)
            << (model.readable() ? QString() : QStringLiteral("  (not readable)")) << '\n';
    }
    return 0;
}

int runModelNames(const QString &folder, QTextStream &out)
{
    for (const ModelEntry &model : listModels(folder)) {
        // A model whose file name is not text is reached by no name; one
        // whose name holds a line break would read as two names here.
        if (!model.undecodable && !model.name.contains(QLatin1Char('\n')) &&
            !model.name.contains(QLatin1Char('\r')))
            out << model.name << '\n';
    }
    return 0;
}

int runSheet(const QString &path, const QString &outPath, QTextStream &err)
{
    const QString suffix = QFileInfo(outPath).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("html")) {
        err << outPath << ": name a file ending in .pdf or .html\n";
        return 2;
    }
    if (sameFile(path, outPath)) {
        err << outPath << ": is the file the sheet is made from\n";
        return 2;
    }
    ParameterSet settings{};
    QString title;
    if (!readWhole(path, settings, err, &title))
        return 2;
    const Sheet sheet = buildSheet(settings, title, std::nullopt);
    const QByteArray content =
        suffix == QLatin1String("pdf") ? pdfBytes(sheet) : sheetHtml(sheet).toUtf8();
    const QString trouble = writeWholeFile(outPath, content);
    if (!trouble.isEmpty()) {
        err << outPath << ": cannot be written (" << trouble << ")\n";
        return 2;
    }
    return 0;
}

namespace {

// A verb started with its standard output closed would have its first file
// opened in that place, and its lines written into it. The place is held
// by the null device, and the verbs that print report that they cannot.
bool standardOutputClosed()
{
#ifdef Q_OS_UNIX
    if (::fcntl(STDOUT_FILENO, F_GETFD) != -1 || errno != EBADF)
        return false;
    const int placeholder = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (placeholder >= 0 && placeholder != STDOUT_FILENO)
        ::close(placeholder);
    return true;
#else
    return false;
#endif
}

} // namespace

int runVerb(const QString &verb, const QStringList &arguments, bool explain)
{
    if (standardOutputClosed() && verb != QLatin1String("sheet")) {
        std::fputs("Standard output cannot be written (it is closed)\n", stderr);
        return 2;
    }
    const QtMessageHandler previous = qInstallMessageHandler(dropTraceLines);
    // Gathered, then written as the console takes text (app/console.h).
    QString outText, errText;
    QTextStream out(&outText);
    QTextStream err(&errText);
    int status = 2;
    if (verb == QLatin1String("show") && arguments.size() == 1)
        status = runShow(arguments.at(0), out, err, explain);
    else if (verb == QLatin1String("diff") && arguments.size() == 2)
        status = runDiff(arguments.at(0), arguments.at(1), out, err);
    else if (verb == QLatin1String("history") && arguments.isEmpty())
        status = runHistory(historyFolder(), out, err);
    else if (verb == QLatin1String("models") && arguments.isEmpty())
        status = runModels(modelsFolder(), out);
    else if (verb == QLatin1String("model-names") && arguments.isEmpty())
        status = runModelNames(modelsFolder(), out);
    else if (verb == QLatin1String("sheet") && arguments.size() == 2)
        status = runSheet(arguments.at(0), arguments.at(1), err);
    out.flush();
    writeText(stdout, outText);
    // Lines that never reached their reader (a full disk, a closed pipe, no
    // standard output at all) are a failure, not a result.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        err << "Standard output cannot be written (" << qt_error_string(errno) << ")\n";
        status = 2;
    }
    err.flush();
    writeText(stderr, errText);
    qInstallMessageHandler(previous);
    return status;
}
