#pragma once

#include <QComboBox>

// The port selector. It announces that its list is about to drop down, so
// the window can offer a transmitter that was plugged in after start-up.
class PortNameBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override
    {
        emit popupAboutToShow();
        QComboBox::showPopup();
    }

signals:
    void popupAboutToShow();
};
