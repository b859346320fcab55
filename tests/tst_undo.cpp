// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo as the pilot meets them: real keys on the focused widget,
// a transmitter on a pseudo-terminal that answers READ and sends telemetry
// while the pilot works, and the keys of the commands.
#include "app/mainwindow.h"
#include "model/parameterset.h"
#include "support/filedialoganswerer.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QUndoStack>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

enum Between { Nothing, ReadReply, Telemetry };

// The value the pilot sees in a spin box or combo box.
QVariant shownValue(QWidget *widget)
{
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentIndex();
    return widget->property("value");
}

void pressKeys(const QString &keys)
{
    for (const QString &key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keys_data();
    void keys();

private:
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<PtyTransmitter> tx;
};

void TestUndo::init()
{
    paramSet = kStartParameters;
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    tx = std::make_unique<PtyTransmitter>();
    QVERIFY(tx->openIn(*window));
    // The first refresh tick takes the window's settings as what the
    // transmitter has; the pilot's edits come after it.
    QVERIFY(waitForRefresh(*window));
}

void TestUndo::cleanup()
{
    window.reset();
    tx.reset();
}

void TestUndo::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("between");
    QTest::addColumn<QString>("undoKeys"); // each checked: Ctrl+Z undoes, the others redo
    QTest::addColumn<QString>("opens");    // the dialog a command key opens

    QTest::newRow("spin box") << "spinBox_sub1"
                              << "Up" << int(Nothing) << "Ctrl+Z Ctrl+Shift+Z"
                              << "";
    QTest::newRow("combo box") << "comboBox_rev1"
                               << "Down" << int(Nothing) << "Ctrl+Z Ctrl+Y"
                               << "";
    QTest::newRow("held arrow key: one step") << "spinBox_sub1"
                                              << "Up Up Up Up Up" << int(Nothing) << "Ctrl+Z Ctrl+Y"
                                              << "";
    QTest::newRow("typed number: one step") << "spinBox_Lepa2"
                                            << "Ctrl+A 4 5" << int(Nothing) << "Ctrl+Z"
                                            << "";
    QTest::newRow("F5 READ, undone in the editor only") << "spinBox_sub1"
                                                        << "F5" << int(ReadReply) << "Ctrl+Z Ctrl+Y"
                                                        << "";
    QTest::newRow("telemetry trims between edit and undo stay")
        << "spinBox_sub1"
        << "Up" << int(Telemetry) << "Ctrl+Z"
        << "";
    QTest::newRow("Ctrl+O LOAD") << "spinBox_sub1"
                                 << "Ctrl+O" << int(Nothing) << ""
                                 << "Open file";
    QTest::newRow("Ctrl+S SAVE") << "spinBox_sub1"
                                 << "Ctrl+S" << int(Nothing) << ""
                                 << "SAVE";
}

void TestUndo::keys()
{
    QFETCH(QString, focus);
    QFETCH(QString, typed);
    QFETCH(int, between);
    QFETCH(QString, undoKeys);
    QFETCH(QString, opens);

    auto *widget = window->findChild<QWidget *>(focus);
    QVERIFY(widget);
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
    FileDialogAnswerer dialogs;
    dialogs.answers = QStringList{QString()}; // the pilot cancels
    const ParameterSet before = paramSet;
    const QVariant shownBefore = shownValue(widget);
    tx->clearReceived();      // what the tool said on opening the port
    if (between == ReadReply) // the transmitter answers with its sub-trims
        tx->answerReads({hexBytes("FE 00 55 64 78 8C 78 78 78 78 78 FE")});

    pressKeys(typed);
    if (!opens.isEmpty()) {
        QTRY_VERIFY(dialogs.titles.contains(opens));
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(window->editorSteps()->count(), 0);
        return;
    }
    if (between == ReadReply) {
        QTRY_COMPARE_WITH_TIMEOUT(tx->received(), QByteArray("RRWWW"), kAnswerWaitMs);
    }
    // READ's step closes when its grace period is over.
    QTRY_COMPARE_WITH_TIMEOUT(window->editorSteps()->count(), 1, kAnswerWaitMs);
    const ParameterSet after = paramSet;
    const QVariant shownAfter = shownValue(widget);
    QVERIFY(shownAfter != shownBefore);
    if (between == Telemetry) {
        QVERIFY(
            tx->sendFrame(hexBytes("FE 19 40 50 00 6E 00 00 00 00 50 50 50 50 00 00 00 00 00 00")));
        QTRY_COMPARE(paramSet.stickTrim[0], 80);
    }
    const ParameterSet live = paramSet;
    tx->clearReceived();

    for (const QString &key : undoKeys.split(QLatin1Char(' '))) {
        pressKeys(key);
        const bool undone = key == QLatin1String("Ctrl+Z");
        ParameterSet expected = undone ? before : after;
        std::copy(std::begin(live.stickTrim), std::end(live.stickTrim), expected.stickTrim);
        QVERIFY2(paramSet == expected, qPrintable(key));
        QCOMPARE(shownValue(widget), undone ? shownBefore : shownAfter);
        // What the transmitter has: the start, or what READ brought.
        const bool transmitterHasIt = undone == (between != ReadReply);
        QTRY_COMPARE(window->form()->statusChanges->text(),
                     transmitterHasIt ? QString() : QStringLiteral("Changed — not yet written"));
    }
    QTest::qWait(100); // anything sent would have arrived by now
    QCOMPARE(tx->received(), QByteArray());
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
