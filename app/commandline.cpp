#include "app/commandline.h"

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

// The verbs that print settings instead of opening the window. Each takes
// its first file as the option's value and any further ones as the
// arguments that follow it.
struct VerbOption {
    const char *name;
    const char *valueName;
    const char *description;
    int moreFiles;
    bool writes; // takes the file it writes with -o
};

const VerbOption kVerbs[] = {
    {"show", "FILE",
     "Print every setting of the parameter file FILE, one line per setting in page order, and "
     "exit.",
     0, false},
    {"diff", "FILE-A",
     "Print the settings that differ between the parameter files FILE-A and FILE-B (the next "
     "argument) and exit: 0 when they agree, 1 when they differ, 2 when a file is trouble.",
     1, false},
    {"sheet", "FILE",
     "Write the settings sheet of the parameter file FILE to the file named by -o: a PDF when "
     "its name ends in .pdf, one HTML page when it ends in .html. Needs no display.",
     0, true},
};

// A verb's mistakes exit like its trouble does.
constexpr int kVerbUsageExit = 2;

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
        const QStringList values = parser.values(verbs[i]);
        const QStringList more = parser.positionalArguments();
        QString mistake;
        if (!options.verb.isEmpty())
            mistake =
                QStringLiteral("--%1 and --%2 cannot be used together.").arg(options.verb, name);
        else if (values.size() != 1 || more.size() != kVerbs[i].moreFiles)
            mistake = QStringLiteral("--%1 takes %2 file%3.")
                          .arg(name)
                          .arg(kVerbs[i].moreFiles + 1)
                          .arg(kVerbs[i].moreFiles > 0 ? QStringLiteral("s") : QString());
        else if (kVerbs[i].writes && parser.values(output).size() != 1)
            mistake = QStringLiteral("--%1 takes one -o OUT to write.").arg(name);
        if (!mistake.isEmpty())
            return refuse(options, mistake);
        options.verb = name;
        options.verbArguments = values + more;
        writes = kVerbs[i].writes;
        if (writes)
            options.verbArguments << parser.value(output);
    }
    if (!writes && parser.isSet(output))
        refuse(options, QStringLiteral("-o names what --sheet writes."));
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
    const QCommandLineOption help = parser.addHelpOption();
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
                           QString::fromLatin1(v.valueName));
        parser.addOption(verbs.back());
    }
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The file --sheet writes."),
                                    QStringLiteral("OUT"));
    parser.addOption(output);

    CommandLineOptions options;
    if (!parser.parse(arguments)) {
        options.exitNow = true;
        options.exitCode = 1;
        options.message = parser.errorText() + QLatin1Char('\n');
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        options.exitNow = true;
        options.message = helpTextOf(parser);
    } else if (parser.isSet(version)) {
        options.exitNow = true;
        options.message = QStringLiteral("vegalyra " VEGALYRA_VERSION "\n");
    }
    options.ports = parser.values(port);
    if (!options.exitNow)
        takeVerb(parser, verbs, output, options);
    return options;
}
