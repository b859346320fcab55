// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What every fuzz target checks, and the helpers they share. A broken
// property ends the process with abort(), so libFuzzer keeps the input and
// the corpus replay of a normal build fails on it.

#include "files/paramfile.h"
#include "link/framedecoder.h"
#include "link/frames.h"
#include "model/parameterset.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

[[noreturn]] void propertyBroken(const char *what, const char *file, int line);

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            propertyBroken(#condition, __FILE__, __LINE__);                                        \
    } while (false)

// The fuzzer's bytes, read front to back; past the end every read gives 0.
class ByteReader
{
public:
    ByteReader(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_at >= m_size; }
    unsigned byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    unsigned word() { return byte() << 8 | byte(); }
    // Mostly small numbers around the widgets' ranges; a marker byte 0x80
    // brings a full 32-bit value.
    int value();
    double real();
    QByteArray bytes(int count);

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

// The range of values a field's place in a frame can carry unchanged.
struct CarriedRange {
    int lo;
    int hi;
};
CarriedRange carriedRange(FieldCoding coding);

// Calls f(field) for every field of the four frames that carries a value.
template <typename F> void forEachCarriedField(F f)
{
    for (const FrameLayout *layout :
         {&kFrameLayoutS, &kFrameLayoutG, &kFrameLayoutH, &kFrameLayoutI}) {
        for (int i = 0; i < layout->fieldCount; ++i) {
            if (layout->fields[i].coding != FieldCoding::Fixed)
                f(layout->fields[i]);
        }
    }
}

// One notification through the decoder, as the receive slot takes it,
// checking that it was classified by its size and markers alone, that what
// it was not meant to touch stayed as it was and that held trims did not
// move; then the closing steps (reselection, validation).
Incoming receiveChecked(const QByteArray &bytes, ParameterSet &p, LiveStatus &live,
                        bool suspendTrims);

// Builds the four frames from the record as the WRITE does, alarm tenths
// from the volts first, and checks that each is exactly 81 characters: its
// kind letter, hex digits only, its fixed tail and end letter untouched.
// Returns the record as the frames carry it (with the tenths).
ParameterSet checkFramesSendable(ParameterSet p);
