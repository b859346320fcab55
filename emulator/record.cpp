#include "emulator/record.h"

#include "files/paramfile.h"
#include "link/frames.h"

#include <QFile>
#include <QSaveFile>

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

QString saveRecord(const QString &fileName, const ParameterSet &record)
{
    QSaveFile file(fileName);
    const QByteArray bytes = recordFileBytes(record);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("cannot save %1: %2").arg(fileName, file.errorString());
    return QString();
}

QString checkSaveTarget(const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot save to %1: %2").arg(fileName, file.errorString());
    file.cancelWriting(); // the temporary file goes, the old file stays
    return QString();
}
