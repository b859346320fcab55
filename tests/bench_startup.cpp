// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// How long the pilot waits for the window: time from process start (exec,
// dynamic linking and all) until the window is first painted on screen,
// and the peak memory by then. bench_startup full|bare
//   full: the tool's MainWindow
//   form: only the window's form, built into a plain QMainWindow (no port
//         enumeration, no refresh timer)
//   bare: a QMainWindow with one button, the floor any Qt window pays
// Run under a real X server (xvfb-run); prints one line and exits.
#include "app/mainwindow.h"
#include "ui/mainform.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QPushButton>
#include <QWindow>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace {

// Milliseconds since the kernel started this process: starttime in
// /proc/self/stat counts clock ticks since boot, like CLOCK_BOOTTIME.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // fields after the command name, which is in parentheses and may hold spaces
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 overall
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
}

class ExposeWatch : public QObject
{
public:
    explicit ExposeWatch(const char *variant) : variant(variant) {}

    // where the time went: process start to QApplication, then to the
    // built window, then to the first painted frame
    double appReadyMs = 0;
    double windowBuiltMs = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed() && !reported) {
            reported = true;
            // measure once the exposed window has been painted
            QMetaObject::invokeMethod(
                this, [this] { report(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double now = msSinceProcessStart();
        printf("%s startup_ms=%.1f maxrss_kb=%ld (app %.1f, build %.1f, show %.1f)\n", variant, now,
               usage.ru_maxrss, appReadyMs, windowBuiltMs - appReadyMs, now - windowBuiltMs);
        fflush(stdout);
        QCoreApplication::exit(0);
    }

    const char *variant;
    bool reported = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QByteArray variant = argc > 1 ? QByteArray(argv[1]) : QByteArray("full");
    ExposeWatch watch(variant.constData());
    watch.appReadyMs = msSinceProcessStart();

    QMainWindow *window = nullptr;
    MainForm form;
    if (variant == "full") {
        window = new MainWindow;
    } else if (variant == "form") {
        window = new QMainWindow;
        form.setupUi(window);
    } else {
        window = new QMainWindow;
        window->setCentralWidget(new QPushButton(QStringLiteral("OPEN")));
        window->resize(1100, 680);
    }
    watch.windowBuiltMs = msSinceProcessStart();
    window->winId(); // create the native window so its expose can be watched
    window->windowHandle()->installEventFilter(&watch);
    window->show();
    const int rc = app.exec();
    delete window;
    return rc;
}
