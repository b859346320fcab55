// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/statusline.h"

#include "check/asshown.h"
#include "files/paramfile.h"
#include "link/framedecoder.h"
#include "link/frames.h"
#include "model/editing.h"
#include "ui/formstyles.h"
#include "views/statustexts.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace {

constexpr int kReadGraceMs = 500;
// A transmitter streams frames many times a second; this long without a
// byte means nobody is talking at the far end.
constexpr qint64 kSilenceMs = 1500;

// The warning beside the connection, in its colour.
const QString kSilenceWarning = QStringLiteral("no data from the transmitter");

// The status bar puts its parts 6 px apart, after 2 px at its left edge.
constexpr int kBarLeadPx = 2;
constexpr int kBarSpacingPx = 6;

QString fileShownAs(const QString &path)
{
    return QFileInfo(path).fileName();
}

// The label's own margins around its text.
int chromeOf(const QLabel *label)
{
    const QMargins m = label->contentsMargins();
    return m.left() + m.right() + 2 * label->margin();
}

int textWidth(const QLabel *label, const QString &text)
{
    // One pixel more than the advance: a bold glyph may overhang it.
    return text.isEmpty() ? 0 : label->fontMetrics().horizontalAdvance(text) + 1;
}

QString elided(const QLabel *label, const QString &text, int width)
{
    if (textWidth(label, text) <= width)
        return text;
    return label->fontMetrics().elidedText(text, Qt::ElideRight, std::max(width - 1, 0));
}

// The connection part as shown in `width`, and how many of its characters
// come before the warning (the rest is the warning, in its colour). What
// the pilot must read is the warning: the port gives way first, elided in
// its middle where an adapter's name is least telling, then the rate
// (both stay whole in the tooltip). Only a part too narrow even for "…"
// and the warning is cut at its end.
struct FittedConnection {
    QString text;
    int plainLength;
};

FittedConnection fitConnection(const QLabel *label, const QString &port, const QString &rate,
                               const QString &warning, int width)
{
    const QString whole = port + rate + warning;
    if (textWidth(label, whole) <= width)
        return {whole, int(whole.size() - warning.size())};
    if (!port.isEmpty()) {
        const QFontMetrics metrics = label->fontMetrics();
        // With the rate while the port keeps a few characters, else without.
        for (const QString &after : {rate + warning, warning}) {
            const bool withRate = after.size() != warning.size();
            // A port shown whole without its rate still says that something
            // gave way: the "…" leads the pilot to the tooltip.
            const QString mark = withRate ? QString() : QString(QChar(0x2026));
            const int room = width - textWidth(label, after) - 1;
            QString shortPort = metrics.elidedText(port, Qt::ElideMiddle, std::max(room, 0));
            if (!mark.isEmpty() && shortPort == port)
                shortPort = textWidth(label, port + mark) <= room
                                ? port + mark
                                : metrics.elidedText(port, Qt::ElideMiddle,
                                                     std::max(room - textWidth(label, mark), 0));
            const bool enough =
                withRate ? shortPort.size() > 6 || shortPort == port : !shortPort.isEmpty();
            if (enough && room >= 0)
                return {shortPort + after, int(shortPort.size() + after.size() - warning.size())};
        }
    }
    const QString text = elided(label, whole, width);
    return {text, int(std::min(whole.size() - warning.size(), text.size()))};
}

} // namespace

StatusLine::StatusLine(const Widgets &widgets, const LinkActivity &activity, QObject *parent)
    : QObject(parent), ui(widgets), link(activity)
{
    readGrace.setSingleShot(true);
    readGrace.setInterval(kReadGraceMs);
    connect(&readGrace, &QTimer::timeout, this, [this] {
        if (readGraceHeld)
            readGrace.start();
        else
            readGraceOver();
    });
    silenceCheck.setSingleShot(true);
    connect(&silenceCheck, &QTimer::timeout, this, &StatusLine::checkSilence);
    connectionShown = QStringLiteral("Not connected");
    // The parts are measured to the pixel: no indent of the label's own.
    // Names are shown as the pilot typed them: a model called "<b>x</b>"
    // is not drawn bold. The connection alone is coloured, and escapes.
    for (QLabel *part : {ui.activity, ui.changes, ui.model, ui.connection}) {
        part->setIndent(0);
        part->setTextFormat(Qt::PlainText);
    }
    // The bar's room is shared out here, from the bar's width: the texts
    // the parts hold when the bar is laid out never make it, and so the
    // window, wider.
    for (QLabel *part : {ui.changes, ui.model, ui.connection})
        part->setMinimumWidth(1);
    ui.activity->installEventFilter(this);
    if (QWidget *bar = ui.activity->parentWidget())
        bar->installEventFilter(this);
    fitParts();
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
    connectionShown = connectionText(portName, baudRate);
    connectionPort = portName;
    fitParts();
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
    // "Device lost" stays until the next OPEN, also after the pilot's close.
    deviceLost = deviceLost || lost;
    connectionShown = deviceLost ? QStringLiteral("Device lost") : QStringLiteral("Not connected");
    connectionPort.clear();
    fitParts();
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
    for (ParameterSet *known : {&snapshot, &held}) {
        LiveStatus unused = liveStatus;
        if (decodeNotification(bytes, *known, unused, trimsSuspended) != Incoming::Nothing) {
            // The record derives and repairs the same way after every frame.
            selectDualRate(*known);
            validateParameters(*known);
        }
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
        // A word about an earlier check is over once the pilot goes on.
        checkNote.clear();
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
            loadWentOut = finished->connection != 0;
            for (int k = 0; k < 4; ++k)
                loadDelivered[k] =
                    finished->delivered() ? finished->framesWritten[k] : QByteArray();
            // Told by loaded(), which knows the file; when the verdict on
            // the transmitter came after it, now.
            if (loadEnd) {
                const LoadEnd end = *loadEnd;
                loadEnd.reset();
                finishLoaded(end.path, end.accepted, end.delivered && finished->delivered(),
                             end.fileText, finished->unheard, end.model, end.modelFrames);
            }
            break;
        case CommandKind::Save:
            break; // told by saved(), which knows the file
        }
    }
    showActivity();
}

void StatusLine::fileCommandStarts(const QString &path, const QString &model)
{
    commandFile = model.isEmpty() ? fileShownAs(path) : model;
    showActivity();
}

void StatusLine::saved(const QString &path, bool ok, bool delivered, const QByteArray &fileText,
                       const QString &reason)
{
    if (ok) {
        QByteArray frames[4];
        for (int k = 0; k < 4; ++k)
            frames[k] = fileText.mid(k * kFrameLength, kFrameLength);
        takeFrames(frames, false);
    }
    setOutcome(saveOutcome(fileShownAs(path), ok, delivered, reason));
}

void StatusLine::loaded(const QString &path, const FileFramesAccepted &accepted, bool delivered,
                        const QString &fileText, const QString &model,
                        const QByteArray &modelFrames)
{
    for (const RunningCommand &awaiting : link.awaitingVoice()) {
        if (awaiting.kind == CommandKind::Load) {
            loadEnd = LoadEnd{path, accepted, delivered, fileText, model, modelFrames};
            return;
        }
    }
    finishLoaded(path, accepted, delivered, fileText, false, model, modelFrames);
}

void StatusLine::finishLoaded(const QString &path, const FileFramesAccepted &accepted,
                              bool delivered, const QString &fileText, bool unheard,
                              const QString &model, const QByteArray &modelFrames)
{
    // Whose settings the transmitter holds is judged by the frames that
    // left, not by the button: a page edited during the transfer changed
    // the frames built after the edit.
    QByteArray passed;
    for (const QByteArray &frame : loadDelivered)
        passed += frame;
    FramesPassed whose = FramesPassed::TheModel;
    if (passed != modelFrames)
        whose =
            passed == parameterFileFor(paramSet) ? FramesPassed::TheEditor : FramesPassed::Neither;
    // The frames as the file held them, then whatever the transmitter took
    // after them.
    decodeParameterFile(fileText, snapshot);
    takeFrames(loadDelivered);
    for (QByteArray &frame : loadDelivered)
        frame.clear();
    if (model.isEmpty())
        setOutcome(loadOutcome(fileShownAs(path), accepted, delivered, unheard));
    else
        setOutcome(modelSentOutcome(model, loadWentOut, delivered, unheard, whose));
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
    setStepOutcome(QStringLiteral("Restored %1 to the editor — WRITE sends it").arg(entryName),
                   stepIndex);
}

void StatusLine::setStepOutcome(const QString &text, int stepIndex)
{
    restoreOutcome = text;
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

void StatusLine::openedModel(const QString &name, int stepIndex)
{
    setStepOutcome(QStringLiteral("Opened model %1 in the editor — WRITE sends it").arg(name),
                   stepIndex);
}

void StatusLine::savedModel(const QString &name)
{
    // A model is a file too: the editor's settings, as they stand, are no
    // longer only in the editor.
    takeSnapshot();
    setOutcome(QStringLiteral("Saved the editor as model %1").arg(name));
}

void StatusLine::historyNotSaved(const QString &reason)
{
    addNote(QStringLiteral("History not saved: ") + reason);
}

void StatusLine::editsNotKept(const QString &reason)
{
    addNote(QStringLiteral("Edits not kept on disk: ") + reason);
}

void StatusLine::addNote(const QString &note)
{
    setOutcome(outcome.isEmpty() ? note : outcome + QStringLiteral(" — ") + note);
}

void StatusLine::checkProgressed(const QString &text, int framesArrived)
{
    checkFrames = framesArrived;
    checkText = text;
    if (framesArrived == 0)
        checkNote.clear();
    showActivity();
}

void StatusLine::checkEnded(const QString &text, const ParameterSet *editorChecked)
{
    checkFrames = -1;
    checkedEditor.reset();
    if (editorChecked) {
        checkedEditor = *editorChecked;
        checkVerdict = text;
    }
    refused(text);
}

void StatusLine::refused(const QString &text)
{
    // A check or an action refused because a command runs, or a check cut
    // short by one, would be gone at once under the command's words: it
    // stays beside them, and beside the command's outcome, until the
    // pilot's next command or check.
    if (commandHoldsLine()) {
        checkNote = text;
        checkNoteWithOutcome = false;
        showActivity();
        return;
    }
    setOutcome(text);
}

void StatusLine::refreshChanges()
{
    // The settings the window starts with (after the first tick has passed
    // them through the widgets) are the first snapshot.
    if (!haveSnapshot) {
        held = paramSet;
        takeSnapshot();
    }
    // A check's verdict is about the editor as it was then.
    // The trims and the D/R CH selection never count: they do not take it
    // back either.
    if (checkedEditor && !sameCheckedSettings(paramSet, *checkedEditor)) {
        checkedEditor.reset();
        if (outcome == checkVerdict)
            setOutcome(QString());
    }
    const bool changed = !sameCarriedSettings(paramSet, snapshot);
    if (changed == changedShown)
        return;
    changedShown = changed;
    ui.changes->setText(changed ? QStringLiteral("Changed — not yet written") : QString());
    fitParts();
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

bool StatusLine::hasEditsTransmitterLacks() const
{
    return haveSnapshot && !sameCarriedSettings(paramSet, held);
}

void StatusLine::judgeChangesAgainst(const ParameterSet &transmitterHeld)
{
    held = transmitterHeld;
    snapshot = transmitterHeld;
    haveSnapshot = true;
    refreshChanges();
}

void StatusLine::takeFrames(const QByteArray (&frames)[4], bool reachedTransmitter)
{
    takeFramesThatPassed(snapshot, frames);
    if (reachedTransmitter)
        takeFramesThatPassed(held, frames);
    haveSnapshot = true;
    refreshChanges();
}

void StatusLine::setOutcome(const QString &text)
{
    // The first outcome once the line is idle is the command's own, which
    // keeps the note; any later one is about something else.
    if (!checkNote.isEmpty() && !commandHoldsLine()) {
        if (checkNoteWithOutcome)
            checkNote.clear();
        checkNoteWithOutcome = true;
    }
    outcome = text;
    showActivity();
}

void StatusLine::holdReadGrace(bool hold)
{
    readGraceHeld = hold;
    if (!hold && readGrace.isActive())
        readGrace.start();
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

bool StatusLine::commandHoldsLine() const
{
    return !link.running().empty() || readGrace.isActive() || !link.awaitingVoice().empty();
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
    } else if (checkFrames >= 0) {
        text = checkText;
        ui.progress->setRange(0, kSettingFrameKinds);
        ui.progress->setValue(checkFrames);
        busy = true;
    }
    const bool progressChanged = ui.progress->isHidden() == busy;
    ui.progress->setVisible(busy);
    if (!checkNote.isEmpty())
        text = text.isEmpty() ? checkNote : text + QStringLiteral(" — ") + checkNote;
    if (text != shownActivity || progressChanged) {
        shownActivity = text;
        shownNote = checkNote;
        ui.activity->setToolTip(asTyped(text));
        fitParts();
    }
}

void StatusLine::showHeldModel(const QString &text)
{
    heldModel = text;
    fitParts();
}

bool StatusLine::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == ui.activity && ui.activity->isVisible())
            showActivityIn(ui.activity->width());
        else
            fitParts();
    }
    return false;
}

void StatusLine::showActivityIn(int width)
{
    const int room = width - chromeOf(ui.activity);
    QString text = elided(ui.activity, shownActivity, room);
    // A check's note stays whole after what gives way, where it has room
    // beside a few characters of the rest: it is what just happened.
    const QString note = QStringLiteral(" — ") + shownNote;
    if (text != shownActivity && !shownNote.isEmpty() && shownActivity.endsWith(note)) {
        const int headRoom = room - textWidth(ui.activity, note);
        const QString head = shownActivity.left(shownActivity.size() - note.size());
        if (headRoom >= textWidth(ui.activity, QStringLiteral("MMMMMM…")))
            text = elided(ui.activity, head, headRoom) + note;
    }
    if (ui.activity->text() != text)
        ui.activity->setText(text);
}

void StatusLine::fitParts()
{
    QWidget *bar = ui.activity->parentWidget();
    // A part with nothing to say takes no room.
    ui.changes->setVisible(!ui.changes->text().isEmpty());
    ui.model->setVisible(!heldModel.isEmpty());
    const QString warning = QStringLiteral(" — ") + kSilenceWarning;
    const QString connectionWhole = connectionShown + (silenceShown ? warning : QString());
    // A part with nothing to say takes no room, its margins neither.
    const auto need = [](const QLabel *label, const QString &text) {
        return text.isEmpty() ? 0 : textWidth(label, text) + chromeOf(label);
    };
    // About six characters and "…" stay of a part that gives way.
    const auto least = [&need](const QLabel *label, const QString &text) {
        return std::min(need(label, text), need(label, QStringLiteral("MMMMMM…")));
    };
    // Of the connection the port and the rate give way: the warning stays.
    const QString rate =
        connectionWhole.mid(connectionPort.size(), connectionShown.size() - connectionPort.size());
    const QString warningShown = silenceShown ? warning : QString();
    const int leastConnection = connectionPort.isEmpty() || !silenceShown
                                    ? least(ui.connection, connectionWhole)
                                    : std::min(need(ui.connection, connectionWhole),
                                               need(ui.connection, QStringLiteral("…")) +
                                                   textWidth(ui.connection, warningShown));
    // Until the window is shown the bar has no width of its own: the parts
    // hold their whole texts, and are fitted when it is laid out.
    const bool laidOut = bar && bar->isVisible();
    int room = laidOut ? bar->contentsRect().width() - kBarLeadPx : QWIDGETSIZE_MAX / 2;
    int parts = 0;
    for (QWidget *part : {static_cast<QWidget *>(ui.activity), static_cast<QWidget *>(ui.progress),
                          static_cast<QWidget *>(ui.changes), static_cast<QWidget *>(ui.model),
                          static_cast<QWidget *>(ui.connection)}) {
        if (part->isHidden())
            continue;
        room -= parts++ > 0 ? kBarSpacingPx : 0;
        if (part == ui.progress)
            room -= ui.progress->width();
    }
    const StatusPartWidths width =
        fitStatusParts(room,
                       {need(ui.activity, shownActivity), need(ui.changes, ui.changes->text()),
                        need(ui.model, heldModel), need(ui.connection, connectionWhole)},
                       {0, 0, least(ui.model, heldModel), leastConnection});

    const QString model = elided(ui.model, heldModel, width.model - chromeOf(ui.model));
    if (ui.model->text() != model)
        ui.model->setText(model);
    ui.model->setToolTip(asTyped(heldModel));

    // The warning keeps its colour as far as it is shown.
    const FittedConnection fitted = fitConnection(ui.connection, connectionPort, rate, warningShown,
                                                  width.connection - chromeOf(ui.connection));
    const QString &connection = fitted.text;
    const int plainLength = fitted.plainLength;
    const bool coloured = silenceShown && connection.size() > plainLength;
    const QString html =
        coloured ? connection.left(plainLength).toHtmlEscaped() +
                       QStringLiteral("<span style=\"color: rgb(255, 170, 0);\">") +
                       connection.mid(plainLength).toHtmlEscaped() + QStringLiteral("</span>")
                 : connection;
    ui.connection->setTextFormat(coloured ? Qt::RichText : Qt::PlainText);
    if (ui.connection->text() != html)
        ui.connection->setText(html);
    ui.connection->setToolTip(connectionWhole);

    // The bar lays the parts out on its next turn; until then the activity
    // has at most the room it had.
    showActivityIn(laidOut ? std::min(width.activity, ui.activity->width()) : width.activity);
}
