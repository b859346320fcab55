// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/framedecoder.h"

#include <iterator>
#include <limits>

LiveStatus liveStatus = {{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}, 0, 0, 0, 0};
bool suspendTrimUpdate = false;

namespace {

// One run of values in a frame: `count` consecutive fields of `width` bytes
// each, starting at byte `offset`, stored minus `bias` into consecutive
// ints starting at `field`. The transmitter sends signed settings shifted
// up by 120 or 100 so that they fit an unsigned byte.
struct FieldRow {
    int offset;
    int count;
    int width;
    int bias;
    int *(*field)(ParameterSet &);
};

#define AT(member) [](ParameterSet &p) { return &p.member; }

struct FrameKind {
    unsigned char kindByte;
    int kindNumber;
    const FieldRow *rows;
    int rowCount;
    void (*finish)(ParameterSet &); // derived fields, may be null
};

const FieldRow kReverse[] = {{3, 8, 1, 0, AT(reverse[0])}};
const FieldRow kSubTrim[] = {{3, 8, 1, 120, AT(subTrim[0])}};
const FieldRow kEndLeft[] = {{3, 8, 1, 0, AT(endPointLeft[0])}};
const FieldRow kEndRight[] = {{3, 8, 1, 0, AT(endPointRight[0])}};
const FieldRow kFailSafe[] = {{3, 8, 1, 0, AT(failSafe[0])}};
const FieldRow kSystem[] = {
    {3, 1, 2, 0, AT(txAlarmTenths)}, {5, 1, 2, 0, AT(stickMode)}, {7, 1, 2, 0, AT(txVersion)}};
const FieldRow kAux[] = {{3, 4, 1, 0, AT(auxSource[4])}};
const FieldRow kAttitude[] = {{3, 1, 1, 0, AT(attitudeChannel)}, {4, 6, 1, 0, AT(attitude[0])}};
// The elevon values come interleaved left/right, then the last pair.
const FieldRow kElevon[] = {{3, 1, 1, 0, AT(elevonMix)},   {4, 1, 1, 120, AT(elevon[0])},
                            {5, 1, 1, 120, AT(elevon[4])}, {6, 1, 1, 120, AT(elevon[1])},
                            {7, 1, 1, 120, AT(elevon[5])}, {8, 1, 1, 120, AT(elevon[2])},
                            {9, 1, 1, 120, AT(elevon[3])}};
const FieldRow kVtail[] = {
    {3, 1, 1, 0, AT(vtailMix)}, {4, 4, 1, 100, AT(vtail[0])}, {8, 1, 1, 0, AT(drMix)}};
const FieldRow kDelay[] = {{3, 8, 1, 0, AT(servoDelay[0])}};
const FieldRow kDrRate[] = {{3, 4, 1, 0, AT(drRate[0][0])}, {7, 4, 1, 0, AT(drRate[1][0])}};
const FieldRow kMix12Rates[] = {
    {3, 1, 1, 100, AT(progMix[0].up)},     {4, 1, 1, 100, AT(progMix[1].up)},
    {5, 1, 1, 100, AT(progMix[0].down)},   {6, 1, 1, 100, AT(progMix[1].down)},
    {7, 1, 1, 100, AT(progMix[0].offset)}, {8, 1, 1, 100, AT(progMix[1].offset)},
    {9, 1, 1, 0, AT(progMix[0].master)},   {10, 1, 1, 0, AT(progMix[1].master)}};
// The trim steps travel from trim 4 down to trim 1.
const FieldRow kMix12Routing[] = {
    {3, 1, 1, 0, AT(progMix[0].slave)}, {4, 1, 1, 0, AT(progMix[1].slave)},
    {5, 1, 1, 0, AT(progMix[0].mode)},  {6, 1, 1, 0, AT(progMix[1].mode)},
    {7, 1, 1, 0, AT(trimStep[3])},      {8, 1, 1, 0, AT(trimStep[2])},
    {9, 1, 1, 0, AT(trimStep[1])},      {10, 1, 1, 0, AT(trimStep[0])}};
const FieldRow kMix3[] = {{3, 1, 1, 0, AT(progMix[2].mode)},  {4, 1, 1, 0, AT(progMix[2].master)},
                          {5, 1, 1, 0, AT(progMix[2].slave)}, {6, 1, 1, 100, AT(progMix[2].offset)},
                          {7, 1, 1, 100, AT(progMix[2].up)},  {8, 1, 1, 100, AT(progMix[2].down)},
                          {9, 1, 1, 0, AT(progMix[3].mode)},  {10, 1, 1, 0, AT(progMix[3].master)}};
const FieldRow kMix4Curve[] = {
    {3, 1, 1, 0, AT(progMix[3].slave)}, {4, 1, 1, 100, AT(progMix[3].offset)},
    {5, 1, 1, 100, AT(progMix[3].up)},  {6, 1, 1, 100, AT(progMix[3].down)},
    {7, 1, 1, 0, AT(throttleCurveMix)}, {8, 1, 1, 0, AT(throttleCurveExtra)},
    {9, 2, 1, 0, AT(throttleCurve[0])}};
const FieldRow kCurveRest[] = {{3, 5, 1, 0, AT(throttleCurve[2])}};
const FieldRow kAlarms[] = {{3, 1, 1, 0, AT(drSwitch)},
                            {4, 1, 1, 0, AT(drPosition)},
                            {5, 1, 2, 0, AT(extAlarmTenths)},
                            {7, 1, 1, 100, AT(rssiAlarm)},
                            {8, 1, 1, 0, AT(rxAlarmTenths)}};
const FieldRow kDrExpo[] = {{3, 4, 1, 100, AT(drExpo[0][0])}, {7, 4, 1, 100, AT(drExpo[1][0])}};

#undef AT

// The alarm volts the pilot edits follow the tenths the frame carries.
void finishSystem(ParameterSet &p)
{
    p.txAlarmVolt = p.txAlarmTenths / 10.0;
}
void finishAlarms(ParameterSet &p)
{
    p.extAlarmVolt = p.extAlarmTenths / 10.0;
    p.rxAlarmVolt = p.rxAlarmTenths / 10.0;
}

#define KIND(byte, number, rows, finish)                                                           \
    {                                                                                              \
        byte, number, rows, int(std::size(rows)), finish                                           \
    }

const FrameKind kParameterKinds[] = {
    KIND(0x44, 1, kReverse, nullptr),       KIND(0x55, 2, kSubTrim, nullptr),
    KIND(0x66, 3, kEndLeft, nullptr),       KIND(0x77, 4, kEndRight, nullptr),
    KIND(0x88, 5, kFailSafe, nullptr),      KIND(0x99, 6, kSystem, finishSystem),
    KIND(0xA1, 8, kAttitude, nullptr),      KIND(0xA2, 9, kElevon, nullptr),
    KIND(0xA3, 10, kVtail, nullptr),        KIND(0xA4, 11, kDelay, nullptr),
    KIND(0xA5, 12, kDrRate, nullptr),       KIND(0xA6, 13, kMix12Rates, nullptr),
    KIND(0xA7, 14, kMix12Routing, nullptr), KIND(0xA8, 15, kMix3, nullptr),
    KIND(0xA9, 16, kMix4Curve, nullptr),    KIND(0xAA, 17, kCurveRest, nullptr),
    KIND(0xAB, 18, kAlarms, finishAlarms),  KIND(0xAC, 19, kDrExpo, nullptr)};

const FrameKind kAuxKind = KIND(0xAA, kAuxKindNumber, kAux, nullptr);

#undef KIND

constexpr unsigned char kMarker = 0xFE;
constexpr unsigned char kChannelType = 0x18;
constexpr unsigned char kTelemetryType = 0x19;
constexpr unsigned char kAuxMarker = 0xAA;
constexpr int kLiveFrameSize = 20;
constexpr int kAuxFrameSize = 8;
constexpr int kParameterFrameSize = 12;

int byteAt(const QByteArray &bytes, int index)
{
    return index >= 0 && index < bytes.size() ? static_cast<unsigned char>(bytes[index]) : 0;
}

void storeRows(const QByteArray &bytes, const FrameKind &kind, ParameterSet &p)
{
    for (int r = 0; r < kind.rowCount; ++r) {
        const FieldRow &row = kind.rows[r];
        int *target = row.field(p);
        for (int i = 0; i < row.count; ++i) {
            const int at = row.offset + i * row.width;
            const int raw = row.width == 2 ? u16At(bytes, at) : byteAt(bytes, at);
            target[i] = raw - row.bias;
        }
    }
    if (kind.finish)
        kind.finish(p);
}

// The inverse of storeRows: each field plus its bias, limited to what its
// one or two bytes can hold.
void putRows(QByteArray &frame, const FrameKind &kind, const ParameterSet &p)
{
    // The accessors hand out writable pointers so the decoder can share
    // them; here they are only read.
    ParameterSet &source = const_cast<ParameterSet &>(p);
    for (int r = 0; r < kind.rowCount; ++r) {
        const FieldRow &row = kind.rows[r];
        const int *values = row.field(source);
        for (int i = 0; i < row.count; ++i) {
            int at = row.offset + i * row.width;
            const int top = row.width == 2 ? 0xFFFF : 0xFF;
            const int raw = int(qBound(qint64(0), qint64(values[i]) + row.bias, qint64(top)));
            if (row.width == 2)
                frame[at++] = char(raw >> 8);
            frame[at] = char(raw & 0xFF);
        }
    }
}

const FrameKind *parameterKind(unsigned char kindByte)
{
    for (const FrameKind &kind : kParameterKinds) {
        if (kind.kindByte == kindByte)
            return &kind;
    }
    return nullptr;
}

void decodeChannels(const QByteArray &bytes, LiveStatus &live)
{
    for (int ch = 0; ch < 8; ++ch)
        live.channelOutput[ch] = u16At(bytes, 2 + 2 * ch);
    live.txVoltage = u16At(bytes, 18);
}

// A trim reported beyond 238 is shown and sent back as the end stop 240.
int clampedTrim(int raw)
{
    return raw > 238 ? 240 : raw;
}

void decodeTelemetry(const QByteArray &bytes, LiveStatus &live, ParameterSet &p, bool suspendTrims)
{
    live.rssi = byteAt(bytes, 2);
    live.rxVoltage = byteAt(bytes, 3);
    live.extVoltage = u16At(bytes, 4);
    if (suspendTrims)
        return;
    for (int i = 0; i < 4; ++i)
        p.stickTrim[3 - i] = clampedTrim(byteAt(bytes, 10 + i));
}

Incoming decodeLiveFrame(const QByteArray &bytes, ParameterSet &p, LiveStatus &live,
                         bool suspendTrims)
{
    if (byteAt(bytes, 0) != kMarker)
        return Incoming::Nothing;
    switch (byteAt(bytes, 1)) {
    case kChannelType:
        decodeChannels(bytes, live);
        return Incoming::Channels;
    case kTelemetryType:
        decodeTelemetry(bytes, live, p, suspendTrims);
        return Incoming::Telemetry;
    default:
        return Incoming::Nothing;
    }
}

} // namespace

int u16At(const QByteArray &bytes, int index)
{
    // No array reaches the top of int, so the low byte there is outside it.
    const int low = index < std::numeric_limits<int>::max() ? byteAt(bytes, index + 1) : 0;
    return byteAt(bytes, index) * 256 + low;
}

Incoming decodeNotification(const QByteArray &bytes, ParameterSet &p, LiveStatus &live,
                            bool suspendTrims, int *kindNumber)
{
    int number = 0;
    Incoming result = Incoming::Nothing;
    const int size = bytes.size();
    if (size == kLiveFrameSize) {
        result = decodeLiveFrame(bytes, p, live, suspendTrims);
    } else if (size == kAuxFrameSize && byteAt(bytes, 2) == kAuxMarker) {
        storeRows(bytes, kAuxKind, p);
        number = kAuxKind.kindNumber;
        result = Incoming::Aux;
    } else if (size == kParameterFrameSize && byteAt(bytes, 0) == kMarker &&
               byteAt(bytes, 11) == kMarker) {
        if (const FrameKind *kind = parameterKind(byteAt(bytes, 2))) {
            storeRows(bytes, *kind, p);
            number = kind->kindNumber;
        }
        result = Incoming::Parameters;
    }
    if (kindNumber)
        *kindNumber = number;
    return result;
}

QList<QByteArray> settingFrames(const ParameterSet &p)
{
    QList<QByteArray> frames;
    for (const FrameKind &kind : kParameterKinds) {
        QByteArray frame(kParameterFrameSize, '\0');
        frame[0] = char(kMarker);
        frame[2] = char(kind.kindByte);
        frame[kParameterFrameSize - 1] = char(kMarker);
        putRows(frame, kind, p);
        frames.append(frame);
    }
    QByteArray aux(kAuxFrameSize, '\0');
    aux[2] = char(kAuxMarker);
    putRows(aux, kAuxKind, p);
    frames.append(aux);
    return frames;
}
