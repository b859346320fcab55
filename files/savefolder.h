#pragma once

#include <QString>

// The folder of the last file SAVE wrote, remembered across runs; what
// else the tool offers to save (a LIVE recording) opens there too. The
// working folder until the first SAVE.
QString lastSaveFolder();
void rememberSaveFolder(const QString &savedFile);
