// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandline.h"
#include "link/portchoice.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <optional>
#include <vector>

namespace {

// The help text names the program from the application object; the tool
// has none yet when it parses (a display may not even exist).
QString helpTextOf(const QCommandLineParser &parser)
{
    std::optional<QCoreApplication> core;
    int argc = 1;
    char name[] = "vegalyra";
    char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        core.emplace(argc, argv);
    return parser.helpText();
}

// The verbs that print settings instead of opening the window. A verb
// with a value name takes its first file as the option's value; any
// further files are the arguments that follow.
struct VerbOption {
    const char *name;
    const char *valueName; // nullptr: a verb that takes no value of its own
    const char *description;
    int files;   // how many files it takes in all
    bool writes; // takes the file it writes with -o
    // Not in the help: for the shell's completion, not for the pilot.
    bool hidden = false;
};

const VerbOption kVerbs[] = {
    {"show", "FILE",
     "Print every setting of the parameter file FILE, one line per setting in page order, and "
     "exit. Wherever a FILE is taken, model:NAME names a model of the library.",
     1, false},
    {"diff", "FILE-A",
     "Print the settings that differ between the parameter files FILE-A and FILE-B (the next "
     "argument) and exit: 0 when they agree, 1 when they differ, 2 when a file is trouble.",
     2, false},
    {"history", nullptr,
     "List the entries of the transmitter's settings history, newest first (time, event, file), "
     "and exit.",
     0, false},
    {"models", nullptr,
     "List the models of the model library (name, when last saved, file), one per line, and "
     "exit.",
     0, false},
    // The names alone, one a line: --models pads them into columns, and a
    // name may itself hold two spaces and a date.
    {"model-names", nullptr, "List the names of the library's models, one per line, and exit.", 0,
     false, true},
    {"sheet", "FILE",
     "Write the settings sheet of the parameter file FILE to the file named by -o: a PDF when "
     "its name ends in .pdf, one HTML page when it ends in .html. Needs no display.",
     1, true},
};

// A verb's mistakes exit like its trouble does.
constexpr int kVerbUsageExit = 2;

// A script that runs a verb reads 1 as "the files differ": a mistake in
// its command line must not look like that.
bool namesVerb(const QStringList &arguments)
{
    for (const VerbOption &v : kVerbs) {
        if (arguments.contains(QStringLiteral("--") + QLatin1String(v.name)))
            return true;
    }
    return false;
}

void refuse(CommandLineOptions &options, const QString &mistake)
{
    options.exitNow = true;
    options.exitCode = kVerbUsageExit;
    options.message = mistake + QLatin1Char('\n');
}

void takeVerb(const QCommandLineParser &parser, const std::vector<QCommandLineOption> &verbs,
              const QCommandLineOption &output, CommandLineOptions &options)
{
    bool writes = false;
    for (std::size_t i = 0; i < verbs.size(); ++i) {
        if (!parser.isSet(verbs[i]))
            continue;
        const QString name = QString::fromLatin1(kVerbs[i].name);
        const QStringList files = (kVerbs[i].valueName ? parser.values(verbs[i]) : QStringList()) +
                                  parser.positionalArguments();
        QString mistake;
        if (!options.verb.isEmpty())
            mistake =
                QStringLiteral("--%1 and --%2 cannot be used together.").arg(options.verb, name);
        else if (files.size() != kVerbs[i].files)
            mistake = QStringLiteral("--%1 takes %2 file%3.")
                          .arg(name, QString::number(kVerbs[i].files),
                               kVerbs[i].files == 1 ? QString() : QStringLiteral("s"));
        else if (kVerbs[i].writes && parser.values(output).size() != 1)
            mistake = QStringLiteral("--%1 takes one -o OUT to write.").arg(name);
        if (!mistake.isEmpty())
            return refuse(options, mistake);
        options.verb = name;
        options.verbArguments = files;
        writes = kVerbs[i].writes;
        if (writes)
            options.verbArguments << parser.value(output);
    }
    if (!writes && parser.isSet(output))
        refuse(options, QStringLiteral("-o names what --sheet writes."));
}

// "--" ends the options: what follows is a file, even one whose name
// starts with "-". The parser would take a "--" right after an option that
// wants a value ("--show -- -dash.txt") for that value; the file after it
// is that value.
QStringList withOptionsEnded(const QStringList &arguments, const QStringList &takingValues)
{
    const int end = arguments.indexOf(QStringLiteral("--"));
    if (end < 1 || end + 1 >= arguments.size() || !takingValues.contains(arguments.at(end - 1)))
        return arguments;
    QStringList rearranged = arguments.mid(0, end);
    rearranged << arguments.at(end + 1);
    if (end + 2 < arguments.size())
        rearranged << QStringLiteral("--") << arguments.mid(end + 2);
    return rearranged;
}

// "--show --explain FILE" means FILE explained: --show wants a value and
// would take the switch for the file's name.
QStringList withExplainAfterShow(QStringList arguments)
{
    for (int i = 0; i + 2 < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--show") &&
            arguments.at(i + 1) == QLatin1String("--explain")) {
            arguments.move(i + 1, i + 2);
            break;
        }
    }
    return arguments;
}

} // namespace

CommandLineOptions parseCommandLine(const QStringList &arguments)
{
    QCoreApplication::setApplicationName(QStringLiteral("vegalyra"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VEGALYRA_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("vegalyra"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configuration tool for the VEGA and LYRA radio-control transmitters."));
    // Qt's own help option would describe --help-all as help "including Qt
    // specific options"; the tool takes none of Qt's options (the command
    // line is read before Qt starts), so both print the same.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    const QCommandLineOption helpAll(QStringLiteral("help-all"),
                                     QStringLiteral("Displays the same help as --help."));
    parser.addOptions({help, helpAll});
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Offer the serial device PATH in the port list and select it (for a device "
                       "the system does not list, such as a pseudo-terminal). May be repeated."),
        QStringLiteral("PATH"));
    parser.addOption(port);
    std::vector<QCommandLineOption> verbs;
    for (const VerbOption &v : kVerbs) {
        verbs.emplace_back(QString::fromLatin1(v.name), QString::fromLatin1(v.description),
                           QString::fromLatin1(v.valueName)); // no value name: a plain switch
        if (v.hidden)
            verbs.back().setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(verbs.back());
    }
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The file --sheet writes."),
                                    QStringLiteral("OUT"));
    parser.addOption(output);
    const QCommandLineOption explain(
        QStringLiteral("explain"),
        QStringLiteral("With --show: under each setting, what it does, its range, its factory "
                       "value and the frame it travels in."));
    parser.addOption(explain);

    CommandLineOptions options;
    QStringList takingValues;
    std::vector<QCommandLineOption> all = verbs;
    all.push_back(port);
    all.push_back(output);
    for (const QCommandLineOption &option : all) {
        if (option.valueName().isEmpty())
            continue;
        for (const QString &name : option.names())
            takingValues << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    if (!parser.parse(withExplainAfterShow(withOptionsEnded(arguments, takingValues)))) {
        options.exitNow = true;
        options.exitCode = namesVerb(arguments) ? kVerbUsageExit : 1;
        options.message = parser.errorText() + QLatin1Char('\n');
    } else if (parser.isSet(help) || parser.isSet(helpAll)) {
        options.exitNow = true;
        options.message = helpTextOf(parser);
    } else if (parser.isSet(version)) {
        options.exitNow = true;
        options.message =
            QStringLiteral("vegalyra " VEGALYRA_VERSION "\n"
                           "Copyright (C) 2026 VEGA & LYRA tool maintainers\n"
                           "License GPL-3.0-or-later: GNU GPL version 3 or later "
                           "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
                           "This is free software: you are free to change and redistribute it.\n"
                           "There is NO WARRANTY, to the extent permitted by law.\n");
    }
    for (const QString &name : parser.values(port))
        options.ports << portNameGiven(name);
    if (!options.exitNow)
        takeVerb(parser, verbs, output, options);
    if (!options.exitNow && parser.isSet(explain)) {
        if (options.verb == QLatin1String("show"))
            options.explain = true;
        else
            refuse(options, QStringLiteral("--explain goes with --show."));
    }
    return options;
}
