// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the Windows tool over a real COM port the way a pilot would:
// OPEN, READ, one edit, WRITE, CLOSE. packaging/windows/serial-check runs it
// under Wine against the transmitter emulator and compares what the emulator
// stored with what the tool sent and with the history's WRITE entry.
//   vegalyra-serialcheck PORT MODEL_FILE SENT_FILE
// MODEL_FILE is the parameter file the emulator started from; SENT_FILE gets
// the four frames the tool's WRITE put on the wire. It waits for the READ
// entry in the history folder (which must start empty) before the edit and
// for the WRITE entry before CLOSE, which would otherwise come first.
#include "app/mainwindow.h"
#include "app/startup.h"
#include "files/paramfile.h"
#include "history/history.h"
#include "live/livelog.h"
#include "model/parameterset.h"
#include "ui/mainform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Wine (8.0) mishandles one way of waiting for serial events: an
// overlapped IOCTL_SERIAL_WAIT_ON_MASK that asks for a completion routine
// (an APC) instead of an event. Wine then blocks the calling thread until a
// serial event arrives and never runs the routine. Qt Serial Port 5.15
// waits exactly that way, so under Wine the tool's window freezes until the
// transmitter speaks, and then never hears it. Windows itself completes the
// wait through the routine. Under Wine only, this program hands the wait an
// event of its own and, once Wine signals it, queues the routine to the
// waiting thread as Windows would; the tool's code is left as it is.
constexpr ULONG kWaitOnMask = 0x001b0048; // IOCTL_SERIAL_WAIT_ON_MASK
using IoControlFn = NTSTATUS(NTAPI *)(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID, PIO_STATUS_BLOCK,
                                      ULONG, PVOID, ULONG, PVOID, ULONG);
IoControlFn wineIoControl = nullptr;

struct PendingWait {
    PIO_APC_ROUTINE routine;
    PVOID context;
    PIO_STATUS_BLOCK status;
    HANDLE thread;
    HANDLE event;
    HANDLE registration = nullptr;
};

void CALLBACK runRoutine(ULONG_PTR data)
{
    auto *wait = reinterpret_cast<PendingWait *>(data);
    wait->routine(wait->context, wait->status, 0);
    if (wait->registration)
        UnregisterWait(wait->registration);
    CloseHandle(wait->event);
    CloseHandle(wait->thread);
    delete wait;
}

void CALLBACK waitEnded(PVOID data, BOOLEAN)
{
    auto *wait = static_cast<PendingWait *>(data);
    QueueUserAPC(runRoutine, wait->thread, reinterpret_cast<ULONG_PTR>(wait));
}

NTSTATUS NTAPI ioControl(HANDLE file, HANDLE event, PIO_APC_ROUTINE routine, PVOID context,
                         PIO_STATUS_BLOCK status, ULONG code, PVOID in, ULONG inSize, PVOID out,
                         ULONG outSize)
{
    if (code != kWaitOnMask || event || !routine)
        return wineIoControl(file, event, routine, context, status, code, in, inSize, out, outSize);
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    auto *wait = new PendingWait{routine, context, status, thread,
                                 CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    const NTSTATUS result =
        wineIoControl(file, wait->event, nullptr, nullptr, status, code, in, inSize, out, outSize);
    if (result == STATUS_PENDING) {
        RegisterWaitForSingleObject(&wait->registration, wait->event, waitEnded, wait, INFINITE,
                                    WT_EXECUTEONLYONCE);
    } else if (NT_SUCCESS(result)) {
        QueueUserAPC(runRoutine, thread, reinterpret_cast<ULONG_PTR>(wait));
    } else {
        CloseHandle(wait->event);
        CloseHandle(thread);
        delete wait;
    }
    return result;
}

using GetProcAddressFn = FARPROC(WINAPI *)(HMODULE, LPCSTR);
GetProcAddressFn systemGetProcAddress = nullptr;

// Qt Serial Port looks NtDeviceIoControlFile up at run time; it gets
// ioControl in its place.
FARPROC WINAPI getProcAddress(HMODULE module, LPCSTR name)
{
    const FARPROC found = systemGetProcAddress(module, name);
    const bool byName = (reinterpret_cast<ULONG_PTR>(name) >> 16) != 0;
    if (!found || !byName || std::strcmp(name, "NtDeviceIoControlFile") != 0)
        return found;
    wineIoControl = reinterpret_cast<IoControlFn>(reinterpret_cast<void (*)()>(found));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&ioControl));
}

// Points this program's import `function` from `dll` at `replacement` and
// returns what it pointed at before (nullptr if there is no such import).
void *replaceImport(const char *dll, const char *function, void *replacement)
{
    auto *base = reinterpret_cast<BYTE *>(GetModuleHandleW(nullptr));
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *library =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
         library->Name; ++library) {
        if (_stricmp(reinterpret_cast<const char *>(base + library->Name), dll) != 0)
            continue;
        auto *name = reinterpret_cast<const IMAGE_THUNK_DATA *>(base + library->OriginalFirstThunk);
        auto *slot = reinterpret_cast<IMAGE_THUNK_DATA *>(base + library->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                continue;
            const auto *byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(base + name->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char *>(byName->Name), function) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                           &protection);
            void *before = reinterpret_cast<void *>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            return before;
        }
    }
    return nullptr;
}

bool mendSerialWaitUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
        return false;
    systemGetProcAddress = reinterpret_cast<GetProcAddressFn>(
        replaceImport("kernel32.dll", "GetProcAddress", reinterpret_cast<void *>(&getProcAddress)));
    return systemGetProcAddress != nullptr;
}

int fail(const QString &why)
{
    std::fprintf(stderr, "serial check: %s\n", qPrintable(why));
    return 1;
}

void say(const QString &what)
{
    std::printf("serial check: %s\n", qPrintable(what));
    std::fflush(stdout);
}

// The settings a READ carries that a pilot would notice first.
bool sameServoPage(const ParameterSet &a, const ParameterSet &b)
{
    return std::equal(a.reverse, a.reverse + 8, b.reverse) &&
           std::equal(a.subTrim, a.subTrim + 8, b.subTrim) &&
           std::equal(a.endPointLeft, a.endPointLeft + 8, b.endPointLeft) &&
           std::equal(a.endPointRight, a.endPointRight + 8, b.endPointRight);
}

// A LOAD file dialog stays open for 10 s while the transmitter streams and
// LIVE records: how many frames arrived, the longest gap between recorded
// frames, and whether the status line called the line silent. "native"
// leaves Windows' own dialog in place, to compare.
int dialogCheck(MainWindow &window, bool native)
{
    if (!native)
        keepReceptionDuringDialogs();
    auto *log = window.findChild<LiveLog *>();
    const QString csv = QDir::temp().filePath(QStringLiteral("vegalyra-dialogcheck.csv"));
    QFile::remove(csv);
    const QString reason = log->startRecording(csv);
    if (!reason.isEmpty())
        return fail(QStringLiteral("Record: %1").arg(reason));
    if (!QTest::qWaitFor([&] { return log->recordingFrames() > 50; }, 20000))
        return fail(QStringLiteral("no stream from the transmitter before the dialog"));
    const auto labels = [&] {
        QStringList texts;
        for (QLabel *label : window.findChildren<QLabel *>())
            texts << label->text();
        return texts.join(QLatin1Char('|'));
    };
    bool silentSeen = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        silentSeen = silentSeen || labels().contains(QLatin1String("no data from the transmitter"));
    });
    look.start(200);
    QTimer::singleShot(10000, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QFileDialog *>(w))
                dialog->reject();
    });
    const int before = log->recordingFrames();
    const qint64 clickMs = log->recordingMs();
    QElapsedTimer open;
    open.start();
    window.findChild<QAbstractButton *>(QStringLiteral("toolButton_Load"))->click();
    const qint64 openMs = open.elapsed();
    const int during = log->recordingFrames() - before;
    look.stop();
    const LiveLog::Finished finished = log->finishRecording();
    QFile journal(finished.journal);
    if (!journal.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("no journal"));
    journal.readLine();
    journal.readLine();
    qint64 last = -1, gap = 0, gapAt = 0;
    int late = 0; // frames in the dialog's last 5 s
    const qint64 closedMs = clickMs + openMs;
    while (!journal.atEnd()) {
        const QByteArray line = journal.readLine();
        const qint64 ms = line.left(line.indexOf(',')).toLongLong();
        if (last >= 0 && ms - last > gap) {
            gap = ms - last;
            gapAt = last - clickMs;
        }
        last = ms;
        late += ms > closedMs - 5000 && ms <= closedMs;
    }
    say(QStringLiteral(
            "%1 file dialog open %2 ms: %3 frames recorded meanwhile, longest gap "
            "between recorded frames %4 ms from %6 ms after the click, silent-line warning %5")
            .arg(native ? QStringLiteral("native") : QStringLiteral("Qt's"))
            .arg(openMs)
            .arg(during)
            .arg(gap)
            .arg(silentSeen ? QStringLiteral("shown") : QStringLiteral("not shown"))
            .arg(gapAt));
    dropRecording(finished);
    if (!native && (late == 0 || silentSeen))
        return fail(QStringLiteral("the transmitter was not heard while the dialog was open"));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (mendSerialWaitUnderWine())
        say(QStringLiteral(
            "under Wine: serial waits complete through their routine, as on Windows"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 + 1 || args.size() == 4 + 2) {
        // PORT MODEL_FILE SENT_FILE dialog [native]: the dialog check only.
    } else if (args.size() != 4)
        return fail(QStringLiteral("usage: vegalyra-serialcheck PORT MODEL_FILE SENT_FILE"));
    const QString port = args[1];

    QFile modelFile(args[2]);
    if (!modelFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(args[2]));
    ParameterSet model = paramSet;
    if (decodeParameterFile(readParameterFileText(modelFile), model).count() != 4)
        return fail(QStringLiteral("%1 is not a whole parameter file").arg(args[2]));
    if (sameServoPage(model, paramSet))
        return fail(QStringLiteral(
            "the model's SERVO page equals the start values; READ would prove nothing"));

    MainWindow window;
    MainForm *ui = window.form();
    ui->portNameBox->addItem(port);
    ui->portNameBox->setCurrentText(port);
    ui->openButton->click();
    if (ui->openButton->text() != QLatin1String("CLOSE"))
        return fail(QStringLiteral("OPEN %1 failed").arg(port));
    say(QStringLiteral("OPEN %1").arg(port));
    if (args.size() > 4)
        return dialogCheck(window, args.size() > 5);

    QElapsedTimer clock;
    clock.start();
    window.findChild<QAbstractButton *>(QStringLiteral("toolButton_Read"))->click();
    if (!QTest::qWaitFor([&] { return sameServoPage(paramSet, model); }, 10000))
        return fail(QStringLiteral("READ brought nothing from the transmitter in 10 s"));
    say(QStringLiteral("READ: the SERVO page matches the transmitter's after %1 ms")
            .arg(clock.elapsed()));

    // The history keeps a READ once the tool has judged it whole, a moment
    // after the last frame; a pilot edits after that, and so does this.
    const QString folder = historyFolder();
    const auto entryOf = [&](const QString &event) {
        for (const HistoryEntry &entry : listHistory(folder))
            if (entry.event == event)
                return entry.path;
        return QString();
    };
    if (!QTest::qWaitFor([&] { return !entryOf(QStringLiteral("READ")).isEmpty(); }, 10000))
        return fail(QStringLiteral("no READ entry in %1 after 10 s; the status line: %2")
                        .arg(folder, ui->statusActivity->text()));
    say(QStringLiteral("history READ entry: %1").arg(entryOf(QStringLiteral("READ"))));

    QSpinBox *subTrim3 = ui->spinBox_sub[2];
    const int edited = subTrim3->value() == 42 ? 41 : 42;
    subTrim3->setValue(edited);
    if (paramSet.subTrim[2] != edited)
        return fail(QStringLiteral("the sub-trim edit did not reach the record"));
    clock.restart();
    window.findChild<QAbstractButton *>(QStringLiteral("toolButton_Send"))->click();
    say(QStringLiteral("WRITE with sub-trim 3 at %1 took %2 ms").arg(edited).arg(clock.elapsed()));

    QFile sent(args[3]);
    if (!sent.open(QIODevice::WriteOnly) ||
        sent.write(parameterFileBytes()) != kParameterFileLength)
        return fail(QStringLiteral("cannot write %1").arg(args[3]));
    sent.close();

    if (!QTest::qWaitFor([&] { return !entryOf(QStringLiteral("WRITE")).isEmpty(); }, 10000))
        return fail(QStringLiteral("no WRITE entry in %1 after 10 s; the status line: %2")
                        .arg(folder, ui->statusActivity->text()));
    say(QStringLiteral("history WRITE entry: %1").arg(entryOf(QStringLiteral("WRITE"))));

    ui->openButton->click();
    if (ui->openButton->text() != QLatin1String("OPEN"))
        return fail(QStringLiteral("CLOSE failed"));
    say(QStringLiteral("CLOSE"));
    return 0;
}
