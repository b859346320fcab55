// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "check/transmittercheck.h"

#include "check/asshown.h"
#include "link/framedecoder.h"
#include "model/editing.h"
#include "views/statustexts.h"

#include <algorithm>
#include <iterator>

namespace {

// As long as READ waits for its frames: its 500 ms pause after "RR" and
// the grace after it in which trailing frames still count.
constexpr int kCheckWaitMs = 1000;

const QString &noAnswerHint()
{
    static const QString hint =
        QStringLiteral("check the cable, the port and that the transmitter is on");
    return hint;
}

} // namespace

QString checkProgressText(int framesArrived)
{
    return QStringLiteral("Checking, %1 of %2 frames").arg(framesArrived).arg(kSettingFrameKinds);
}

QString checkOutcomeText(const CheckResult &result, int differences)
{
    switch (result.end) {
    case CheckEnd::Interrupted:
        return result.interruption;
    case CheckEnd::Partial:
        if (result.framesArrived == 0) // COMPARE says what to look at
            return QStringLiteral("Not checked: no answer from the transmitter");
        return QStringLiteral("Not checked: only %1 of %2 frames arrived — check again")
            .arg(result.framesArrived)
            .arg(kSettingFrameKinds);
    case CheckEnd::Complete:
        break;
    }
    if (differences == 0)
        return QStringLiteral("Checked: the transmitter holds the editor's settings");
    if (differences == 1)
        return QStringLiteral("Checked: 1 setting differs — COMPARE shows it");
    return QStringLiteral("Checked: %1 settings differ — COMPARE shows them").arg(differences);
}

QString checkCompareTrouble(const CheckResult &result)
{
    switch (result.end) {
    case CheckEnd::Interrupted:
        return result.interruption;
    case CheckEnd::Partial:
        // Frames that did not come may hold anything: nothing is called
        // equal.
        if (result.framesArrived == 0)
            return QStringLiteral("No answer from the transmitter: nothing compared — ") +
                   noAnswerHint();
        return QStringLiteral("The transmitter sent only %1 of %2 setting frames: nothing "
                              "compared — check again")
            .arg(result.framesArrived)
            .arg(kSettingFrameKinds);
    case CheckEnd::Complete:
        break;
    }
    return QString();
}

QString checkInterruptionText(CommandKind kind)
{
    return QStringLiteral("Check interrupted by ") + commandName(kind);
}

QString checkInterruptionText(const RunningCommand &command)
{
    return QStringLiteral("Check interrupted by ") + commandName(command);
}

QString checkRefusedText()
{
    // Shown beside the command's own words, while it runs and after.
    return QStringLiteral("Not checked while a command runs");
}

TransmitterCheck::TransmitterCheck(const LinkActivity &activity, const ParameterSet &editorRecord,
                                   QObject *parent)
    : QObject(parent), link(activity), editor(editorRecord)
{
    deadline.setSingleShot(true);
    deadline.setInterval(kCheckWaitMs);
    connect(&deadline, &QTimer::timeout, this, [this] {
        if (waitHeld)
            deadline.start();
        else
            finish(CheckEnd::Partial);
    });
}

void TransmitterCheck::holdWait(bool hold)
{
    waitHeld = hold;
    if (!hold && deadline.isActive())
        deadline.start();
}

int TransmitterCheck::framesArrived() const
{
    int count = 0;
    for (quint32 bits = framesSeen; bits != 0; bits &= bits - 1)
        ++count;
    return count;
}

TransmitterCheck::Start TransmitterCheck::start()
{
    if (running)
        return Start::AlreadyRunning;
    if (link.connection() == 0)
        return Start::NotConnected;
    if (!link.running().empty() || readBeingJudged)
        return Start::Busy;
    record = editor;
    framesSeen = 0;
    unseen.reset();
    running = true;
    connection = link.connection();
    droppingOn = 0;
    deadline.start();
    emit progressed(0);
    return Start::Started;
}

bool TransmitterCheck::listening() const
{
    return running || (droppingOn != 0 && droppingOn == link.connection());
}

bool TransmitterCheck::take(const QByteArray &bytes, int *kindNumber)
{
    *kindNumber = 0;
    // Setting frames are 12 bytes, the aux frame 8: the channel and
    // telemetry frames streaming all the while go to the editor undecoded.
    if (!listening() || (bytes.size() != 12 && bytes.size() != 8))
        return false;
    // The same decoder as the editor's, into a copy: what is not a setting
    // frame is left to the editor untouched.
    ParameterSet taken = record;
    LiveStatus unused = liveStatus;
    int kind = 0;
    const Incoming what = decodeNotification(bytes, taken, unused, true, &kind);
    if (what != Incoming::Parameters && what != Incoming::Aux)
        return false;
    *kindNumber = kind;
    if (!running)
        return true; // a late frame of an ended check: dropped
    // The record takes the frame the way the editor does: the pages' ranges
    // first, then the same derivation and repair.
    if (what == Incoming::Parameters)
        takeAsThePagesShow(taken);
    selectDualRate(taken);
    validateParameters(taken);
    record = taken;
    if (kind > 0 && kind <= kSettingFrameKinds && !(framesSeen & (1u << kind))) {
        framesSeen |= 1u << kind;
        emit progressed(framesArrived());
        if (framesArrived() == kSettingFrameKinds)
            finish(CheckEnd::Complete);
    }
    return true;
}

void TransmitterCheck::commandsChanged(const RunningCommand *finished)
{
    if (finished && finished->kind == CommandKind::Read)
        readBeingJudged = true;
    const auto &commands = link.running();
    if (commands.empty())
        return;
    unseen.reset(); // the transmitter may hold something else now
    const CommandKind kind = commands.back().kind;
    if (running)
        finish(CheckEnd::Interrupted, checkInterruptionText(commands.back()));
    // A READ takes every frame into the editor, also the late ones of an
    // ended check: the transmitter answers its "RR" with the same frames.
    if (kind == CommandKind::Read)
        stopListening();
}

void TransmitterCheck::readJudged()
{
    readBeingJudged = false;
}

void TransmitterCheck::portClosed()
{
    unseen.reset();
    if (running)
        finish(CheckEnd::Interrupted, QStringLiteral("Check interrupted: port closed"));
    stopListening();
}

void TransmitterCheck::finish(CheckEnd end, const QString &interruption)
{
    running = false;
    droppingOn = connection;
    deadline.stop();
    CheckResult result;
    result.end = end;
    result.framesArrived = framesArrived();
    result.interruption = interruption;
    if (end == CheckEnd::Complete) {
        // The trims are the transmitter's live report, which goes on
        // reaching the editor during a check.
        std::copy(std::begin(editor.stickTrim), std::end(editor.stickTrim),
                  std::begin(record.stickTrim));
        result.held = record;
    }
    // What a complete READ would have done is done before the result is
    // shown, so COMPARE opened with it offers the new READ.
    if (end == CheckEnd::Complete)
        emit transmitterRead(result.framesArrived, record);
    emit ended(result);
}
