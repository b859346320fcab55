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
    QByteArray bytes;
    bytes.reserve(kParameterFileLength);
    for (const FrameLayout *layout : kFileFrameLayouts) {
        // The built part from the record, then the kind's fixed tail.
        bytes +=
            (encodeFrame(*layout, record) + layout->buffer->mid(layout->builtLength)).toLatin1();
    }
    return bytes;
}

QString loadRecord(const QString &fileName, ParameterSet &record)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
    const QString text = readParameterFileText(file);
    const FileFramesAccepted accepted = decodeParameterFile(text, record);
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
