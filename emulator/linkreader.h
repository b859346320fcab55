// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>

// What the tool said, as the transmitter makes it out of the byte stream.
struct LinkEvent {
    enum Kind {
        Command,        // bytes: "OK", "DIS", "RR" or "WWW"
        Frame,          // bytes: one whole 81-character frame S, G, H or I
        Unknown,        // bytes: a run of bytes that belong to nothing
        DroppedPartial, // bytes: the start of a frame or command that never ended
    };
    Kind kind;
    QByteArray bytes;
};

// Reassembles the tool's commands and frames from whatever pieces the line
// delivers: a frame split across reads, a command glued to a frame, noise
// in between. Anything that is not a command or a whole frame is reported
// as unknown and skipped one byte at a time, so the next real command is
// found again. Only the start of one frame or command is ever held back,
// at most 80 bytes, until it completes or the line goes quiet.
class LinkReader
{
public:
    // Takes the next bytes from the line; returns what they completed.
    QList<LinkEvent> feed(const QByteArray &bytes);
    // The line went quiet: a held-back start will not be finished any more.
    QList<LinkEvent> dropPartial();
    // Bytes held back waiting for the rest of a frame or command.
    int pendingSize() const { return int(m_pending.size()); }

private:
    QByteArray m_pending;
};
