// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/statustexts.h"

#include "files/paramfile.h"

#include <QStringList>

#include <algorithm>

namespace {

const char kFrameLetters[4] = {'S', 'G', 'H', 'I'};

// Which part of its work the command is in, as the pilot sees it.
QString commandDoing(CommandKind kind)
{
    switch (kind) {
    case CommandKind::Write:
        return QStringLiteral("Writing");
    case CommandKind::Reset:
        return QStringLiteral("RESET: writing");
    case CommandKind::DataReset:
        return QStringLiteral("DATA RESET: writing");
    case CommandKind::Save:
        return QStringLiteral("Saving: sending");
    case CommandKind::Load:
        return QStringLiteral("Loading: writing");
    case CommandKind::Read:
        break;
    }
    return QStringLiteral("Reading");
}

int frameNumber(CommandStep step)
{
    switch (step) {
    case CommandStep::FrameS:
        return 1;
    case CommandStep::FrameG:
        return 2;
    case CommandStep::FrameH:
        return 3;
    case CommandStep::FrameI:
    case CommandStep::EndOfTransfer:
        return 4;
    case CommandStep::Starting:
    case CommandStep::ReadRequest:
        break;
    }
    return 0;
}

// "S", "H and I", "S, G and I"
QString letterList(const QStringList &letters)
{
    if (letters.size() < 2)
        return letters.join(QString());
    return letters.mid(0, letters.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           letters.last();
}

const QString &unfinished()
{
    static const QString text =
        QStringLiteral("The transmitter did not receive all settings! Please WRITE again.");
    return text;
}

// The frames left the port, but nothing came back: the usual causes are a
// transmitter switched off and a port that is not its own.
QString unheardText(const QString &command)
{
    return QStringLiteral("Not answered: is the transmitter on, and is this its port? %1 again.")
        .arg(command);
}

QString withTransfer(const QString &text, bool delivered)
{
    return delivered ? text : text + QStringLiteral(" — ") + unfinished();
}

} // namespace

QString commandName(CommandKind kind)
{
    switch (kind) {
    case CommandKind::Reset:
        return QStringLiteral("RESET");
    case CommandKind::DataReset:
        return QStringLiteral("DATA RESET");
    case CommandKind::Load:
        return QStringLiteral("LOAD");
    case CommandKind::Save:
        return QStringLiteral("SAVE");
    case CommandKind::Read:
        return QStringLiteral("READ");
    case CommandKind::Write:
        break;
    }
    return QStringLiteral("WRITE");
}

QString commandName(const RunningCommand &command)
{
    return command.sendsModel ? QStringLiteral("Send") : commandName(command.kind);
}

QString runningTransfer(const LinkActivity &link)
{
    // The innermost is the one whose frames are going out now.
    const auto &running = link.running();
    for (auto it = running.rbegin(); it != running.rend(); ++it) {
        if (it->kind != CommandKind::Read)
            return commandName(*it);
    }
    return QString();
}

QString refusedWhileRunning(const QString &notDone, const QString &command)
{
    return notDone + QStringLiteral(": ") + command +
           QStringLiteral(" is running — try again when it has ended");
}

QString connectionText(const QString &portName, int baudRate)
{
    return portName + QStringLiteral(" · ") + QString::number(baudRate);
}

CommandProgress commandProgress(const RunningCommand &command, int settingFramesRead,
                                const QString &file)
{
    if (command.kind == CommandKind::Read) {
        return {QStringLiteral("Reading settings, %1 of %2 frames")
                    .arg(settingFramesRead)
                    .arg(kSettingFrameKinds),
                settingFramesRead, kSettingFrameKinds};
    }
    const int frame = frameNumber(command.step);
    // From the click until a file is picked SAVE and LOAD wait for the
    // pilot.
    if (command.step == CommandStep::Starting && file.isEmpty() &&
        (command.kind == CommandKind::Save || command.kind == CommandKind::Load)) {
        return {command.kind == CommandKind::Save ? QStringLiteral("SAVE: choosing a file")
                                                  : QStringLiteral("LOAD: choosing a file"),
                0, 4};
    }
    const bool fileOnly = command.connection == 0 &&
                          (command.kind == CommandKind::Save || command.kind == CommandKind::Load);
    if (fileOnly) {
        return {(command.kind == CommandKind::Save ? QStringLiteral("Saving ")
                                                   : QStringLiteral("Reading ")) +
                    file,
                frame, 4};
    }
    const QString doing = commandDoing(command.kind);
    if (command.step == CommandStep::EndOfTransfer)
        return {doing + QStringLiteral(" end of transfer"), 4, 4};
    if (frame == 0)
        return {doing, 0, 4};
    return {
        QStringLiteral("%1 frame %2, %3 of 4").arg(doing).arg(kFrameLetters[frame - 1]).arg(frame),
        frame - 1, 4};
}

QString readOutcome(int settingFramesRead)
{
    if (settingFramesRead <= 0) {
        return QStringLiteral(
            "No answer from the transmitter — check the cable, the port and that the "
            "transmitter is on");
    }
    const QString counted = QStringLiteral("Read %1 of %2 setting frames")
                                .arg(settingFramesRead)
                                .arg(kSettingFrameKinds);
    return settingFramesRead >= kSettingFrameKinds ? counted
                                                   : counted + QStringLiteral(" — READ again");
}

QString transferOutcome(const RunningCommand &finished)
{
    if (finished.delivered())
        return QStringLiteral("Written");
    if (finished.unheard)
        return unheardText(commandName(finished.kind));
    if (finished.notTaken && !finished.cutOff) {
        return QStringLiteral(
            "The transmitter did not take the settings: they are stuck at the port. "
            "Please WRITE again.");
    }
    return unfinished();
}

QString unsentOnCloseOutcome(qint64 count)
{
    return QStringLiteral("Closed with %1 bytes not sent: the transmitter did not get them")
        .arg(count);
}

QString saveOutcome(const QString &file, bool saved, bool delivered, const QString &reason)
{
    if (!saved && !reason.isEmpty())
        return QStringLiteral("Not saved: cannot write %1: %2").arg(file, reason);
    if (!saved)
        return QStringLiteral("Not saved: cannot write ") + file;
    return withTransfer(QStringLiteral("Saved ") + file, delivered);
}

QString loadOutcome(const QString &file, const FileFramesAccepted &accepted, bool delivered,
                    bool unheard)
{
    QStringList skipped;
    for (int k = 0; k < 4; ++k) {
        if (!accepted.frame[k])
            skipped << QString(QLatin1Char(kFrameLetters[k]));
    }
    QString text = QStringLiteral("Loaded ") + file;
    if (skipped.size() == 1) {
        text +=
            QStringLiteral(" — frame %1 was not valid and was kept as it was").arg(skipped.first());
    } else if (!skipped.isEmpty()) {
        text += QStringLiteral(" — frames %1 were not valid and were kept as they were")
                    .arg(letterList(skipped));
    }
    if (unheard)
        return text + QStringLiteral(" — ") + unheardText(commandName(CommandKind::Load));
    return withTransfer(text, delivered);
}

QString modelSentOutcome(const QString &model, bool sent, bool delivered, bool unheard,
                         FramesPassed passed)
{
    if (!sent)
        return QStringLiteral("Model %1 in the editor — the port is closed: nothing was sent")
            .arg(model);
    // WRITE would send the editor with the transmitter's live trims, the
    // very thing sending the model is for: the pilot sends the model again.
    if (unheard)
        return QStringLiteral("Model %1: the transmitter did not answer — send it again from "
                              "MODELS")
            .arg(model);
    if (!delivered)
        return QStringLiteral("Model %1 not received whole — send it again from MODELS").arg(model);
    // The transmitter holds the frames that left, whatever the button said.
    if (passed == FramesPassed::TheEditor)
        return QStringLiteral("Sent, but changed during the transfer: the transmitter holds the "
                              "editor, not %1")
            .arg(model);
    if (passed == FramesPassed::Neither)
        return QStringLiteral("Sent, but changed during the transfer: the transmitter holds "
                              "neither %1 nor the editor")
            .arg(model);
    return QStringLiteral("Sent model %1 to the transmitter").arg(model);
}

QString loadFailedOutcome(const QString &file)
{
    return QStringLiteral("Not loaded: cannot read ") + file;
}

QString loadNoSettingsOutcome(const QString &file)
{
    return QStringLiteral("Not loaded: %1 holds no settings").arg(file);
}

StatusPartWidths fitStatusParts(int room, const StatusPartWidths &need,
                                const StatusPartWidths &least)
{
    StatusPartWidths width = need;
    int over = need.activity + need.changes + need.model + need.connection - room;
    const auto giveWay = [&over](int &part, int floor) {
        const int given = std::max(0, std::min(over, part - floor));
        part -= given;
        over -= given;
    };
    giveWay(width.model, least.model);
    giveWay(width.connection, least.connection);
    width.activity = std::max(0, room - width.changes - width.model - width.connection);
    return width;
}

QString openFailureText(const OpenFailure &failure)
{
    QString reason = failure.reason;
    if (reason.isEmpty() || reason == QLatin1String("Unknown error")) {
        switch (failure.error) {
        case QSerialPort::DeviceNotFoundError:
            reason = QStringLiteral("No such device");
            break;
        case QSerialPort::PermissionError:
            reason = QStringLiteral("Permission denied");
            break;
        default:
            reason = QStringLiteral("The port cannot be opened");
            break;
        }
    }
    const QString port =
        failure.portName.isEmpty() ? QStringLiteral("No port chosen") : failure.portName;
    QString text = port + QStringLiteral(": ") + reason;
    // A busy or locked device also reports a permission error; only a device
    // node that really shuts this user out gets the group hint.
    if (failure.error == QSerialPort::PermissionError && failure.accessDenied &&
        !failure.group.isEmpty()) {
        text += QStringLiteral(" — join the group %1 (owner of %2) and log in again")
                    .arg(failure.group, failure.devicePath);
    }
    return text;
}
