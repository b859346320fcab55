// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAbstractButton;
class QUndoStack;
class QWidget;

// Undo and redo of the pilot's work in the editor. A step is one edit of a
// value widget on a page, or one READ, LOAD, RESET or DATA RESET. Undo and
// redo change the editor only; the transmitter gets the result when the
// pilot WRITEs.
//
// It knows which change is the pilot's: whatever happens while a
// `NotThePilot` guard lives (the refresh writing the record back into the
// widgets, a frame from the transmitter, a command, undo and redo itself)
// is not a step of its own. The window tells it when commands begin and
// end and when a value widget changed; it never reaches into the window.
class EditorUndo : public QObject
{
    Q_OBJECT

public:
    // Puts a record into the editor's widgets; never sends anything.
    using Show = std::function<void(const ParameterSet &)>;

    // `window` gets the Undo and Redo actions and their keys; `pages` holds
    // the value widgets whose edits are steps; `show` shows a record.
    EditorUndo(QWidget *window, QWidget *pages, QAbstractButton *undoButton,
               QAbstractButton *redoButton, Show show);
    ~EditorUndo() override;

    QUndoStack *stack() const { return steps; }

    // Says why undo and redo may not replace the editor now ("Not undone:
    // Send is running — …"), empty when they may: a transfer builds its
    // frames from the editor one after another.
    using Refusal = std::function<QString(const QString &notDone)>;
    void setRefusal(Refusal refusal) { refuse = std::move(refusal); }

    // Lets go of the application's input and the buttons, before the
    // window's widgets go.
    void release();

    // A change to the record that is not the pilot's own edit. When the
    // last one ends, the record as it stands is where the pilot's next edit
    // starts from.
    class NotThePilot
    {
    public:
        explicit NotThePilot(EditorUndo &undo);
        ~NotThePilot();
        NotThePilot(const NotThePilot &) = delete;
        NotThePilot &operator=(const NotThePilot &) = delete;

    private:
        EditorUndo &undo;
    };

    // READ, LOAD, RESET and DATA RESET are one step each, from the click to
    // their end (READ's: its grace period) or to the pilot's next action,
    // whichever comes first. Returns the step's number for its end.
    quint64 beginCommandStep(const QString &name);
    void endCommandStep(quint64 number);
    // READ's step closes when READ is judged, not when its click returns.
    void beginReadStep() { readStep = beginCommandStep(QStringLiteral("READ")); }
    void readJudged() { endCommandStep(readStep); }

    // Puts `after` into the editor as one step named `stepName` and the
    // first setting it changes ("Restore 14:02 — CH3 REVERSE: NOR -> REV
    // (+5 more)", or "no change"), and shows it. The stick trims stay as the
    // transmitter last reported them. Nothing is sent.
    void replaceEditorSettings(const QString &stepName, const ParameterSet &after);

signals:
    // Undo or redo was asked for and refused, in the words of `text`.
    void refused(const QString &text);

protected:
    // Keeps the undo keys for the window while a spin box has the focus,
    // and notes where the pilot's input starts from.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpActions(QAbstractButton *undoButton, QAbstractButton *redoButton);
    void watchValueWidgets(QWidget *pages);
    void valueWidgetChanged(QObject *widget);
    // Pushes the open command step, if it changed the editor, as it stands
    // with `after`.
    void closeCommandStep(const ParameterSet &after);
    void showSettings(const ParameterSet &settings);
    void pushStep(const QString &name, const ParameterSet &before, const ParameterSet &after,
                  const void *mergeKey = nullptr);

    QWidget *window;
    Show show;
    QUndoStack *steps;
    Refusal refuse;
    int notThePilot = 0;
    // The record where the pilot's next edit starts from.
    ParameterSet settled;
    struct OpenCommandStep {
        QString name;
        ParameterSet before;
        quint64 number;
    };
    std::optional<OpenCommandStep> openCommandStep;
    quint64 commandSteps = 0;
    quint64 readStep = 0;
};
