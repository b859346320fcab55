// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Opens the tool's window on a pseudo-terminal and lets a transmitter stream
// channel and telemetry frames at 50 Hz each, as it does while connected.
// Prints the CPU time the process used, and what one refresh tick and one
// decoded frame cost on their own.

#include "app/mainwindow.h"
#include "link/framedecoder.h"
#include "model/parameterset.h"
#include "support/benchtools.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"
#include "views/livemonitor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <cstdio>

namespace {

// Nanoseconds per call of f, over n calls.
template <typename F> double nsPerCall(int n, F f)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i)
        f(i);
    return double(t.nsecsElapsed()) / n;
}

void measureParts(MainWindow &window)
{
    auto invoke = [&window](const char *slot) { QMetaObject::invokeMethod(&window, slot); };
    std::printf("idle refresh tick (ui_Display): %.1f us\n",
                nsPerCall(2000, [&](int) { invoke("ui_Display"); }) / 1000);
    std::printf("idle live readouts (Servo, Recieve, StkTrim): %.1f us\n",
                nsPerCall(20000, [&](int) {
                    invoke("Servo_Display");
                    invoke("Recieve_Display");
                    invoke("StkTrim_Display");
                }) / 1000);
    std::printf("live readouts, every channel moving: %.1f us\n",
                nsPerCall(2000, [&](int i) {
                    for (int &v : liveStatus.channelOutput)
                        v = 1000 + (i % 2) * 500;
                    invoke("Servo_Display");
                }) / 1000);

    QLineEdit *field = window.form()->lineEdit_TX;
    const QString same = field->text();
    std::printf("QLineEdit::setText, same text: %.0f ns; skipped when unchanged: %.0f ns\n",
                nsPerCall(200000, [&](int) { field->setText(same); }),
                nsPerCall(200000, [&](int) { setTextIfChanged(field, same); }));

    const QByteArray channels =
        hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D");
    ParameterSet p = kStartParameters;
    LiveStatus live = liveStatus;
    std::printf("decoding one channel frame: %.0f ns\n",
                nsPerCall(1000000, [&](int) { decodeNotification(channels, p, live, false); }));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropDebug);
    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    PtyTransmitter tx;
    if (!tx.openIn(window)) {
        std::fprintf(stderr, "could not open the pseudo-terminal\n");
        return 1;
    }

    const QByteArray channels =
        hexBytes("FE 18 05 DC 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 03 4D");
    const QByteArray telemetry =
        hexBytes("FE 19 2D 54 00 7E 00 00 00 00 EF FF EE 78 00 00 00 00 00 00");
    // One frame every 10 ms, the two kinds taking turns: 50 Hz each. The
    // channel values move so the gauges really change.
    int sent = 0;
    QTimer stream;
    stream.setTimerType(Qt::PreciseTimer);
    QObject::connect(&stream, &QTimer::timeout, [&] {
        QByteArray frame = sent % 2 ? telemetry : channels;
        if (!(sent % 2))
            frame[2] = char(3 + (sent / 2) % 4);
        tx.write(frame);
        ++sent;
    });

    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 10;
    QTest::qWait(300); // the window settles and answers "OK"
    const double before = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    stream.start(10);
    QTest::qWait(seconds * 1000);
    stream.stop();
    const double used = cpuSeconds() - before;
    const double elapsed = wall.elapsed() / 1000.0;
    QTest::qWait(100);
    std::printf("streamed %d frames in %.1f s, %d answers; CPU %.3f s = %.1f %% of one core\n",
                sent, elapsed, int(tx.received().mid(2).size() / 3), used, 100.0 * used / elapsed);

    const double idleBefore = cpuSeconds();
    QTest::qWait(2000);
    std::printf("connected, no frames: %.1f %% of one core\n",
                100.0 * (cpuSeconds() - idleBefore) / 2.0);

    measureParts(window);
    return 0;
}
