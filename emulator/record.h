// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/frames.h"
#include "model/parameterset.h"

#include <QByteArray>
#include <QString>

// The firmware version the emulated transmitter reports in its settings.
constexpr int kEmulatorFirmwareVersion = 51;

// A transmitter fresh from the factory: the factory values of every
// setting, the trims centred.
ParameterSet factoryRecord();

// The record as a 324-character parameter file, frames S, G, H, I.
QByteArray recordFileBytes(const ParameterSet &record);

// Stores one frame S, G, H or I (81 characters) in the record, holding each
// field as the frames can carry it again: a one-digit field written as "F"
// is held as the 9 a READ or a save would give back, not as 15. False when
// the frame's kind or end letter is wrong; the record is then unchanged.
bool storeFrameInRecord(const FrameLayout &layout, const QByteArray &frame, ParameterSet &record);

// Reads a parameter file over the record: the frames the file holds in
// their places replace their settings, as LOAD does in the tool. Returns an
// error text when the file cannot be read or holds no frame at all.
QString loadRecord(const QString &fileName, ParameterSet &record);
// Writes the record as a parameter file, replacing the old file only once
// the new one is complete. Returns an error text, empty on success.
QString saveRecord(const QString &fileName, const ParameterSet &record);
// Whether a file can be saved there, tried before the transmitter starts so
// that what a WRITE sent is not lost at the end for a mistyped folder.
// Leaves any file at that path as it is. Returns an error text.
QString checkSaveTarget(const QString &fileName);
