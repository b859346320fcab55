// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// A session: notifications from the transmitter interleaved with the
// pilot's edits, factory resets and RESET/LOAD holding the trims, in any
// order. Whatever happened, the next WRITE sends well-formed frames.
#include "fuzzsupport.h"
#include "model/editing.h"

#include <vector>

namespace {

// Every member a frame carries, for edits of any other widget.
std::vector<FieldAccess> carriedMembers()
{
    std::vector<FieldAccess> members;
    forEachCarriedField([&](const FrameField &f) { members.push_back(f.field); });
    return members;
}

// After a dual-rate edit on CH1..CH4 the four working copies show the
// selected channel's table entries.
void checkWorkingCopies(const ParameterSet &p)
{
    if (!drChannelHasTable(p))
        return;
    const int c = p.drChannel;
    const int pos = drPositionIndex(p);
    FUZZ_CHECK(p.drEditUp == p.drRate[0][c] && p.drEditDown == p.drRate[1][c]);
    FUZZ_CHECK(p.drEditRate == p.drRate[pos][c] && p.drEditExpo == p.drExpo[pos][c]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::vector<FieldAccess> members = carriedMembers();
    ByteReader in(data, size);
    ParameterSet p = kStartParameters;
    LiveStatus live = liveStatus;
    bool suspendTrims = false;
    while (!in.atEnd()) {
        const unsigned step = in.byte() % 12;
        switch (step) {
        case 0:
            receiveChecked(in.bytes(int(in.byte() % 33)), p, live, suspendTrims);
            break;
        case 1:
            suspendTrims = !suspendTrims;
            break;
        case 2:
            editDrChannel(p, in.value());
            break;
        case 3:
            editDrPosition(p, in.value());
            break;
        case 4:
            editDrUp(p, in.value());
            break;
        case 5:
            editDrDown(p, in.value());
            break;
        case 6:
            editDrRate(p, in.value());
            break;
        case 7:
            editDrExpo(p, in.value());
            break;
        case 8: {
            const int row = in.value();
            editTrimStep(p, row, in.value());
            break;
        }
        case 9: {
            const FieldAccess member = members[in.byte() % members.size()];
            member(p) = in.value();
            break;
        }
        case 10: {
            double *volts[3] = {&p.txAlarmVolt, &p.rxAlarmVolt, &p.extAlarmVolt};
            *volts[in.byte() % 3] = in.real();
            break;
        }
        default:
            restFactoryA(p);
            restFactoryB(p);
            break;
        }
        if (step >= 2 && step <= 7)
            checkWorkingCopies(p);
    }
    // WRITE sends the record as it stands; LOAD sends it after validation.
    checkFramesSendable(p);
    selectDualRate(p);
    validateParameters(p);
    checkFramesSendable(p);
    return 0;
}
