// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>

#include "link/frames.h"
#include "settings/catalogue.h"

Q_DECLARE_METATYPE(const FrameLayout *)

// The catalogue and the frame layouts agree both ways: every field that
// carries a setting has exactly one name, and every name reaches a field.
class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void everyFieldHasOneRow_data();
    void everyFieldHasOneRow();
    void everyRowReachesAField();
};

void TestCatalogue::everyFieldHasOneRow_data()
{
    QTest::addColumn<const FrameLayout *>("layout");
    QTest::newRow("S") << &kFrameLayoutS;
    QTest::newRow("G") << &kFrameLayoutG;
    QTest::newRow("H") << &kFrameLayoutH;
    QTest::newRow("I") << &kFrameLayoutI;
}

void TestCatalogue::everyFieldHasOneRow()
{
    QFETCH(const FrameLayout *, layout);
    for (int i = 0; i < layout->fieldCount; ++i) {
        if (layout->fields[i].coding == FieldCoding::Fixed)
            continue;
        QStringList titles;
        for (const SettingRow &row : settingsCatalogue()) {
            if (row.layout == layout && row.fieldIndex == i)
                titles << settingTitle(row);
        }
        QVERIFY2(titles.size() == 1, qPrintable(QStringLiteral("field %1 of frame %2 named by: %3")
                                                    .arg(i)
                                                    .arg(QLatin1Char(layout->kind))
                                                    .arg(titles.join(QStringLiteral(", ")))));
    }
}

void TestCatalogue::everyRowReachesAField()
{
    QStringList titles;
    for (const SettingRow &row : settingsCatalogue()) {
        const bool reaches = row.layout && row.fieldIndex >= 0 &&
                             row.fieldIndex < row.layout->fieldCount &&
                             row.layout->fields[row.fieldIndex].coding != FieldCoding::Fixed;
        QVERIFY2(reaches, qPrintable(settingTitle(row)));
        QVERIFY2(!titles.contains(settingTitle(row)), qPrintable(settingTitle(row)));
        titles << settingTitle(row);
    }
}

QTEST_APPLESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
