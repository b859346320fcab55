// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class QMessageBox;

// Closes every modal message box the tool opens while the catcher lives,
// and remembers its title and text, so tests can click through dialogs
// that would otherwise wait for a pilot. While none lives, a box that opens
// in a test fails it, naming its text, and is closed: nobody would answer.
class MessageBoxCatcher : public QObject
{
    Q_OBJECT
public:
    explicit MessageBoxCatcher(QObject *parent = nullptr);
    ~MessageBoxCatcher() override;

    QStringList titles;
    QStringList texts;
    // How the pilot answers; unset, each box is simply dismissed.
    std::function<void(QMessageBox *)> respond;

private:
    void closeOpenBox();
    QTimer m_poll;
};
