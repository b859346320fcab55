#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "app/verbs.h"
#include "files/paramfileread.h"
#include "link/portlist.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    ignoreFileSizeSignal();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileNameFromLocal(argv[i]); // file names need not be valid text
    const CommandLineOptions options = parseCommandLine(arguments);
    if (options.exitNow) {
        std::fputs(options.message.toLocal8Bit().constData(),
                   options.exitCode == 0 ? stdout : stderr);
        return options.exitCode;
    }
    if (!options.verb.isEmpty())
        return runVerb(options.verb, options.verbArguments);

    // On a 150 % or 200 % display the fixed form scales as a whole instead
    // of staying small, and the icons come from their large pixmaps. Both
    // must be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    // 150 % stays 150 %: rounded up to 200 % the window would not fit a
    // 1920 x 1080 screen.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    // Lets the desktop pair the window with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vegalyra"));
    setExtraPortNames(options.ports);
    MainWindow window;
    if (!options.ports.isEmpty())
        window.selectPort(options.ports.first());
    window.show();
    return app.exec();
}
