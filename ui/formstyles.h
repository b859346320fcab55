// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Text with a name in it for a place that takes rich text when it looks
// like it (a tooltip, a message box): a model named "<b>x</b>" reads as
// typed there, not as a bold "x".
QString asTyped(const QString &text);

// The window's looks, one style sheet per widget family. Each sheet is
// built once and handed to every widget of its family as the same
// implicitly shared QString: Qt caches parsed sheets by their text, and a
// few hundred copies of distinct strings would make the window slow to
// appear.
struct FormStyles {
    QString valueCombo20;   // settings combo boxes
    QString valueCombo22;   // the few with larger text; equals ":/comboBox.qss"
    QString valueSpin;      // spin boxes and double spin boxes
    QString caption;        // read-only captions beside the settings
    QString channelCaption; // "CH1:" … "CH8:" on the BASIC page
    QString headerCaption;  // "TX:", "RX:", "EXT:", "RSSI:"
    QString headerReadout;  // live voltages and RSSI in the header
    QString trimReadout;    // live trim positions on the SYSTEM page
    QString servoCaption;   // "CH1" … "CH8" on the SERVO page
    QString servoReadout;   // channel output numbers on the SERVO page
    QString gaugeUpper;     // upper half of a channel gauge
    QString gaugeLower;     // lower half of a channel gauge
    QString groupBox;
    QString toolButton;
    QString resetToolButton; // RESET lights up yellow while pressed
    QString ledButton;
    QString openButton;
    QString dataResetButton;
    QString cornerButton; // the compact buttons right of the page tabs; greyed when disabled
    QString portNameBox;
    QString pageFrame;
    QString page;
    QString tabWidget;
    QString curveWidget; // the two charts draw on white
    QString centralWidget;
    QString statusBar; // the status line and its labels
};

const FormStyles &formStyles();
