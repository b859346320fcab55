// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the pilot first meets it: every setting widget under
// its object name with its range, items and starting value, the header and
// tabs, the compiled-in images and sheets, and a layout where nothing is
// cut off or hidden under something else.
#include "app/mainwindow.h"
#include "check/transmittercheck.h"
#include "files/paramfile.h"
#include "settings/help.h"
#include "ui/formhelp.h"
#include "ui/formstyles.h"
#include "ui/mainform.h"
#include "views/curvewidgets.h"
#include "views/statusline.h"
#include "views/statustexts.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QResource>
#include <QScopeGuard>
#include <QSet>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolButton>

#include <cmath>
#include <memory>
#include <optional>

namespace {

QStringList constructionWarnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        constructionWarnings << message;
}

// "spinBox_sub%1" with 3 names -> spinBox_sub1 … spinBox_sub3
QStringList names(const char *pattern, int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << QString::fromLatin1(pattern).arg(i);
    return list;
}

QStringList channels(int count)
{
    return names("CH%1", count);
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void spinBoxes_data();
    void spinBoxes();
    void voltageAlarms();
    void comboBoxes_data();
    void comboBoxes();
    void groupCaptions_data();
    void groupCaptions();
    void headerAndServoTexts_data();
    void headerAndServoTexts();
    void channelGauges();
    void windowFrame();
    void connectByNameComplete();
    void resources();
    void curveWidgets();
    void sharedStyleSheets();
    void nothingCutOffOrOverlapping();
    void statusLineReadsWhole_data();
    void statusLineReadsWhole();
    void pagesReachedAndNamed_data();
    void pagesReachedAndNamed();
    void spokenNames_data();
    void spokenNames();
    void focusRingContrast_data();
    void focusRingContrast();

private:
    template <class T> T *widget(const QString &name)
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qWarning("missing widget %s", qPrintable(name));
        return w;
    }

    // Built once and never given an event loop, so the refresh timer has
    // not yet copied the parameter record over the layout's own values.
    std::unique_ptr<MainWindow> window;
    // Shown and active, for the keyboard; built on first use.
    std::unique_ptr<MainWindow> activeWindow;
    MainWindow *active();
};

void TestWindow::initTestCase()
{
    QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    window = std::make_unique<MainWindow>();
    qInstallMessageHandler(previous);
}

void TestWindow::spinBoxes_data()
{
    QTest::addColumn<QStringList>("objects");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QVector<int>>("values");

    auto same = [](int n, int v) { return QVector<int>(n, v); };
    QTest::newRow("sub-trim") << names("spinBox_sub%1", 8) << -100 << 100 << same(8, 0);
    QTest::newRow("end point left") << names("spinBox_Lepa%1", 8) << 0 << 120 << same(8, 96);
    QTest::newRow("end point right") << names("spinBox_Repa%1", 8) << 0 << 120 << same(8, 96);
    QTest::newRow("delay") << names("spinBox_delay%1", 8) << 0 << 100 << same(8, 100);
    QTest::newRow("fail safe") << names("spinBox_FS%1", 8) << 0 << 100
                               << QVector<int>{50, 50, 0, 50, 50, 50, 50, 50};
    QTest::newRow("D/R up, down") << QStringList{"spinBox_DR_UP1", "spinBox_DR_DOWN1"} << 0 << 100
                                  << same(2, 100);
    QTest::newRow("attitude") << names("spinBox_Atti%1", 6) << 0 << 100
                              << QVector<int>{14, 29, 44, 56, 69, 88};
    QTest::newRow("elevon") << names("spinBox_Elev0%1", 6) << -100 << 100
                            << QVector<int>{100, 100, 100, -100, 100, 100};
    QTest::newRow("v-tail") << names("spinBox_Ru%1", 4) << -100 << 100
                            << QVector<int>{50, -50, 50, 50};
    QTest::newRow("D/R rate") << QStringList{"spinBox_DR_RATE"} << 0 << 100 << same(1, 100);
    QTest::newRow("D/R expo") << QStringList{"spinBox_DR_EXP"} << -100 << 100 << same(1, 100);
    QTest::newRow("throttle curve") << names("spinBox_THCURE_Data0%1", 7) << 0 << 100
                                    << QVector<int>{0, 16, 33, 50, 67, 84, 100};
    QTest::newRow("mix offsets") << names("spinBox_PRM0%1_Data1", 4) << -100 << 100 << same(4, 100);
    for (const char *rate : {"Data2", "Data3"}) {
        const QString up = QStringLiteral("spinBox_PRM0%1_") + rate;
        QTest::newRow(qPrintable(QStringLiteral("mix 1-2 ") + rate))
            << QStringList{up.arg(1), up.arg(2)} << -100 << 100 << same(2, 100);
        QTest::newRow(qPrintable(QStringLiteral("mix 3-4 ") + rate))
            << QStringList{up.arg(3), up.arg(4)} << 0 << 100 << same(2, 100);
    }
    QTest::newRow("rssi alarm") << QStringList{"spinBox_Rssi"} << -100 << 0 << same(1, -100);
    QTest::newRow("stick mode") << QStringList{"spinBox_Mode"} << 1 << 4 << same(1, 2);
    QTest::newRow("tx version") << QStringList{"spinBox_Vertion"} << 0 << 1000 << same(1, 0);
    QTest::newRow("trim steps") << names("spinBox_step%1", 4) << 1 << 20 << same(4, 2);
}

void TestWindow::spinBoxes()
{
    QFETCH(QStringList, objects);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QVector<int>, values);
    for (int i = 0; i < objects.size(); ++i) {
        auto *box = widget<QSpinBox>(objects[i]);
        QVERIFY2(box, qPrintable(objects[i]));
        QCOMPARE(box->minimum(), min);
        QCOMPARE(box->maximum(), max);
        QCOMPARE(box->singleStep(), 1);
        QCOMPARE(box->value(), values[i]);
    }
}

void TestWindow::voltageAlarms()
{
    for (const char *name :
         {"doubleSpinBox_Volt", "doubleSpinBox_rxVolt", "doubleSpinBox_extVolt"}) {
        auto *box = widget<QDoubleSpinBox>(QString::fromLatin1(name));
        QVERIFY2(box, name);
        QCOMPARE(box->minimum(), 0.0);
        QCOMPARE(box->maximum(), 99.9);
        QCOMPARE(box->singleStep(), 0.1);
        QCOMPARE(box->decimals(), 1);
        QCOMPARE(box->value(), 11.0);
        // the box stops at its limits instead of wrapping round
        box->setValue(120.0);
        QCOMPARE(box->value(), 99.9);
        box->setValue(11.0);
    }
}

void TestWindow::comboBoxes_data()
{
    QTest::addColumn<QStringList>("objects");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QVector<int>>("current");

    const QStringList offOn{"OFF", "ON"};
    const QStringList ch8 = channels(8);
    QTest::newRow("reverse") << names("comboBox_rev%1", 8) << QStringList{"NOR", "REV"}
                             << QVector<int>{0, 0, 1, 0, 0, 0, 0, 0};
    QTest::newRow("aux 1-4 fixed")
        << names("comboBox_AUX%1", 4) << QStringList{"NC"} << QVector<int>(4, 0);
    QTest::newRow("aux 5-8") << QStringList{"comboBox_AUX5", "comboBox_AUX6", "comboBox_AUX7",
                                            "comboBox_AUX8"}
                             << QStringList{"SwA", "SwB", "VrA", "VrB/SwC", "NULL", "Lock-C"}
                             << QVector<int>{1, 3, 0, 2};
    QTest::newRow("D/R mix") << QStringList{"comboBox_DR_MIX1", "comboBox_DR_MIX2"} << offOn
                             << QVector<int>{0, 0};
    QTest::newRow("D/R channel") << QStringList{"comboBox_DR_CH1", "comboBox_DR_CH2"} << channels(4)
                                 << QVector<int>{0, 0};
    QTest::newRow("D/R switch fixed") << QStringList{"comboBox_DR_SW1", "comboBox_DR_SW2"}
                                      << QStringList{"SWA"} << QVector<int>{0, 0};
    QTest::newRow("D/R position") << QStringList{"comboBox_DR_POSI"} << QStringList{"UP", "DOWN"}
                                  << QVector<int>{0};
    QTest::newRow("attitude channel")
        << QStringList{"comboBox_AttiM"} << QStringList{"CH5", "CH6", "CH7", "CH8", "OFF"}
        << QVector<int>{0};
    QTest::newRow("mix switches") << QStringList{"comboBox_EleMix", "comboBox_RuMix",
                                                 "comboBox_THCURE_MIX"}
                                  << offOn << QVector<int>{0, 0, 0};
    QTest::newRow("prog mix mode")
        << names("comboBox_PRM0%1_Mix", 4) << QStringList{"INH", "OFF", "ON"} << QVector<int>(4, 0);
    QTest::newRow("prog mix master")
        << names("comboBox_PRM0%1_Master", 4) << ch8 << QVector<int>{0, 1, 0, 1};
    QTest::newRow("prog mix slave")
        << names("comboBox_PRM0%1_Slave", 4) << ch8 << QVector<int>{3, 5, 3, 5};
    QTest::newRow("pc version fixed")
        << QStringList{"comboBox_PRM02_Master_2"} << QStringList{"V5.1"} << QVector<int>{0};
}

void TestWindow::comboBoxes()
{
    QFETCH(QStringList, objects);
    QFETCH(QStringList, items);
    QFETCH(QVector<int>, current);
    for (int i = 0; i < objects.size(); ++i) {
        auto *box = widget<QComboBox>(objects[i]);
        QVERIFY2(box, qPrintable(objects[i]));
        QStringList shown;
        for (int k = 0; k < box->count(); ++k)
            shown << box->itemText(k);
        QCOMPARE(shown, items);
        QCOMPARE(box->currentIndex(), current[i]);
    }
}

void TestWindow::groupCaptions_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("title");
    // read-only captions of the group, top to bottom (then left to right)
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("channel") << "groupBox"
                             << "CHANNEL" << names("CH%1:", 8);
    QTest::newRow("reverse") << "groupBox_2"
                             << "REVERSE" << QStringList();
    QTest::newRow("sub-trim") << "groupBox_3"
                              << "SUB-TRIM" << QStringList();
    QTest::newRow("end point") << "groupBox_4"
                               << "END POINT--L---R---" << QStringList();
    QTest::newRow("delay") << "groupBox_5"
                           << "DELAY" << QStringList();
    QTest::newRow("aux") << "groupBox_6"
                         << "AUX-CH" << QStringList();
    QTest::newRow("fail safe") << "groupBox_14"
                               << "FAIL SAFE" << QStringList();
    QTest::newRow("d/r") << "groupBox_8"
                         << "D/R" << QStringList{"MIX:", "CH:", "SW:", "UP:", "DOWN:"};
    QTest::newRow("attitude") << "groupBox_7"
                              << "ATTITUDE" << (QStringList{"CH:"} + names("ATTI%1:", 6));
    QTest::newRow("elevon") << "groupBox_10"
                            << "ELEVON"
                            << QStringList{" MIX:", "AILE1:", "AILE2:", "ELEV2:", "ELEV1:"};
    QTest::newRow("v-tail") << "groupBox_13"
                            << "V-TAIL"
                            << QStringList{"MIX:", "ELEV1:", "ELEV2:", "RUDD2:", "RUDD1:"};
    QTest::newRow("d/r curve") << "groupBox_19"
                               << "D/R CURE"
                               << QStringList{"MIX:", " CH:", "SW:", " POSI:", "RATE:", "EXP:"};
    QTest::newRow("throttle curve") << "groupBox_18"
                                    << "TH CURE" << (QStringList{"MIX:"} + names("POINT%1:", 7));
    const QStringList mix{"MIX:", "MAS:", "SLA:", "OFFSET:", "UP:", "DOWN:"};
    QTest::newRow("prog mix 1") << "groupBox_11"
                                << "PROG.MIX1" << mix;
    QTest::newRow("prog mix 2") << "groupBox_12"
                                << "PROG.MIX2" << mix;
    QTest::newRow("prog mix 3") << "groupBox_15"
                                << "PROG.MIX3" << mix;
    QTest::newRow("prog mix 4") << "groupBox_16"
                                << "PROG.MIX4" << mix;
    QTest::newRow("alarm") << "groupBox_17"
                           << "ALARM"
                           << QStringList{"TX-Alarm:", "RX-Alarm:", "EXT-Alarm:", "Rssi-Alarm:"};
    QTest::newRow("data reset") << "groupBox_20"
                                << "DATA RESET" << QStringList();
    QTest::newRow("version") << "groupBox_23"
                             << "VERSION / MODE"
                             << (QStringList{"STK-MODE:", "TX Version:", "PC Version:"} +
                                 names("TRIM%1-STEP:", 4));
}

void TestWindow::groupCaptions()
{
    QFETCH(QString, group);
    QFETCH(QString, title);
    QFETCH(QStringList, captions);
    auto *box = widget<QGroupBox>(group);
    QVERIFY(box);
    QCOMPARE(box->title(), title);
    QList<QLineEdit *> found;
    for (QLineEdit *edit : box->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly))
        if (edit->isReadOnly())
            found << edit;
    std::sort(found.begin(), found.end(), [](QLineEdit *a, QLineEdit *b) {
        return std::make_pair(a->y(), a->x()) < std::make_pair(b->y(), b->x());
    });
    QStringList texts;
    for (QLineEdit *edit : found)
        texts << edit->text();
    QCOMPARE(texts, captions);
}

void TestWindow::headerAndServoTexts_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readOnly");

    const char *const captions[][2] = {
        {"lineEdit_26", "TX:"},   {"lineEdit_37", "RX:"}, {"lineEdit_27", "EXT:"},
        {"lineEdit_30", "RSSI:"}, {"lineEdit_9", "CH1"},  {"lineEdit_19", "CH2"},
        {"lineEdit_20", "CH3"},   {"lineEdit_21", "CH4"}, {"lineEdit_22", "CH5"},
        {"lineEdit_23", "CH6"},   {"lineEdit_24", "CH7"}, {"lineEdit_25", "CH8"}};
    for (const auto &c : captions)
        QTest::newRow(c[0]) << c[0] << c[1] << true;
    const char *const readouts[][2] = {{"lineEdit_TX", " 0.0V"},   {"lineEdit_RX", " 0.0V"},
                                       {"lineEdit_EXT", " 0.0V"},  {"lineEdit_RSSI", "null"},
                                       {"lineEdit", "0"},          {"lineEdit_8", "0"},
                                       {"lineEdit_Trim_1", "(0)"}, {"lineEdit_Trim_4", "(0)"}};
    for (const auto &r : readouts)
        QTest::newRow(r[0]) << r[0] << r[1] << false;
}

void TestWindow::headerAndServoTexts()
{
    QFETCH(QString, object);
    QFETCH(QString, text);
    QFETCH(bool, readOnly);
    auto *edit = widget<QLineEdit>(object);
    QVERIFY(edit);
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->isReadOnly(), readOnly);
}

void TestWindow::channelGauges()
{
    for (int ch = 1; ch <= 8; ++ch) {
        auto *upper = widget<QProgressBar>(QStringLiteral("progressBar_%1").arg(ch * 10));
        auto *lower = widget<QProgressBar>(QStringLiteral("progressBar_%1").arg(ch * 10 + 1));
        QVERIFY(upper && lower);
        QCOMPARE(upper->minimum(), 0);
        QCOMPARE(upper->maximum(), 1010);
        QCOMPARE(upper->value(), 10);
        QCOMPARE(lower->minimum(), 0);
        QCOMPARE(lower->maximum(), 1000);
        QCOMPARE(lower->value(), 1000);
        for (QProgressBar *bar : {upper, lower}) {
            QCOMPARE(bar->orientation(), Qt::Vertical);
            QVERIFY(!bar->isTextVisible());
        }
        // one gauge: the upper half sits directly on the lower half
        QCOMPARE(upper->x(), lower->x());
        QCOMPARE(upper->width(), lower->width());
        QCOMPARE(upper->geometry().bottom() + 1, lower->y());
    }
}

void TestWindow::windowFrame()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("VEGA&LYRA-V5.1"));
    QCOMPARE(window->size(), QSize(1100, 680));
    QCOMPARE(window->minimumSize(), QSize(0, 0));
    QCOMPARE(window->maximumSize(), QSize(11100, 8000));

    QTabWidget *tabs = window->form()->tabWidget;
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    QCOMPARE(texts, (QStringList{"SERVO", "BASIC", "ADVANCE1", "ADVANCE2", "PROG.MIX", "SYSTEM"}));
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i)
        pages << tabs->widget(i)->objectName();
    QCOMPARE(pages, (QStringList{"tab", "tab_2", "tab_3", "tab_4", "tab_7", "tab_6"}));
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(tabs->isMovable());
    QVERIFY(!tabs->tabsClosable());
    QVERIFY(tabs->documentMode());
    QCOMPARE(tabs->elideMode(), Qt::ElideMiddle);
    QVERIFY(!tabs->tabBarAutoHide());
    QCOMPARE(tabs->font().pointSize(), 11);
    QCOMPARE(int(tabs->font().weight()), int(QFont::Bold)); // 75 in Qt 5's scale, 700 in Qt 6's

    QCOMPARE(widget<QPushButton>("openButton")->text(), QStringLiteral("OPEN"));
    QCOMPARE(widget<QComboBox>("portNameBox")->metaObject()->className(), "PortNameBox");
    QCOMPARE(widget<QPushButton>("pushButton_Reset2")->text(), QStringLiteral("DATA RESET"));
    const char *const tools[][2] = {{"toolButton_Reset", "RESET"},
                                    {"toolButton_Read", "READ"},
                                    {"toolButton_Load", "LOAD"},
                                    {"toolButton_Save", "SAVE"},
                                    {"toolButton_Send", "WRITE"}};
    for (const auto &t : tools) {
        auto *button = widget<QToolButton>(QString::fromLatin1(t[0]));
        QVERIFY2(button, t[0]);
        QCOMPARE(button->text(), QString::fromLatin1(t[1]));
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!button->icon().isNull());
    }
    auto *led = widget<QToolButton>("toolButton_led");
    QCOMPARE(led->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QVERIFY(!led->icon().isNull());
}

void TestWindow::connectByNameComplete()
{
    // every on_<object>_<signal> slot found its widget and signal
    QCOMPARE(constructionWarnings.filter(QStringLiteral("connectSlotsByName")), QStringList());
    QCOMPARE(constructionWarnings.filter(QStringLiteral("No matching signal")), QStringList());
}

void TestWindow::resources()
{
    for (const char *image :
         {"Receive", "open", "about", "app", "red", "green", "save", "Reset", "Send"}) {
        const QString path = QStringLiteral(":/myImage/images/%1.png").arg(image);
        QVERIFY2(!QPixmap(path).isNull(), qPrintable(path));
    }
    QFile normal(QStringLiteral(":/comboBox.qss"));
    QFile calm(QStringLiteral(":/comboBox_REV.qss"));
    QVERIFY(normal.open(QIODevice::ReadOnly));
    QVERIFY(calm.open(QIODevice::ReadOnly));
    const QString normalText = QString::fromUtf8(normal.readAll());
    const QString calmText = QString::fromUtf8(calm.readAll());
    QVERIFY(!calmText.isEmpty());
    QVERIFY(normalText != calmText);
    // a combo box that went through the hover switch keeps the form's look
    QCOMPARE(normalText, formStyles().valueCombo22);
    QVERIFY(
        calmText.contains(QStringLiteral("QComboBox:hover{background-color: rgb(85, 170, 255)")));
    QVERIFY(QResource(QStringLiteral(":/comboBox_REV.qss")).compressionAlgorithm() !=
            QResource::NoCompression);
}

void TestWindow::curveWidgets()
{
    auto *rates = window->findChild<mWidget *>(QStringLiteral("widget_3"));
    auto *throttle = window->findChild<cureWidget *>(QStringLiteral("widget_4"));
    QVERIFY(rates && throttle);
    QCOMPARE(rates->size(), QSize(280, 280));
    QCOMPARE(throttle->size(), QSize(300, 300));
}

void TestWindow::sharedStyleSheets()
{
    // A family's widgets hold one shared sheet, so Qt parses each look once.
    QHash<QString, const QChar *> firstCopy;
    int widgets = 0;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const QString sheet = w->styleSheet();
        if (sheet.isEmpty())
            continue;
        ++widgets;
        const QChar *data = firstCopy.value(sheet, sheet.constData());
        firstCopy.insert(sheet, data);
        QVERIFY2(data == sheet.constData(), qPrintable(w->objectName()));
    }
    QVERIFY(widgets > 250);
    QVERIFY(firstCopy.size() <= 27); // and the compact buttons right of the tabs, LIVE's window
}

void TestWindow::nothingCutOffOrOverlapping()
{
    MainWindow shown;
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    QTabWidget *tabs = shown.form()->tabWidget;
    QList<QWidget *> containers{shown.form()->frame};
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        containers << tabs->widget(i);
        for (QGroupBox *group : tabs->widget(i)->findChildren<QGroupBox *>())
            containers << group;
    }
    for (QWidget *container : containers) {
        const QRect inside = container->rect();
        QList<QWidget *> children;
        for (QWidget *child :
             container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            // page backgrounds, and the focus ring laid over the gap round a widget
            if (!child->objectName().startsWith(QStringLiteral("frame")) &&
                child->objectName() != QLatin1String("focusRing") && !child->isHidden())
                children << child;
        for (int a = 0; a < children.size(); ++a) {
            const QString name = children[a]->objectName();
            QVERIFY2(inside.contains(children[a]->geometry()), qPrintable(name + " cut off"));
            for (int b = a + 1; b < children.size(); ++b)
                QVERIFY2(!children[a]->geometry().intersects(children[b]->geometry()),
                         qPrintable(name + " overlaps " + children[b]->objectName()));
            // captions and group titles must be readable in full
            if (auto *edit = qobject_cast<QLineEdit *>(children[a]); edit && edit->isReadOnly()) {
                edit->ensurePolished();
                const int need = edit->fontMetrics().horizontalAdvance(edit->text()) + 8;
                QVERIFY2(need <= edit->width(), qPrintable(name + " text cut off"));
            }
        }
        if (auto *group = qobject_cast<QGroupBox *>(container)) {
            group->ensurePolished();
            QVERIFY2(group->fontMetrics().horizontalAdvance(group->title()) < group->width(),
                     qPrintable(group->objectName() + " title cut off"));
        }
    }
    QVERIFY(QRect(QPoint(0, 0), shown.size()).contains(tabs->geometry()));
}

void TestWindow::statusLineReadsWhole_data()
{
    QTest::addColumn<QString>("family"); // empty: the platform's own
    QTest::addColumn<QString>("activity");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("whole"); // the activity shows whole, else shortened
    // A check's note, given while a command runs (its bar shown), which
    // stays beside the outcome; empty: none.
    QTest::addColumn<QString>("note");
    RunningCommand unheard{CommandKind::DataReset, 1, CommandStep::EndOfTransfer, false, false, {}};
    unheard.unheard = true;
    const QString model("like Extra 330 SC aerobatics 1.4 m (12 settings differ)");
    const QString byId("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    QTest::newRow("not answered, a long port")
        << "" << transferOutcome(unheard) << "" << byId << true << QString();
    QTest::newRow("READ cut short, a long port, a very long model name")
        << "" << readOutcome(12) << QString(100, QChar('m')) << byId << true << QString();
    QTest::newRow("check cut short")
        << "" << checkOutcomeText({CheckEnd::Partial, 7, {}, {}}, 0) << model << "ttyUSB10" << true << QString();
    QTest::newRow("check interrupted, beside READ cut short")
        << "" << readOutcome(12) + " — " + checkInterruptionText(CommandKind::Read) << model
        << "ttyUSB10" << false << QString();
    QTest::newRow("longer than the line, in a wide font")
        << "URW Bookman"
        << loadOutcome(QStringLiteral("field-setup-for-the-club-competition-2026.txt"),
                       FileFramesAccepted{{true, false, false, false}}, true, true)
        << model << "ttyUSB10" << false << QString();
    QTest::newRow("not answered, beside the check refused, a long port")
        << "" << transferOutcome(unheard) << model << byId << false << checkRefusedText();
    QTest::newRow("READ cut short, beside the check interrupted")
        << "" << readOutcome(12) << model << byId << false
        << checkInterruptionText(CommandKind::Read);
}

void TestWindow::statusLineReadsWhole()
{
    QFETCH(QString, family);
    QFETCH(QString, activity);
    QFETCH(QString, model);
    QFETCH(QString, port);
    QFETCH(bool, whole);
    QFETCH(QString, note);
    const auto restore = qScopeGuard([font = QApplication::font(), record = paramSet] {
        QApplication::setFont(font);
        paramSet = record;
    });
    if (!family.isEmpty())
        QApplication::setFont(QFont(family));
    QMainWindow host;
    MainForm form;
    form.setupUi(&host);
    LinkActivity link;
    link.connectionOpened();
    StatusLine status({form.statusActivity, form.statusProgress, form.statusChanges,
                       form.statusConnection, form.statusModel},
                      link);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    status.connected(port, 115200);
    status.refreshChanges();
    paramSet.subTrim[0] = paramSet.subTrim[0] == 30 ? 31 : 30;
    status.refreshChanges();
    status.showHeldModel(model);
    QTRY_VERIFY_WITH_TIMEOUT(form.statusConnection->toolTip().contains("no data"), 20000);
    std::optional<CommandScope> command;
    if (!note.isEmpty()) {
        command.emplace(link, CommandKind::Read);
        status.commandsChanged(nullptr);
        status.checkEnded(note);
        // The bar lays its parts out, the progress among them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        // The parts' texts never widen the window.
        QCOMPARE(host.width(), 1100);
    }
    status.openFailed(activity); // any outcome is shown the same way
    if (command) {
        command.reset();
        status.commandsChanged(nullptr);
    }
    QCoreApplication::sendPostedEvents(); // the bar lays its parts out

    QCOMPARE(host.width(), 1100);
    QCOMPARE(form.statusbar->width(), 1100);
    const QString tip = note.isEmpty() ? activity : activity + QStringLiteral(" — ") + note;
    QCOMPARE(form.statusActivity->toolTip(), tip);
    QCOMPARE(form.statusActivity->text() == tip, whole);
    // The note is what just happened: what comes before it gives way.
    QVERIFY2(form.statusActivity->text().endsWith(note), qPrintable(form.statusActivity->text()));
    QString shown;
    for (QLabel *part :
         {form.statusActivity, form.statusChanges, form.statusModel, form.statusConnection}) {
        shown = QTextDocumentFragment::fromHtml(part->text()).toPlainText();
        // Nothing is cut: a part is whole, or shows "…" and is whole in its tooltip.
        QVERIFY2(form.statusbar->rect().contains(part->geometry()) &&
                     part->fontMetrics().horizontalAdvance(shown) <= part->contentsRect().width() &&
                     (shown == part->toolTip() || shown.contains(QChar(0x2026)) ||
                      part == form.statusChanges),
                 qPrintable(part->objectName() + ": " + shown));
    }
    // The silent-line warning (shown last) is what the pilot must read: the port gives way.
    QVERIFY2(shown.endsWith(QStringLiteral("no data from the transmitter")), qPrintable(shown));
}

MainWindow *TestWindow::active()
{
    if (!activeWindow) {
        activeWindow = std::make_unique<MainWindow>();
        activeWindow->show();
        activeWindow->activateWindow();
        if (!QTest::qWaitForWindowActive(activeWindow.get()))
            qWarning("the window did not become active");
    }
    return activeWindow.get();
}

void TestWindow::pagesReachedAndNamed_data()
{
    QTest::addColumn<int>("page");
    for (int i = 0; i < 6; ++i)
        QTest::newRow(qPrintable(window->form()->tabWidget->tabText(i))) << i;
}

// A pilot who cannot see the screen or use the mouse reaches every widget
// of a page with Tab, in the catalogue's order after the tabs and their
// corner buttons, hears a name for each, and every setting's tooltip says
// the range and factory value its widget really has.
void TestWindow::pagesReachedAndNamed()
{
    QFETCH(int, page);
    MainWindow *shown = active();
    QTabWidget *tabs = shown->form()->tabWidget;
    tabs->setCurrentIndex(page);
    const QString pageText = tabs->tabText(page);

    QStringList expected;
    for (const PageWidget &w : pageWidgets()) {
        if (!w.page || pageText != QLatin1String(w.page))
            continue;
        auto *widget = shown->findChild<QWidget *>(QString::fromLatin1(w.objectName));
        QVERIFY2(widget, w.objectName);
        QVERIFY2(!widget->toolTip().isEmpty(), w.objectName);
        if (widget->focusPolicy() & Qt::TabFocus)
            expected << widget->objectName();
        if (!w.row)
            continue;
        int minimum = 0, maximum = 0;
        if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
            minimum = spin->minimum();
            maximum = spin->maximum();
        } else if (auto *volts = qobject_cast<QDoubleSpinBox *>(widget)) {
            minimum = qRound(volts->minimum() * 10);
            maximum = qRound(volts->maximum() * 10);
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            maximum = combo->count() - 1;
        }
        QCOMPARE(QString::number(w.row->minimum) + ".." + QString::number(w.row->maximum),
                 QString::number(minimum) + ".." + QString::number(maximum));
        for (const QString &part : {settingRangeText(*w.row), settingFactoryText(*w.row)})
            QVERIFY2(widget->toolTip().contains(part.toHtmlEscaped()),
                     qPrintable(w.objectName + QStringLiteral(": ") + part));
    }
    QVERIFY(!expected.isEmpty());

    tabs->tabBar()->setFocus();
    QTRY_VERIFY(QApplication::focusWidget() == tabs->tabBar());
    // UNDO and REDO are left out while there is nothing to take back.
    QStringList corner;
    for (QPushButton *button : tabs->cornerWidget()->findChildren<QPushButton *>()) {
        if (button->isEnabled())
            corner << button->objectName();
    }
    QStringList walked;
    for (int i = 0; i < corner.size() + expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walked, corner + expected);
    // Past the page Tab goes on through the header and comes back to the
    // tabs: the header's controls are reached and nothing holds the focus.
    QStringList rest;
    while (QApplication::focusWidget() != tabs->tabBar() && rest.size() < 40) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        rest << QApplication::focusWidget()->objectName();
    }
    for (const char *header : {"openButton", "portNameBox", "toolButton_Reset", "toolButton_Read",
                               "toolButton_Load", "toolButton_Save", "toolButton_Send"})
        QVERIFY2(rest.contains(QLatin1String(header)), qPrintable(rest.join(' ')));

    // Everything Tab can reach in the window as it stands has a name.
    for (QWidget *widget : shown->findChildren<QWidget *>()) {
        if (!widget->isVisible() || !widget->isEnabled() ||
            !(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy())
            continue;
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
        QString name = face ? face->text(QAccessible::Name) : QString();
        // A combo box's name there is its current item: it is named by
        // the label that is its buddy, which must say what it sets.
        if (auto *box = qobject_cast<QComboBox *>(widget); box) {
            const auto labels = face->relations(QAccessible::Label);
            name = labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
            QCOMPARE(name, box->accessibleName());
        }
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(widget->objectName()));
    }
    // The charts read out their points.
    if (pageText == QLatin1String("ADVANCE2"))
        QTRY_VERIFY(shown->findChild<QWidget *>("widget_4")
                        ->accessibleDescription()
                        .contains(QStringLiteral("POINT4 50 %")));
}

void TestWindow::spokenNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken"); // what a screen reader announces
    QTest::newRow("a setting") << "spinBox_Lepa1"
                               << "CH1 end point left";
    QTest::newRow("a caption spelt out") << "doubleSpinBox_Volt"
                                         << "TX battery alarm";
    QTest::newRow("a group spelt out") << "spinBox_THCURE_Data04"
                                       << "Throttle curve point 4";
    QTest::newRow("no RSSI in words") << "lineEdit_RSSI"
                                      << "RSSI signal strength: no signal";
    QTest::newRow("a trim without brackets") << "lineEdit_Trim_2"
                                             << "Trim 2 position: 0";
    QTest::newRow("a chart") << "widget_4"
                             << "Throttle curve chart";
}

// Names in the pilot's words, and a readout's value as the page shows it
// without the marks a speech synthesiser would spell out.
void TestWindow::spokenNames()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    QAccessibleInterface *face =
        QAccessible::queryAccessibleInterface(active()->findChild<QWidget *>(name));
    QVERIFY(face);
    QCOMPARE(face->text(QAccessible::Name), spoken);
    if (name.startsWith(QLatin1String("lineEdit")))
        QCOMPARE(face->role(), QAccessible::StaticText);
    if (name == QLatin1String("widget_4"))
        QCOMPARE(face->role(), QAccessible::Chart);
}

double luminance(QRgb c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

void TestWindow::focusRingContrast_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("name");
    QTest::newRow("a setting on its page") << 1 << "spinBox_sub3";
    QTest::newRow("a button in the header") << 1 << "toolButton_Read";
    QTest::newRow("a corner button above another") << 1 << "pushButton_Compare";
    // -1: in the COMPARE dialog, whose style sheet draws no focus of its own
    QTest::newRow("a check box of a dialog") << -1 << "compareShowAll";
}

// The ring's pixels must stand out at least 3:1 from what they cover when
// nothing has the focus there.
void TestWindow::focusRingContrast()
{
    QFETCH(int, page);
    QFETCH(QString, name);
    QWidget *shown = active();
    QWidget *elsewhere = active()->form()->tabWidget->tabBar();
    if (page < 0) {
        QTest::mouseClick(active()->form()->pushButton_Compare, Qt::LeftButton);
        QTRY_VERIFY((shown = active()->findChild<QDialog *>(QStringLiteral("compareDialog"))));
        QVERIFY(QTest::qWaitForWindowActive(shown));
        elsewhere = shown->findChild<QWidget *>(QStringLiteral("compareClose"));
    } else {
        active()->form()->tabWidget->setCurrentIndex(page);
    }
    const std::unique_ptr<QWidget, void (*)(QWidget *)> closing(
        page < 0 ? shown : nullptr, [](QWidget *dialog) { dialog->deleteLater(); });
    auto *target = shown->findChild<QWidget *>(name);
    elsewhere->setFocus();
    QTRY_VERIFY(QApplication::focusWidget() == elsewhere);
    const QImage before = shown->grab().toImage();
    target->setFocus();
    QWidget *ring = nullptr;
    QTRY_VERIFY((ring = shown->findChild<QWidget *>(QStringLiteral("focusRing"))) &&
                ring->isVisible() && ring->parentWidget()->isAncestorOf(target));
    // The ring covers no neighbour: only the gap round the widget.
    const QRegion covers = ring->mask().translated(ring->pos());
    const QRect targetThere(target->mapTo(ring->parentWidget(), QPoint()), target->size());
    for (QWidget *neighbour :
         ring->parentWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (neighbour != ring && neighbour != target && !neighbour->isAncestorOf(target) &&
            neighbour->isVisible() && !neighbour->geometry().intersects(targetThere))
            QVERIFY2(!covers.intersects(neighbour->geometry()),
                     qPrintable(neighbour->objectName()));
    }
    const QImage after = shown->grab().toImage();
    const qreal scale = after.devicePixelRatio();
    const QRect rect = ring->geometry();
    // Along the middle of each side of the ring; at most one side gives
    // way to a neighbour (a corner button beside the last tab).
    const QPoint mid = rect.center();
    const int in = FocusRing::kWidth / 2;
    int sides = 0;
    for (const QPoint &p :
         {QPoint(mid.x(), rect.top() + in), QPoint(rect.left() + in, mid.y()),
          QPoint(mid.x(), rect.bottom() - in), QPoint(rect.right() - in, mid.y())}) {
        if (!covers.contains(p))
            continue;
        ++sides;
        const QPoint at = (ring->parentWidget()->mapTo(shown, p)) * scale;
        const double a = luminance(before.pixel(at)), b = luminance(after.pixel(at));
        const double ratio = (qMax(a, b) + 0.05) / (qMin(a, b) + 0.05);
        QVERIFY2(
            ratio >= 3.0,
            qPrintable(
                QStringLiteral("%1 at %2,%3: %4:1").arg(name).arg(p.x()).arg(p.y()).arg(ratio)));
    }
    QVERIFY2(sides >= 3, qPrintable(name));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
