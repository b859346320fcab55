// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live/livering.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr qint64 kNever = LLONG_MIN / 2;

} // namespace

LiveRing::LiveRing() : m_slots(kLiveSlots)
{
    m_lastAt.fill(kNever);
}

void LiveRing::add(qint64 ms, Incoming kind, const LiveStatus &live)
{
    if (kind == Incoming::Channels) {
        for (int ch = 0; ch < 8; ++ch)
            put(ms, kLiveCh1 + ch, live.channelOutput[ch]);
        put(ms, kLiveTx, live.txVoltage);
    } else if (kind == Incoming::Telemetry) {
        put(ms, kLiveRx, live.rxVoltage);
        put(ms, kLiveExt, live.extVoltage);
        if (live.rssi != 0)
            put(ms, kLiveRssi, live.rssi);
    }
}

void LiveRing::lineEnded()
{
    m_lastAt.fill(kNever);
}

LiveSlot &LiveRing::slotFor(qint64 slot)
{
    LiveSlot &s = m_slots[size_t(slot % kLiveSlots)];
    if (s.slot != slot) {
        s.slot = slot;
        s.present = 0;
        s.startsLine = 0;
    }
    return s;
}

void LiveRing::put(qint64 ms, int series, qint32 value)
{
    if (ms < 0 || ms < m_lastAt[series])
        return; // the clock never runs backwards; a value from before is dropped
    LiveSlot &s = slotFor(ms / kLiveSlotMs);
    const quint16 bit = quint16(1u << series);
    if (s.present & bit) {
        s.lo[series] = std::min(s.lo[series], value);
        s.hi[series] = std::max(s.hi[series], value);
    } else {
        s.present |= bit;
        s.lo[series] = s.hi[series] = value;
    }
    // Also when the line ended within this slot (a CLOSE and OPEN in quick
    // succession): the line is not drawn on from the slot before.
    if (ms - m_lastAt[series] > kLiveGapMs)
        s.startsLine |= bit;
    m_lastAt[series] = ms;
    m_latest[series] = value;
    m_heard |= bit;
}

bool LiveRing::latest(int series, qint32 &value) const
{
    // The last value stays known after a gap: LIVE shows what was last heard.
    if (!(m_heard & (1u << series)))
        return false;
    value = m_latest[series];
    return true;
}

bool LiveRing::isFresh(int series, qint64 nowMs) const
{
    const qint64 at = m_lastAt[size_t(series)];
    return at != kNever && nowMs - at <= kLiveGapMs;
}

const LiveSlot *LiveRing::slotAt(qint64 slot) const
{
    if (slot < 0)
        return nullptr;
    const LiveSlot &s = m_slots[size_t(slot % kLiveSlots)];
    return s.slot == slot ? &s : nullptr;
}

std::vector<LiveColumn> LiveRing::columns(int series, qint64 nowMs, int count,
                                          double msPerColumn) const
{
    Decimated out;
    decimate(1u << series, nowMs, count, msPerColumn, out);
    return std::move(out[size_t(series)]);
}

void LiveRing::decimate(unsigned mask, qint64 nowMs, int count, double msPerColumn,
                        Decimated &out) const
{
    count = std::max(count, 0);
    for (int series = 0; series < kLiveSeriesCount; ++series) {
        if (mask & (1u << series))
            out[size_t(series)].assign(size_t(count), LiveColumn());
    }
    if (count == 0 || msPerColumn <= 0 || nowMs < 0)
        return;
    const qint64 newest = nowMs / kLiveSlotMs;
    const qint64 spanSlots = qint64(std::ceil(count * msPerColumn / kLiveSlotMs)) + 1;
    const qint64 oldest = std::max<qint64>(0, newest - std::min<qint64>(kLiveSlots - 1, spanSlots));
    const double columnsPerMs = 1.0 / msPerColumn;
    static const std::array<qint32, kLiveSeriesCount> kSteadySteps = [] {
        std::array<qint32, kLiveSeriesCount> steps{};
        for (int series = 0; series < kLiveSeriesCount; ++series)
            steps[size_t(series)] = liveSteadyStep(series);
        return steps;
    }();
    // Each series' reading in the slot before, to tell what lasted from
    // what one frame said; slots older than the first column still count.
    std::array<qint32, kLiveSeriesCount> prevLo{}, prevHi{};
    unsigned seen = 0;
    for (qint64 slot = std::max<qint64>(0, oldest - 1); slot <= newest; ++slot) {
        const LiveSlot *s = slotAt(slot);
        unsigned wanted = s ? (s->present & mask) : 0;
        if (!wanted)
            continue;
        const double age = double(nowMs - (slot * kLiveSlotMs + kLiveSlotMs / 2));
        const qint64 back = qint64(std::max(0.0, age) * columnsPerMs);
        const bool shown = back < count && slot >= oldest;
        const size_t at = size_t(count - 1 - std::min<qint64>(back, count - 1));
        for (int series = 0; wanted; ++series, wanted >>= 1) {
            if (!(wanted & 1u))
                continue;
            const qint32 lo = s->lo[size_t(series)], hi = s->hi[size_t(series)];
            // Only the voltages set a scale from what they measured.
            const qint32 step = kSteadySteps[size_t(series)];
            const bool before = seen & (1u << series);
            qint32 steadyLo = 0, steadyHi = 0;
            if (step) {
                // An end counts where the reading before came within a step
                // of it; else only as far as that reading went.
                const qint32 prevL = prevLo[size_t(series)], prevH = prevHi[size_t(series)];
                steadyLo = lo >= prevL - step ? lo : std::max(lo, prevL);
                steadyHi = hi <= prevH + step ? hi : std::min(hi, prevH);
                prevLo[size_t(series)] = lo;
                prevHi[size_t(series)] = hi;
                seen |= 1u << series;
            }
            if (!shown)
                continue;
            LiveColumn &c = out[size_t(series)][at];
            if (!c.present) {
                c.present = true;
                c.lo = lo;
                c.hi = hi;
                c.startsLine = s->startsLine & (1u << series);
            } else {
                c.lo = std::min(c.lo, lo);
                c.hi = std::max(c.hi, hi);
            }
            if (before && step) {
                c.steadyLo = c.steady ? std::min(c.steadyLo, steadyLo) : steadyLo;
                c.steadyHi = c.steady ? std::max(c.steadyHi, steadyHi) : steadyHi;
                c.steady = true;
            }
        }
    }
}

bool LiveRing::minimum(int series, qint64 nowMs, qint32 &value) const
{
    bool any = false;
    const quint16 bit = quint16(1u << series);
    const qint64 newest = nowMs / kLiveSlotMs;
    for (const LiveSlot &s : m_slots) {
        if (s.slot < 0 || s.slot <= newest - kLiveSlots || s.slot > newest || !(s.present & bit))
            continue;
        value = any ? std::min(value, s.lo[series]) : s.lo[series];
        any = true;
    }
    return any;
}

qint32 liveSteadyStep(int series)
{
    // 1 V: a pack under a punch of throttle sags further, but for longer
    // than one slot; a flipped bit of the tenths from 16 up is 1.6 V.
    return series == kLiveTx ? 100 : series == kLiveRx || series == kLiveExt ? 10 : 0;
}

bool liveInBand(int series, qint32 raw, double alarm)
{
    if (raw < 0)
        return false;
    switch (series) {
    case kLiveTx:
    case kLiveRx:
    case kLiveExt: {
        const double top = series == kLiveTx ? 20 : series == kLiveRx ? 15 : 60;
        return liveValue(series, raw) <= std::max(top, 1.25 * alarm);
    }
    case kLiveRssi:
        return raw >= 1 && raw <= 100;
    default:
        return raw <= 2000;
    }
}

double liveValue(int series, qint32 raw)
{
    switch (series) {
    case kLiveTx:
        return raw / 100.0;
    case kLiveRx:
    case kLiveExt:
        return raw / 10.0;
    case kLiveRssi:
        return -(100 - raw); // the header's dBm: 1 … 100 -> -99 … 0
    default:
        return raw;
    }
}
