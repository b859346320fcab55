#include "views/statusline.h"

#include "files/paramfile.h"
#include "link/framedecoder.h"
#include "link/frames.h"
#include "model/editing.h"
#include "views/statustexts.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace {

constexpr int kReadGraceMs = 500;
// A transmitter streams frames many times a second; this long without a
// byte means nobody is talking at the far end.
constexpr qint64 kSilenceMs = 1500;

QString fileShownAs(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

StatusLine::StatusLine(const Widgets &widgets, const LinkActivity &activity, QObject *parent)
    : QObject(parent), ui(widgets), link(activity)
{
    readGrace.setSingleShot(true);
    readGrace.setInterval(kReadGraceMs);
    connect(&readGrace, &QTimer::timeout, this, &StatusLine::readGraceOver);
    silenceCheck.setSingleShot(true);
    connect(&silenceCheck, &QTimer::timeout, this, &StatusLine::checkSilence);
    ui.connection->setText(QStringLiteral("Not connected"));
}

void StatusLine::connected(const QString &port, int baud)
{
    deviceLost = false;
    portName = port;
    baudRate = baud;
    silenceShown = false;
    showConnection();
    silenceCheck.start(int(kSilenceMs));
}

void StatusLine::showConnection()
{
    ui.connection->setTextFormat(silenceShown ? Qt::RichText : Qt::PlainText);
    ui.connection->setText(silenceShown ? silentConnectionText(portName, baudRate)
                                        : connectionText(portName, baudRate));
}

void StatusLine::checkSilence()
{
    if (link.connection() == 0)
        return;
    // Arrivals only note their time; the check looks again when the
    // silence could first have lasted long enough.
    const qint64 silent = link.silentForMs();
    if (silent < kSilenceMs) {
        silenceCheck.start(int(kSilenceMs - silent));
        return;
    }
    silenceShown = true;
    showConnection();
}

void StatusLine::disconnected(bool lost)
{
    silenceCheck.stop();
    silenceShown = false;
    ui.connection->setTextFormat(Qt::PlainText);
    // "Device lost" stays until the next OPEN, also after the pilot's close.
    deviceLost = deviceLost || lost;
    ui.connection->setText(deviceLost ? QStringLiteral("Device lost")
                                      : QStringLiteral("Not connected"));
}

void StatusLine::openFailed(const QString &text)
{
    setOutcome(text);
}

void StatusLine::portAppeared(const QString &message)
{
    setOutcome(message);
}

void StatusLine::transmitterReported(const QByteArray &bytes, int kindNumber, bool trimsSuspended)
{
    // The link hears only the transmitter's own frames: an echo or noise
    // leaves the warning up.
    if (silenceShown && link.silentForMs() < kSilenceMs) {
        silenceShown = false;
        showConnection();
        silenceCheck.start(int(kSilenceMs));
    }
    LiveStatus unused = liveStatus;
    if (decodeNotification(bytes, snapshot, unused, trimsSuspended) != Incoming::Nothing) {
        // The record derives and repairs the same way after every frame.
        selectDualRate(snapshot);
        validateParameters(snapshot);
    }
    if (counting && kindNumber > 0 && kindNumber <= kSettingFrameKinds) {
        framesSeen |= 1u << kindNumber;
        readSettings = paramSet;
        showActivity();
    }
}

void StatusLine::commandsChanged(const RunningCommand *finished)
{
    const auto &running = link.running();
    const bool started = running.size() > runningShown;
    runningShown = running.size();
    if (started) {
        // Whatever starts next is the pilot's next action: a READ still in
        // its grace period is judged now.
        if (readGrace.isActive()) {
            readGrace.stop();
            readGraceOver();
        }
        if (running.back().kind == CommandKind::Read) {
            framesSeen = 0;
            counting = true;
        }
    }
    if (finished) {
        switch (finished->kind) {
        case CommandKind::Read:
            readGrace.start();
            break;
        case CommandKind::Write:
        case CommandKind::Reset:
        case CommandKind::DataReset:
            if (finished->delivered())
                takeFrames(finished->framesWritten);
            setOutcome(transferOutcome(*finished));
            break;
        case CommandKind::Load:
            for (int k = 0; k < 4; ++k)
                loadDelivered[k] =
                    finished->delivered() ? finished->framesWritten[k] : QByteArray();
            // Told by loaded(), which knows the file; when the verdict on
            // the transmitter came after it, now.
            if (loadEnd) {
                const LoadEnd end = *loadEnd;
                loadEnd.reset();
                finishLoaded(end.path, end.accepted, end.delivered && finished->delivered(),
                             end.fileText, finished->unheard);
            }
            break;
        case CommandKind::Save:
            break; // told by saved(), which knows the file
        }
    }
    showActivity();
}

void StatusLine::fileCommandStarts(const QString &path)
{
    commandFile = fileShownAs(path);
    showActivity();
}

void StatusLine::saved(const QString &path, bool ok, bool delivered, const QByteArray &fileText)
{
    if (ok) {
        QByteArray frames[4];
        for (int k = 0; k < 4; ++k)
            frames[k] = fileText.mid(k * kFrameLength, kFrameLength);
        takeFrames(frames);
    }
    setOutcome(saveOutcome(fileShownAs(path), ok, delivered));
}

void StatusLine::loaded(const QString &path, const FileFramesAccepted &accepted, bool delivered,
                        const QString &fileText)
{
    for (const RunningCommand &awaiting : link.awaitingVoice()) {
        if (awaiting.kind == CommandKind::Load) {
            loadEnd = LoadEnd{path, accepted, delivered, fileText};
            return;
        }
    }
    finishLoaded(path, accepted, delivered, fileText, false);
}

void StatusLine::finishLoaded(const QString &path, const FileFramesAccepted &accepted,
                              bool delivered, const QString &fileText, bool unheard)
{
    // The frames as the file held them, then whatever the transmitter took
    // after them.
    decodeParameterFile(fileText, snapshot);
    takeFrames(loadDelivered);
    for (QByteArray &frame : loadDelivered)
        frame.clear();
    setOutcome(loadOutcome(fileShownAs(path), accepted, delivered, unheard));
}

void StatusLine::loadFailed(const QString &path)
{
    setOutcome(loadFailedOutcome(fileShownAs(path)));
}

void StatusLine::closedWithUnsentBytes(qint64 count)
{
    setOutcome(unsentOnCloseOutcome(count));
}

void StatusLine::restoredFromHistory(const QString &entryName, int stepIndex)
{
    restoreOutcome = QStringLiteral("Restored %1 to the editor — WRITE sends it").arg(entryName);
    restoreStep = stepIndex;
    setOutcome(restoreOutcome);
}

void StatusLine::editorStepsAt(int stepIndex)
{
    if (stepIndex < restoreStep && outcome == restoreOutcome)
        setOutcome(QString());
}

void StatusLine::loadHeldNoSettings(const QString &path)
{
    setOutcome(loadNoSettingsOutcome(fileShownAs(path)));
}

void StatusLine::openedModel(const QString &name)
{
    setOutcome(QStringLiteral("Opened model %1 in the editor — WRITE sends it").arg(name));
}

void StatusLine::historyNotSaved(const QString &reason)
{
    const QString note = QStringLiteral("History not saved: ") + reason;
    setOutcome(outcome.isEmpty() ? note : outcome + QStringLiteral(" — ") + note);
}

void StatusLine::refreshChanges()
{
    // The settings the window starts with (after the first tick has passed
    // them through the widgets) are the first snapshot.
    if (!haveSnapshot)
        takeSnapshot();
    const bool changed = !sameCarriedSettings(paramSet, snapshot);
    if (changed == changedShown)
        return;
    changedShown = changed;
    ui.changes->setText(changed ? QStringLiteral("Changed — not yet written") : QString());
}

bool StatusLine::hasUnwrittenChanges() const
{
    return haveSnapshot && !sameCarriedSettings(paramSet, snapshot);
}

void StatusLine::takeSnapshot()
{
    snapshot = paramSet;
    haveSnapshot = true;
    refreshChanges();
}

void StatusLine::takeFrames(const QByteArray (&frames)[4])
{
    takeFramesThatPassed(snapshot, frames);
    haveSnapshot = true;
    refreshChanges();
}

void StatusLine::setOutcome(const QString &text)
{
    outcome = text;
    showActivity();
}

void StatusLine::readGraceOver()
{
    counting = false;
    setOutcome(readOutcome(settingFramesRead()));
    emit readJudged(settingFramesRead(), readSettings);
}

int StatusLine::settingFramesRead() const
{
    int count = 0;
    for (quint32 bits = framesSeen; bits != 0; bits &= bits - 1)
        ++count;
    return count;
}

void StatusLine::showActivity()
{
    // The innermost running command is the one whose code runs; a READ in
    // its grace period still counts as running, and so does a transfer
    // waiting to hear the transmitter.
    const auto &running = link.running();
    const auto &awaiting = link.awaitingVoice();
    QString text = outcome;
    bool busy = false;
    if (!running.empty() || readGrace.isActive() || !awaiting.empty()) {
        const RunningCommand command =
            !running.empty() ? running.back()
            : readGrace.isActive()
                ? RunningCommand{CommandKind::Read, 0, CommandStep::ReadRequest, false, false, {}}
                : awaiting.back();
        const CommandProgress progress = commandProgress(command, settingFramesRead(), commandFile);
        text = progress.text;
        ui.progress->setRange(0, progress.maximum);
        ui.progress->setValue(progress.value);
        busy = true;
    }
    ui.progress->setVisible(busy);
    if (text != shownActivity) {
        shownActivity = text;
        ui.activity->setText(text);
        ui.activity->setToolTip(text);
    }
}
