// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Parameter files: any bytes a pilot might pick, and files made from any
// record the format can carry.
#include "fuzzsupport.h"
#include "model/editing.h"

#include <QBuffer>

#include <algorithm>

namespace {

QString readText(const QByteArray &bytes)
{
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    return readParameterFileText(device);
}

// Whatever the bytes, LOAD reads a bounded text, takes exactly the frames
// that stand in place with their letters, leaves the others' fields alone
// and afterwards sends well-formed frames.
void checkAnyFile(const QByteArray &bytes)
{
    const QString text = readText(bytes);
    FUZZ_CHECK(text.size() <= std::min<qint64>(bytes.size(), kParameterFileReadLimit));

    ParameterSet p = kStartParameters;
    const FileFramesAccepted accepted = decodeParameterFile(text, p);
    const int needed[4] = {162, 162, 243, 324};
    for (int k = 0; k < 4; ++k) {
        const FrameLayout &layout = *kFileFrameLayouts[k];
        const int start = k * kFrameLength;
        const bool inPlace = text.size() >= needed[k] &&
                             text.at(start) == QLatin1Char(layout.kind) &&
                             text.at(start + kFrameLength - 1) == layout.buffer->back();
        FUZZ_CHECK(accepted.frame[k] == inPlace);
        ParameterSet fresh = kStartParameters;
        for (int i = 0; !inPlace && i < layout.fieldCount; ++i) {
            if (layout.fields[i].field)
                FUZZ_CHECK(layout.fields[i].field(p) == layout.fields[i].field(fresh));
        }
    }
    checkFramesSendable(p);
    selectDualRate(p);
    validateParameters(p);
    checkFramesSendable(p);
}

// A record holding any value each field's place can carry, saved and
// loaded again, comes back exactly.
void checkRoundTrip(const uint8_t *data, size_t size)
{
    ByteReader in(data, size);
    ParameterSet p = kStartParameters;
    forEachCarriedField([&](const FrameField &f) {
        const CarriedRange r = carriedRange(f.coding);
        f.field(p) = r.lo + int(in.word() % unsigned(r.hi - r.lo + 1));
    });
    // A loaded file leaves the volts at tenths / 10; sending them again
    // must give the same tenths.
    p.txAlarmVolt = p.txAlarmTenths / 10.0;
    p.rxAlarmVolt = p.rxAlarmTenths / 10.0;
    p.extAlarmVolt = p.extAlarmTenths / 10.0;
    FUZZ_CHECK(checkFramesSendable(p) == p);

    const QByteArray file = parameterFileBytes();
    FUZZ_CHECK(file.size() == kParameterFileLength);
    ParameterSet loaded = p;
    forEachCarriedField([&](const FrameField &f) { ++f.field(loaded); });
    loaded.txAlarmVolt += 1;
    loaded.rxAlarmVolt += 1;
    loaded.extAlarmVolt += 1;
    FUZZ_CHECK(decodeParameterFile(readText(file), loaded).count() == 4);
    FUZZ_CHECK(loaded == p);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkAnyFile(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    checkRoundTrip(data, size);
    return 0;
}
