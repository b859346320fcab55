// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of refresh work in an idle, shown window: nothing changed in the
// ParameterSet and the pointer on no combo box. One row per routine, a row
// for the whole tick, and a row for the bare cost of invoking a slot, to be
// subtracted from the others.
//
//   bench_display                                        wall time
//   valgrind --tool=callgrind bench_display -callgrind   instructions
#include "app/mainwindow.h"

#include <QMetaMethod>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

const char *const kRoutines[] = {
    "ui_Display",        "Servo_Display",  "Recieve_Display", "Rev_Display",   "EPA_Display",
    "SubTrim_Display",   "FS_Display",     "Delay_Display",   "Aux_Display",   "DR_Display",
    "Parameter_Display", "Atti_Display",   "Elev_Display",    "Vtype_Display", "Prm_Display",
    "DRCure_Display",    "THcure_Display", "StkTrim_Display"};

QMetaMethod slotOf(QObject *object, const char *name)
{
    const QMetaObject *meta = object->metaObject();
    return meta->method(meta->indexOfMethod(QMetaObject::normalizedSignature(name)));
}

} // namespace

class Nop : public QObject
{
    Q_OBJECT
public slots:
    void nop() {}
};

class BenchDisplay : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void idle_data();
    void idle();

private:
    MainWindow *window = nullptr;
    Nop nopTarget;
};

void BenchDisplay::initTestCase()
{
    window = new MainWindow;
    for (QTimer *t : window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
        t->stop();
    window->show();
    // two ticks bring the widgets in step with the record and flush the
    // repaints of the first one, so what follows is the idle state
    for (int i = 0; i < 2; ++i) {
        QMetaObject::invokeMethod(window, "ui_Display", Qt::DirectConnection);
        QCoreApplication::processEvents();
    }
}

void BenchDisplay::cleanupTestCase()
{
    delete window;
}

void BenchDisplay::idle_data()
{
    QTest::addColumn<bool>("nop");
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<int>("page");       // tab shown during the run
    QTest::addColumn<bool>("withPaint"); // let the window repaint after each tick
    QTest::newRow("(slot call only)") << true << QByteArray("nop()") << 0 << false;
    for (const char *routine : kRoutines)
        QTest::newRow(routine) << false << QByteArray(routine) + "()" << 0 << false;
    // what a shown page costs on top: the widgets of the current page repaint
    // whenever a setter asked for it
    QTest::newRow("ui_Display + paint, SERVO") << false << QByteArray("ui_Display()") << 0 << true;
    QTest::newRow("ui_Display + paint, BASIC") << false << QByteArray("ui_Display()") << 1 << true;
    QTest::newRow("ui_Display + paint, PROG.MIX")
        << false << QByteArray("ui_Display()") << 4 << true;
}

void BenchDisplay::idle()
{
    QFETCH(bool, nop);
    QFETCH(QByteArray, slot);
    QFETCH(int, page);
    QFETCH(bool, withPaint);
    QObject *target = nop ? static_cast<QObject *>(&nopTarget) : window;
    const QMetaMethod method = slotOf(target, slot.constData());
    QVERIFY(method.isValid());
    window->findChild<QTabWidget *>(QStringLiteral("tabWidget"))->setCurrentIndex(page);
    QCoreApplication::processEvents();
    QBENCHMARK
    {
        method.invoke(target, Qt::DirectConnection);
        if (withPaint)
            QCoreApplication::processEvents();
    }
}

QTEST_MAIN(BenchDisplay)
#include "bench_display.moc"
