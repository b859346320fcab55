// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings refresh: fields changed behind the widgets show on the next
// tick, values a widget cannot show come back through its setter, the two
// D/R groups follow each other, and the hover highlight switches off after
// the pointer has rested 20 ticks on a combo box.
#include "app/mainwindow.h"
#include "model/parameterset.h"
#include "ui/mainform.h"
#include "views/hover.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

// A ParameterSet field of either kind, so one table can mix spin boxes,
// double spin boxes and combo boxes.
struct FieldRef {
    int *i = nullptr;
    double *d = nullptr;
    void set(double v) const
    {
        if (i)
            *i = int(v);
        else
            *d = v;
    }
    double get() const { return i ? *i : *d; }
};
FieldRef field(int &f)
{
    return FieldRef{&f, nullptr};
}
FieldRef field(double &f)
{
    return FieldRef{nullptr, &f};
}

// A window whose refresh runs only when the test says so.
std::unique_ptr<MainWindow> quietWindow()
{
    auto w = std::make_unique<MainWindow>();
    for (QTimer *t : w->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
        t->stop();
    return w;
}

void tick(MainWindow &w)
{
    QMetaObject::invokeMethod(&w, "ui_Display", Qt::DirectConnection);
}

// What a value widget shows: the value of a spin box, the index of a combo box.
double shown(QWidget *widget)
{
    if (auto *box = qobject_cast<QComboBox *>(widget))
        return box->currentIndex();
    if (auto *box = qobject_cast<QDoubleSpinBox *>(widget))
        return box->value();
    if (auto *box = qobject_cast<QSpinBox *>(widget))
        return box->value();
    return qQNaN();
}

// CH1's gauge as the screen shows it, not as the widget would paint it now.
QImage gaugeOnScreen(MainWindow &w)
{
    QProgressBar *upper = w.form()->gaugeUpper[0];
    const QRect gauge(upper->mapTo(&w, QPoint(0, 0)),
                      QSize(upper->width(), upper->height() + w.form()->gaugeLower[0]->height()));
    return w.screen()
        ->grabWindow(w.winId(), gauge.x(), gauge.y(), gauge.width(), gauge.height())
        .toImage();
}

QString resourceText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

Q_DECLARE_METATYPE(FieldRef)

class TestDisplay : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void fieldShowsWithinOneTick_data();
    void fieldShowsWithinOneTick();
    void unshowableValueComesBack_data();
    void unshowableValueComesBack();
    void drChannelFollowsAcrossPages_data();
    void drChannelFollowsAcrossPages();
    void auxOneToFourStayNc();
    void halfTypedNumberSurvivesTick();
    void gaugeShowsExactlyItsValue_data();
    void gaugeShowsExactlyItsValue();

    void hoverSheetSwitch_data();
    void hoverSheetSwitch();
    void hoverTimeIsProgramWide();
    void sheetText_data();
    void sheetText();
};

void TestDisplay::init()
{
    paramSet = kStartParameters;
    std::fill(std::begin(hoverTicks), std::end(hoverTicks), 0);
}

void TestDisplay::fieldShowsWithinOneTick_data()
{
    QTest::addColumn<FieldRef>("field");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("text"); // combo-box text, empty for spin boxes

    ParameterSet &p = paramSet;
    QTest::newRow("Rev") << field(p.reverse[0]) << 1.0 << "comboBox_rev1"
                         << "REV";
    QTest::newRow("EPA left") << field(p.endPointLeft[1]) << 7.0 << "spinBox_Lepa2"
                              << "";
    QTest::newRow("EPA right") << field(p.endPointRight[7]) << 120.0 << "spinBox_Repa8"
                               << "";
    QTest::newRow("SubTrim") << field(p.subTrim[3]) << -55.0 << "spinBox_sub4"
                             << "";
    QTest::newRow("FS") << field(p.failSafe[2]) << 77.0 << "spinBox_FS3"
                        << "";
    QTest::newRow("Delay") << field(p.servoDelay[5]) << 12.0 << "spinBox_delay6"
                           << "";
    QTest::newRow("Aux") << field(p.auxSource[4]) << 5.0 << "comboBox_AUX5"
                         << "Lock-C";
    QTest::newRow("DR mix") << field(p.drMix) << 1.0 << "comboBox_DR_MIX1"
                            << "ON";
    QTest::newRow("DR down") << field(p.drEditDown) << 33.0 << "spinBox_DR_DOWN1"
                             << "";
    QTest::newRow("TX alarm") << field(p.txAlarmVolt) << 7.5 << "doubleSpinBox_Volt"
                              << "";
    QTest::newRow("RX alarm") << field(p.rxAlarmVolt) << 6.2 << "doubleSpinBox_rxVolt"
                              << "";
    QTest::newRow("stick mode") << field(p.stickMode) << 4.0 << "spinBox_Mode"
                                << "";
    QTest::newRow("version") << field(p.txVersion) << 512.0 << "spinBox_Vertion"
                             << "";
    QTest::newRow("Atti") << field(p.attitude[5]) << 3.0 << "spinBox_Atti6"
                          << "";
    QTest::newRow("Atti channel") << field(p.attitudeChannel) << 2.0 << "comboBox_AttiM"
                                  << "CH7";
    QTest::newRow("Elev") << field(p.elevon[3]) << -20.0 << "spinBox_Elev04"
                          << "";
    QTest::newRow("Vtype") << field(p.vtailMix) << 1.0 << "comboBox_RuMix"
                           << "ON";
    QTest::newRow("Prm slave") << field(p.progMix[3].slave) << 7.0 << "comboBox_PRM04_Slave"
                               << "CH8";
    QTest::newRow("Prm down") << field(p.progMix[2].down) << 40.0 << "spinBox_PRM03_Data3"
                              << "";
    QTest::newRow("DRCure mix") << field(p.drMix) << 1.0 << "comboBox_DR_MIX2"
                                << "ON";
    QTest::newRow("DRCure posi") << field(p.drPosition) << 1.0 << "comboBox_DR_POSI"
                                 << "DOWN";
    QTest::newRow("DRCure expo") << field(p.drEditExpo) << -45.0 << "spinBox_DR_EXP"
                                 << "";
    QTest::newRow("THcure") << field(p.throttleCurve[6]) << 90.0 << "spinBox_THCURE_Data07"
                            << "";
    QTest::newRow("THcure mix") << field(p.throttleCurveMix) << 1.0 << "comboBox_THCURE_MIX"
                                << "ON";
}

void TestDisplay::fieldShowsWithinOneTick()
{
    QFETCH(FieldRef, field);
    QFETCH(double, value);
    QFETCH(QString, widget);
    QFETCH(QString, text);

    auto w = quietWindow();
    tick(*w);
    auto *target = w->findChild<QWidget *>(widget);
    QVERIFY(target);
    QVERIFY(shown(target) != value);

    field.set(value);
    tick(*w);
    QCOMPARE(shown(target), value);
    QCOMPARE(field.get(), value);
    if (!text.isEmpty())
        QCOMPARE(qobject_cast<QComboBox *>(target)->currentText(), text);
}

void TestDisplay::unshowableValueComesBack_data()
{
    QTest::addColumn<FieldRef>("field");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<double>("before"); // what the widget shows first
    QTest::addColumn<double>("value");  // then the field is set to this
    QTest::addColumn<double>("expectShown");
    QTest::addColumn<double>("expectField");

    ParameterSet &p = paramSet;
    QTest::newRow("sub-trim clamped, box moves")
        << field(p.subTrim[0]) << "spinBox_sub1" << 20.0 << 150.0 << 100.0 << 100.0;
    QTest::newRow("sub-trim clamped, box already at limit")
        << field(p.subTrim[0]) << "spinBox_sub1" << 100.0 << 150.0 << 100.0 << 150.0;
    QTest::newRow("end point below zero")
        << field(p.endPointLeft[4]) << "spinBox_Lepa5" << 96.0 << -3.0 << 0.0 << 0.0;
    QTest::newRow("rssi alarm above zero")
        << field(p.rssiAlarm) << "spinBox_Rssi" << -100.0 << 5.0 << 0.0 << 0.0;
    QTest::newRow("stick mode 0 shown as 1")
        << field(p.stickMode) << "spinBox_Mode" << 2.0 << 0.0 << 1.0 << 1.0;
    QTest::newRow("alarm volts rounded to one decimal")
        << field(p.txAlarmVolt) << "doubleSpinBox_Volt" << 11.0 << 12.34 << 12.3 << 12.3;
    QTest::newRow("alarm volts, rounded value already shown")
        << field(p.txAlarmVolt) << "doubleSpinBox_Volt" << 12.3 << 12.34 << 12.3 << 12.34;
    QTest::newRow("combo index past the items")
        << field(p.attitudeChannel) << "comboBox_AttiM" << 4.0 << 7.0 << -1.0 << -1.0;
    QTest::newRow("combo index below the items")
        << field(p.progMix[1].master) << "comboBox_PRM02_Master" << 1.0 << -3.0 << -1.0 << -1.0;
}

void TestDisplay::unshowableValueComesBack()
{
    QFETCH(FieldRef, field);
    QFETCH(QString, widget);
    QFETCH(double, before);
    QFETCH(double, value);
    QFETCH(double, expectShown);
    QFETCH(double, expectField);

    auto w = quietWindow();
    field.set(before);
    tick(*w);
    auto *target = w->findChild<QWidget *>(widget);
    QVERIFY(target);
    QCOMPARE(shown(target), before);

    field.set(value);
    tick(*w);
    QCOMPARE(shown(target), expectShown);
    QCOMPARE(field.get(), expectField);
    tick(*w); // and it stays put
    QCOMPARE(shown(target), expectShown);
    QCOMPARE(field.get(), expectField);
}

void TestDisplay::drChannelFollowsAcrossPages_data()
{
    QTest::addColumn<QString>("picker"); // the combo box the pilot uses
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("position");

    QTest::newRow("ADVANCE2 CH3, UP") << "comboBox_DR_CH2" << 2 << 0;
    QTest::newRow("ADVANCE2 CH4, DOWN") << "comboBox_DR_CH2" << 3 << 1;
    QTest::newRow("ADVANCE1 CH2, DOWN") << "comboBox_DR_CH1" << 1 << 1;
}

void TestDisplay::drChannelFollowsAcrossPages()
{
    QFETCH(QString, picker);
    QFETCH(int, channel);
    QFETCH(int, position);

    for (int c = 0; c < 4; ++c) {
        paramSet.drRate[0][c] = 10 + c;
        paramSet.drRate[1][c] = 20 + c;
        paramSet.drExpo[0][c] = -30 - c;
        paramSet.drExpo[1][c] = 40 + c;
    }
    paramSet.drPosition = position;
    auto w = quietWindow();
    tick(*w);
    MainForm *ui = w->form();

    w->findChild<QComboBox *>(picker)->setCurrentIndex(channel);
    QCOMPARE(paramSet.drChannel, channel);
    tick(*w);

    QCOMPARE(ui->comboBox_DR_CH1->currentIndex(), channel);
    QCOMPARE(ui->comboBox_DR_CH2->currentIndex(), channel);
    QCOMPARE(ui->spinBox_DR_UP1->value(), 10 + channel);
    QCOMPARE(ui->spinBox_DR_DOWN1->value(), 20 + channel);
    QCOMPARE(ui->spinBox_DR_RATE->value(), paramSet.drRate[position][channel]);
    QCOMPARE(ui->spinBox_DR_EXP->value(), paramSet.drExpo[position][channel]);
    QCOMPARE(paramSet.drEditRate, paramSet.drRate[position][channel]);
    QCOMPARE(paramSet.drEditExpo, paramSet.drExpo[position][channel]);
}

void TestDisplay::auxOneToFourStayNc()
{
    auto w = quietWindow();
    for (int i = 0; i < 4; ++i)
        w->form()->comboBox_AUX[i]->setCurrentIndex(-1);
    tick(*w);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w->form()->comboBox_AUX[i]->currentIndex(), 0);
        QCOMPARE(w->form()->comboBox_AUX[i]->currentText(), QStringLiteral("NC"));
    }
}

void TestDisplay::halfTypedNumberSurvivesTick()
{
    // a pilot starting a negative sub-trim has typed only the sign so far
    auto w = quietWindow();
    tick(*w);
    QSpinBox *box = w->form()->spinBox_sub[0];
    auto *edit = box->findChild<QLineEdit *>();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Minus);
    QCOMPARE(edit->text(), QStringLiteral("-"));
    tick(*w);
    QCOMPARE(edit->text(), QStringLiteral("-"));
    QTest::keyClick(edit, Qt::Key_4);
    QCOMPARE(paramSet.subTrim[0], -4);
}

void TestDisplay::gaugeShowsExactlyItsValue_data()
{
    QTest::addColumn<QList<int>>("values"); // CH1 after the start at 1000
    QTest::newRow("1000 -> 1020") << QList<int>{1020};
    QTest::newRow("1000 -> 900 -> 980 -> 1000 (as CLOSE)") << QList<int>{900, 980, 1000};
}

void TestDisplay::gaugeShowsExactlyItsValue()
{
    QFETCH(QList<int>, values);
    // A window shown at `value` from the start, painted.
    const auto shownAt = [](int value) {
        liveStatus.channelOutput[0] = value;
        auto w = quietWindow();
        tick(*w);
        w->show();
        return QTest::qWaitForWindowExposed(w.get()) ? std::move(w) : nullptr;
    };
    const auto fresh = shownAt(values.last());
    auto w = shownAt(1000);
    QVERIFY(fresh && w);
    for (int value : values) {
        liveStatus.channelOutput[0] = value;
        tick(*w);
        QCoreApplication::processEvents(); // what the change repaints
    }
    QTRY_VERIFY(gaugeOnScreen(*w) == gaugeOnScreen(*fresh));
    liveStatus.channelOutput[0] = 1000;
}

void TestDisplay::hoverSheetSwitch_data()
{
    QTest::addColumn<QString>("box");
    // one character per tick: 'U' pointer on the combo box, '.' elsewhere
    QTest::addColumn<QString>("ticks");
    QTest::addColumn<QString>("expectSheet"); // "layout", "rev" or "plain"

    const QString u19(19, 'U');
    QTest::newRow("19 ticks keep the highlight") << "comboBox_rev1" << u19 << "layout";
    QTest::newRow("20th tick switches it off") << "comboBox_rev1" << u19 + "U"
                                               << "rev";
    QTest::newRow("resting on") << "comboBox_AUX3" << u19 + "UUUU"
                                << "rev";
    QTest::newRow("leaving at 20 brings it back") << "comboBox_PRM03_Slave" << u19 + "U."
                                                  << "plain";
    QTest::newRow("and again after 20 more") << "comboBox_DR_POSI" << u19 + "U." + u19 + "U"
                                             << "rev";
    QTest::newRow("15 then 4 after a break")
        << "comboBox_THCURE_MIX" << QString(15, 'U') + "..." + QString(4, 'U') << "layout";
    QTest::newRow("15 then 5 after a break")
        << "comboBox_DR_SW1" << QString(15, 'U') + "..." + QString(5, 'U') << "rev";
}

void TestDisplay::hoverSheetSwitch()
{
    QFETCH(QString, box);
    QFETCH(QString, ticks);
    QFETCH(QString, expectSheet);

    const QString rev = resourceText(QStringLiteral(":/comboBox_REV.qss"));
    const QString plain = resourceText(QStringLiteral(":/comboBox.qss"));
    QVERIFY(!rev.isEmpty() && !plain.isEmpty() && rev != plain);

    auto w = quietWindow();
    auto *combo = w->findChild<QComboBox *>(box);
    QVERIFY(combo);
    const QString layout = combo->styleSheet();
    QVERIFY(layout != rev && layout != plain);

    for (QChar c : ticks) {
        combo->setAttribute(Qt::WA_UnderMouse, c == 'U');
        tick(*w);
    }
    const QString expected = expectSheet == "rev" ? rev : expectSheet == "plain" ? plain : layout;
    QCOMPARE(combo->styleSheet(), expected);
    // the layout gives these boxes 20 px text, both hover sheets 22 px
    combo->ensurePolished();
    QCOMPARE(combo->font().pixelSize(), expectSheet == "layout" ? 20 : 22);
}

void TestDisplay::hoverTimeIsProgramWide()
{
    const QString rev = resourceText(QStringLiteral(":/comboBox_REV.qss"));
    {
        auto first = quietWindow();
        first->form()->comboBox_rev[1]->setAttribute(Qt::WA_UnderMouse, true);
        for (int i = 0; i < 15; ++i)
            tick(*first);
    }
    auto second = quietWindow();
    QComboBox *combo = second->form()->comboBox_rev[1];
    combo->setAttribute(Qt::WA_UnderMouse, true);
    for (int i = 0; i < 4; ++i)
        tick(*second);
    QVERIFY(combo->styleSheet() != rev);
    tick(*second);
    QCOMPARE(combo->styleSheet(), rev);
}

void TestDisplay::sheetText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QByteArray("QComboBox{color:white;}") << "QComboBox{color:white;}";
    QTest::newRow("stops at NUL") << QByteArray("a{b:c;}\0junk", 12) << "a{b:c;}";
    QTest::newRow("UTF-8") << QByteArray("/* \xc2\xb0 */") << QString::fromUtf8("/* \u00b0 */");
    QTest::newRow("empty") << QByteArray() << "";
}

void TestDisplay::sheetText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);

    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(bytes);
    file.close();
    QString text = QStringLiteral("untouched");
    QVERIFY(readSheetText(file.fileName(), &text));
    QCOMPARE(text, expected);

    QString missing = QStringLiteral("untouched");
    QVERIFY(!readSheetText(file.fileName() + ".gone", &missing));
    QCOMPARE(missing, QStringLiteral("untouched"));
}

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
