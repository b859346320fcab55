// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/frames.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <vector>

QString frameTextS = QStringLiteral(
    "S00100000787878787878787870707070707070707070707070707070424210424242424213027E2Y");
QString frameTextG = QStringLiteral(
    "G41E2D3C4855680DCDCDCDCDC1409632A696674747474747474740074746474647464640135006D2Z");
QString frameTextH = QStringLiteral(
    "H0000000000000000000000000000000000000000000000000000000000000000000000000000000X");
QString frameTextI = QStringLiteral(
    "I0000000000000000000000000000000000000000000000000000000000000000000000000000000V");

namespace {

// One row per field: the coding and the member it carries.
#define FIELD(coding, member)                                                                      \
    FrameField                                                                                     \
    {                                                                                              \
        FieldCoding::coding, [](ParameterSet &p) -> int & { return p.member; }, nullptr            \
    }
#define FIELDS4(coding, member)                                                                    \
    FIELD(coding, member[0]), FIELD(coding, member[1]), FIELD(coding, member[2]),                  \
        FIELD(coding, member[3])
#define FIELDS8(coding, member)                                                                    \
    FIELDS4(coding, member), FIELD(coding, member[4]), FIELD(coding, member[5]),                   \
        FIELD(coding, member[6]), FIELD(coding, member[7])
#define FIXED(text)                                                                                \
    FrameField                                                                                     \
    {                                                                                              \
        FieldCoding::Fixed, nullptr, text                                                          \
    }

// Servo setup of all eight channels, aux controls, TX alarm, stick mode.
const FrameField kFieldsS[] = {
    FIELDS8(Dec, reverse),         FIELDS8(Hex120, subTrim), FIELDS8(Hex16, endPointLeft),
    FIELDS8(Hex16, endPointRight), FIELDS8(Hex16, failSafe), FIELD(Dec, auxSource[4]),
    FIELD(Dec, auxSource[5]),      FIELD(Dec, auxSource[6]), FIELD(Dec, auxSource[7]),
    FIELD(Hex16, txAlarmTenths),   FIELD(Dec, stickMode),
};

// Mixes, delays, D/R selection and prog. mixes 1 and 2. The transmitter
// takes the elevon values and the two prog. mixes interleaved.
const FrameField kFieldsG[] = {
    FIELD(Dec, attitudeChannel),
    FIELD(Hex16, attitude[0]),
    FIELD(Hex16, attitude[1]),
    FIELD(Hex16, attitude[2]),
    FIELD(Hex16, attitude[3]),
    FIELD(Hex16, attitude[4]),
    FIELD(Hex16, attitude[5]),
    FIELD(Dec, elevonMix),
    FIELD(Hex120, elevon[0]),
    FIELD(Hex120, elevon[4]),
    FIELD(Hex120, elevon[1]),
    FIELD(Hex120, elevon[5]),
    FIELD(Hex120, elevon[2]),
    FIELD(Hex120, elevon[3]),
    FIELD(Dec, vtailMix),
    FIELDS4(Hex116, vtail),
    FIXED("6"),
    FIELDS8(Hex16, servoDelay),
    FIELD(Dec, drMix),
    FIELD(Dec, drChannel),
    FIELD(Hex16, drEditUp),
    FIELD(Hex16, drEditDown),
    FIELD(Hex116, progMix[0].up),
    FIELD(Hex116, progMix[1].up),
    FIELD(Hex116, progMix[0].down),
    FIELD(Hex116, progMix[1].down),
    FIELD(Hex116, progMix[0].offset),
    FIELD(Hex116, progMix[1].offset),
    FIELD(Dec, progMix[0].master),
    FIELD(Dec, progMix[1].master),
    FIELD(Dec, progMix[0].slave),
    FIELD(Dec, progMix[1].slave),
    FIELD(Dec, progMix[0].mode),
    FIELD(Dec, progMix[1].mode),
};

// Dual rates and expos, prog. mixes 3 and 4 as blocks, throttle curve,
// RX/EXT/RSSI alarms.
const FrameField kFieldsH[] = {
    FIELDS4(Hex16, drRate[0]),      FIELDS4(Hex16, drRate[1]),
    FIELD(Dec, progMix[2].mode),    FIELD(Dec, progMix[2].master),
    FIELD(Dec, progMix[2].slave),   FIELD(Hex116, progMix[2].offset),
    FIELD(Hex116, progMix[2].up),   FIELD(Hex116, progMix[2].down),
    FIELD(Dec, progMix[3].mode),    FIELD(Dec, progMix[3].master),
    FIELD(Dec, progMix[3].slave),   FIELD(Hex116, progMix[3].offset),
    FIELD(Hex116, progMix[3].up),   FIELD(Hex116, progMix[3].down),
    FIELD(Dec, throttleCurveMix),   FIELD(Dec, throttleCurveExtra),
    FIELD(Hex16, throttleCurve[0]), FIELD(Hex16, throttleCurve[1]),
    FIELD(Hex16, throttleCurve[2]), FIELD(Hex16, throttleCurve[3]),
    FIELD(Hex16, throttleCurve[4]), FIELD(Hex16, throttleCurve[5]),
    FIELD(Hex16, throttleCurve[6]), FIELD(Dec, drPosition),
    FIELDS4(Hex116, drExpo[0]),     FIELDS4(Hex116, drExpo[1]),
    FIELD(Dec3, extAlarmTenths),    FIELD(Hex120, rssiAlarm),
    FIELD(Dec, drSwitch),           FIELD(Hex16, rxAlarmTenths),
};

// Trims and trim steps, last trim first.
const FrameField kFieldsI[] = {
    FIELD(Hex16, stickTrim[3]), FIELD(Hex16, stickTrim[2]), FIELD(Hex16, stickTrim[1]),
    FIELD(Hex16, stickTrim[0]), FIELD(Hex16, trimStep[3]),  FIELD(Hex16, trimStep[2]),
    FIELD(Hex16, trimStep[1]),  FIELD(Hex16, trimStep[0]),
};

#undef FIELD
#undef FIELDS4
#undef FIELDS8
#undef FIXED

template <std::size_t N>
constexpr FrameLayout layout(char kind, int built, const FrameField (&fields)[N], QString *buffer,
                             void (*afterDecode)(ParameterSet &) = nullptr)
{
    return FrameLayout{kind, built, fields, static_cast<int>(N), buffer, afterDecode};
}

void txAlarmVoltFromTenths(ParameterSet &p)
{
    p.txAlarmVolt = p.txAlarmTenths / 10.0;
}

void rxExtAlarmVoltsFromTenths(ParameterSet &p)
{
    p.rxAlarmVolt = p.rxAlarmTenths / 10.0;
    p.extAlarmVolt = p.extAlarmTenths / 10.0;
}

// Two hex digits carry 16..255 only: an alarm from 24.0 V or a trim at
// 240 would otherwise lengthen the frame and shift every later field.
QString hexField(int value, int bias)
{
    const qint64 sum = std::clamp<qint64>(qint64(value) + bias, 16, 255);
    return QString::number(sum, 16).toUpper();
}

QString decField(int value)
{
    // A combo box without a selection stores -1; the transmitter gets 0.
    return QString::number(std::clamp(value, 0, 9));
}

QString dec3Field(int value)
{
    // The digits wrap above 999 as the transmitter has always seen them;
    // a negative count has no digits, so it goes out as "000".
    const int v = std::max(value, 0);
    return QString::number(v / 100 % 10) + QString::number(v / 10 % 10) + QString::number(v % 10);
}

} // namespace

const FrameLayout kFrameLayoutS = layout('S', 80, kFieldsS, &frameTextS, txAlarmVoltFromTenths);
const FrameLayout kFrameLayoutG = layout('G', 77, kFieldsG, &frameTextG);
const FrameLayout kFrameLayoutH = layout('H', 76, kFieldsH, &frameTextH, rxExtAlarmVoltsFromTenths);
const FrameLayout kFrameLayoutI = layout('I', 17, kFieldsI, &frameTextI);

int fieldBias(FieldCoding coding)
{
    switch (coding) {
    case FieldCoding::Hex16:
        return 16;
    case FieldCoding::Hex116:
        return 116;
    case FieldCoding::Hex120:
        return 120;
    default:
        return 0;
    }
}

int fieldWidth(const FrameField &f)
{
    switch (f.coding) {
    case FieldCoding::Dec:
        return 1;
    case FieldCoding::Dec3:
        return 3;
    case FieldCoding::Fixed:
        return int(qstrlen(f.text));
    default:
        return 2;
    }
}

QString encodeField(const FrameField &f, const ParameterSet &p)
{
    if (f.coding == FieldCoding::Fixed)
        return QString::fromLatin1(f.text);
    // The accessor hands out a writable reference so a decoder can share
    // it; here it is only read.
    const int value = f.field(const_cast<ParameterSet &>(p));
    switch (f.coding) {
    case FieldCoding::Dec:
        return decField(value);
    case FieldCoding::Dec3:
        return dec3Field(value);
    default:
        return hexField(value, fieldBias(f.coding));
    }
}

QString encodeFrame(const FrameLayout &layout, const ParameterSet &p)
{
    QString built(QLatin1Char(layout.kind));
    built.reserve(layout.builtLength);
    for (int i = 0; i < layout.fieldCount; ++i)
        built += encodeField(layout.fields[i], p);
    return built;
}

QString encodeFrameS(const ParameterSet &p)
{
    return encodeFrame(kFrameLayoutS, p);
}
QString encodeFrameG(const ParameterSet &p)
{
    return encodeFrame(kFrameLayoutG, p);
}
QString encodeFrameH(const ParameterSet &p)
{
    return encodeFrame(kFrameLayoutH, p);
}
QString encodeFrameI(const ParameterSet &p)
{
    return encodeFrame(kFrameLayoutI, p);
}

const QString &storeBuiltFrame(const FrameLayout &layout, const QString &built)
{
    Q_ASSERT(built.length() == layout.builtLength);
    layout.buffer->replace(0, layout.builtLength, built);
    return *layout.buffer;
}

int alarmTenths(double volts)
{
    // The product is rounded to single precision before truncation, so a
    // pilot's 0.3 V (held as 0.2999…) still becomes 3 tenths, not 2.
    constexpr float kTen = 10.0f;
    const double product = kTen * volts;
    if (!(product > -2e9 && product < 2e9)) // NaN or beyond any alarm
        return std::isnan(product) ? 0
                                   : (product > 0 ? std::numeric_limits<int>::max()
                                                  : std::numeric_limits<int>::min());
    return static_cast<int>(static_cast<float>(product));
}

namespace {

// A run of bytes of ParameterSet that frames carry.
struct ByteRun {
    std::size_t offset;
    std::size_t length;
};

std::vector<ByteRun> carriedRuns()
{
    ParameterSet probe{};
    const char *base = reinterpret_cast<const char *>(&probe);
    std::vector<std::size_t> offsets;
    for (const FrameLayout *layout :
         {&kFrameLayoutS, &kFrameLayoutG, &kFrameLayoutH, &kFrameLayoutI}) {
        for (int i = 0; i < layout->fieldCount; ++i) {
            if (const FieldAccess access = layout->fields[i].field)
                offsets.push_back(
                    std::size_t(reinterpret_cast<const char *>(&access(probe)) - base));
        }
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());

    std::vector<ByteRun> runs;
    for (const std::size_t offset : offsets) {
        if (!runs.empty() && runs.back().offset + runs.back().length == offset)
            runs.back().length += sizeof(int);
        else
            runs.push_back({offset, sizeof(int)});
    }
    // The volts the pilot edits, side by side in the record.
    runs.push_back({offsetof(ParameterSet, txAlarmVolt), 3 * sizeof(double)});
    return runs;
}

} // namespace

bool sameCarriedSettings(const ParameterSet &a, const ParameterSet &b)
{
    static const std::vector<ByteRun> runs = carriedRuns();
    const char *left = reinterpret_cast<const char *>(&a);
    const char *right = reinterpret_cast<const char *>(&b);
    for (const ByteRun &run : runs) {
        if (std::memcmp(left + run.offset, right + run.offset, run.length) != 0)
            return false;
    }
    return true;
}
