// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the port list follows the COM ports the registry lists: a
// cable back under another number replaces the old port, the new one
// becomes current and the status line names it. Runs under Wine.
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "link/portlist.h"
#include "ui/mainform.h"

#include <QComboBox>
#include <QLabel>
#include <QtTest>

class TestComPorts : public QObject
{
    Q_OBJECT
private slots:
    void listFollowsTheRegistry();
};

#ifdef Q_OS_WIN
#include <windows.h>

// A driver's device name, with its backslashes, mapped to a port; none
// removes the value.
static bool setPort(const wchar_t *port)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                        REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const wchar_t device[] = L"\\Device\\VegaLyraCable0";
    const LONG result = port ? RegSetValueExW(key, device, 0, REG_SZ,
                                              reinterpret_cast<const BYTE *>(port),
                                              DWORD((wcslen(port) + 1) * sizeof(wchar_t)))
                             : RegDeleteValueW(key, device);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
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
    // Plugged in, renumbered (the same device, another port), pulled.
    QVERIFY(setPort(L"COM7"));
    QTRY_COMPARE_WITH_TIMEOUT(box->currentText(), QStringLiteral("COM7"), 3000);
    QVERIFY(window.form()->statusActivity->toolTip().startsWith("New port: COM7"));
    // Named on the command line by its device path, in any case, or twice:
    // the same port, listed once by its own name.
    for (const QStringList &given :
         {QStringList{"\\\\.\\COM7"}, QStringList{"\\\\.\\com7"}, QStringList{"com7"},
          QStringList{"COM7", "\\\\.\\COM7"}}) {
        QStringList arguments{"vegalyra"};
        for (const QString &name : given)
            arguments << "--port" << name;
        const CommandLineOptions options = parseCommandLine(arguments);
        setExtraPortNames(options.ports);
        MainWindow started;
        started.selectPort(options.ports.first());
        QComboBox *named = started.form()->portNameBox;
        int listed = 0;
        for (int i = 0; i < named->count(); ++i)
            listed += named->itemText(i).endsWith(QStringLiteral("COM7"), Qt::CaseInsensitive);
        QCOMPARE(listed, 1);
        QCOMPARE(named->currentText(), QStringLiteral("COM7"));
        setExtraPortNames({});
    }
    QVERIFY(setPort(L"COM8"));
    QTRY_COMPARE_WITH_TIMEOUT(box->findText("COM7"), -1, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(box->currentText(), QStringLiteral("COM8"), 3000);
    QVERIFY(window.form()->statusActivity->toolTip().startsWith("New port: COM8"));
    QVERIFY(setPort(nullptr));
    QTRY_COMPARE_WITH_TIMEOUT(box->findText("COM8"), -1, 3000);
#endif
}

QTEST_MAIN(TestComPorts)
#include "tst_comports.moc"
