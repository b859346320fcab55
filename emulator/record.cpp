// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "emulator/record.h"

#include "files/filewriter.h"
#include "files/paramfile.h"
#include "link/frames.h"

#include <QFile>

ParameterSet factoryRecord()
{
    ParameterSet p = kStartParameters;
    restFactoryA(p);
    restFactoryB(p);
    p.txVersion = kEmulatorFirmwareVersion;
    return p;
}

QByteArray recordFileBytes(const ParameterSet &record)
{
    return parameterFileFor(record);
}

namespace {

// What the frame's fields hold once they have been through the frame again.
void holdAsCarried(const FrameLayout &layout, ParameterSet &record)
{
    const QString carried = encodeFrame(layout, record) + layout.buffer->mid(layout.builtLength);
    decodeFileFrame(layout, carried, 0, record);
}

} // namespace

bool storeFrameInRecord(const FrameLayout &layout, const QByteArray &frame, ParameterSet &record)
{
    if (!decodeFileFrame(layout, QString::fromLatin1(frame), 0, record))
        return false;
    holdAsCarried(layout, record);
    return true;
}

QString loadRecord(const QString &fileName, ParameterSet &record)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
    const QString text = readParameterFileText(file);
    const FileFramesAccepted accepted = decodeParameterFile(text, record);
    for (int k = 0; k < 4; ++k) {
        if (accepted.frame[k])
            holdAsCarried(*kFileFrameLayouts[k], record);
    }
    if (accepted.count() == 0)
        return QStringLiteral("%1 holds no parameter frame (S, G, H, I) where one belongs")
            .arg(fileName);
    return QString();
}

// Through the tool's one writer: a device or a pipe (/dev/full) is refused
// before the run, and a failed write is never reported as saved.
QString saveRecord(const QString &fileName, const ParameterSet &record)
{
    WholeFileWriter writer(fileName);
    if (!writer.commit(recordFileBytes(record)))
        return QStringLiteral("cannot save %1: %2").arg(fileName, writer.errorString());
    return QString();
}

QString checkSaveTarget(const QString &fileName)
{
    WholeFileWriter writer(fileName);
    if (!writer.open())
        return QStringLiteral("cannot save to %1: %2").arg(fileName, writer.errorString());
    return QString(); // the temporary file goes with the writer, the old file stays
}
