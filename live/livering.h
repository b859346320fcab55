// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/framedecoder.h"

#include <QtGlobal>

#include <array>
#include <vector>

// What LIVE draws: the eight channel outputs, the three voltages and the
// RSSI, each a series of raw values as the frames carry them.
enum LiveSeries : int { kLiveCh1 = 0, kLiveTx = 8, kLiveRx, kLiveExt, kLiveRssi, kLiveSeriesCount };

// The ring keeps the last ten minutes in slots of 100 ms. A slot holds the
// lowest and highest value each series reached in it, so a sag or a twitch
// shorter than a slot is still drawn at its depth, and the memory is the
// same whatever rate the transmitter streams at.
constexpr qint64 kLiveSlotMs = 100;
constexpr int kLiveSlots = 6000; // 10 minutes
// A series that brought nothing for this long has a gap: the line is not
// drawn across it. The transmitter streams many times a second; a gap this
// long is a silent line or a closed port.
constexpr qint64 kLiveGapMs = 1500;

struct LiveSlot {
    qint64 slot = -1;       // which slot of time this is (ms / kLiveSlotMs); -1: empty
    quint16 present = 0;    // bit s: series s has a value in this slot
    quint16 startsLine = 0; // bit s: its line starts here, after a gap
    std::array<qint32, kLiveSeriesCount> lo{}, hi{};
};

// One pixel column of a drawn series: the lowest and highest value of the
// slots it covers.
struct LiveColumn {
    bool present = false;
    bool startsLine = false;
    // The voltages only: whether steadyLo … steadyHi holds anything.
    bool steady = false;
    qint32 lo = 0, hi = 0;
    // That range as far as it lasted: slot by slot, an end counts where the
    // reading of the slot before came within liveSteadyStep() of it, else
    // only as far as that reading went. A lone corrupt frame (a flipped bit
    // makes 51.2 V of 11.8 V) or a lone drop never widens it; nothing
    // counts where no reading came before.
    qint32 steadyLo = 0, steadyHi = 0;
};

class LiveRing
{
public:
    LiveRing();

    // A decoded channel or telemetry frame arrived `ms` after the clock
    // started; the live record holds its values. Other kinds are ignored.
    // An RSSI of 0 is "no value" and leaves a gap.
    void add(qint64 ms, Incoming kind, const LiveStatus &live);
    // The port closed: every line starts anew with its next value.
    void lineEnded();

    // The last value a series received, false when it has none.
    bool latest(int series, qint32 &value) const;
    // Whether that value is still current at `nowMs`: false once the line
    // fell silent for a gap, or the port closed.
    bool isFresh(int series, qint64 nowMs) const;
    // The slot for `slot` (ms / kLiveSlotMs), nullptr when it is not held.
    const LiveSlot *slotAt(qint64 slot) const;

    // The series decimated to `columns` pixel columns, the last one ending
    // at `nowMs`, each covering `msPerColumn`. Only what the ring holds.
    std::vector<LiveColumn> columns(int series, qint64 nowMs, int columns,
                                    double msPerColumn) const;
    // The same for every series in `mask` (bit s: series s), in one pass
    // over the ring; out[s] is resized to `columns` for those series.
    using Decimated = std::array<std::vector<LiveColumn>, kLiveSeriesCount>;
    void decimate(unsigned mask, qint64 nowMs, int columns, double msPerColumn,
                  Decimated &out) const;
    // The lowest value of the series in the ten minutes up to `nowMs`;
    // false when it has none there.
    bool minimum(int series, qint64 nowMs, qint32 &value) const;

private:
    void put(qint64 ms, int series, qint32 value);
    LiveSlot &slotFor(qint64 slot);

    std::vector<LiveSlot> m_slots;
    std::array<qint64, kLiveSeriesCount> m_lastAt;
    std::array<qint32, kLiveSeriesCount> m_latest{};
    quint16 m_heard = 0; // bit s: series s has a latest value
};

// Whether a raw value is one the equipment can really report: a corrupt
// frame (EXT 0xFFFF is 6553.5 V) lies outside and must not set LIVE's
// scales or its minimums. Transmitter packs run to 4S (16.8 V), receiver
// packs to 3S (12.6 V), an external sensor to a 14S flight pack (58.8 V):
// the bands end at 20, 15 and 60 V, or a quarter above the series' alarm
// where the pilot set that higher. The RSSI byte means 1 … 100 (0 is "no
// value"), a channel output 0 … 2000.
bool liveInBand(int series, qint32 raw, double alarm = 0);

// How far (raw) a voltage may move from one slot to the next and still
// count as the same reading for LIVE's scale.
qint32 liveSteadyStep(int series);

// A raw value in the unit LIVE shows: volts for the voltages, dBm for the
// RSSI, the output (1000 = centre) for a channel.
double liveValue(int series, qint32 raw);
