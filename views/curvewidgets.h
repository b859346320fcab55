#pragma once

#include <QWidget>

// Dual-rate / expo chart of the selected D/R channel and position
// (280 x 280 on the ADVANCE2 page).
class mWidget : public QWidget
{
    Q_OBJECT
public:
    explicit mWidget(QWidget *parent = nullptr);
};

// Seven-point throttle curve chart (300 x 300 on the ADVANCE2 page).
class cureWidget : public QWidget
{
    Q_OBJECT
public:
    explicit cureWidget(QWidget *parent = nullptr);
};
