// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

class QTextStream;

// The command-line verbs that print settings and exit. Each needs no
// display, no application object and no port; it writes its lines to `out`
// and its one line of trouble to `err`, and returns the exit status.

// Every setting of a parameter file, one line per setting in page order:
// "BASIC / CH3 / REVERSE: REV". 0, or 2 when the file is trouble.
// With `explain`, each line is followed by an indented line on what the
// setting does, its range, factory value and frame.
int runShow(const QString &path, QTextStream &out, QTextStream &err, bool explain = false);

// The settings that differ between two parameter files, in page order:
// "BASIC / CH3 / REVERSE: NOR -> REV". As diff has it: 0 same, 1 different,
// 2 trouble (then nothing on `out`).
int runDiff(const QString &pathA, const QString &pathB, QTextStream &out, QTextStream &err);

// The entries of the settings history in `folder`, newest first, one per
// line: time, event, path. When there are none, says so on `err`. Always 0.
int runHistory(const QString &folder, QTextStream &out, QTextStream &err);
// The models of the library in `folder`, one per line: name, the day and
// time it was last saved, its file. A line saying so when there are none.
// Always 0.
int runModels(const QString &folder, QTextStream &out);
int runModelNames(const QString &folder, QTextStream &out); // one name a line
// Wherever a verb takes a parameter file, `model:NAME` names the model of
// that name in the library.
// The settings sheet of a parameter file written to `outPath`: a PDF, or an
// HTML page when the name ends in ".html"; titled with the model's name
// for `model:NAME`, else the file's name. 0, or 2 when the file is trouble
// or the sheet cannot be written (then nothing is left at `outPath`), and
// when `outPath` is the file it reads. Only a regular file or a new name is
// written.
// Makes its own application object for the fonts and the PDF writer, on
// the offscreen platform when there is no display.
int runSheet(const QString &path, const QString &outPath, QTextStream &err);

// Runs the verb the command line named with its arguments on the process's
// standard output and error. Trace lines are dropped meanwhile: the output
// is the verb's lines and nothing else.
int runVerb(const QString &verb, const QStringList &arguments, bool explain = false);
