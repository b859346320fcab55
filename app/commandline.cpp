#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <optional>

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
    return options;
}
