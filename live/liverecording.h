// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/framedecoder.h"

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

#include <vector>

// A recording of every channel and telemetry frame from its start on, held
// in memory in the frames' own units (24 bytes a frame) until the pilot
// stops it; then it becomes one CSV file, written whole.
//
// The transmitter streams each kind of frame at up to 50 Hz; the bound
// holds two hours of that (about 17 MB), and a recording that reaches it
// stops by itself.
constexpr int kLiveRecordingFrames = 2 * 3600 * 100;

class LiveRecording
{
public:
    explicit LiveRecording(int frameLimit = kLiveRecordingFrames) : m_limit(frameLimit) {}

    // Adds one frame `ms` after the recording began. False, and nothing
    // kept, once the bound is reached (or for a kind that is not live).
    bool add(qint64 ms, Incoming kind, const LiveStatus &live);
    bool isFull() const { return int(m_rows.size()) >= m_limit; }
    int frames() const { return int(m_rows.size()); }
    int frameLimit() const { return m_limit; }
    // How long the recording runs from its start to its last frame.
    qint64 lastMs() const { return m_rows.empty() ? 0 : m_rows.back().ms; }

    // The file: the wall-clock start on the first line, then a header that
    // names every column with its unit, then one line per frame. A line
    // fills the columns its frame carries and leaves the others empty.
    QByteArray csv(const QDateTime &startedAt) const;

private:
    struct Row {
        quint32 ms;
        quint8 kind; // 'C' channel frame, 'T' telemetry frame
        quint8 rssi;
        quint16 value[9]; // channel: CH1 … CH8, TX; telemetry: RX, EXT
    };
    std::vector<Row> m_rows;
    int m_limit;
};
