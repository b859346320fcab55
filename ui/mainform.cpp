// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/mainform.h"

#include "settings/pagetexts.h"
#include "ui/formhelp.h"
#include "ui/formstyles.h"
#include "ui/portnamebox.h"
#include "views/curvewidgets.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Settings stand in rows inside their group: captions on the left, the
// value widgets beside them, one row every kRowPitch pixels.
constexpr int kRowTop = 40;
constexpr int kRowPitch = 54;
constexpr int kRowHeight = 42;
constexpr int kGroupTop = 12;
// The status line takes this much of the window's 680 px below the pages.
constexpr int kStatusBarHeight = 26;
// Captions of one group stand in a column at its left edge.
constexpr int kCaptionX = 10;

int rowY(int row)
{
    return kRowTop + row * kRowPitch;
}

// A group just tall enough for its rows of settings.
int groupHeight(int rows)
{
    return rowY(rows) + 2;
}

QString numbered(const char *pattern, int n)
{
    return QString::fromLatin1(pattern).arg(n);
}

template <class W>
W *place(W *w, const QString &name, const QString &sheet, int x, int y, int width, int height)
{
    w->setObjectName(name);
    if (!sheet.isEmpty())
        w->setStyleSheet(sheet);
    w->setGeometry(x, y, width, height);
    return w;
}

QSpinBox *addSpin(QWidget *parent, const QString &name, int min, int max, int value, int x, int y,
                  int width)
{
    auto *box = place(new QSpinBox(parent), name, formStyles().valueSpin, x, y, width, kRowHeight);
    box->setRange(min, max);
    box->setValue(value);
    return box;
}

// A column of numbered spin boxes, one per row from firstRow on.
void addSpinColumn(QSpinBox **out, int count, QWidget *parent, const char *pattern, int min,
                   int max, const int *values, int x, int firstRow, int width)
{
    for (int i = 0; i < count; ++i)
        out[i] = addSpin(parent, numbered(pattern, i + 1), min, max, values[i], x,
                         rowY(firstRow + i), width);
}

QDoubleSpinBox *addVoltSpin(QWidget *parent, const char *name, int y, int x, int width)
{
    auto *box = place(new QDoubleSpinBox(parent), QString::fromLatin1(name), formStyles().valueSpin,
                      x, y, width, kRowHeight);
    box->setDecimals(1);
    box->setRange(0.0, 99.9);
    box->setSingleStep(0.1);
    box->setValue(11.0);
    return box;
}

QToolButton *addToolButton(QWidget *parent, const char *name, const char *icon,
                           const QString &sheet, int x)
{
    auto *button = place(new QToolButton(parent), QString::fromLatin1(name), sheet, x, 4, 86, 84);
    button->setIcon(QIcon(QString::fromLatin1(icon)));
    button->setIconSize(QSize(40, 40));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

// The item lists and tab texts are shared with the settings catalogue, so
// that a setting is named in the same words everywhere.
using namespace pagetexts;

} // namespace

QGroupBox *MainForm::addGroup(QWidget *page, const char *name, const char *title, int x, int width,
                              int height)
{
    auto *group = place(new QGroupBox(page), QString::fromLatin1(name), formStyles().groupBox, x,
                        kGroupTop, width, height);
    groupTitles.emplace_back(group, title);
    return group;
}

QLineEdit *MainForm::addCaption(QWidget *parent, const QString &name, const char *text,
                                const QString &sheet, int x, int y, int width, int height)
{
    auto *caption = place(new QLineEdit(parent), name, sheet, x, y, width, height);
    caption->setReadOnly(true);
    captionTexts.emplace_back(caption, text);
    return caption;
}

void MainForm::addCaptionColumn(QWidget *group, const QString &namePattern,
                                std::initializer_list<const char *> texts, int width)
{
    int row = 0;
    for (const char *text : texts) {
        addCaption(group, namePattern.arg(row + 1), text, formStyles().caption, kCaptionX,
                   rowY(row), width, kRowHeight);
        ++row;
    }
}

QComboBox *MainForm::addCombo(QWidget *parent, const QString &name, std::vector<const char *> items,
                              int current, const QString &sheet, int x, int y, int width)
{
    auto *box = place(new QComboBox(parent), name, sheet, x, y, width, kRowHeight);
    for (size_t i = 0; i < items.size(); ++i)
        box->addItem(QString());
    box->setCurrentIndex(current);
    comboItems.emplace_back(box, std::move(items));
    return box;
}

void MainForm::setupUi(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(1100, 680);
    window->setMinimumSize(0, 0);
    window->setMaximumSize(11100, 8000);

    centralwidget = new QWidget(window);
    centralwidget->setObjectName(QStringLiteral("centralwidget"));
    centralwidget->setStyleSheet(formStyles().centralWidget);
    setupHeader(centralwidget);

    tabWidget = place(new QTabWidget(centralwidget), QStringLiteral("tabWidget"),
                      formStyles().tabWidget, 0, 94, 1100, 560);
    QFont tabFont(QStringLiteral("Arial"), 11);
    tabFont.setBold(true);
    tabWidget->setFont(tabFont);
    tabWidget->setTabPosition(QTabWidget::North);
    tabWidget->setTabShape(QTabWidget::Rounded);
    tabWidget->setElideMode(Qt::ElideMiddle);
    tabWidget->setDocumentMode(true);
    tabWidget->setTabsClosable(false);
    tabWidget->setMovable(true);
    tabWidget->setTabBarAutoHide(false);

    static const char *const pageNames[6] = {"tab", "tab_2", "tab_3", "tab_4", "tab_7", "tab_6"};
    static const char *const frameNames[6] = {"frame_3", "frame_2", "frame_4",
                                              "frame_5", "frame_8", "frame_7"};
    // Pages join the tab widget while still empty: moving a finished page
    // under the styled window would make Qt re-polish every widget on it,
    // which more than doubled the time until the window appeared.
    for (int i = 0; i < 6; ++i) {
        pages[i] = new QWidget();
        pages[i]->setObjectName(QString::fromLatin1(pageNames[i]));
        pages[i]->setStyleSheet(formStyles().page);
        // Only SERVO is named here; the other tab texts come from retranslateUi.
        tabWidget->addTab(pages[i], i == 0 ? QString::fromLatin1(kTabTexts[0]) : QString());
        place(new QFrame(pages[i]), QString::fromLatin1(frameNames[i]), formStyles().pageFrame, 6,
              4, 1088, 500);
    }
    setupServoPage(pages[0]);
    setupBasicPage(pages[1]);
    setupAdvance1Page(pages[2]);
    setupAdvance2Page(pages[3]);
    setupProgMixPage(pages[4]);
    setupSystemPage(pages[5]);
    setupTabCorner();

    window->setCentralWidget(centralwidget);
    setupStatusBar(window);
    retranslateUi(window);
    addFormHelp(*this, window);
    tabWidget->setCurrentIndex(2);
    QMetaObject::connectSlotsByName(window);
}

void MainForm::setupStatusBar(QMainWindow *window)
{
    // Plain labels, so that screen readers and tests read the same texts
    // the pilot sees.
    statusbar = new QStatusBar(window);
    statusbar->setObjectName(QStringLiteral("statusbar"));
    statusbar->setStyleSheet(formStyles().statusBar);
    statusbar->setSizeGripEnabled(false);
    statusbar->setFixedHeight(kStatusBarHeight);
    statusActivity = new QLabel(statusbar);
    statusActivity->setObjectName(QStringLiteral("statusActivity"));
    // A long text is cut at the window's edge (its tooltip holds all of
    // it); it never widens the window.
    statusActivity->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusProgress = new QProgressBar(statusbar);
    statusProgress->setObjectName(QStringLiteral("statusProgress"));
    statusProgress->setTextVisible(false);
    statusProgress->setFixedSize(120, 12);
    statusProgress->hide();
    statusChanges = new QLabel(statusbar);
    statusChanges->setObjectName(QStringLiteral("statusChanges"));
    statusModel = new QLabel(statusbar);
    statusModel->setObjectName(QStringLiteral("statusModel"));
    statusConnection = new QLabel(statusbar);
    statusConnection->setObjectName(QStringLiteral("statusConnection"));
    statusbar->addWidget(statusActivity, 1);
    statusbar->addWidget(statusProgress);
    statusbar->addPermanentWidget(statusChanges);
    statusbar->addPermanentWidget(statusModel);
    statusbar->addPermanentWidget(statusConnection);
    window->setStatusBar(statusbar);
}

void MainForm::setupTabCorner()
{
    // Lower than the tabs, so the tab row keeps its height and the pages
    // their place; the six tabs leave room for three narrow buttons
    // across, so they stand in two rows.
    tabCorner = new QWidget(tabWidget);
    tabCorner->setObjectName(QStringLiteral("tabCorner"));
    auto *grid = new QGridLayout(tabCorner);
    grid->setContentsMargins(0, 3, 6, 3);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    pushButton_Compare = addCornerButton("pushButton_Compare", 0, 0);
    pushButton_Undo = addCornerButton("pushButton_Undo", 0, 1);
    pushButton_Redo = addCornerButton("pushButton_Redo", 0, 2);
    pushButton_History = addCornerButton("pushButton_History", 1, 0);
    pushButton_Models = addCornerButton("pushButton_Models", 1, 1);
    pushButton_Print = addCornerButton("pushButton_Print", 1, 2);
    tabWidget->setCornerWidget(tabCorner, Qt::TopRightCorner);
}

QPushButton *MainForm::addCornerButton(const char *name, int row, int column)
{
    auto *button = new QPushButton(tabCorner);
    button->setObjectName(QLatin1String(name));
    button->setStyleSheet(formStyles().cornerButton);
    button->setFixedSize(74, 21);
    static_cast<QGridLayout *>(tabCorner->layout())->addWidget(button, row, column);
    return button;
}

void MainForm::setupHeader(QWidget *parent)
{
    const FormStyles &st = formStyles();
    frame = place(new QFrame(parent), QStringLiteral("frame"), QString(), 0, 0, 1100, 92);
    frame->setFrameShape(QFrame::NoFrame);

    openButton =
        place(new QPushButton(frame), QStringLiteral("openButton"), st.openButton, 12, 21, 100, 50);
    portNameBox = place(new PortNameBox(frame), QStringLiteral("portNameBox"), st.portNameBox, 122,
                        26, 130, 40);
    portNameBox->setCurrentIndex(-1);

    toolButton_led = place(new QToolButton(frame), QStringLiteral("toolButton_led"), st.ledButton,
                           262, 21, 50, 50);
    toolButton_led->setIcon(QIcon(QStringLiteral(":/myImage/images/red.png")));
    toolButton_led->setIconSize(QSize(40, 40));
    toolButton_led->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolButton_led->setAutoRaise(true);

    toolButton_Reset = addToolButton(frame, "toolButton_Reset", ":/myImage/images/Reset.png",
                                     st.resetToolButton, 322);
    toolButton_Read =
        addToolButton(frame, "toolButton_Read", ":/myImage/images/Receive.png", st.toolButton, 414);
    toolButton_Load =
        addToolButton(frame, "toolButton_Load", ":/myImage/images/open.png", st.toolButton, 506);
    toolButton_Save =
        addToolButton(frame, "toolButton_Save", ":/myImage/images/save.png", st.toolButton, 598);
    toolButton_Send =
        addToolButton(frame, "toolButton_Send", ":/myImage/images/Send.png", st.toolButton, 690);

    // Live readouts in a two-by-two block at the right: voltages first,
    // then the external voltage and the link quality.
    struct Readout {
        const char *captionName, *caption, *name, *text;
        int x, y;
    };
    static const Readout readouts[4] = {{"lineEdit_26", "TX:", "lineEdit_TX", " 0.0V", 796, 8},
                                        {"lineEdit_37", "RX:", "lineEdit_RX", " 0.0V", 946, 8},
                                        {"lineEdit_27", "EXT:", "lineEdit_EXT", " 0.0V", 796, 50},
                                        {"lineEdit_30", "RSSI:", "lineEdit_RSSI", "null", 946, 50}};
    QLineEdit **targets[4] = {&lineEdit_TX, &lineEdit_RX, &lineEdit_EXT, &lineEdit_RSSI};
    for (int i = 0; i < 4; ++i) {
        const Readout &r = readouts[i];
        addCaption(frame, QString::fromLatin1(r.captionName), r.caption, st.headerCaption, r.x, r.y,
                   62, 34);
        *targets[i] = place(new QLineEdit(frame), QString::fromLatin1(r.name), st.headerReadout,
                            r.x + 66, r.y, 78, 34);
        (*targets[i])->setText(QString::fromLatin1(r.text));
    }
}

void MainForm::setupServoPage(QWidget *page)
{
    const FormStyles &st = formStyles();
    static const char *const captionNames[8] = {"lineEdit_9",  "lineEdit_19", "lineEdit_20",
                                                "lineEdit_21", "lineEdit_22", "lineEdit_23",
                                                "lineEdit_24", "lineEdit_25"};
    static const char *const captionTexts8[8] = {"CH1", "CH2", "CH3", "CH4",
                                                 "CH5", "CH6", "CH7", "CH8"};
    for (int ch = 0; ch < 8; ++ch) {
        const int x = 40 + ch * 130;
        auto *caption = addCaption(page, QString::fromLatin1(captionNames[ch]), captionTexts8[ch],
                                   st.servoCaption, x, 26, 110, 44);
        caption->setAlignment(Qt::AlignCenter);

        const QString readoutName =
            ch == 0 ? QStringLiteral("lineEdit") : numbered("lineEdit_%1", ch + 1);
        channelReadout[ch] =
            place(new QLineEdit(page), readoutName, st.servoReadout, x, 78, 110, 44);
        channelReadout[ch]->setAlignment(Qt::AlignCenter);
        channelReadout[ch]->setText(QStringLiteral("0"));

        // One centre-zero gauge: the upper bar fills upwards from the
        // middle, the lower bar empties downwards from it.
        const int n = (ch + 1) * 10;
        gaugeUpper[ch] = place(new QProgressBar(page), numbered("progressBar_%1", n), st.gaugeUpper,
                               x + 33, 136, 44, 182);
        gaugeUpper[ch]->setRange(0, 1010);
        gaugeUpper[ch]->setValue(10);
        gaugeLower[ch] = place(new QProgressBar(page), numbered("progressBar_%1", n + 1),
                               st.gaugeLower, x + 33, 318, 44, 182);
        gaugeLower[ch]->setRange(0, 1000);
        gaugeLower[ch]->setValue(1000);
        for (QProgressBar *bar : {gaugeUpper[ch], gaugeLower[ch]}) {
            bar->setOrientation(Qt::Vertical);
            bar->setTextVisible(false);
        }
    }
}

void MainForm::setupBasicPage(QWidget *page)
{
    const FormStyles &st = formStyles();
    static const char *const chCaptions[8] = {
        "CH1:", "CH2:", "CH3:", "CH4:", "CH5:", "CH6:", "CH7:", "CH8:"};
    QGroupBox *g = addGroup(page, "groupBox", "CHANNEL", 21, 120, groupHeight(8));
    for (int i = 0; i < 8; ++i)
        addCaption(g, numbered("lineEdit_ch%1", i + 1), chCaptions[i], st.channelCaption, 10,
                   rowY(i), 90, kRowHeight)
            ->setAlignment(Qt::AlignCenter);

    g = addGroup(page, "groupBox_2", "REVERSE", 149, 120, groupHeight(8));
    for (int i = 0; i < 8; ++i)
        comboBox_rev[i] = addCombo(g, numbered("comboBox_rev%1", i + 1), kNorRev, i == 2 ? 1 : 0,
                                   i == 7 ? st.valueCombo22 : st.valueCombo20, 10, rowY(i), 100);

    static const int zeros[8] = {};
    static const int epa[8] = {96, 96, 96, 96, 96, 96, 96, 96};
    static const int delay[8] = {100, 100, 100, 100, 100, 100, 100, 100};
    static const int failSafe[8] = {50, 50, 0, 50, 50, 50, 50, 50};

    g = addGroup(page, "groupBox_3", "SUB-TRIM", 277, 125, groupHeight(8));
    addSpinColumn(spinBox_sub, 8, g, "spinBox_sub%1", -100, 100, zeros, 10, 0, 105);

    g = addGroup(page, "groupBox_4", "END POINT--L---R---", 410, 235, groupHeight(8));
    addSpinColumn(spinBox_Lepa, 8, g, "spinBox_Lepa%1", 0, 120, epa, 10, 0, 105);
    addSpinColumn(spinBox_Repa, 8, g, "spinBox_Repa%1", 0, 120, epa, 120, 0, 105);

    g = addGroup(page, "groupBox_5", "DELAY", 653, 115, groupHeight(8));
    addSpinColumn(spinBox_delay, 8, g, "spinBox_delay%1", 0, 100, delay, 10, 0, 95);

    // AUX1..AUX4 are fixed to the sticks: one item each, nothing to choose.
    static const int auxStart[8] = {0, 0, 0, 0, 1, 3, 0, 2};
    g = addGroup(page, "groupBox_6", "AUX-CH", 776, 170, groupHeight(8));
    for (int i = 0; i < 8; ++i)
        comboBox_AUX[i] =
            addCombo(g, numbered("comboBox_AUX%1", i + 1), i < 4 ? kNc : kAuxSources, auxStart[i],
                     i == 7 ? st.valueCombo22 : st.valueCombo20, 10, rowY(i), 150);

    g = addGroup(page, "groupBox_14", "FAIL SAFE", 954, 125, groupHeight(8));
    addSpinColumn(spinBox_FS, 8, g, "spinBox_FS%1", 0, 100, failSafe, 10, 0, 105);
}

void MainForm::setupAdvance1Page(QWidget *page)
{
    const FormStyles &st = formStyles();
    const int cw = 85, wx = kCaptionX + cw + 6, ww = 105;

    QGroupBox *g = addGroup(page, "groupBox_8", "D/R", 42, 218, groupHeight(5));
    addCaptionColumn(g, QStringLiteral("lineEdit_dr%1"), {"MIX:", "CH:", "SW:", "UP:", "DOWN:"},
                     cw);
    comboBox_DR_MIX1 = addCombo(g, QStringLiteral("comboBox_DR_MIX1"), kOffOn, 0, st.valueCombo20,
                                wx, rowY(0), ww);
    comboBox_DR_CH1 = addCombo(g, QStringLiteral("comboBox_DR_CH1"), kCh1to4, 0, st.valueCombo20,
                               wx, rowY(1), ww);
    comboBox_DR_SW1 =
        addCombo(g, QStringLiteral("comboBox_DR_SW1"), kSwa, 0, st.valueCombo20, wx, rowY(2), ww);
    spinBox_DR_UP1 = addSpin(g, QStringLiteral("spinBox_DR_UP1"), 0, 100, 100, wx, rowY(3), ww);
    spinBox_DR_DOWN1 = addSpin(g, QStringLiteral("spinBox_DR_DOWN1"), 0, 100, 100, wx, rowY(4), ww);

    g = addGroup(page, "groupBox_7", "ATTITUDE", 270, 218, groupHeight(7));
    addCaptionColumn(g, QStringLiteral("lineEdit_atti%1"),
                     {"CH:", "ATTI1:", "ATTI2:", "ATTI3:", "ATTI4:", "ATTI5:", "ATTI6:"}, cw);
    comboBox_AttiM = addCombo(g, QStringLiteral("comboBox_AttiM"), kAttiChannels, 0,
                              st.valueCombo22, wx, rowY(0), ww);
    static const int atti[6] = {14, 29, 44, 56, 69, 88};
    addSpinColumn(spinBox_Atti, 6, g, "spinBox_Atti%1", 0, 100, atti, wx, 1, ww);

    g = addGroup(page, "groupBox_10", "ELEVON", 498, 331, groupHeight(5));
    addCaptionColumn(g, QStringLiteral("lineEdit_elev%1"),
                     {" MIX:", "AILE1:", "AILE2:", "ELEV2:", "ELEV1:"}, cw);
    comboBox_EleMix =
        addCombo(g, QStringLiteral("comboBox_EleMix"), kOffOn, 0, st.valueCombo22, wx, rowY(0), ww);
    static const int elevon[6] = {100, 100, 100, -100, 100, 100};
    addSpinColumn(spinBox_Elev, 4, g, "spinBox_Elev0%1", -100, 100, elevon, wx, 1, ww);
    // Elev05 and Elev06 have no captions of their own: a second column.
    for (int i = 4; i < 6; ++i)
        spinBox_Elev[i] = addSpin(g, numbered("spinBox_Elev0%1", i + 1), -100, 100, elevon[i],
                                  wx + ww + 8, rowY(i - 3), ww);

    g = addGroup(page, "groupBox_13", "V-TAIL", 839, 218, groupHeight(5));
    addCaptionColumn(g, QStringLiteral("lineEdit_vtail%1"),
                     {"MIX:", "ELEV1:", "ELEV2:", "RUDD2:", "RUDD1:"}, cw);
    comboBox_RuMix =
        addCombo(g, QStringLiteral("comboBox_RuMix"), kOffOn, 0, st.valueCombo20, wx, rowY(0), ww);
    static const int vtail[4] = {50, -50, 50, 50};
    addSpinColumn(spinBox_Ru, 4, g, "spinBox_Ru%1", -100, 100, vtail, wx, 1, ww);
}

void MainForm::setupAdvance2Page(QWidget *page)
{
    const FormStyles &st = formStyles();
    const int cw = 80, wx = kCaptionX + cw + 6, ww = 110;

    QGroupBox *g = addGroup(page, "groupBox_19", "D/R CURE", 20, 510, groupHeight(6));
    addCaptionColumn(g, QStringLiteral("lineEdit_drc%1"),
                     {"MIX:", " CH:", "SW:", " POSI:", "RATE:", "EXP:"}, cw);
    comboBox_DR_MIX2 = addCombo(g, QStringLiteral("comboBox_DR_MIX2"), kOffOn, 0, st.valueCombo20,
                                wx, rowY(0), ww);
    comboBox_DR_CH2 = addCombo(g, QStringLiteral("comboBox_DR_CH2"), kCh1to4, 0, st.valueCombo20,
                               wx, rowY(1), ww);
    comboBox_DR_SW2 =
        addCombo(g, QStringLiteral("comboBox_DR_SW2"), kSwa, 0, st.valueCombo20, wx, rowY(2), ww);
    comboBox_DR_POSI = addCombo(g, QStringLiteral("comboBox_DR_POSI"), kUpDown, 0, st.valueCombo20,
                                wx, rowY(3), ww);
    spinBox_DR_RATE = addSpin(g, QStringLiteral("spinBox_DR_RATE"), 0, 100, 100, wx, rowY(4), ww);
    spinBox_DR_EXP = addSpin(g, QStringLiteral("spinBox_DR_EXP"), -100, 100, 100, wx, rowY(5), ww);
    widget_3 = new mWidget(g);
    widget_3->setObjectName(QStringLiteral("widget_3"));
    widget_3->setStyleSheet(st.curveWidget);
    widget_3->setAttribute(Qt::WA_StyledBackground, true);
    widget_3->move(wx + ww + 14, kRowTop);

    g = addGroup(page, "groupBox_18", "TH CURE", 540, 540, groupHeight(8));
    const int tcw = 95, twx = kCaptionX + tcw + 6, tww = 105;
    addCaptionColumn(
        g, QStringLiteral("lineEdit_thc%1"),
        {"MIX:", "POINT1:", "POINT2:", "POINT3:", "POINT4:", "POINT5:", "POINT6:", "POINT7:"}, tcw);
    comboBox_THCURE_MIX = addCombo(g, QStringLiteral("comboBox_THCURE_MIX"), kOffOn, 0,
                                   st.valueCombo20, twx, rowY(0), tww);
    static const int curve[7] = {0, 16, 33, 50, 67, 84, 100};
    addSpinColumn(spinBox_THCURE_Data, 7, g, "spinBox_THCURE_Data0%1", 0, 100, curve, twx, 1, tww);
    widget_4 = new cureWidget(g);
    widget_4->setObjectName(QStringLiteral("widget_4"));
    widget_4->setStyleSheet(st.curveWidget);
    widget_4->setAttribute(Qt::WA_StyledBackground, true);
    widget_4->move(twx + tww + 14, kRowTop);
}

void MainForm::setupProgMixPage(QWidget *page)
{
    const FormStyles &st = formStyles();
    static const char *const groupNames[4] = {"groupBox_11", "groupBox_12", "groupBox_15",
                                              "groupBox_16"};
    static const char *const titles[4] = {"PROG.MIX1", "PROG.MIX2", "PROG.MIX3", "PROG.MIX4"};
    const int cw = 100, wx = kCaptionX + cw + 6, ww = 120;
    for (int m = 0; m < 4; ++m) {
        QGroupBox *g = addGroup(page, groupNames[m], titles[m], 34 + m * 262, 246, groupHeight(6));
        addCaptionColumn(g, QStringLiteral("lineEdit_prm%1_").arg(m + 1) + QLatin1String("%1"),
                         {"MIX:", "MAS:", "SLA:", "OFFSET:", "UP:", "DOWN:"}, cw);
        const QString prefix = QStringLiteral("PRM0%1_").arg(m + 1);
        const bool second = m == 1;
        const bool evenMix = m % 2 == 1; // mix 2 and mix 4
        comboBox_PRM_Mix[m] = addCombo(g, QStringLiteral("comboBox_") + prefix + "Mix", kInhOffOn,
                                       0, st.valueCombo20, wx, rowY(0), ww);
        comboBox_PRM_Master[m] =
            addCombo(g, QStringLiteral("comboBox_") + prefix + "Master", kCh1to8, evenMix ? 1 : 0,
                     second ? st.valueCombo22 : st.valueCombo20, wx, rowY(1), ww);
        comboBox_PRM_Slave[m] =
            addCombo(g, QStringLiteral("comboBox_") + prefix + "Slave", kCh1to8, evenMix ? 5 : 3,
                     second ? st.valueCombo22 : st.valueCombo20, wx, rowY(2), ww);
        // Mixes 3 and 4 only take positive rates on the transmitter.
        const int rateMin = m < 2 ? -100 : 0;
        const QString spinPrefix = QStringLiteral("spinBox_") + prefix + "Data";
        spinBox_PRM_Data1[m] = addSpin(g, spinPrefix + "1", -100, 100, 100, wx, rowY(3), ww);
        spinBox_PRM_Data2[m] = addSpin(g, spinPrefix + "2", rateMin, 100, 100, wx, rowY(4), ww);
        spinBox_PRM_Data3[m] = addSpin(g, spinPrefix + "3", rateMin, 100, 100, wx, rowY(5), ww);
    }
}

void MainForm::setupSystemPage(QWidget *page)
{
    const FormStyles &st = formStyles();

    QGroupBox *g = addGroup(page, "groupBox_17", "ALARM", 60, 300, groupHeight(4));
    addCaptionColumn(g, QStringLiteral("lineEdit_alarm%1"),
                     {"TX-Alarm:", "RX-Alarm:", "EXT-Alarm:", "Rssi-Alarm:"}, 150);
    const int wx = kCaptionX + 156, ww = 120;
    doubleSpinBox_Volt = addVoltSpin(g, "doubleSpinBox_Volt", rowY(0), wx, ww);
    doubleSpinBox_rxVolt = addVoltSpin(g, "doubleSpinBox_rxVolt", rowY(1), wx, ww);
    doubleSpinBox_extVolt = addVoltSpin(g, "doubleSpinBox_extVolt", rowY(2), wx, ww);
    spinBox_Rssi = addSpin(g, QStringLiteral("spinBox_Rssi"), -100, 0, -100, wx, rowY(3), ww);

    g = addGroup(page, "groupBox_23", "VERSION / MODE", 380, 420, groupHeight(7));
    addCaptionColumn(g, QStringLiteral("lineEdit_sys%1"),
                     {"STK-MODE:", "TX Version:", "PC Version:", "TRIM1-STEP:", "TRIM2-STEP:",
                      "TRIM3-STEP:", "TRIM4-STEP:"},
                     150);
    spinBox_Mode = addSpin(g, QStringLiteral("spinBox_Mode"), 1, 4, 2, wx, rowY(0), ww);
    spinBox_Vertion = addSpin(g, QStringLiteral("spinBox_Vertion"), 0, 1000, 0, wx, rowY(1), ww);
    comboBox_PRM02_Master_2 = addCombo(g, QStringLiteral("comboBox_PRM02_Master_2"), kVersion, 0,
                                       st.valueCombo20, wx, rowY(2), ww);
    static const int steps[4] = {2, 2, 2, 2};
    addSpinColumn(spinBox_step, 4, g, "spinBox_step%1", 1, 20, steps, wx, 3, ww);
    for (int i = 0; i < 4; ++i) {
        lineEdit_Trim[i] = place(new QLineEdit(g), numbered("lineEdit_Trim_%1", i + 1),
                                 st.trimReadout, wx + ww + 8, rowY(3 + i), 110, kRowHeight);
        lineEdit_Trim[i]->setAlignment(Qt::AlignCenter);
        lineEdit_Trim[i]->setText(QStringLiteral("(0)"));
    }

    g = addGroup(page, "groupBox_20", "DATA RESET", 820, 220, 130);
    pushButton_Reset2 = place(new QPushButton(g), QStringLiteral("pushButton_Reset2"),
                              st.dataResetButton, 20, 50, 180, 56);
}

void MainForm::retranslateUi(QMainWindow *window)
{
    auto tr = [](const char *text) { return QCoreApplication::translate("MainWindow", text); };
    window->setWindowTitle(tr("VEGA&LYRA-V5.1"));
    openButton->setText(tr("OPEN"));
    toolButton_led->setText(tr("OPEN"));
    toolButton_Reset->setText(tr("RESET"));
    toolButton_Read->setText(tr("READ"));
    toolButton_Load->setText(tr("LOAD"));
    toolButton_Save->setText(tr("SAVE"));
    toolButton_Send->setText(tr("WRITE"));
    pushButton_Reset2->setText(tr("DATA RESET"));
    pushButton_Compare->setText(tr("COMPARE"));
    pushButton_History->setText(tr("HISTORY"));
    pushButton_History->setToolTip(
        tr("What the transmitter held after each READ, WRITE, LOAD and RESET: compare or restore"));
    pushButton_Compare->setToolTip(
        tr("Compare the settings in the editor with the transmitter's last READ or a file"));
    pushButton_Models->setText(tr("MODELS"));
    pushButton_Models->setToolTip(
        tr("Your models: save the editor as one, open one in the editor, compare, rename"));
    pushButton_Print->setText(tr("PRINT"));
    pushButton_Print->setToolTip(tr("Print the settings in the editor, or save them as a PDF"));
    pushButton_Undo->setText(tr("UNDO"));
    pushButton_Redo->setText(tr("REDO"));
    for (const auto &c : captionTexts)
        c.first->setText(tr(c.second));
    for (const auto &g : groupTitles)
        g.first->setTitle(tr(g.second));
    for (const auto &c : comboItems)
        for (size_t i = 0; i < c.second.size(); ++i)
            c.first->setItemText(int(i), tr(c.second[i]));
    for (int i = 1; i < 6; ++i)
        tabWidget->setTabText(tabWidget->indexOf(pages[i]), tr(kTabTexts[i]));
}
