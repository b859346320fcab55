// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// COMPARE as the pilot meets it: the button beside the page tabs, a file
// picked in the dialog, the differing settings in the table with their
// count, and Esc to leave with the editor untouched.
#include "app/mainwindow.h"
#include "files/paramfile.h"
#include "link/frames.h"
#include "support/filedialoganswerer.h"
#include "support/ptytransmitter.h"
#include "ui/mainform.h"
#include "views/comparedialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

// A parameter file holding these settings, as SAVE would write them.
QByteArray fileOf(ParameterSet p)
{
    p.txAlarmTenths = alarmTenths(p.txAlarmVolt);
    p.rxAlarmTenths = alarmTenths(p.rxAlarmVolt);
    p.extAlarmTenths = alarmTenths(p.extAlarmVolt);
    QByteArray bytes;
    for (const FrameLayout *layout : kFileFrameLayouts)
        bytes += (encodeFrame(*layout, p) + layout->buffer->mid(layout->builtLength)).toLatin1();
    return bytes;
}

using Change = std::function<void(ParameterSet &p)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestCompare : public QObject
{
    Q_OBJECT
private slots:
    void editorWithFile_data();
    void editorWithFile();
};

void TestCompare::editorWithFile_data()
{
    QTest::addColumn<Change>("change");    // what the file holds unlike the editor
    QTest::addColumn<int>("damagedAt");    // a character of the file made wrong, or -1
    QTest::addColumn<QStringList>("rows"); // the table, a line per row
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("what");

    QTest::newRow("two differences")
        << Change([](ParameterSet &p) {
               p.reverse[0] = 1;
               p.throttleCurve[3] = 60;
           })
        << -1
        << QStringList{"BASIC / CH1 / REVERSE: NOR -> REV", "ADVANCE2 / TH CURE / POINT4: 50 -> 60"}
        << "2 settings differ"
        << "settings.txt";
    QTest::newRow("same settings")
        << Change([](ParameterSet &) {}) << -1 << QStringList() << "No differences"
        << "settings.txt";
    QTest::newRow("frame G damaged")
        << Change([](ParameterSet &) {}) << 2 * kFrameLength - 1 // G's end letter
        << QStringList() << QString() << "settings.txt: frame G is not valid";
}

void TestCompare::editorWithFile()
{
    QFETCH(Change, change);
    QFETCH(int, damagedAt);
    QFETCH(QStringList, rows);
    QFETCH(QString, count);
    QFETCH(QString, what);

    MainWindow window;
    window.show();
    QVERIFY(waitForRefresh(window)); // the settings pass through the widgets once
    const ParameterSet editor = paramSet;

    ParameterSet inFile = editor;
    change(inFile);
    QByteArray bytes = fileOf(inFile);
    if (damagedAt >= 0)
        bytes[damagedAt] = 'Q';
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("settings.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    FileDialogAnswerer dialogs;
    dialogs.answers << file.fileName();
    QTest::mouseClick(window.form()->pushButton_Compare, Qt::LeftButton);
    CompareDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = window.findChild<CompareDialog *>()) && dialog->isVisible());
    QPushButton *fromFile = nullptr, *fromRead = nullptr;
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        fromFile = button->text() == QStringLiteral("File…") ? button : fromFile;
        fromRead = button->text() == QStringLiteral("Transmitter (last READ)") ? button : fromRead;
    }
    QVERIFY(fromFile && fromRead);
    QVERIFY(!fromRead->isEnabled()); // no READ on this connection yet
    QTest::mouseClick(fromFile, Qt::LeftButton);

    auto *comparedWith = dialog->findChild<QLabel *>(QStringLiteral("compareWhat"));
    QTRY_VERIFY2(comparedWith->text().contains(what), qPrintable(comparedWith->text()));
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("compareCount"))->text(), count);
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("compareTable"));
    QStringList shown;
    for (int r = 0; r < table->rowCount(); ++r)
        shown << QStringLiteral("%1 / %2 / %3: %4 -> %5")
                     .arg(table->item(r, 0)->text(), table->item(r, 1)->text(),
                          table->item(r, 2)->text(), table->item(r, 3)->text(),
                          table->item(r, 4)->text());
    QCOMPARE(shown, rows);

    QTest::keyClick(dialog, Qt::Key_Escape);
    QTRY_VERIFY(!window.findChild<CompareDialog *>());
    QVERIFY(paramSet == editor); // only read, never changed
}

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
