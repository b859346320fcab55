// Cost of one refresh tick of an idle, shown window: nothing changed in the
// ParameterSet and the pointer on no combo box. The settings routines and
// the live readouts are measured apart, and a full tick on top.
//
//   bench_display                                   wall time per tick
//   valgrind --tool=callgrind bench_display -callgrind   instructions per tick
#include "app/mainwindow.h"
#include "model/parameterset.h"

#include <QTimer>
#include <QtTest>

namespace {

const char *const kSettingsRoutines[] = {
    "Rev_Display",   "EPA_Display", "SubTrim_Display",   "FS_Display",    "Delay_Display",
    "Aux_Display",   "DR_Display",  "Parameter_Display", "Atti_Display",  "Elev_Display",
    "Vtype_Display", "Prm_Display", "DRCure_Display",    "THcure_Display"};
const char *const kLiveRoutines[] = {"Servo_Display", "Recieve_Display", "StkTrim_Display"};

void call(MainWindow &w, const char *slot)
{
    QMetaObject::invokeMethod(&w, slot, Qt::DirectConnection);
}

} // namespace

class BenchDisplay : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void idleTick();
    void idleSettingsRoutines();
    void idleLiveRoutines();

private:
    MainWindow *window = nullptr;
};

void BenchDisplay::initTestCase()
{
    window = new MainWindow;
    for (QTimer *t : window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
        t->stop();
    window->show();
    // two ticks bring the widgets in step with the record and flush the
    // repaints of the first one, so what follows is the idle state
    call(*window, "ui_Display");
    QCoreApplication::processEvents();
    call(*window, "ui_Display");
    QCoreApplication::processEvents();
}

void BenchDisplay::cleanupTestCase()
{
    delete window;
}

void BenchDisplay::idleTick()
{
    QBENCHMARK
    {
        call(*window, "ui_Display");
    }
}

void BenchDisplay::idleSettingsRoutines()
{
    QBENCHMARK
    {
        for (const char *slot : kSettingsRoutines)
            call(*window, slot);
    }
}

void BenchDisplay::idleLiveRoutines()
{
    QBENCHMARK
    {
        for (const char *slot : kLiveRoutines)
            call(*window, slot);
    }
}

QTEST_MAIN(BenchDisplay)
#include "bench_display.moc"
