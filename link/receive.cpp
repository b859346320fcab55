// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "check/asshown.h"
#include "check/transmittercheck.h"
#include "link/framedecoder.h"
#include "model/parameterset.h"
#include "views/statusline.h"

#include <QtDebug>

namespace {

// Bytes still waiting to go out beyond which notifications are no longer
// answered.
constexpr qint64 kAnswerBacklogLimit = 4096;

} // namespace

void MainWindow::serialPort_readyRead()
{
    const QByteArray bytes = serialPort.readAll();
    if (bytes.isEmpty())
        return;
    qDebug("bSize:%d", int(bytes.size()));
    // What the transmitter sends is never a step the pilot could undo.
    NotThePilot received(*undo);

    int kindNumber = 0;
    // While a check runs, the setting frames answering it go into the
    // check's own record: the editor never sees them.
    const bool checked = check->take(bytes, &kindNumber);
    const Incoming what =
        checked ? Incoming::Nothing
                : decodeNotification(bytes, paramSet, liveStatus, suspendTrimUpdate, &kindNumber);
    if (kindNumber != 0)
        qDebug("ReadFlag:%d", kindNumber);
    if (what == Incoming::Channels || what == Incoming::Telemetry)
        emit liveFrameDecoded(what, liveStatus);
    // Only a frame of the transmitter's own is its voice: an echo of what
    // the tool sent, or noise on the line, says nothing about it. A frame
    // shaped like a setting frame but of no kind the transmitter sends is
    // still answered below, but it is not heard.
    const bool recognised = what == Incoming::Channels || what == Incoming::Telemetry ||
                            (what != Incoming::Nothing && kindNumber != 0);
    if (recognised)
        link.heard();
    // Settings pages take the new values at once, before validation, so a
    // spin box clamps what is out of its range and stores the clamped value.
    // The record is clamped first as the pages would: a box that already
    // shows the clamped value reports no change, and the value would
    // otherwise fall to its default, so the same frame read twice would
    // give two different editors.
    if (what == Incoming::Parameters) {
        takeAsThePagesShow(paramSet);
        ui_Display();
    }

    // Every notification that brought bytes is answered, also one that
    // carried nothing usable, and the settings are repaired before anything
    // reads them again.
    Dr_DataSelet();
    FalseSaveData();
    // A peer sending single bytes at line rate (a wrong device, a wrong
    // baud rate) would draw more answers than the line can carry, and the
    // queue would grow without end. Normal traffic never comes near this.
    if (serialPort.bytesToWrite() <= kAnswerBacklogLimit)
        serialPort.write("WWW");
    // What the check took is not what the editor was last written with.
    status->transmitterReported(checked ? QByteArray() : bytes, checked ? 0 : kindNumber,
                                suspendTrimUpdate);
}

int MainWindow::byteArrayToInt(QByteArray b, int a)
{
    return u16At(b, a);
}
