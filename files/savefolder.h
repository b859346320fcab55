// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The folder of the last file SAVE wrote, remembered across runs; what
// else the tool offers to save (a LIVE recording) opens there too. The
// working folder until the first SAVE.
QString lastSaveFolder();
void rememberSaveFolder(const QString &savedFile);
