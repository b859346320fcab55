// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "undo/editorundo.h"

#include "ui/formstyles.h"
#include "undo/editorstep.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QSpinBox>
#include <QUndoStack>

#include <algorithm>
#include <iterator>

namespace {

// The platform's keys and the two every pilot knows from somewhere else.
QList<QKeySequence> redoKeys()
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &key :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        if (!keys.contains(key))
            keys << key;
    }
    return keys;
}

bool isUndoOrRedoKey(QEvent *event)
{
    const auto *key = static_cast<QKeyEvent *>(event);
    return key->matches(QKeySequence::Undo) ||
           redoKeys().contains(QKeySequence(int(key->modifiers()) | key->key()));
}

QString keyText(const QKeySequence &key)
{
    return key.toString(QKeySequence::NativeText);
}

} // namespace

EditorUndo::NotThePilot::NotThePilot(EditorUndo &undo) : undo(undo)
{
    ++undo.notThePilot;
}

EditorUndo::NotThePilot::~NotThePilot()
{
    if (--undo.notThePilot == 0)
        undo.settled = paramSet;
}

EditorUndo::EditorUndo(QWidget *window, QWidget *pages, QAbstractButton *undoButton,
                       QAbstractButton *redoButton, Show show)
    : QObject(window), window(window), show(std::move(show)), steps(new QUndoStack(this)),
      settled(paramSet)
{
    setUpActions(undoButton, redoButton);
    watchValueWidgets(pages);
    qApp->installEventFilter(this);
}

EditorUndo::~EditorUndo()
{
    release();
}

void EditorUndo::release()
{
    qApp->removeEventFilter(this);
    // Clearing the steps must not update buttons that may be gone already.
    steps->disconnect(this);
}

void EditorUndo::setUpActions(QAbstractButton *undoButton, QAbstractButton *redoButton)
{
    auto *undo = new QAction(QStringLiteral("Undo"), window);
    undo->setShortcuts(QKeySequence::Undo);
    auto *redo = new QAction(QStringLiteral("Redo"), window);
    redo->setShortcuts(redoKeys());
    for (QAction *action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        window->addAction(action);
    }
    // A READ or LOAD still open is the step undone first.
    const auto refused = [this](const QString &notDone) {
        const QString why = refuse ? refuse(notDone) : QString();
        if (!why.isEmpty())
            emit this->refused(why);
        return !why.isEmpty();
    };
    connect(undo, &QAction::triggered, this, [this, refused] {
        if (refused(QStringLiteral("Not undone")))
            return;
        closeCommandStep(paramSet);
        steps->undo();
    });
    connect(redo, &QAction::triggered, this, [this, refused] {
        if (refused(QStringLiteral("Not redone")))
            return;
        closeCommandStep(paramSet);
        steps->redo();
    });
    connect(undoButton, &QAbstractButton::clicked, undo, &QAction::trigger);
    connect(redoButton, &QAbstractButton::clicked, redo, &QAction::trigger);

    // The buttons say what the next step would take back or bring again.
    const QString undoKey = keyText(QKeySequence(QKeySequence::Undo));
    const QString redoKey = keyText(redoKeys().value(0));
    auto showState = [=] {
        const bool canUndo = steps->canUndo();
        const bool canRedo = steps->canRedo();
        undo->setEnabled(canUndo);
        redo->setEnabled(canRedo);
        undoButton->setEnabled(canUndo);
        redoButton->setEnabled(canRedo);
        // A step names the model it opened, as typed.
        undoButton->setToolTip(
            canUndo ? asTyped(QStringLiteral("Undo %1 (%2)").arg(steps->undoText(), undoKey))
                    : QStringLiteral("Nothing to undo"));
        redoButton->setToolTip(
            canRedo ? asTyped(QStringLiteral("Redo %1 (%2)").arg(steps->redoText(), redoKey))
                    : QStringLiteral("Nothing to redo"));
    };
    connect(steps, &QUndoStack::indexChanged, this, showState);
    connect(steps, &QUndoStack::undoTextChanged, this, showState);
    connect(steps, &QUndoStack::redoTextChanged, this, showState);
    showState();
}

void EditorUndo::watchValueWidgets(QWidget *pages)
{
    // Every value widget on the pages: its setter slot has stored the new
    // value by the time these run, as they are connected after it.
    for (QAbstractSpinBox *box : pages->findChildren<QAbstractSpinBox *>()) {
        if (auto *spin = qobject_cast<QSpinBox *>(box))
            connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this,
                    [this, spin] { valueWidgetChanged(spin); });
        else if (auto *volts = qobject_cast<QDoubleSpinBox *>(box))
            connect(volts, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
                    [this, volts] { valueWidgetChanged(volts); });
    }
    for (QComboBox *box : pages->findChildren<QComboBox *>())
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this, box] { valueWidgetChanged(box); });
}

bool EditorUndo::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // A spin box's text field has an undo of its own and claims the
        // keys; in this window they undo the pilot's steps instead.
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == window &&
            isUndoOrRedoKey(event)) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        // Input starts from the record as it stands: what a command put into
        // it meanwhile is not part of the pilot's next edit.
        if (notThePilot == 0)
            settled = paramSet;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void EditorUndo::valueWidgetChanged(QObject *widget)
{
    if (notThePilot > 0)
        return;
    // The pilot's edit is the next action: a READ still taking frames ends
    // its step where the edit begins.
    closeCommandStep(settled);
    if (changesEditor(settled, paramSet))
        pushStep(changeName(settled, paramSet), settled, paramSet,
                 qobject_cast<QAbstractSpinBox *>(widget));
    settled = paramSet;
}

quint64 EditorUndo::beginCommandStep(const QString &name)
{
    closeCommandStep(paramSet);
    openCommandStep = OpenCommandStep{name, paramSet, ++commandSteps};
    return commandSteps;
}

void EditorUndo::endCommandStep(quint64 number)
{
    if (openCommandStep && openCommandStep->number == number)
        closeCommandStep(paramSet);
}

void EditorUndo::closeCommandStep(const ParameterSet &after)
{
    if (!openCommandStep)
        return;
    const OpenCommandStep step = *openCommandStep;
    openCommandStep.reset();
    if (changesEditor(step.before, after))
        pushStep(step.name + QStringLiteral(" — ") + changeName(step.before, after), step.before,
                 after);
}

void EditorUndo::pushStep(const QString &name, const ParameterSet &before,
                          const ParameterSet &after, const void *mergeKey)
{
    steps->push(new EditorStep(
        name, before, after, [this](const ParameterSet &p) { showSettings(p); }, mergeKey,
        mergeKey ? QDateTime::currentMSecsSinceEpoch() : 0));
}

void EditorUndo::showSettings(const ParameterSet &settings)
{
    NotThePilot undoing(*this);
    paramSet = settings;
    show(paramSet);
}

void EditorUndo::replaceEditorSettings(const QString &stepName, const ParameterSet &after)
{
    closeCommandStep(paramSet);
    const ParameterSet before = paramSet;
    ParameterSet restored = after;
    std::copy(std::begin(before.stickTrim), std::end(before.stickTrim),
              std::begin(restored.stickTrim));
    showSettings(restored);
    // Settings equal to the editor's are a step too: the pilot's undo takes
    // back what the pilot just did, not an earlier edit.
    pushStep(stepName + QStringLiteral(" — ") +
                 (changesEditor(before, paramSet) ? changeName(before, paramSet)
                                                  : QStringLiteral("no change")),
             before, paramSet);
}
