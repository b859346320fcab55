// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "files/paramfile.h"
#include "model/parameterset.h"

#include <QString>

class QFile;

// A file name as the system gave it, as text. Bytes that are not valid text
// in the system's encoding (a name from another system) are kept as
// characters of their own, so that localFileName() finds the same file.
QString fileNameFromLocal(const QByteArray &bytes);
// The system's bytes for a name, the reverse of fileNameFromLocal().
QByteArray localFileName(const QString &name);

// Opens a file the pilot picked for reading. A device node or a pipe picked
// by mistake is opened without blocking, so reading can never hang on a
// line that has no data or no writer.
bool openForReading(QFile &file, const QString &name);

// A parameter file read the way LOAD reads it, without touching the
// program's record or the transmitter.
struct ParameterFileRead {
    bool opened = false;
    QString openError; // why it could not be opened
    int length = 0;    // characters of text read (at most the read limit)
    FileFramesAccepted accepted;
    ParameterSet settings{};
};

// Opens without blocking, reads at most kParameterFileReadLimit bytes,
// decodes the frames into a copy of `start` (a frame that is not valid
// leaves its fields as `start` has them), then reselects the dual-rate
// working copies and repairs out-of-range values, as LOAD does.
ParameterFileRead readParameterFileAt(const QString &path, const ParameterSet &start);

// One line saying what is wrong with the file: that it cannot be read, or
// which of its frames are not valid and why. Empty when all four are fine.
QString parameterFileTrouble(const QString &path, const ParameterFileRead &read);
