// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of LIVE as a pilot sees it after ten minutes on the bench:
// servos sweeping, the receiver battery sagging under load (once below its
// alarm), a range check pulling the RSSI down, a pause with the port
// closed and one corrupt EXT reading.
//
//   tool_liveshot live.png [width]  (QT_SCALE_FACTOR=2 for the 2x picture;
//                                     a width of 1: the narrowest LIVE)
#include "app/mainwindow.h"
#include "live/livegraph.h"
#include "live/livelog.h"
#include "live/livewindow.h"
#include "model/parameterset.h"

#include <QApplication>
#include <QPixmap>

#include <cmath>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    auto *live = window.findChild<LiveWindow *>();
    auto *log = window.findChild<LiveLog *>();
    paramSet.txAlarmVolt = 7.4;
    paramSet.rxAlarmVolt = 4.6;
    paramSet.extAlarmVolt = 11.1;
    paramSet.rssiAlarm = -85;

    const qint64 end = log->now();
    const qint64 start = end - 10 * 60 * 1000;
    LiveStatus s = liveStatus;
    for (qint64 ms = start + 5000; ms < end; ms += 20) {
        const double t = (ms - start) / 1000.0;
        if (t > 250 && t < 262) { // the port closed for a while
            if (t < 250.03)
                log->lineEnded();
            continue;
        }
        const bool servosWork = std::fmod(t, 60) > 40;
        for (int ch = 0; ch < 8; ++ch)
            s.channelOutput[ch] = 1000 + int(std::lround((servosWork ? 480 : 120) / (1 + ch % 4) *
                                                         std::sin(t / (1.3 + 0.7 * ch) + ch)));
        s.txVoltage = 815 - int(t / 30) + int(std::lround(3 * std::sin(t / 7)));
        const double sag = servosWork ? 0.35 + 0.15 * std::sin(t * 3) : 0;
        s.rxVoltage = int(std::lround(10 * (5.05 - sag - (t > 400 && t < 404 ? 0.4 : 0))));
        // One corrupt EXT reading: drawn at the top edge, marked.
        s.extVoltage =
            t >= 100 && t < 100.04 ? 0xFFFF : 118 + int(std::lround(2 * std::sin(t / 23)));
        const double rangeCheck = t > 300 && t < 420 ? 20 * std::sin((t - 300) / 120 * 3.14159) : 0;
        s.rssi = int(std::lround(82 - rangeCheck + 2 * std::sin(t * 1.7)));
        log->addAt(ms, (ms / 20) % 2 ? Incoming::Telemetry : Incoming::Channels, s);
    }
    live->open();
    if (argc > 2)
        live->resize(QByteArray(argv[2]).toInt(), live->height());
    app.processEvents();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("live.png");
    if (!live->grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
