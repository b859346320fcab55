// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/formstyles.h"

#include <QTextDocument>

namespace {

// The settings combo-box look. The drop-down list gets an explicit dark
// look of its own, otherwise it inherits the dark window background with
// dark item text and the pilot cannot read the choices.
QString valueComboSheet(int px)
{
    return QStringLiteral(
               "QComboBox{background-color: rgb(85, 170, 255); border: 4px outset transparent; "
               "border-radius: 4px; color: white; font: bold %1px; padding: 0px;}\n"
               "QComboBox:hover{background-color: rgba(100,255,100,100); border-color: white; "
               "color: white;}\n"
               "QComboBox QAbstractItemView{background-color: rgb(70, 70, 70); color: white; "
               "selection-background-color: rgb(85, 170, 255);}\n"
               "QComboBox::drop-down{width: 22px; border: none;}\n"
               "QComboBox::down-arrow{image: url(:/form/images/arrow-down.png);}\n")
        .arg(px);
}

QString captionSheet(const char *textColour, int px)
{
    return QStringLiteral("QLineEdit{background-color: rgb(70, 70, 70); border: 4px outset "
                          "transparent; border-radius: 4px; color: %1; font: bold %2px;}")
        .arg(QLatin1String(textColour))
        .arg(px);
}

QString buttonSheet(const char *cls, const char *background, int px, const char *pressed)
{
    return QStringLiteral(
               "%1{background-color: %2; color: white; font: bold %3px; "
               "border: 4px outset transparent; border-radius: 10px;}\n"
               "%1:hover{background-color: rgba(100,255,100,100); border-color: white;}\n"
               "%1:pressed{%4 border-style: inset;}")
        .arg(QLatin1String(cls), QLatin1String(background))
        .arg(px)
        .arg(QLatin1String(pressed));
}

const char kPressedGreen[] = "background-color: rgba(100,255,100,200);";
const char kPressedYellow[] = "background-color: rgba(255,255,0,255); color: red;";

FormStyles buildStyles()
{
    FormStyles s;
    s.valueCombo20 = valueComboSheet(20);
    s.valueCombo22 = valueComboSheet(22);
    s.valueSpin = QStringLiteral(
        "QAbstractSpinBox{background-color: rgb(85, 170, 255); border: 4px outset transparent; "
        "border-radius: 4px; color: white; font: bold 20px;}\n"
        "QAbstractSpinBox:hover{background-color: rgba(100,255,100,100); border-color: white;}\n"
        "QAbstractSpinBox::up-button, QAbstractSpinBox::down-button{width: 18px; "
        "background-color: rgba(255, 255, 255, 60); border: none;}\n"
        "QAbstractSpinBox::up-button:hover, QAbstractSpinBox::down-button:hover{"
        "background-color: rgba(255, 255, 255, 120);}\n"
        "QAbstractSpinBox::up-arrow{image: url(:/form/images/arrow-up.png);}\n"
        "QAbstractSpinBox::down-arrow{image: url(:/form/images/arrow-down.png);}");
    s.caption = captionSheet("white", 16);
    s.channelCaption = captionSheet("white", 20);
    s.headerCaption = captionSheet("white", 14);
    s.headerReadout = captionSheet("rgba(255,255,0,255)", 14);
    s.trimReadout = captionSheet("rgba(255,255,0,255)", 20);
    s.servoCaption = QStringLiteral(
        "QLineEdit{background-color: rgb(0, 0, 0); color: rgba(255,255,0,255); font: bold 26px; "
        "border: none;}");
    s.servoReadout = QStringLiteral("QLineEdit{background-color: rgb(85, 170, 255); color: white; "
                                    "font: bold 26px; border: none;}");
    s.gaugeUpper = QStringLiteral("QProgressBar{background-color: white; border: none;}\n"
                                  "QProgressBar::chunk{background-color: rgb(0, 85, 255);}");
    s.gaugeLower = QStringLiteral("QProgressBar{background-color: rgb(0, 85, 255); border: none;}\n"
                                  "QProgressBar::chunk{background-color: white;}");
    s.groupBox = QStringLiteral("QGroupBox{color: rgb(255, 170, 0); font: bold 20px;}");
    s.toolButton = buttonSheet("QToolButton", "rgba(70,70,70,70)", 20, kPressedGreen);
    s.resetToolButton = buttonSheet("QToolButton", "rgba(70,70,70,70)", 20, kPressedYellow);
    s.ledButton = QStringLiteral("QToolButton{border: none; background: transparent;}");
    s.openButton = buttonSheet("QPushButton", "rgba(100,100,100,100)", 22, kPressedGreen);
    s.dataResetButton = buttonSheet("QPushButton", "rgba(100,100,100,100)", 16, kPressedGreen);
    // Two rows of them share the height of the tab row: a thinner border
    // and smaller text than the other buttons, and a disabled UNDO or REDO
    // must look it.
    s.cornerButton =
        QStringLiteral(
            "QPushButton{background-color: rgba(100,100,100,100); color: white; font: bold 12px; "
            "border: 2px outset transparent; border-radius: 6px;}\n"
            "QPushButton:hover{background-color: rgba(100,255,100,100); border-color: white;}\n"
            "QPushButton:pressed{%1 border-style: inset;}\n"
            "QPushButton:focus{border-color: rgb(85, 170, 255);}\n"
            "QPushButton:disabled{color: rgb(120,120,120); background-color: rgba(80,80,80,100);}")
            .arg(QLatin1String(kPressedGreen));
    s.portNameBox = QStringLiteral("QComboBox{background-color: white; color: black; font: bold "
                                   "20px;}");
    s.pageFrame = QStringLiteral("QFrame{background-color: rgb(50, 50, 50);}");
    // One sheet for all six pages; each page matches only its own name,
    // so the gradient does not leak into the groups and lists on it.
    s.page = QStringLiteral(
        "#tab, #tab_2, #tab_3, #tab_4, #tab_7, #tab_6{background-color: "
        "qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1, stop:0 rgba(255, 0, 0, 255), "
        "stop:1 rgba(255, 255, 255, 255));}");
    s.tabWidget = QStringLiteral(
        "QTabBar::tab{background-color: rgb(80,80,80); color: white; font: bold 18px; "
        "height: 50px; min-width: 140px; border-top-left-radius: 10px; "
        "border-top-right-radius: 10px; margin-right: 2px;}\n"
        "QTabBar::tab:selected{background-color: red; color: cyan;}");
    s.curveWidget = QStringLiteral("background-color: rgb(255, 255, 255);");
    s.centralWidget = QStringLiteral("background-color: rgb(40, 40, 40);");
    s.statusBar = QStringLiteral(
        "QStatusBar{background-color: rgb(30, 30, 30); border-top: 1px solid rgb(80, 80, 80);}\n"
        "QStatusBar::item{border: none;}\n"
        "QLabel{color: white; font: bold 13px; padding: 0px 8px;}\n"
        "QLabel#statusChanges{color: rgb(255, 170, 0);}\n"
        "QLabel#statusConnection{color: rgb(85, 170, 255);}\n"
        "QLabel#statusModel{color: rgb(100, 255, 100);}\n"
        "QProgressBar{background-color: rgb(70, 70, 70); border: none; border-radius: 3px;}\n"
        "QProgressBar::chunk{background-color: rgb(100, 255, 100); border-radius: 3px;}");
    return s;
}

} // namespace

const FormStyles &formStyles()
{
    static const FormStyles styles = buildStyles();
    return styles;
}

QString asTyped(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}
