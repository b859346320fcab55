// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The transmitter emulator's own behaviour: how it makes commands and
// frames out of whatever the line delivers, and how it answers on a real
// pseudo-terminal (one frame per read, READ after WRITE).
#include "emulator/linkreader.h"
#include "emulator/pty.h"
#include "emulator/record.h"
#include "emulator/transmitter.h"
#include "link/framedecoder.h"

#include <QSocketNotifier>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The events as short words: "OK", "frame S", "unknown 3", "partial 5".
QStringList describe(const QList<LinkEvent> &events)
{
    QStringList out;
    for (const LinkEvent &e : events) {
        switch (e.kind) {
        case LinkEvent::Command:
            out << QString::fromLatin1(e.bytes);
            break;
        case LinkEvent::Frame:
            out << QStringLiteral("frame ") + QLatin1Char(e.bytes.at(0));
            break;
        case LinkEvent::Unknown:
            out << QStringLiteral("unknown %1").arg(e.bytes.size());
            break;
        case LinkEvent::DroppedPartial:
            out << QStringLiteral("partial %1").arg(e.bytes.size());
            break;
        }
    }
    return out;
}

// The four frames of the emulator's own factory record, as WRITE sends them.
QByteArray frameOf(int index, const ParameterSet &p = factoryRecord())
{
    return recordFileBytes(p).mid(index * 81, 81);
}

// The tool's side of the line: each read() is what one notification of
// the tool's serial port would hold.
class ToolSide : public QObject
{
public:
    explicit ToolSide(const QString &device)
    {
        m_fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return;
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            char buffer[4096];
            ssize_t n;
            while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0) {
                reads << QByteArray(buffer, int(n));
                if (answer)
                    write("WWW");
            }
        });
    }
    ~ToolSide() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    void setReading(bool on) { m_notifier->setEnabled(on); }
    void write(const QByteArray &bytes)
    {
        QCOMPARE(::write(m_fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }
    QList<QByteArray> reads;
    bool answer = true;

private:
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace

class TestEmulator : public QObject
{
    Q_OBJECT
private slots:
    void readerSeparatesWhatTheLineDelivers_data();
    void readerSeparatesWhatTheLineDelivers();
    void readAfterWriteGivesBackWhatWasWritten_data();
    void readAfterWriteGivesBackWhatWasWritten();
    void streamsOneFramePerReadUntilDis();
    void savesOnlyWhatItCanWriteWhole();
};

void TestEmulator::readerSeparatesWhatTheLineDelivers_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("heldBack"); // bytes waiting when the line goes quiet

    const QByteArray s = frameOf(0), g = frameOf(1), i = frameOf(3);
    QTest::newRow("commands back to back")
        << QList<QByteArray>{"OKRRWWWWWWDIS"} << QStringList{"OK", "RR", "WWW", "WWW", "DIS"} << 0;
    QTest::newRow("command split across reads")
        << QList<QByteArray>{"W", "WW", "D", "IS"} << QStringList{"WWW", "DIS"} << 0;
    QTest::newRow("frame split in three reads")
        << QList<QByteArray>{s.left(1), s.mid(1, 50), s.mid(51)} << QStringList{"frame S"} << 0;
    QTest::newRow("frames joined with commands")
        << QList<QByteArray>{"WWW" + g + i + "RR"} << QStringList{"WWW", "frame G", "frame I", "RR"}
        << 0;
    QTest::newRow("lower-case digits are a frame")
        << QList<QByteArray>{s.toLower().replace(0, 1, "S").replace(80, 1, "Y")}
        << QStringList{"frame S"} << 0;
    QTest::newRow("noise before a frame") << QList<QByteArray>{QByteArray("\x00\xff zz", 5) + g}
                                          << QStringList{"unknown 5", "frame G"} << 0;
    // The command that cuts a frame short is not lost with it.
    QTest::newRow("frame cut short by a command")
        << QList<QByteArray>{s.left(30), "OK"} << QStringList{"unknown 30", "OK"} << 0;
    QTest::newRow("wrong end letter")
        << QList<QByteArray>{s.left(80) + "Z"} << QStringList{"unknown 81"} << 0;
    QTest::newRow("near misses keep the next command")
        << QList<QByteArray>{"ORR", "DIRR"} << QStringList{"unknown 1", "RR", "unknown 2", "RR"}
        << 0;
    QTest::newRow("a megabyte of noise is not held")
        << QList<QByteArray>{QByteArray(1 << 20, 'x')} << QStringList{"unknown 1048576"} << 0;
    QTest::newRow("partial frame waits for the rest")
        << QList<QByteArray>{"RR" + s.left(80)} << QStringList{"RR"} << 80;
    QTest::newRow("partial command waits for the rest")
        << QList<QByteArray>{"WW"} << QStringList{} << 2;
}

void TestEmulator::readerSeparatesWhatTheLineDelivers()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QStringList, events);
    QFETCH(int, heldBack);
    LinkReader reader;
    QList<LinkEvent> all;
    for (const QByteArray &bytes : reads)
        all += reader.feed(bytes);
    QCOMPARE(describe(all), events);
    QCOMPARE(reader.pendingSize(), heldBack);
    const QStringList dropped = describe(reader.dropPartial());
    QCOMPARE(dropped,
             heldBack ? QStringList{QStringLiteral("partial %1").arg(heldBack)} : QStringList{});
    QCOMPARE(reader.pendingSize(), 0);
}

void TestEmulator::readAfterWriteGivesBackWhatWasWritten_data()
{
    QTest::addColumn<bool>("toolAnswers");
    QTest::newRow("tool answers every frame with WWW") << true;
    QTest::newRow("peer that never answers") << false;
}

void TestEmulator::readAfterWriteGivesBackWhatWasWritten()
{
    QFETCH(bool, toolAnswers);
    PtyPair pty = openRawPty();
    QVERIFY2(pty.error.isEmpty(), qPrintable(pty.error));
    EmulatedTransmitter transmitter(pty.master, pty.slave, factoryRecord());
    ToolSide tool(pty.devicePath);
    QVERIFY(tool.isOpen());
    tool.answer = toolAnswers;

    // A WRITE of other settings, its frames cut and glued at odd places,
    // with noise in front.
    ParameterSet written = factoryRecord();
    written.subTrim[3] = -42;
    written.progMix[2] = {2, 5, 1, 30, 40, 50};
    written.extAlarmTenths = 123;
    written.stickTrim[0] = 90;
    QByteArray file = recordFileBytes(written);
    file[1] = 'F';          // a one-digit field (reverse CH1) the frame cannot carry as 15:
    written.reverse[0] = 9; // held as what a READ or a save gives back
    const QByteArray wire = "\x01\x02" + file + "WWW";
    for (int at = 0; at < wire.size(); at += 50) {
        tool.write(wire.mid(at, 50));
        QTest::qWait(1);
    }
    QTRY_COMPARE(transmitter.counts().framesStored, 4);
    QCOMPARE(transmitter.counts().unknownBytes, 2);
    QCOMPARE(transmitter.record().reverse[0], 9);
    QCOMPARE(recordFileBytes(transmitter.record()), recordFileBytes(written));

    tool.write("RR");
    QTRY_COMPARE_WITH_TIMEOUT(tool.reads.size(), 19, 10000);
    ParameterSet read = kStartParameters;
    LiveStatus live{};
    for (const QByteArray &frame : tool.reads) {
        QVERIFY2(frame.size() == 12 || frame.size() == 8, frame.toHex(' ').constData());
        QVERIFY(decodeNotification(frame, read, live, false) != Incoming::Nothing);
    }
    QCOMPARE(read.subTrim[3], -42);
    QCOMPARE(read.progMix[2].offset, 30);
    QCOMPARE(read.extAlarmTenths, 123);
    QCOMPARE(settingFrames(read), settingFrames(written));
    closePty(pty);
}

void TestEmulator::streamsOneFramePerReadUntilDis()
{
    PtyPair pty = openRawPty();
    QVERIFY2(pty.error.isEmpty(), qPrintable(pty.error));
    ParameterSet record = factoryRecord();
    record.stickTrim[3] = 200;
    EmulatedTransmitter transmitter(pty.master, pty.slave, record);
    ToolSide tool(pty.devicePath);

    tool.write("OK");
    QTRY_VERIFY(tool.reads.size() >= 10);
    // A tool busy for a moment finds the newest frame, not a lump of them.
    tool.setReading(false);
    QTRY_VERIFY(transmitter.counts().framesUnheard >= 3);
    tool.setReading(true);
    QTRY_VERIFY(tool.reads.size() >= 20);
    tool.write("DIS");
    QTRY_VERIFY(!transmitter.isStreaming());
    // At most the frame already on its way when "DIS" came.
    const int afterDis = int(tool.reads.size());
    QVERIFY(!QTest::qWaitFor([&] { return tool.reads.size() > afterDis + 1; },
                             10 * EmulatedTransmitter::kStreamTickMs));

    int channels = 0, telemetry = 0;
    for (const QByteArray &frame : tool.reads) {
        QCOMPARE(frame.size(), 20);
        ParameterSet p = kStartParameters;
        LiveStatus live{};
        const Incoming kind = decodeNotification(frame, p, live, false);
        channels += kind == Incoming::Channels;
        telemetry += kind == Incoming::Telemetry;
        if (kind == Incoming::Telemetry)
            QCOMPARE(p.stickTrim[3], 200);
    }
    QCOMPARE(channels + telemetry, int(tool.reads.size()));
    QVERIFY(channels >= 5 && telemetry >= 5);
    closePty(pty);
}

// A save that is not on the disk must say so, before the run and at its end.
void TestEmulator::savesOnlyWhatItCanWriteWhole()
{
    QVERIFY(!checkSaveTarget("/dev/full").isEmpty()); // a device that takes nothing
    QVERIFY(!saveRecord("/dev/full", factoryRecord()).isEmpty());
    QTemporaryDir dir;
    QFile file(dir.filePath("after.txt"));
    QVERIFY(checkSaveTarget(file.fileName()).isEmpty());
    QVERIFY(saveRecord(file.fileName(), factoryRecord()).isEmpty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), recordFileBytes(factoryRecord()));
}

QTEST_MAIN(TestEmulator)
#include "tst_emulator.moc"
