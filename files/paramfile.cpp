// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/paramfile.h"

#include "app/qtcompat.h"
#include "model/editing.h"

#include <QIODevice>
#include <QTextStream>

namespace {

// One character as a hex digit; anything else counts as 0.
int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// A two-character hex field; one stray character makes the whole field 0.
int hexPair(QChar high, QChar low)
{
    const int h = hexDigit(high);
    const int l = hexDigit(low);
    return (h < 0 || l < 0) ? 0 : h * 16 + l;
}

int digitOrZero(QChar c)
{
    return qMax(hexDigit(c), 0);
}

int decodeFieldValue(FieldCoding coding, const QChar *at)
{
    switch (coding) {
    case FieldCoding::Dec:
        return digitOrZero(at[0]);
    case FieldCoding::Dec3:
        return 100 * digitOrZero(at[0]) + 10 * digitOrZero(at[1]) + digitOrZero(at[2]);
    default:
        return hexPair(at[0], at[1]) - fieldBias(coding);
    }
}

} // namespace

bool decodeFileFrame(const FrameLayout &layout, const QString &text, int start, ParameterSet &p)
{
    const QChar endLetter = layout.buffer->at(kFrameLength - 1);
    if (text.size() < start + kFrameLength || text.at(start) != QLatin1Char(layout.kind) ||
        text.at(start + kFrameLength - 1) != endLetter)
        return false;
    const QChar *at = text.constData() + start + 1; // behind the kind letter
    for (int i = 0; i < layout.fieldCount; ++i) {
        const FrameField &f = layout.fields[i];
        if (f.coding != FieldCoding::Fixed)
            f.field(p) = decodeFieldValue(f.coding, at);
        at += fieldWidth(f);
    }
    if (layout.afterDecode)
        layout.afterDecode(p);
    return true;
}

FileFramesAccepted decodeParameterFile(const QString &text, ParameterSet &p)
{
    // Each frame must also have every frame before it fit in the text:
    // S and G are looked at only together, from 162 characters on.
    static constexpr int kNeededLength[4] = {2 * kFrameLength, 2 * kFrameLength, 3 * kFrameLength,
                                             4 * kFrameLength};
    FileFramesAccepted accepted;
    for (int k = 0; k < 4; ++k) {
        if (text.size() >= kNeededLength[k])
            accepted.frame[k] = decodeFileFrame(*kFileFrameLayouts[k], text, k * kFrameLength, p);
    }
    return accepted;
}

void takeFramesThatPassed(ParameterSet &p, const QByteArray (&frames)[4])
{
    for (int k = 0; k < 4; ++k) {
        if (!frames[k].isEmpty())
            decodeFileFrame(*kFileFrameLayouts[k], QString::fromLatin1(frames[k]), 0, p);
    }
    selectDualRate(p);
    validateParameters(p);
}

QByteArray parameterFileBytes()
{
    QByteArray bytes;
    bytes.reserve(kParameterFileLength);
    for (const FrameLayout *layout : kFileFrameLayouts)
        bytes += layout->buffer->toLatin1();
    return bytes;
}

QByteArray parameterFileFor(const ParameterSet &p)
{
    QByteArray bytes;
    bytes.reserve(kParameterFileLength);
    for (const FrameLayout *layout : kFileFrameLayouts)
        bytes += (encodeFrame(*layout, p) + layout->buffer->mid(layout->builtLength)).toLatin1();
    return bytes;
}

QString readParameterFileText(QIODevice &device)
{
    const QByteArray bytes = device.read(kParameterFileReadLimit);
    QTextStream stream(bytes);
    qtcompat::useUtf8(stream);
    return stream.readAll();
}
