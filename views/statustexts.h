// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/linkactivity.h"
#include "link/openfailure.h"

#include <QString>

struct FileFramesAccepted;

// The texts of the status line. Pure functions: the status line gathers
// the facts, these put them into words for the pilot.

// Setting frames a complete READ brings: the eighteen kinds and the aux frame.
constexpr int kSettingFrameKinds = 19;

// The command as its button names it: "READ", "DATA RESET" and so on.
QString commandName(CommandKind kind);
// The same for a running command: a model sent from MODELS is "Send".
QString commandName(const RunningCommand &command);

// The transfer running now (WRITE, LOAD, Send, RESET, DATA RESET or SAVE),
// empty when none: while one runs nothing replaces the editor as a whole,
// or the transmitter would get frames of two different settings.
QString runningTransfer(const LinkActivity &link);
// "Not opened: Send is running — try again when it has ended"; `notDone`
// is "Not opened", "Not undone" and so on.
QString refusedWhileRunning(const QString &notDone, const QString &command);

// The connection as the status line shows it while the port is open.
QString connectionText(const QString &portName, int baudRate);

// What a running command is doing, and how far it has come.
struct CommandProgress {
    QString text;
    int value;
    int maximum;
};
// `settingFramesRead` counts the distinct setting frames a READ has
// received so far; the other commands go by the frame they are sending.
// SAVE and LOAD with the port closed send nothing: they name their `file`.
CommandProgress commandProgress(const RunningCommand &command, int settingFramesRead,
                                const QString &file = QString());

// How a READ ended, by the distinct setting frames that came back.
QString readOutcome(int settingFramesRead);
// How WRITE, RESET or DATA RESET ended.
QString transferOutcome(const RunningCommand &finished);
// The pilot closed the port while `count` bytes had not left it.
QString unsentOnCloseOutcome(qint64 count);
// How SAVE ended; `file` is the name the pilot knows the file by.
// `reason`, in the system's words, says why it was not saved.
QString saveOutcome(const QString &file, bool saved, bool delivered,
                    const QString &reason = QString());
// How LOAD ended, naming the frames the file did not hold in good order;
// `unheard`: the frames left the port but the transmitter did not answer.
QString loadOutcome(const QString &file, const FileFramesAccepted &accepted, bool delivered,
                    bool unheard = false);
// How sending a model from MODELS ended; it runs as LOAD of the model's
// file. `sent`: the port was open, so it went to the transmitter. `passed`
// says whose frames the four that left are: a page edited during the
// transfer changes the frames built after it.
enum class FramesPassed { TheModel, TheEditor, Neither };
QString modelSentOutcome(const QString &model, bool sent, bool delivered, bool unheard,
                         FramesPassed passed = FramesPassed::TheModel);
// A file LOAD could not read.
QString loadFailedOutcome(const QString &file);
// A file LOAD read, but no frame of it held settings: nothing was sent.
QString loadNoSettingsOutcome(const QString &file);

// How wide each part of the status line is drawn, in pixels.
struct StatusPartWidths {
    int activity;
    int changes;
    int model;
    int connection;
};
// Shares `room` among the parts by what they `need` to show whole. The
// activity comes first: the model and then the connection give way down to
// their `least`; the activity takes what is left. The changes part stays.
StatusPartWidths fitStatusParts(int room, const StatusPartWidths &need,
                                const StatusPartWidths &least);

// The port and its reason; when the device refuses this user, also how to
// get access: join the group that owns the device and log in again.
QString openFailureText(const OpenFailure &failure);
