// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QString>
#include <QUndoCommand>

#include <functional>

// One step of the pilot's work on the editor's settings: the record as it
// was before and after. Undo and redo put back only the settings the step
// changed, so whatever else moved meanwhile (a frame the transmitter sent
// on its own) stays as it is. The stick trims never take part: they are
// the transmitter's live state, reported by every telemetry frame, and an
// undo that moved them would show trims the transmitter does not have.

// True when `before` and `after` differ in anything but the stick trims.
bool changesEditor(const ParameterSet &before, const ParameterSet &after);

// `current` with every setting that differs between `from` and `to` set to
// its value in `to`; the stick trims and all unchanged settings keep the
// values of `current`.
ParameterSet withChangesApplied(const ParameterSet &current, const ParameterSet &from,
                                const ParameterSet &to);

// The change as the pages name it: "CH3 REVERSE: NOR -> REV", and
// " (+N more)" when more than one setting changed.
QString changeName(const ParameterSet &before, const ParameterSet &after);

class EditorStep : public QUndoCommand
{
public:
    // Puts a record into the editor and shows it; never sends anything.
    using Show = std::function<void(const ParameterSet &)>;

    // A step already made: the record holds `after` when it is pushed.
    // A step with a `mergeKey` (a spin box) takes in the next step with the
    // same key that follows within a second, so that holding an arrow key
    // or typing a number is one step.
    EditorStep(const QString &name, const ParameterSet &before, const ParameterSet &after,
               Show show, const void *mergeKey = nullptr, qint64 madeAtMs = 0);

    void undo() override;
    void redo() override;
    int id() const override { return mergeKey ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    ParameterSet before;
    ParameterSet after;
    Show show;
    const void *mergeKey;
    qint64 lastMadeAtMs;
    bool made = true; // the first redo comes from the push: the record has it already
};
