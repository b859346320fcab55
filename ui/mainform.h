// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <initializer_list>

#include <utility>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QString;
class QTabWidget;
class QToolButton;
class QWidget;
class mWidget;
class cureWidget;

// The window's form: builds every widget with its object name, range,
// items, texts and style, and keeps a pointer to each named widget for
// the life of the window. Widget families are arrays indexed from 0
// (spinBox_sub[0] is "spinBox_sub1").
class MainForm
{
public:
    // header bar
    QWidget *centralwidget = nullptr;
    QFrame *frame = nullptr;
    QPushButton *openButton = nullptr;
    QComboBox *portNameBox = nullptr;
    QToolButton *toolButton_led = nullptr;
    QToolButton *toolButton_Reset = nullptr;
    QToolButton *toolButton_Read = nullptr;
    QToolButton *toolButton_Load = nullptr;
    QToolButton *toolButton_Save = nullptr;
    QToolButton *toolButton_Send = nullptr;
    QLineEdit *lineEdit_TX = nullptr;
    QLineEdit *lineEdit_RX = nullptr;
    QLineEdit *lineEdit_EXT = nullptr;
    QLineEdit *lineEdit_RSSI = nullptr;

    QTabWidget *tabWidget = nullptr;
    // In the free space right of the page tabs (the tab widget's corner):
    // buttons that work on all settings at once, side by side.
    QWidget *tabCorner = nullptr;
    QPushButton *pushButton_Compare = nullptr;
    QPushButton *pushButton_History = nullptr;
    QPushButton *pushButton_Models = nullptr;
    QPushButton *pushButton_Print = nullptr;
    QPushButton *pushButton_Undo = nullptr;
    QPushButton *pushButton_Redo = nullptr;
    // Six buttons share the corner in two rows of three cells (row by
    // row, left to right): COMPARE, UNDO, REDO, then HISTORY, MODELS, PRINT.
    QPushButton *addCornerButton(const char *name, int row, int column);

    // SERVO: per channel a readout ("lineEdit", "lineEdit_2" … "lineEdit_8"),
    // the upper gauge bar ("progressBar_10" … "progressBar_80") and the lower
    // one ("progressBar_11" … "progressBar_81")
    QLineEdit *channelReadout[8] = {};
    QProgressBar *gaugeUpper[8] = {};
    QProgressBar *gaugeLower[8] = {};

    // BASIC
    QComboBox *comboBox_rev[8] = {};
    QSpinBox *spinBox_sub[8] = {};
    QSpinBox *spinBox_Lepa[8] = {};
    QSpinBox *spinBox_Repa[8] = {};
    QSpinBox *spinBox_delay[8] = {};
    QComboBox *comboBox_AUX[8] = {}; // AUX1..AUX4 show the fixed "NC"
    QSpinBox *spinBox_FS[8] = {};

    // ADVANCE1
    QComboBox *comboBox_DR_MIX1 = nullptr;
    QComboBox *comboBox_DR_CH1 = nullptr;
    QComboBox *comboBox_DR_SW1 = nullptr;
    QSpinBox *spinBox_DR_UP1 = nullptr;
    QSpinBox *spinBox_DR_DOWN1 = nullptr;
    QComboBox *comboBox_AttiM = nullptr;
    QSpinBox *spinBox_Atti[6] = {};
    QComboBox *comboBox_EleMix = nullptr;
    QSpinBox *spinBox_Elev[6] = {}; // "spinBox_Elev01" … "spinBox_Elev06"
    QComboBox *comboBox_RuMix = nullptr;
    QSpinBox *spinBox_Ru[4] = {};

    // ADVANCE2
    mWidget *widget_3 = nullptr;
    QComboBox *comboBox_DR_MIX2 = nullptr;
    QComboBox *comboBox_DR_CH2 = nullptr;
    QComboBox *comboBox_DR_SW2 = nullptr;
    QComboBox *comboBox_DR_POSI = nullptr;
    QSpinBox *spinBox_DR_RATE = nullptr;
    QSpinBox *spinBox_DR_EXP = nullptr;
    cureWidget *widget_4 = nullptr;
    QComboBox *comboBox_THCURE_MIX = nullptr;
    QSpinBox *spinBox_THCURE_Data[7] = {}; // "spinBox_THCURE_Data01" … "07"

    // PROG.MIX, mix k uses the prefix "PRM0<k+1>"
    QComboBox *comboBox_PRM_Mix[4] = {};
    QComboBox *comboBox_PRM_Master[4] = {};
    QComboBox *comboBox_PRM_Slave[4] = {};
    QSpinBox *spinBox_PRM_Data1[4] = {}; // offset
    QSpinBox *spinBox_PRM_Data2[4] = {}; // up rate
    QSpinBox *spinBox_PRM_Data3[4] = {}; // down rate

    // SYSTEM
    QDoubleSpinBox *doubleSpinBox_Volt = nullptr;
    QDoubleSpinBox *doubleSpinBox_rxVolt = nullptr;
    QDoubleSpinBox *doubleSpinBox_extVolt = nullptr;
    QSpinBox *spinBox_Rssi = nullptr;
    QPushButton *pushButton_Reset2 = nullptr;
    QSpinBox *spinBox_Mode = nullptr;
    QSpinBox *spinBox_Vertion = nullptr;
    QComboBox *comboBox_PRM02_Master_2 = nullptr;
    QSpinBox *spinBox_step[4] = {};
    QLineEdit *lineEdit_Trim[4] = {};

    // status line at the bottom of the window: what the tool is doing or
    // how the last action ended, with a small progress bar; whether the
    // settings differ from what the transmitter or a file last had; the
    // connection
    QStatusBar *statusbar = nullptr;
    QLabel *statusActivity = nullptr;
    QProgressBar *statusProgress = nullptr;
    QLabel *statusChanges = nullptr;
    // The model the transmitter holds, by the library's name for it.
    QLabel *statusModel = nullptr;
    QLabel *statusConnection = nullptr;

    // Builds the whole widget tree into the window, sets every text through
    // retranslateUi and finally connects the window's slots by name.
    void setupUi(QMainWindow *window);
    // Sets every user-visible text (translation context "MainWindow").
    void retranslateUi(QMainWindow *window);

private:
    // The texts retranslateUi sets, remembered while the pages are built
    // so that every caption, group title and item list is written once.
    std::vector<std::pair<QLineEdit *, const char *>> captionTexts;
    std::vector<std::pair<QGroupBox *, const char *>> groupTitles;
    std::vector<std::pair<QComboBox *, std::vector<const char *>>> comboItems;
    QWidget *pages[6] = {};

    void setupHeader(QWidget *parent);
    void setupStatusBar(QMainWindow *window);
    void setupTabCorner();
    void setupServoPage(QWidget *page);
    void setupBasicPage(QWidget *page);
    void setupAdvance1Page(QWidget *page);
    void setupAdvance2Page(QWidget *page);
    void setupProgMixPage(QWidget *page);
    void setupSystemPage(QWidget *page);

    QGroupBox *addGroup(QWidget *page, const char *name, const char *title, int x, int width,
                        int height);
    QLineEdit *addCaption(QWidget *parent, const QString &name, const char *text,
                          const QString &sheet, int x, int y, int width, int height);
    // One settings caption per row from row 0 on, in the group's caption
    // column; namePattern holds %1 for the row number from 1.
    void addCaptionColumn(QWidget *group, const QString &namePattern,
                          std::initializer_list<const char *> texts, int width);
    QComboBox *addCombo(QWidget *parent, const QString &name, std::vector<const char *> items,
                        int current, const QString &sheet, int x, int y, int width);
};
