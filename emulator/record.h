#pragma once

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
