// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// --sheet as the pilot runs it: the built program without a display, a PDF
// read back with pdftotext and an HTML page read as text. Every setting's
// name and the values the pilot changed must be on the sheet.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

#include "files/paramfile.h"
#include "link/frames.h"
#include "models/library.h"
#include "settings/catalogue.h"
#include "settings/sheet.h"

Q_DECLARE_METATYPE(ParameterSet)

namespace {

// A model changed on every page, each value one no other setting shows.
ParameterSet changedOnEveryPage()
{
    ParameterSet p = kStartParameters;
    p.subTrim[1] = -37;
    p.auxSource[6] = 5;
    p.elevon[2] = -73;
    p.drRate[1][2] = 61;
    p.drExpo[1][2] = -43;
    p.throttleCurve[3] = 58;
    p.progMix[2].offset = -19;
    p.rxAlarmTenths = 53;
    p.rxAlarmVolt = 5.3;
    p.stickTrim[0] = 97;
    return p;
}

const QStringList kChangedValues = {"-37", "Lock-C", "-73", "CH3 DOWN: RATE 61, EXP -43",
                                    "58",  "-19",    "5.3", "(-23)"};

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What a reader of the sheet sees, one space between words.
QString sheetText(const QString &out)
{
    QString text;
    if (out.endsWith(QLatin1String(".pdf"))) {
        text = run(QStringLiteral("pdftotext"), {out, QStringLiteral("-")});
    } else {
        QFile file(out);
        file.open(QIODevice::ReadOnly);
        text = QString::fromUtf8(file.readAll());
        // The charts' scale numbers are not values of settings.
        text.remove(QRegularExpression(QStringLiteral("<style>.*</style>|<svg.*?</svg>")));
        text.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral(" "));
    }
    return text.simplified();
}

} // namespace

class TestSheet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sheet_data();
    void sheet();
    void shape_data();
    void shape();

private:
    QTemporaryDir dir;
};

void TestSheet::initTestCase()
{
    QVERIFY(dir.isValid());
    QFile changed(dir.filePath(QStringLiteral("changed.txt")));
    QVERIFY(changed.open(QIODevice::WriteOnly));
    changed.write(parameterFileFor(changedOnEveryPage()));
    QFile bad(dir.filePath(QStringLiteral("bad.txt")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(parameterFileFor(kStartParameters).left(200));
    QVERIFY(saveModelFile(dir.filePath(QStringLiteral("data/vegalyra/models")), "Cub 1.2 m",
                          parameterFileFor(changedOnEveryPage()))
                .isEmpty());
    changed.close();
    QVERIFY(QFile::copy(changed.fileName(), dir.filePath(QStringLiteral("self.html"))));
#ifdef Q_OS_UNIX
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("device.pdf"))));
#endif
}

void TestSheet::sheet_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err"); // the one line of trouble, or none and a sheet

    QTest::newRow("pdf") << "changed.txt"
                         << "changed.pdf" << QString();
    QTest::newRow("html") << "changed.txt"
                          << "changed.html" << QString();
#ifdef Q_OS_UNIX
    // The library is the test's own only where XDG_DATA_HOME counts.
    QTest::newRow("model, titled with its name") << "model:Cub 1.2 m"
                                                 << "cub.html" << QString();
#endif
    QTest::newRow("bad file") << "bad.txt"
                              << "bad.pdf"
                              << "bad.txt: frames H and I are not valid";
    QTest::newRow("cannot be written") << "changed.txt"
                                       << "missing/changed.pdf"
                                       << "missing/changed.pdf: cannot be written";
    QTest::newRow("its own input") << "self.html"
                                   << "self.html"
                                   << "self.html: is the file the sheet is made from";
#ifdef Q_OS_UNIX
    // A display that is named but not there (a forwarded one that is gone).
    QTest::newRow("display not there") << "changed.txt"
                                       << "display.pdf" << QString();
    QTest::newRow("a link to a device") << "changed.txt"
                                        << "device.pdf"
                                        << "device.pdf: cannot be written (Not a regular file)";
    QTest::newRow("beyond the size limit") << "changed.txt"
                                           << "limit.html"
                                           << "limit.html: cannot be written (File too large)";
#endif
}

void TestSheet::sheet()
{
    QFETCH(QString, file);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const QString outPath = dir.filePath(out);
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    if (out.startsWith(QLatin1String("display")))
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
    program.setProcessEnvironment(environment);
    const bool model = file.startsWith(QLatin1String("model:"));
    QFile input(model ? QString() : dir.filePath(file));
    QVERIFY(model || input.open(QIODevice::ReadOnly));
    const QByteArray inputBefore = model ? QByteArray() : input.readAll();
#ifdef Q_OS_UNIX
    // A file-size limit the program inherits: its write fails part-way.
    rlimit limit{out.startsWith(QLatin1String("limit")) ? 8192 : RLIM_INFINITY, RLIM_INFINITY};
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
#endif
    program.start(QStringLiteral(VEGALYRA_PROGRAM),
                  {QStringLiteral("--sheet"), model ? file : dir.filePath(file),
                   QStringLiteral("-o"), outPath});
    QVERIFY(program.waitForStarted());
#ifdef Q_OS_UNIX
    limit.rlim_cur = RLIM_INFINITY;
    setrlimit(RLIMIT_FSIZE, &limit);
#endif
    QVERIFY(program.waitForFinished(20000));
    if (!model) {
        input.seek(0);
        QCOMPARE(input.readAll(), inputBefore);
    }
    const QStringList errLines = QString::fromUtf8(program.readAllStandardError())
                                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);

    if (!err.isEmpty()) {
        QCOMPARE(program.exitCode(), 2);
        QCOMPARE(errLines.size(), 1);
        QVERIFY2(errLines.first().contains(err), qPrintable(errLines.first()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), filesBefore); // not even a part
#ifdef Q_OS_UNIX
        QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists() &&
                !QFileInfo(QStringLiteral("/dev/null")).isFile());
#endif
        return;
    }
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(errLines, QStringList());
#ifdef Q_OS_WIN
    // The PDF is read back with poppler's pdftotext and pdfimages, which the
    // Windows test run (under Wine) cannot start; the HTML row checks the text.
    if (out.endsWith(QLatin1String(".pdf")))
        QSKIP("pdftotext and pdfimages are Linux programs here");
#endif
    const QString text = sheetText(outPath);
    QVERIFY2(text.contains(model ? file.mid(6) : file), qPrintable(text));
    for (const SettingRow &row : settingsCatalogue())
        for (const QString &words : {row.place, row.name})
            QVERIFY2(text.contains(words), qPrintable(settingTitle(row)));
    for (const QString &value : kChangedValues)
        QVERIFY2(text.contains(value), qPrintable(value));
    // The charts are strokes, not pictures.
    if (out.endsWith(QLatin1String(".pdf")))
        QCOMPARE(run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), outPath})
                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                     .size(),
                 2);
}

// Built from the catalogue, laid out like the pages: a table of places by
// names wherever places share their names, each setting in one cell, and
// the rate curves only of channels the pilot gave rates of their own.
void TestSheet::shape_data()
{
    QTest::addColumn<ParameterSet>("settings");
    QTest::addColumn<QStringList>("charts");

    ParameterSet expo = kStartParameters;
    expo.drExpo[1][2] = -43;
    ParameterSet rates = kStartParameters;
    rates.drRate[0][0] = 80;
    rates.drRate[1][3] = 0;
    QTest::newRow("start values") << kStartParameters << QStringList{"TH CURE"};
    QTest::newRow("one expo") << expo
                              << QStringList{"CH3 UP: RATE 100, EXP 0",
                                             "CH3 DOWN: RATE 100, EXP -43", "TH CURE"};
    QTest::newRow("two channels") << rates
                                  << QStringList{"CH1 UP: RATE 80, EXP 0",
                                                 "CH1 DOWN: RATE 100, EXP 0",
                                                 "CH4 UP: RATE 100, EXP 0",
                                                 "CH4 DOWN: RATE 0, EXP 0", "TH CURE"};
}

void TestSheet::shape()
{
    QFETCH(ParameterSet, settings);
    QFETCH(QStringList, charts);

    const Sheet sheet = buildSheet(settings, QStringLiteral("t"), std::nullopt);
    QStringList shapes, captions;
    int cells = 0;
    for (const SheetSection &section : sheet.sections) {
        for (const SheetTable &table : section.tables) {
            shapes << QStringLiteral("%1 %2x%3")
                          .arg(section.page)
                          .arg(table.rows.size())
                          .arg(table.names.size());
            for (const SheetTable::Row &row : table.rows)
                for (const SheetCell &cell : row.cells)
                    cells += cell.text.isEmpty() ? 0 : 1;
        }
        for (const SheetChart &chart : section.charts)
            captions << chart.caption;
    }
    // "PAGE places x names": BASIC a row per channel, PROG.MIX a row per mix
    const QStringList tables = {"BASIC 8x7",    "ADVANCE1 1x5", "ADVANCE1 1x7", "ADVANCE1 1x7",
                                "ADVANCE1 1x5", "ADVANCE2 1x1", "ADVANCE2 8x2", "ADVANCE2 1x9",
                                "PROG.MIX 4x6", "SYSTEM 1x4",   "SYSTEM 1x1",   "SYSTEM 4x2"};
    QCOMPARE(shapes, tables);
    QCOMPARE(cells, int(settingsCatalogue().size()));
    QCOMPARE(captions, charts);
}

QTEST_GUILESS_MAIN(TestSheet)
#include "tst_sheet.moc"
