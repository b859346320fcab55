// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/linkactivity.h"
#include "model/parameterset.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <utility>

// How a check ended.
enum class CheckEnd {
    Complete,    // every setting frame arrived: `held` is what the transmitter holds
    Partial,     // the wait ended with some or none of them
    Interrupted, // a command or the port's close ended it first
};

struct CheckResult {
    CheckEnd end = CheckEnd::Partial;
    int framesArrived = 0; // distinct setting frames, 0 … 19
    ParameterSet held{};   // meaningful only when Complete
    QString interruption;  // "Check interrupted by READ", …
};

// The texts of a check. Pure functions: the check gathers the facts, these
// put them into words for the pilot.

// While the check runs: "Checking, 12 of 19 frames".
QString checkProgressText(int framesArrived);
// How it ended, for the status line; `differences` counts the settings in
// which the editor and the transmitter differ (Complete only).
QString checkOutcomeText(const CheckResult &result, int differences);
// What COMPARE shows in place of a table when there is nothing to compare
// setting by setting (empty for a complete check).
QString checkCompareTrouble(const CheckResult &result);
// The command that ended a check: "Check interrupted by WRITE".
QString checkInterruptionText(CommandKind kind);
QString checkInterruptionText(const RunningCommand &command); // "… by Send"
// A check asked for while a command runs: its frames belong to the command.
QString checkRefusedText();

// CHECK: reads the transmitter's settings into a record of its own and
// leaves the editor alone, so the pilot can see whether the transmitter
// holds what the editor shows without losing edits. It hears the link (the
// receive dispatcher hands it every notification, the window tells it of
// commands, READ's judgement and the port's close) and reports by signals;
// the window sends its "RR" and shows its result.
class TransmitterCheck : public QObject
{
    Q_OBJECT
public:
    // `editor` is the editor's record: a check starts from it, so whatever
    // no frame carries (the live trims, the dual-rate selection) is never
    // a difference.
    TransmitterCheck(const LinkActivity &link, const ParameterSet &editor,
                     QObject *parent = nullptr);

    enum class Start { Started, AlreadyRunning, Busy, NotConnected };
    // Begins listening for the transmitter's answer; the caller then sends
    // "RR". A check does not start while another command runs or a READ is
    // still being judged: their frames belong to the editor.
    Start start();
    bool isRunning() const { return running; }
    int framesArrived() const;

    // Offered every notification before the editor sees it. True when it is
    // a setting frame the check takes: it answers the check's "RR" and must
    // not reach the editor. `kindNumber` receives the frame's kind number
    // (0 when not taken or not known).
    bool take(const QByteArray &bytes, int *kindNumber);

    // A result the pilot did not see in COMPARE (another dialog was open):
    // the next COMPARE shows it, unless a command or a close came since.
    void keepUnseen(const CheckResult &result) { unseen = result; }
    std::optional<CheckResult> takeUnseen() { return std::exchange(unseen, std::nullopt); }

    // The tool never holds its wait. A test whose transmitter answers
    // slower than a real one (a busy machine) holds it while it answers;
    // released, the wait runs whole from then on.
    void holdWait(bool hold);

public slots:
    // The commands changed (the link's report): any command that starts
    // ends a running check; a READ takes every frame from then on.
    void commandsChanged(const RunningCommand *finished);
    // The status line has judged the last READ: its frames are all in.
    void readJudged();
    // The port is closing.
    void portClosed();

signals:
    void progressed(int framesArrived);
    void ended(const CheckResult &result);
    // A complete check, in the words of READ's judgement: everything a
    // complete READ does outside the editor hears it.
    void transmitterRead(int settingFramesRead, const ParameterSet &asRead);

private:
    bool listening() const;
    void finish(CheckEnd end, const QString &interruption = QString());
    void stopListening() { droppingOn = 0; }

    const LinkActivity &link;
    const ParameterSet &editor;
    ParameterSet record{};
    quint32 framesSeen = 0; // bit = kind number
    bool running = false;
    // A READ has ended but its trailing frames are still being counted.
    bool readBeingJudged = false;
    // The transmitter sends its settings only in answer to an "RR". After
    // a check has ended, every setting frame on its connection still
    // answers the check's, however late or slow it comes: it is dropped
    // until a READ asks anew or the port closes. 0: nothing to drop.
    quint64 droppingOn = 0;
    std::optional<CheckResult> unseen;
    quint64 connection = 0;
    QTimer deadline;
    bool waitHeld = false;
};
