// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "files/paramfile.h"
#include "link/linkactivity.h"
#include "model/parameterset.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <optional>

class QLabel;
class QProgressBar;

// The status line at the bottom of the window. It watches the link and the
// commands and tells the pilot whether the tool is connected, what it is
// doing, how the last action ended and whether the settings differ from
// what the transmitter or a file last had. It only observes: nothing here
// sends, pauses or asks.
class StatusLine : public QObject
{
    Q_OBJECT
public:
    // The parts of the line, left to right as the form lays them out.
    struct Widgets {
        QLabel *activity;
        QProgressBar *progress;
        QLabel *changes;
        QLabel *connection;
        QLabel *model; // the model the transmitter holds
    };
    StatusLine(const Widgets &widgets, const LinkActivity &link, QObject *parent = nullptr);

    // The connection.
    void connected(const QString &portName, int baudRate);
    void disconnected(bool deviceLost);
    void openFailed(const QString &text);
    // An adapter appeared while the port was closed and is now the chosen
    // port.
    void portAppeared(const QString &message);

    // Every notification from the transmitter, after it has been taken into
    // the record; `kindNumber` is that of a setting frame (1 … 19), else 0.
    // What the transmitter reports about its settings and trims is what it
    // holds, so the same goes into the snapshot.
    void transmitterReported(const QByteArray &bytes, int kindNumber, bool trimsSuspended);

    // The commands changed (started, stepped or, with `finished`, ended).
    void commandsChanged(const RunningCommand *finished);
    // SAVE or LOAD is about to run on this file; `model` names the model
    // whose file it is, when the pilot sends one from MODELS.
    void fileCommandStarts(const QString &path, const QString &model = QString());
    // How SAVE and LOAD ended: `fileText` is what went into the file or was
    // taken from it.
    void saved(const QString &path, bool saved, bool delivered, const QByteArray &fileText,
               const QString &reason = QString());
    // `modelFrames`: for a model sent from MODELS, its four frames as they
    // were to go out; the outcome names the model only when these left.
    void loaded(const QString &path, const FileFramesAccepted &accepted, bool delivered,
                const QString &fileText, const QString &model = QString(),
                const QByteArray &modelFrames = QByteArray());
    void loadFailed(const QString &path);
    // The pilot closed the port while bytes were still queued: the close
    // dropped them.
    void closedWithUnsentBytes(qint64 count);
    // The editor took the settings of a history entry, as the pilot's step
    // that leaves the undo stack at `stepIndex`.
    void restoredFromHistory(const QString &entryName, int stepIndex);
    // The pilot's steps moved (an edit, undo or redo) to `stepIndex`; undoing
    // a restore takes back what was said about it.
    void editorStepsAt(int stepIndex);
    // LOAD's file held no frame of settings: nothing was sent.
    void loadHeldNoSettings(const QString &path);
    // The editor took the settings of a model from the library, as the
    // pilot's step that leaves the undo stack at `stepIndex`.
    void openedModel(const QString &name, int stepIndex);
    // The editor's settings were just saved as a model.
    void savedModel(const QString &name);
    // A history entry could not be written; the outcome shown stays and
    // says so too.
    void historyNotSaved(const QString &reason);
    // The editor's unwritten edits could not be kept on disk: the same.
    void editsNotKept(const QString &reason);
    // A check of the transmitter has `framesArrived` of its setting frames,
    // in the words of `text`; it ended with `outcome`. A verdict on
    // `editorChecked` is taken back once the editor no longer holds it.
    void checkProgressed(const QString &text, int framesArrived);
    void checkEnded(const QString &outcome, const ParameterSet *editorChecked = nullptr);

    // An action the pilot asked for was refused, in the words of `text`;
    // beside a running command's words it stays until the next one.
    void refused(const QString &text);
    // READ has ended and its trailing frames are still being counted.
    bool readBeingJudged() const { return readGrace.isActive(); }

    // The model the transmitter holds, as the library recognises it; empty
    // when it holds none the tool knows of.
    void showHeldModel(const QString &text);

    // Called on every refresh tick: compares the record with the snapshot.
    void refreshChanges();
    // True while the record holds settings neither the transmitter nor a
    // file has.
    bool hasUnwrittenChanges() const;
    // True while the record holds settings the transmitter lacks, saved to
    // a file or not; and what the transmitter held.
    bool hasEditsTransmitterLacks() const;
    const ParameterSet &transmitterHeld() const { return held; }
    // Edits brought back after the tool stopped: "Changed" is judged
    // against what the transmitter held then.
    void judgeChangesAgainst(const ParameterSet &transmitterHeld);

    // The tool never holds READ's grace. A test whose transmitter answers
    // slower than a real one (a busy machine) holds it while it answers;
    // released, the grace runs whole from then on.
    void holdReadGrace(bool hold);

signals:
    // A READ was judged once its grace period was over, by the distinct
    // setting frames that came back (all kSettingFrameKinds: complete).
    // `asRead` is the record as the last of them left it, after its repair:
    // what the transmitter holds, without any edit made since.
    void readJudged(int settingFramesRead, const ParameterSet &asRead);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Gives every part the room it needs at the line's width, the activity
    // first; a part without room enough is cut short with "…" and shown
    // whole in its tooltip.
    void fitParts();
    void showActivityIn(int width);
    // Names a line from which nothing has come for a while, and stops
    // naming it when bytes arrive.
    void checkSilence();
    void showConnection();
    void finishLoaded(const QString &path, const FileFramesAccepted &accepted, bool delivered,
                      const QString &fileText, bool unheard, const QString &model,
                      const QByteArray &modelFrames);
    // An outcome about the editor that undoing the step at `stepIndex`
    // takes back.
    void setStepOutcome(const QString &text, int stepIndex);
    void takeSnapshot();
    // The snapshot changes only by what really passed: frames the
    // transmitter took, frames written to or taken from a file.
    void takeFrames(const QByteArray (&frames)[4], bool reachedTransmitter = true);
    void setOutcome(const QString &text);
    // Adds `note` to the outcome shown.
    void addNote(const QString &note);
    void showActivity();
    // A command runs, a READ is in its grace or a transfer awaits its
    // verdict: the line shows that.
    bool commandHoldsLine() const;
    void readGraceOver();
    int settingFramesRead() const;

    Widgets ui;
    const LinkActivity &link;
    // What the transmitter or a file last had, as far as the tool knows.
    ParameterSet snapshot{};
    // What the transmitter last had, as far as the tool knows: a file
    // written since does not count.
    ParameterSet held{};
    bool haveSnapshot = false;
    bool changedShown = false;
    bool deviceLost = false;
    // Distinct setting frames (bit = kind number) since the last READ began;
    // counted during READ and its grace period.
    quint32 framesSeen = 0;
    // The record when the last setting frame of the READ was taken in.
    ParameterSet readSettings{};
    bool counting = false;
    std::size_t runningShown = 0;
    // Frames of a real transmitter trail READ's pause: READ shows its
    // progress a little longer and is judged only then.
    QTimer readGrace;
    bool readGraceHeld = false;
    // The frames a LOAD delivered to the transmitter; they are newer than
    // the file's and are taken after it when LOAD reports its end.
    QByteArray loadDelivered[4];
    // LOAD's own end waits for its transfer's verdict when that is still
    // awaited; the file's part is kept here until then.
    struct LoadEnd {
        QString path;
        FileFramesAccepted accepted;
        bool delivered;
        QString fileText;
        QString model;
        QByteArray modelFrames;
    };
    std::optional<LoadEnd> loadEnd;
    // The last LOAD ran on an open port.
    bool loadWentOut = false;
    QTimer silenceCheck;
    bool silenceShown = false;
    QString portName;
    int baudRate = 0;
    QString commandFile;
    // The restore the outcome tells of, and the step index it left.
    QString restoreOutcome;
    int restoreStep = -1;
    QString outcome;
    QString shownActivity;
    // The check's note at the end of shownActivity (empty: none): when the
    // activity is shortened, the words before it give way.
    QString shownNote;
    // The setting frames a running check has (-1 while none runs), and its
    // words.
    int checkFrames = -1;
    QString checkText;
    std::optional<ParameterSet> checkedEditor;
    QString checkVerdict;
    // A check's word that came while a command held the line, and whether
    // it has been shown with that command's outcome.
    QString checkNote;
    bool checkNoteWithOutcome = false;
    QString connectionShown; // whole, without the warning
    QString connectionPort;  // the port it names, empty when none
    QString heldModel;
};
