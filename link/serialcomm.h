// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#ifdef Q_OS_WIN

#include <QList>
#include <QString>

// One COM port as Windows lists it under
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM: the value's name is the
// driver's device (\Device\Serial0, \Device\VCP0), its data the port the
// pilot picks (COM7). A cable plugged in again may come back under another
// number with the same device, so both are kept.
struct SerialCommEntry {
    QString device;
    QString port;
};

// Every value of that key, in the order Windows gives them; none when the
// key is missing (the machine has no COM port at all).
QList<SerialCommEntry> serialCommEntries();

#endif
