// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// What keeping the pilot's edits costs: an edit every 100 ms (a held arrow
// key, a dragged value) for a while, and the keep's writes per minute,
// printed (never asserted).
//
//   bench_keep [QtTest options] [seconds of editing, default 20]
#include "keep/editorkeep.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

int editSeconds = 20;

} // namespace

class BenchKeep : public QObject
{
    Q_OBJECT
private slots:
    void editStream();
};

void BenchKeep::editStream()
{
    QTemporaryDir dir;
    EditorKeep keep(dir.filePath("edits"), {});
    ParameterSet against{}, editor{};
    QTimer edits;
    int made = 0;
    QObject::connect(&edits, &QTimer::timeout, [&] {
        editor.subTrim[0] = ++made % 100;
        keep.look(editor, against, true);
    });
    QElapsedTimer clock;
    clock.start();
    edits.start(100);
    QTest::qWait(editSeconds * 1000);
    edits.stop();
    const double minutes = clock.elapsed() / 60000.0;
    std::printf("%d edits in %.1f s: %d writes, %.1f writes a minute\n", made,
                clock.elapsed() / 1000.0, keep.writes(), keep.writes() / minutes);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() > 1 && args.last().toInt() > 0) {
        editSeconds = args.last().toInt();
        --argc;
    }
    BenchKeep bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_keep.moc"
