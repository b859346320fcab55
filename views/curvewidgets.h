// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QTimer;

// The two ADVANCE2 charts. Each repaints itself from the ParameterSet ten
// times a second while it is shown, so an edit beside it, a READ or a LOAD
// shows within 100 ms; on a hidden page the requests cost next to nothing.

// Dual-rate / expo chart of the selected D/R channel and position
// (280 x 280 on the ADVANCE2 page).
class mWidget : public QWidget
{
    Q_OBJECT
public:
    explicit mWidget(QWidget *parent = nullptr);
    ~mWidget() override;

public slots:
    void creatData();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer *timer;
};

// Seven-point throttle curve chart (300 x 300 on the ADVANCE2 page).
class cureWidget : public QWidget
{
    Q_OBJECT
public:
    explicit cureWidget(QWidget *parent = nullptr);
    ~cureWidget() override;

public slots:
    void creatData();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer *timer;
};
