// On Windows the port list follows the COM ports the registry lists: a
// cable that comes back under another number replaces the old port, the
// new one becomes current and the status line names it. Runs under Wine in
// the Windows checks; elsewhere there is no such registry.
#include "app/mainwindow.h"
#include "link/portlist.h"
#include "link/serialcomm.h"
#include "ui/mainform.h"

#include <QComboBox>
#include <QLabel>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class TestComPorts : public QObject
{
    Q_OBJECT
private slots:
    void listFollowsTheRegistry();
};

#ifdef Q_OS_WIN
namespace {

const wchar_t kKey[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
const wchar_t kDevice[] = L"\\Device\\VegaLyraCable0"; // a backslash in the name, as drivers write

bool setPort(const wchar_t *port)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = port ? RegSetValueExW(key, kDevice, 0, REG_SZ,
                                        reinterpret_cast<const BYTE *>(port),
                                        DWORD((wcslen(port) + 1) * sizeof(wchar_t)))
                       : RegDeleteValueW(key, kDevice);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

QStringList listed(const QComboBox *box)
{
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    return names;
}

} // namespace
#endif

void TestComPorts::listFollowsTheRegistry()
{
#ifndef Q_OS_WIN
    QSKIP("only Windows lists its COM ports in the registry");
#else
    setPort(nullptr);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QComboBox *box = window.form()->portNameBox;
    QLabel *activity = window.form()->statusActivity;

    // Plugged in, renumbered (the same device, another port), pulled.
    const struct {
        const wchar_t *port;
        const char *current; // empty: any
        const char *gone;
    } steps[] = {{L"COM7", "COM7", ""}, {L"COM8", "COM8", "COM7"}, {nullptr, "", "COM8"}};
    for (const auto &step : steps) {
        QVERIFY(setPort(step.port));
        const QString current = QString::fromLatin1(step.current);
        const QString gone = QString::fromLatin1(step.gone);
        if (!current.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(box->currentText(), current, 3000);
            QVERIFY2(activity->toolTip().startsWith(QStringLiteral("New port: ") + current),
                     qPrintable(activity->toolTip()));
        }
        if (!gone.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(!listed(box).contains(gone), 3000);
        bool found = false;
        for (const SerialCommEntry &entry : serialCommEntries())
            found = found || (entry.device == QString::fromWCharArray(kDevice) &&
                              entry.port == current);
        QCOMPARE(found, !current.isEmpty());
    }
#endif
}

QTEST_MAIN(TestComPorts)
#include "tst_comports.moc"
