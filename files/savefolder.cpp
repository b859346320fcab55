// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/savefolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("files/lastSaveFolder");

} // namespace

QString lastSaveFolder()
{
    const QString folder = QSettings().value(kKey).toString();
    // A folder that went (a stick pulled) is no place to start from.
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QDir::currentPath();
    return folder;
}

void rememberSaveFolder(const QString &savedFile)
{
    QSettings().setValue(kKey, QFileInfo(savedFile).absolutePath());
}
