// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QWidget>

class MainForm;
class QMainWindow;

// Help where a setting stands and a way through the window without the
// mouse, added to the finished form: every widget of the pages gets its
// tooltip, "What's This?" text and accessible name from the settings
// catalogue; Tab walks each page in the catalogue's order after the tabs
// and the corner buttons; Shift+F1 explains the focused widget.
void addFormHelp(MainForm &form, QMainWindow *window);

// A frame drawn just outside the widget that has the keyboard focus. The
// widgets' own style sheets (and the combo boxes' hover sheets, which
// replace them) stay as they are; the ring is a widget of its own, laid
// over the gap around the focused one, and lets the mouse through.
class FocusRing : public QWidget
{
public:
    explicit FocusRing(QWidget *window);
    // Yellow on the dark page and header backgrounds.
    static QColor colour() { return QColor(255, 255, 0); }
    static constexpr int kWidth = 3;
    static constexpr int kGap = 1; // between the ring and the widget

    // Puts the ring round `focused`, or hides it when it is not in the window.
    void follow(QWidget *focused);

protected:
    void paintEvent(QPaintEvent *event) override;
};
