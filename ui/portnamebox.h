// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

// The port selector. It announces that its list is about to drop down, so
// the window can offer a transmitter that was plugged in after start-up.
// Each entry is the bare port name (what the box shows and OPEN uses); the
// drop-down also says what the system reports of the port, held as the
// entry's details, so that two adapters can be told apart. The box is
// narrow for long names: its list drops down as wide as the longest entry,
// and its tooltip names the device of the current entry, so that
// "/dev/pts/3" is never mistaken for "/dev/pts/1".
class PortNameBox : public QComboBox
{
    Q_OBJECT
public:
    static constexpr int DetailsRole = Qt::UserRole + 1;

    explicit PortNameBox(QWidget *parent = nullptr) : QComboBox(parent)
    {
        setItemDelegate(new DetailsDelegate(this));
        connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this](int index) { setToolTip(entryText(index)); });
    }

    // The entry as the drop-down shows it.
    QString entryText(int index) const
    {
        const QString details = itemData(index, DetailsRole).toString();
        return details.isEmpty() ? itemText(index) : details;
    }

    bool isDroppedDown() const { return view()->isVisible(); }

    void showPopup() override
    {
        emit popupAboutToShow();
        int widest = 0;
        for (int i = 0; i < count(); ++i)
            widest = std::max({widest, fontMetrics().horizontalAdvance(entryText(i)),
                               view()->fontMetrics().horizontalAdvance(entryText(i))});
        // Room for the item's margins and a scroll bar on a long list.
        const int room = 2 * view()->frameWidth() +
                         view()->verticalScrollBar()->sizeHint().width() +
                         fontMetrics().averageCharWidth() * 2;
        view()->setMinimumWidth(std::max(width(), widest + room));
        QComboBox::showPopup();
    }

    void hidePopup() override
    {
        QComboBox::hidePopup();
        emit popupHidden();
    }

signals:
    void popupAboutToShow();
    // The list is up again: what the ports did meanwhile can be shown.
    void popupHidden();

private:
    class DetailsDelegate : public QStyledItemDelegate
    {
    public:
        using QStyledItemDelegate::QStyledItemDelegate;

    protected:
        void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
        {
            QStyledItemDelegate::initStyleOption(option, index);
            // The entries take the list's colours, not the box's black on
            // white: white on the dark list, the current one highlighted. The
            // highlight is the lists' blue made darker, so that white on it
            // reads well (5.6:1; the lists' light blue gives 2.4:1).
            option->palette.setColor(QPalette::Text, Qt::white);
            option->palette.setColor(QPalette::HighlightedText, Qt::white);
            option->palette.setColor(QPalette::Highlight, QColor(0, 102, 204));
            const QString details = index.data(DetailsRole).toString();
            if (!details.isEmpty())
                option->text = details;
        }
    };
};
