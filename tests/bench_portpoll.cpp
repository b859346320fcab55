// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// What following the adapters costs while the port is closed, with the
// platform's own enumeration. Every second the window takes the devices'
// fingerprint; only when it changed does it ask for the ports with their
// details and rebuild the list. At one look a second, a look of T ms costs
// T / 10 % of a core.
#include "link/portlist.h"
#include "ui/portnamebox.h"

#include <QtTest>

class BenchPortPoll : public QObject
{
    Q_OBJECT
private slots:
    void fingerprint()
    {
        QBENCHMARK
        {
            portSignature();
        }
    }

    void fullLookAfterAChange()
    {
        PortNameBox box;
        fillPortNames(&box);
        qInfo("ports present: %d", box.count());
        QBENCHMARK
        {
            updatePortNames(&box, PortListOccasion::Poll);
        }
    }
};

QTEST_MAIN(BenchPortPoll)
#include "bench_portpoll.moc"
