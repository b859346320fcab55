// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// One serial notification of any length and content, as the receive slot
// gets it, with trim updates both free and held.
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    for (const bool suspendTrims : {false, true}) {
        ParameterSet p = kStartParameters;
        LiveStatus live = liveStatus;
        receiveChecked(bytes, p, live, suspendTrims);
        checkFramesSendable(p);
    }
    return 0;
}
