// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fuzzsupport.h"

#include "model/editing.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void propertyBroken(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

int ByteReader::value()
{
    const unsigned b = byte();
    if (b != 0x80)
        return static_cast<int8_t>(b);
    const uint32_t full = uint32_t(word()) << 16 | word();
    int v;
    std::memcpy(&v, &full, sizeof v);
    return v;
}

double ByteReader::real()
{
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = bits << 8 | byte();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

QByteArray ByteReader::bytes(int count)
{
    QByteArray out;
    for (int i = 0; i < count && !atEnd(); ++i)
        out += char(byte());
    return out;
}

CarriedRange carriedRange(FieldCoding coding)
{
    switch (coding) {
    case FieldCoding::Dec:
        return {0, 9};
    case FieldCoding::Dec3:
        return {0, 999};
    default:
        return {16 - fieldBias(coding), 255 - fieldBias(coding)};
    }
}

namespace {

// The notification kinds by size and markers alone, the way the
// transmitter's frames are told apart on the wire.
Incoming expectedKind(const QByteArray &b)
{
    const auto at = [&](int i) { return static_cast<unsigned char>(b[i]); };
    if (b.size() == 20 && at(0) == 0xFE && at(1) == 0x18)
        return Incoming::Channels;
    if (b.size() == 20 && at(0) == 0xFE && at(1) == 0x19)
        return Incoming::Telemetry;
    if (b.size() == 8 && at(2) == 0xAA)
        return Incoming::Aux;
    if (b.size() == 12 && at(0) == 0xFE && at(11) == 0xFE)
        return Incoming::Parameters;
    return Incoming::Nothing;
}

bool sameLive(const LiveStatus &a, const LiveStatus &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameTrims(const ParameterSet &a, const ParameterSet &b)
{
    return std::memcmp(a.stickTrim, b.stickTrim, sizeof a.stickTrim) == 0;
}

bool isFrameDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

Incoming receiveChecked(const QByteArray &bytes, ParameterSet &p, LiveStatus &live,
                        bool suspendTrims)
{
    const ParameterSet before = p;
    const LiveStatus liveBefore = live;
    int kindNumber = -1;
    const Incoming what = decodeNotification(bytes, p, live, suspendTrims, &kindNumber);

    FUZZ_CHECK(what == expectedKind(bytes));
    const bool recordMayChange = what == Incoming::Parameters || what == Incoming::Aux ||
                                 (what == Incoming::Telemetry && !suspendTrims);
    const bool liveMayChange = what == Incoming::Channels || what == Incoming::Telemetry;
    if (!recordMayChange)
        FUZZ_CHECK(p == before);
    if (!liveMayChange)
        FUZZ_CHECK(sameLive(live, liveBefore));
    if (suspendTrims)
        FUZZ_CHECK(sameTrims(p, before));
    if (what == Incoming::Telemetry) {
        ParameterSet trimsPutBack = p;
        std::memcpy(trimsPutBack.stickTrim, before.stickTrim, sizeof before.stickTrim);
        FUZZ_CHECK(trimsPutBack == before); // telemetry moves nothing but the trims
    }
    // The trace number names the aux frame or a known parameter kind; a
    // kind the decoder does not know stores nothing.
    if (what == Incoming::Aux)
        FUZZ_CHECK(kindNumber == kAuxKindNumber);
    else if (what == Incoming::Parameters)
        FUZZ_CHECK(kindNumber >= 0 && kindNumber <= 19 && kindNumber != kAuxKindNumber);
    else
        FUZZ_CHECK(kindNumber == 0);
    if (what == Incoming::Parameters && kindNumber == 0)
        FUZZ_CHECK(p == before);

    selectDualRate(p);
    validateParameters(p);
    return what;
}

ParameterSet checkFramesSendable(ParameterSet p)
{
    // The fixed tails as the program started with them; no build may touch them.
    static const QString *const tails = [] {
        static QString t[4];
        for (int k = 0; k < 4; ++k)
            t[k] = kFileFrameLayouts[k]->buffer->mid(kFileFrameLayouts[k]->builtLength);
        return t;
    }();
    p.txAlarmTenths = alarmTenths(p.txAlarmVolt);
    p.rxAlarmTenths = alarmTenths(p.rxAlarmVolt);
    p.extAlarmTenths = alarmTenths(p.extAlarmVolt);
    const ParameterSet before = p;
    for (int k = 0; k < 4; ++k) {
        const FrameLayout &layout = *kFileFrameLayouts[k];
        const QString built = encodeFrame(layout, p);
        FUZZ_CHECK(built.size() == layout.builtLength);
        const QString &frame = storeBuiltFrame(layout, built);
        FUZZ_CHECK(frame.size() == kFrameLength);
        FUZZ_CHECK(frame.at(0) == QLatin1Char(layout.kind));
        FUZZ_CHECK(frame.mid(layout.builtLength) == tails[k]);
        for (int i = 1; i < layout.builtLength; ++i)
            FUZZ_CHECK(isFrameDigit(frame.at(i)));
    }
    FUZZ_CHECK(p == before); // building only reads the record
    return p;
}
