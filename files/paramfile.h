// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/frames.h"
#include "model/parameterset.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// A parameter file is the four frames S, G, H and I as they go on the wire,
// one after the other: 324 characters, no header, no line ends.
constexpr int kParameterFileLength = 4 * kFrameLength;

// More than the four frames is never looked at, so a file picked by mistake
// (a huge log, a device that never ends) is read only this far.
constexpr qint64 kParameterFileReadLimit = 64 * 1024;

// The frame kinds in file order.
const FrameLayout *const kFileFrameLayouts[4] = {&kFrameLayoutS, &kFrameLayoutG, &kFrameLayoutH,
                                                 &kFrameLayoutI};

// Which of the four frames a file held with the right kind and end letters.
struct FileFramesAccepted {
    bool frame[4] = {false, false, false, false}; // S, G, H, I
    int count() const { return frame[0] + frame[1] + frame[2] + frame[3]; }
};

// Decodes one frame that starts at `start` of `text` into the record, if
// its kind letter and end letter are in place; the fixed characters are
// skipped. Fields that are not hex digits decode as 0 minus their bias.
// Returns whether the frame was taken.
bool decodeFileFrame(const FrameLayout &layout, const QString &text, int start, ParameterSet &p);

// Decodes every frame of a file's text that stands where it belongs. A frame
// with a wrong first or last letter is skipped and leaves its fields alone.
// Frames S and G need more than 161 characters, H more than 242, I more
// than 323; characters after 323 are ignored.
FileFramesAccepted decodeParameterFile(const QString &text, ParameterSet &p);

// Takes into `p` the setting frames that really passed (to the transmitter
// or into a file): each non-empty entry is one whole frame, S, G, H, I in
// that order. Fields of a missing or malformed frame keep their values; the
// record then derives and repairs itself as after any decode.
void takeFramesThatPassed(ParameterSet &p, const QByteArray (&frames)[4]);

// The file as SAVE writes it: the four frame buffers, S first.
QByteArray parameterFileBytes();
// The file for a record as it stands, without touching the buffers: each
// frame built from `p` (the alarm tenths as the record holds them) followed
// by its kind's fixed tail.
QByteArray parameterFileFor(const ParameterSet &p);

// Reads at most kParameterFileReadLimit bytes from an open device and
// returns them as text (UTF-8 unless a byte-order mark says otherwise);
// bytes that are not valid text become characters that are not hex digits.
QString readParameterFileText(QIODevice &device);
