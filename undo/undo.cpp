// Undo and redo of the pilot's work in the editor, and the keys of the
// commands that leave the transmitter's settings alone. A step is one edit
// of a value widget on a page, or one READ, LOAD, RESET or DATA RESET.
// Undo and redo change the editor only; the transmitter gets the result
// when the pilot WRITEs.
#include "app/mainwindow.h"

#include "ui/mainform.h"
#include "undo/editorstep.h"
#include "views/statusline.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
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

MainWindow::NotThePilot::NotThePilot(MainWindow &window) : window(window)
{
    ++window.notThePilot;
}

MainWindow::NotThePilot::~NotThePilot()
{
    if (--window.notThePilot == 0)
        window.settled = paramSet;
}

void MainWindow::setUpUndo()
{
    settled = paramSet;
    steps = new QUndoStack(this);

    auto *undo = new QAction(QStringLiteral("Undo"), this);
    undo->setShortcuts(QKeySequence::Undo);
    auto *redo = new QAction(QStringLiteral("Redo"), this);
    redo->setShortcuts(redoKeys());
    for (QAction *action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        addAction(action);
    }
    // A READ or LOAD still open is the step undone first.
    connect(undo, &QAction::triggered, this, [this] {
        closeCommandStep(paramSet);
        steps->undo();
    });
    connect(redo, &QAction::triggered, this, [this] {
        closeCommandStep(paramSet);
        steps->redo();
    });
    connect(ui->pushButton_Undo, &QPushButton::clicked, undo, &QAction::trigger);
    connect(ui->pushButton_Redo, &QPushButton::clicked, redo, &QAction::trigger);

    // The buttons say what the next step would take back or bring again.
    const QString undoKey = keyText(QKeySequence(QKeySequence::Undo));
    const QString redoKey = keyText(redoKeys().value(0));
    auto showState = [=] {
        const bool canUndo = steps->canUndo();
        const bool canRedo = steps->canRedo();
        undo->setEnabled(canUndo);
        redo->setEnabled(canRedo);
        ui->pushButton_Undo->setEnabled(canUndo);
        ui->pushButton_Redo->setEnabled(canRedo);
        ui->pushButton_Undo->setToolTip(
            canUndo ? QStringLiteral("Undo %1 (%2)").arg(steps->undoText(), undoKey)
                    : QStringLiteral("Nothing to undo"));
        ui->pushButton_Redo->setToolTip(
            canRedo ? QStringLiteral("Redo %1 (%2)").arg(steps->redoText(), redoKey)
                    : QStringLiteral("Nothing to redo"));
    };
    connect(steps, &QUndoStack::indexChanged, this, showState);
    connect(steps, &QUndoStack::indexChanged, status, &StatusLine::editorStepsAt);
    connect(steps, &QUndoStack::undoTextChanged, this, showState);
    connect(steps, &QUndoStack::redoTextChanged, this, showState);
    showState();

    // Every value widget on the pages: its setter slot has stored the new
    // value by the time these run, as they are connected after it.
    for (QAbstractSpinBox *box : ui->tabWidget->findChildren<QAbstractSpinBox *>()) {
        if (auto *spin = qobject_cast<QSpinBox *>(box))
            connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this,
                    [this, spin] { valueWidgetChanged(spin); });
        else if (auto *volts = qobject_cast<QDoubleSpinBox *>(box))
            connect(volts, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
                    [this, volts] { valueWidgetChanged(volts); });
    }
    for (QComboBox *box : ui->tabWidget->findChildren<QComboBox *>())
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this, box] { valueWidgetChanged(box); });

    // READ's frames trail its pause; its step closes when the status line
    // judges it: its grace period is over, or the next command starts.
    connect(status, &StatusLine::readJudged, this, [this] { endCommandStep(readStep); });

    qApp->installEventFilter(this);
    setUpCommandKeys();
}

void MainWindow::setUpCommandKeys()
{
    // Keys only for the commands that do not overwrite the transmitter at
    // a stroke: READ only asks, and LOAD and SAVE send nothing before the
    // pilot has picked a file in their dialog. WRITE, RESET and DATA RESET
    // overwrite the transmitter at once and stay a deliberate click.
    const struct {
        QToolButton *button;
        QKeySequence key;
        const char *does;
    } commands[] = {
        {ui->toolButton_Read, QKeySequence(Qt::Key_F5), "READ the transmitter's settings"},
        {ui->toolButton_Load, QKeySequence(Qt::CTRL | Qt::Key_O),
         "LOAD settings from a file and send them to the transmitter"},
        {ui->toolButton_Save, QKeySequence(Qt::CTRL | Qt::Key_S), "SAVE the settings to a file"},
    };
    for (const auto &command : commands) {
        auto *action = new QAction(this);
        action->setShortcut(command.key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        // A click, so the key waits out the button's lock like the mouse.
        QToolButton *button = command.button;
        connect(action, &QAction::triggered, button, [button] { button->click(); });
        button->setToolTip(
            QStringLiteral("%1 (%2)").arg(QLatin1String(command.does), keyText(command.key)));
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // A spin box's text field has an undo of its own and claims the
        // keys; in this window they undo the pilot's steps instead.
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == this &&
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
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::valueWidgetChanged(QObject *widget)
{
    if (notThePilot > 0)
        return;
    // The pilot's edit is the next action: a READ still taking frames ends
    // its step where the edit begins.
    closeCommandStep(settled);
    if (changesEditor(settled, paramSet)) {
        const void *mergeKey = qobject_cast<QAbstractSpinBox *>(widget);
        steps->push(new EditorStep(
            changeName(settled, paramSet), settled, paramSet,
            [this](const ParameterSet &p) { showEditorSettings(p); }, mergeKey,
            QDateTime::currentMSecsSinceEpoch()));
    }
    settled = paramSet;
}

quint64 MainWindow::beginCommandStep(const QString &name)
{
    closeCommandStep(paramSet);
    openCommandStep = OpenCommandStep{name, paramSet, ++commandSteps};
    return commandSteps;
}

void MainWindow::endCommandStep(quint64 number)
{
    if (openCommandStep && openCommandStep->number == number)
        closeCommandStep(paramSet);
}

void MainWindow::closeCommandStep(const ParameterSet &after)
{
    if (!openCommandStep)
        return;
    const OpenCommandStep step = *openCommandStep;
    openCommandStep.reset();
    if (!changesEditor(step.before, after))
        return;
    steps->push(new EditorStep(step.name + QStringLiteral(" — ") + changeName(step.before, after),
                               step.before, after,
                               [this](const ParameterSet &p) { showEditorSettings(p); }));
}

void MainWindow::showEditorSettings(const ParameterSet &settings)
{
    NotThePilot undoing(*this);
    paramSet = settings;
    ui_Display();
}

void MainWindow::replaceEditorSettings(const QString &stepName, const ParameterSet &after)
{
    closeCommandStep(paramSet);
    const ParameterSet before = paramSet;
    ParameterSet restored = after;
    std::copy(std::begin(before.stickTrim), std::end(before.stickTrim),
              std::begin(restored.stickTrim));
    showEditorSettings(restored);
    if (!changesEditor(before, paramSet))
        return;
    steps->push(new EditorStep(stepName + QStringLiteral(" — ") + changeName(before, paramSet),
                               before, paramSet,
                               [this](const ParameterSet &p) { showEditorSettings(p); }));
}
