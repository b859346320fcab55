#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>

#include <algorithm>

// The port selector. It announces that its list is about to drop down, so
// the window can offer a transmitter that was plugged in after start-up.
// The box is narrow for long device names: its list drops down as wide as
// the longest one, and its tooltip holds the whole name it shows, so that
// "/dev/pts/3" is never mistaken for "/dev/pts/1".
class PortNameBox : public QComboBox
{
    Q_OBJECT
public:
    explicit PortNameBox(QWidget *parent = nullptr) : QComboBox(parent)
    {
        connect(this, &QComboBox::currentTextChanged, this, &QWidget::setToolTip);
    }

    void showPopup() override
    {
        emit popupAboutToShow();
        int widest = 0;
        for (int i = 0; i < count(); ++i)
            widest = std::max({widest, fontMetrics().horizontalAdvance(itemText(i)),
                               view()->fontMetrics().horizontalAdvance(itemText(i))});
        // Room for the item's margins and a scroll bar on a long list.
        const int room = 2 * view()->frameWidth() +
                         view()->verticalScrollBar()->sizeHint().width() +
                         fontMetrics().averageCharWidth() * 2;
        view()->setMinimumWidth(std::max(width(), widest + room));
        QComboBox::showPopup();
    }

signals:
    void popupAboutToShow();
};
