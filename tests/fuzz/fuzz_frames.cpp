// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The frame encoder for any record at all: every int from the full range,
// every double including NaN and the infinities.
#include "fuzzsupport.h"

#include <algorithm>
#include <cstring>

namespace {

// What the transmitter gets for a value: the nearest one its place can
// carry, except the external alarm's digits, which wrap above 999.
int sentValue(FieldCoding coding, int value)
{
    if (coding == FieldCoding::Dec3)
        return std::max(value, 0) % 1000;
    const CarriedRange r = carriedRange(coding);
    return std::clamp(value, r.lo, r.hi);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ParameterSet p = kStartParameters;
    std::memcpy(&p, data, std::min(size, sizeof p));
    ParameterSet sent = checkFramesSendable(p);

    const QString file = QString::fromLatin1(parameterFileBytes());
    ParameterSet back = sent;
    FUZZ_CHECK(decodeParameterFile(file, back).count() == 4);
    forEachCarriedField([&](const FrameField &f) {
        FUZZ_CHECK(f.field(back) == sentValue(f.coding, f.field(sent)));
    });
    return 0;
}
