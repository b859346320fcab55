// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// A pseudo-terminal pair in raw mode: the tool opens the device path as its
// serial port, the emulator reads and writes the master side.
struct PtyPair {
    int master = -1; // non-blocking, close-on-exec
    int slave = -1;  // held open so the line stays up while the tool has it closed
    QString devicePath;
    QString error; // why opening failed; empty on success
};

PtyPair openRawPty();
void closePty(PtyPair &pty);

// A symlink at `linkPath` to the device, so a user can give the tool a
// name that stays the same from run to run. An old symlink left there by a
// run that was killed is replaced; anything else at that path is left
// alone and reported. Returns an error text, empty on success.
QString createDeviceLink(const QString &linkPath, const QString &devicePath);
// Removes the symlink, but only while it still points to this device.
void removeDeviceLink(const QString &linkPath, const QString &devicePath);
