// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vegalyra-emulator: a VEGA/LYRA transmitter on a pseudo-terminal, for trying
// the tool (and testing it end to end) without the hardware on the desk.
#include "emulator/pty.h"
#include "emulator/record.h"
#include "emulator/transmitter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

extern "C" void onStopSignal(int signal)
{
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// Ctrl-C, a kill or a closed terminal end the event loop like --seconds
// does, so the record is saved and the symlink removed on every way out.
void stopOnSignals(QCoreApplication &app)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        app.quit();
    });
    struct sigaction action {
    };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    // A log read through a pipe that closes (| head) must not end the run
    // before the record is saved.
    std::signal(SIGPIPE, SIG_IGN);
}

void say(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

void complain(const QString &line)
{
    std::fputs(qPrintable(QStringLiteral("vegalyra-emulator: ") + line + QLatin1Char('\n')),
               stderr);
}

struct Options {
    QString link, load, save;
    int seconds = 0; // 0: until stopped
};

bool parseOptions(const QCoreApplication &app, Options &options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a VEGA/LYRA transmitter on a pseudo-terminal. Start the tool with\n"
                       "vegalyra --port DEVICE, with the device path printed on the first line."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Also make the device reachable as PATH (a "
                                                 "symlink, removed again on exit)."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption load(
        QStringLiteral("load"),
        QStringLiteral(
            "Start with the settings of a parameter file instead of the factory values."),
        QStringLiteral("FILE"));
    const QCommandLineOption save(
        QStringLiteral("save"),
        QStringLiteral("Write the settings as a parameter file to FILE on exit."),
        QStringLiteral("FILE"));
    const QCommandLineOption seconds(QStringLiteral("seconds"),
                                     QStringLiteral("Stop by itself after N seconds."),
                                     QStringLiteral("N"));
    parser.addOptions({link, load, save, seconds});
    parser.process(app); // exits on --help, --version and unknown options
    options.link = parser.value(link);
    options.load = parser.value(load);
    options.save = parser.value(save);
    if (parser.isSet(seconds)) {
        bool ok = false;
        options.seconds = parser.value(seconds).toInt(&ok);
        if (!ok || options.seconds <= 0 || options.seconds > 24 * 3600) {
            complain(QStringLiteral("--seconds needs a whole number from 1 to 86400"));
            return false;
        }
    }
    if (!parser.positionalArguments().isEmpty()) {
        complain(
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vegalyra-emulator"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VEGALYRA_VERSION));
    Options options;
    if (!parseOptions(app, options))
        return 2;

    ParameterSet record = factoryRecord();
    if (!options.load.isEmpty()) {
        const QString error = loadRecord(options.load, record);
        if (!error.isEmpty()) {
            complain(error);
            return 1;
        }
    }

    if (!options.save.isEmpty()) {
        const QString error = checkSaveTarget(options.save);
        if (!error.isEmpty()) {
            complain(error);
            return 1;
        }
    }

    PtyPair pty = openRawPty();
    if (!pty.error.isEmpty()) {
        complain(QStringLiteral("cannot open a pseudo-terminal: %1").arg(pty.error));
        return 1;
    }
    if (!options.link.isEmpty()) {
        const QString error = createDeviceLink(options.link, pty.devicePath);
        if (!error.isEmpty()) {
            complain(error);
            closePty(pty);
            return 1;
        }
    }
    stopOnSignals(app);

    say(QStringLiteral("Transmitter ready on %1").arg(pty.devicePath));
    if (!options.link.isEmpty())
        say(QStringLiteral("also reachable as %1").arg(options.link));
    say(QStringLiteral("start the tool with: vegalyra --port %1")
            .arg(options.link.isEmpty() ? pty.devicePath : options.link));

    EmulatedTransmitter transmitter(pty.master, pty.slave, record);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&transmitter, &EmulatedTransmitter::logLine, [&clock](const QString &line) {
        say(QStringLiteral("%1 %2").arg(clock.elapsed() / 1000.0, 8, 'f', 3).arg(line));
    });
    if (options.seconds > 0)
        QTimer::singleShot(options.seconds * 1000, &app, &QCoreApplication::quit);

    app.exec();

    int status = 0;
    if (!options.save.isEmpty()) {
        const QString error = saveRecord(options.save, transmitter.record());
        if (error.isEmpty()) {
            say(QStringLiteral("settings saved to %1").arg(options.save));
        } else {
            complain(error);
            status = 1;
        }
    }
    if (!options.link.isEmpty())
        removeDeviceLink(options.link, pty.devicePath);
    closePty(pty);
    const EmulatedTransmitter::Counts &c = transmitter.counts();
    say(QStringLiteral("stopped: %1 commands, %2 frames stored, %3 frames sent (%4 of them not "
                       "read in time), %5 unknown bytes, %6 incomplete frames or commands dropped")
            .arg(c.commands)
            .arg(c.framesStored)
            .arg(c.framesSent)
            .arg(c.framesUnheard)
            .arg(c.unknownBytes)
            .arg(c.partialsDropped));
    return status;
}
