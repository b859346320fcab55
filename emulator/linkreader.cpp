// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "emulator/linkreader.h"

#include "link/frames.h"

#include <cstring>

namespace {

const char *const kCommands[] = {"OK", "DIS", "RR", "WWW"};

// The kind letter a frame starts with and the letter it must end with.
struct FrameEnds {
    char kind;
    char end;
};
constexpr FrameEnds kFrameEnds[] = {{'S', 'Y'}, {'G', 'Z'}, {'H', 'X'}, {'I', 'V'}};

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// How the bytes from `at` on stand against one expected text.
enum class Match { Whole, SoFar, No };

Match matchCommand(const QByteArray &buf, int at, const char *command)
{
    const int length = int(std::strlen(command));
    const int available = int(buf.size()) - at;
    for (int i = 0; i < length; ++i) {
        if (i >= available)
            return Match::SoFar;
        if (buf[at + i] != command[i])
            return Match::No;
    }
    return Match::Whole;
}

// Between its letters a frame holds hex digits only (the fixed characters
// are digits too), so a stray byte shows at once that this is no frame.
Match matchFrame(const QByteArray &buf, int at, const FrameEnds &ends)
{
    if (buf[at] != ends.kind)
        return Match::No;
    const int available = int(buf.size()) - at;
    for (int i = 1; i < kFrameLength; ++i) {
        if (i >= available)
            return Match::SoFar;
        const char c = buf[at + i];
        if (i == kFrameLength - 1 ? c != ends.end : !isHexDigit(c))
            return Match::No;
    }
    return Match::Whole;
}

struct Found {
    Match match = Match::No;
    int length = 0;
    LinkEvent::Kind kind = LinkEvent::Unknown;
};

Found findAt(const QByteArray &buf, int at)
{
    for (const char *command : kCommands) {
        const Match m = matchCommand(buf, at, command);
        if (m != Match::No)
            return {m, int(std::strlen(command)), LinkEvent::Command};
    }
    for (const FrameEnds &ends : kFrameEnds) {
        const Match m = matchFrame(buf, at, ends);
        if (m != Match::No)
            return {m, kFrameLength, LinkEvent::Frame};
    }
    return {};
}

} // namespace

QList<LinkEvent> LinkReader::feed(const QByteArray &bytes)
{
    QByteArray buf = m_pending + bytes;
    m_pending.clear();
    QList<LinkEvent> events;
    QByteArray unknown;
    auto flushUnknown = [&] {
        if (!unknown.isEmpty())
            events.append({LinkEvent::Unknown, unknown});
        unknown.clear();
    };
    int at = 0;
    while (at < buf.size()) {
        const Found found = findAt(buf, at);
        if (found.match == Match::No) {
            unknown.append(buf[at++]);
            continue;
        }
        flushUnknown();
        if (found.match == Match::SoFar) {
            m_pending = buf.mid(at);
            break;
        }
        events.append({found.kind, buf.mid(at, found.length)});
        at += found.length;
    }
    flushUnknown();
    return events;
}

QList<LinkEvent> LinkReader::dropPartial()
{
    if (m_pending.isEmpty())
        return {};
    const QByteArray partial = m_pending;
    m_pending.clear();
    return {{LinkEvent::DroppedPartial, partial}};
}
