// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the pseudo-terminal transmitter used by the end-to-end tests:
// what the tool writes arrives on the master end, and the line stays
// usable across a close and reopen of the port.
#include "app/mainwindow.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"

#include <QSerialPort>
#include <QtTest>

class TestPty : public QObject
{
    Q_OBJECT
private slots:
    void bytesTravelBothWays();
};

void TestPty::bytesTravelBothWays()
{
    PtyTransmitter tx;
    QVERIFY(tx.isValid());
    QSerialPort port;
    port.setPortName(tx.slavePath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    port.write("OK");
    QVERIFY(tx.waitForReceived(2));
    QCOMPARE(tx.takeReceived(), QByteArray("OK"));

    tx.write(hexBytes("FE 18 05 DC"));
    QTRY_COMPARE(port.bytesAvailable(), qint64(4));
    QCOMPARE(port.readAll(), hexBytes("FE 18 05 DC"));
    port.close();
}

QTEST_MAIN(TestPty)
#include "tst_pty.moc"
