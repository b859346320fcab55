// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// --show and --diff as the pilot runs them: the built program in a
// process of its own, no display, its exit status and the lines it prints.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "files/paramfile.h"
#include "link/frames.h"
#include "models/library.h"
#include "settings/catalogue.h"

namespace {

ParameterSet withTxAlarm(ParameterSet p, int tenths)
{
    p.txAlarmTenths = tenths;
    p.txAlarmVolt = tenths / 10.0;
    return p;
}

QStringList linesOf(const QByteArray &bytes)
{
    // On Windows the program's text output ends its lines with CR LF.
    return QString::fromUtf8(bytes).split(QRegularExpression(QStringLiteral("\r?\n")),
                                          Qt::SkipEmptyParts);
}

} // namespace

class TestVerbs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void verbs_data();
    void verbs();

private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
};

void TestVerbs::initTestCase()
{
    QVERIFY(dir.isValid());
    const ParameterSet a = withTxAlarm(kStartParameters, 72);
    ParameterSet oneChanged = a;
    oneChanged.subTrim[1] = -20;
    ParameterSet pages = a;
    pages.reverse[2] = 0;
    pages.progMix[1].up = 30;
    pages = withTxAlarm(pages, 85);
    pages.stickTrim[3] = 100;
    QByteArray badH = parameterFileFor(a);
    badH[3 * kFrameLength - 1] = 'Q'; // frame H loses its end letter

    const QList<QPair<QString, QByteArray>> files = {{"a", parameterFileFor(a)},
                                                     {"a-copy", parameterFileFor(a)},
                                                     {"one", parameterFileFor(oneChanged)},
                                                     {"pages", parameterFileFor(pages)},
                                                     {"bad-h", badH},
                                                     {"short", parameterFileFor(a).left(200)},
                                                     {"-dash", parameterFileFor(a)}};
    for (const auto &f : files) {
        QFile file(path(f.first));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(f.second);
    }
    // The program's library lives in the test's own data folder.
    const QString models = path("data/vegalyra/models");
    QVERIFY(saveModelFile(models, "Cub 1.2 m", parameterFileFor(a)).isEmpty());
    QVERIFY(saveModelFile(models, "Quad 5\"", parameterFileFor(oneChanged)).isEmpty());
    // The console, the clock and the ports are devices on Windows: such a
    // model saves under another file name there (this test also runs under Wine).
    for (const char *device : {"CON", "CONIN$", "conout$", "CLOCK$", "COM1"})
        QVERIFY2(saveModelFile(path("devices"), device, parameterFileFor(a)).isEmpty(), device);
}

void TestVerbs::verbs_data()
{
    QTest::addColumn<QStringList>("arguments"); // file names inside the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out"); // exactly these lines, or with `every` among all
    QTest::addColumn<bool>("every");      // one line per setting of the catalogue
    QTest::addColumn<QString>("err");     // what the one line of trouble says

    QTest::newRow("show") << QStringList{"--show", "a"} << 0
                          << QStringList{"BASIC / CH3 / REVERSE: REV",
                                         "SYSTEM / ALARM / TX-Alarm: 7.2"}
                          << true << QString();
    QTest::newRow("show, explained")
        << QStringList{"--show", "a", "--explain"} << 0
        << QStringList{"BASIC / CH3 / REVERSE: REV",
                       "    Reverses the direction this channel's servo moves: NOR normal, REV "
                       "reversed. Set it so that the control surface moves the way the stick does. "
                       "Choices: NOR, REV. Factory value REV. Travels in frame S.",
                       "SYSTEM / ALARM / TX-Alarm: 7.2"}
        << true << QString();
    QTest::newRow("show, explained, the switch first")
        << QStringList{"--show", "--explain", "a"} << 0
        << QStringList{"SYSTEM / ALARM / TX-Alarm: 7.2"} << true << QString();
    QTest::newRow("explain without show")
        << QStringList{"--diff", "a", "a-copy", "--explain"} << 2 << QStringList() << false
        << "--explain goes with --show.";
    QTest::newRow("same settings")
        << QStringList{"--diff", "a", "a-copy"} << 0 << QStringList() << false << QString();
    QTest::newRow("one setting") << QStringList{"--diff", "a", "one"} << 1
                                 << QStringList{"BASIC / CH2 / SUB-TRIM: 0 -> -20"} << false
                                 << QString();
    QTest::newRow("several pages")
        << QStringList{"--diff", "a", "pages"} << 1
        << QStringList{"BASIC / CH3 / REVERSE: REV -> NOR", "PROG.MIX / MIX2 / UP: 0 -> 30",
                       "SYSTEM / ALARM / TX-Alarm: 7.2 -> 8.5",
                       "SYSTEM / TX TRIM4 / POSITION: (0) -> (-20)"}
        << false << QString();
    QTest::newRow("unreadable") << QStringList{"--diff", "a", "missing"} << 2 << QStringList()
                                << false << "missing: cannot be read";
    QTest::newRow("bad frame") << QStringList{"--show", "bad-h"} << 2 << QStringList() << false
                               << "bad-h: frame H is not valid";
    QTest::newRow("too short") << QStringList{"--diff", "short", "a"} << 2 << QStringList() << false
                               << "short: frames H and I are not valid";
#ifdef Q_OS_UNIX
    // The library is the test's own only where XDG_DATA_HOME counts.
    QTest::newRow("models") << QStringList{"--models"} << 0
                            << QStringList{"Cub 1.2 m  */data/vegalyra/models/Cub 1.2 m.txt",
                                           "Quad 5\"    */data/vegalyra/models/Quad 5_.txt"}
                            << false << QString();
    QTest::newRow("empty library: models")
        << QStringList{"--models"} << 0 << QStringList{"No models in *empty/vegalyra/models"}
        << false << QString();
    QTest::newRow("model by name")
        << QStringList{"--diff", "model:quad 5\"", "a"} << 1
        << QStringList{"BASIC / CH2 / SUB-TRIM: -20 -> 0"} << false << QString();
    QTest::newRow("model beside a file") << QStringList{"--diff", "a", "model:Cub 1.2 m"} << 0
                                         << QStringList() << false << QString();
#endif
    QTest::newRow("no such model") << QStringList{"--show", "model:Glider"} << 2 << QStringList()
                                   << false << "model:Glider: no model of that name";
    QTest::newRow("one file for diff")
        << QStringList{"--diff", "a"} << 2 << QStringList() << false << "--diff takes 2 files";
    QTest::newRow("-- ends the options")
        << QStringList{"--show", "--", "-dash"} << 0 << QStringList() << true << QString();
    QTest::newRow("a folder") << QStringList{"--show", "."} << 2 << QStringList() << false
                              << ".: cannot be read: it is a folder";
#ifdef Q_OS_UNIX
    // The history folder is the test's own only where XDG_DATA_HOME counts.
    QTest::newRow("no history yet")
        << QStringList{"--history"} << 0 << QStringList() << false << "No settings history yet";
    // Through the shell: bytes that are not UTF-8 in a name, and standard
    // output redirected where nothing can be written.
    QTest::newRow("name not UTF-8")
        << QStringList{"sh",
                       R"(f=$(printf 'b\377.txt'); cp a "$f" && "$P" --show "$f"; s=$?; rm "$f"; exit $s)"}
        << 0 << QStringList() << true << QString();
    // Names as typed, "%1" in them too; a name ending in a space (a file
    // copied in by hand) is reached by the name it is listed with, and the
    // completion's list holds only real names.
    QTest::newRow("%1 in two models' names")
        << QStringList{"sh", R"(d=$XDG_DATA_HOME/vegalyra/models; cp a "$d/AB%1.txt"
            cp a "$d/ab%1.txt"; "$P" --show 'model:Ab%1'; s=$?; rm "$d"/*%1.txt; exit $s)"}
        << 2 << QStringList() << false
        << "model:Ab%1: 2 models of that name; give one of their files: ";
    QTest::newRow("names for the completion")
        << QStringList{"sh", R"(d=$XDG_DATA_HOME/vegalyra/models; cp a "$d/trail .txt"
            cp a "$d/a  2026-01-01 00:00  b.txt"; n=$(printf 'new\nline.txt'); cp a "$d/$n"
            "$P" --show model:trail >/dev/null && "$P" --model-names; s=$?
            rm "$d/trail .txt" "$d/a  2026-01-01 00:00  b.txt" "$d/$n"; exit $s)"}
        << 0 << QStringList{"a  2026-01-01 00:00  b", "Cub 1.2 m", "Quad 5\"", "trail"} << false
        << QString();
    QTest::newRow("output to a full disk")
        << QStringList{"sh", R"(exec "$P" --show a > /dev/full)"} << 2 << QStringList() << false
        << "Standard output cannot be written (No space left on device)";
    QTest::newRow("output closed") << QStringList{"sh", R"(exec "$P" --show a >&-)"} << 2
                                   << QStringList() << false << "Standard output cannot be written";
#endif
#if defined(Q_OS_UNIX) && defined(VEGALYRA_MANPAGE)
    // The manual page names every option --help lists and no other; any
    // difference goes to standard error.
    QTest::newRow("manual page and --help")
        << QStringList{"sh",
                       R"("$P" --help | sed -n '/^  -/{s/^  //;s/  .*//;s/ <[^>]*>//g;s/,//g;p;}' |
                tr ' ' '\n' | sort -u >help-options
            sed -n '/^\.TP/{n;p;}' "$M" | grep -o '^\.B[IR]* \\-.*' |
                grep -o '\\-\(\\-\)\{0,1\}[a-z][a-z\\-]*' | sed 's/\\//g' | sort -u >page-options
            diff help-options page-options >&2 || true)"}
        << 0 << QStringList() << false << QString();
#endif
}

void TestVerbs::verbs()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(bool, every);
    QFETCH(QString, err);

    QProcess program;
    // No display: the verbs must not need one. The files are named as a
    // pilot in their folder names them; the history folder is empty.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Rows named "empty library…" run with a data folder that holds no models.
    const bool empty = QString(QTest::currentDataTag()).startsWith("empty library");
    environment.insert("XDG_DATA_HOME", path(empty ? "empty" : "data"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("P"), QStringLiteral(VEGALYRA_PROGRAM));
#ifdef VEGALYRA_MANPAGE
    environment.insert(QStringLiteral("M"), QStringLiteral(VEGALYRA_MANPAGE));
#endif
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(dir.path());
    if (arguments.first() == QLatin1String("sh"))
        program.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), arguments.at(1)});
    else
        program.start(QStringLiteral(VEGALYRA_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(20000));

    const QStringList outLines = linesOf(program.readAllStandardOutput());
    const QStringList errLines = linesOf(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    if (every) {
        // --explain adds a help line under each setting.
        const int perSetting = arguments.contains(QStringLiteral("--explain")) ? 2 : 1;
        QCOMPARE(outLines.size(), int(settingsCatalogue().size()) * perSetting);
        for (const QString &line : out)
            QVERIFY2(outLines.contains(line), qPrintable(line));
    } else {
        // "*" stands for the time a line shows and the folder of the test.
        QCOMPARE(outLines.size(), out.size());
        for (int i = 0; i < out.size(); ++i) {
            const QRegularExpression line(QRegularExpression::anchoredPattern(
                QRegularExpression::escape(out[i]).replace(QStringLiteral("\\*"), ".*")));
            QVERIFY2(line.match(QDir::fromNativeSeparators(outLines[i])).hasMatch(),
                     qPrintable(outLines[i]));
        }
    }
    if (err.isEmpty()) {
        QCOMPARE(errLines, QStringList());
    } else {
        QCOMPARE(errLines.size(), 1);
        QVERIFY2(errLines.first().contains(err), qPrintable(errLines.first()));
    }
}

QTEST_GUILESS_MAIN(TestVerbs)
#include "tst_verbs.moc"
