// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// Answers the file dialogs the tool opens while it lives, like a pilot
// would: picks the next queued path (an empty one cancels) and remembers
// what the dialog showed.
class QFileDialog;

class FileDialogAnswerer : public QObject
{
    Q_OBJECT
public:
    explicit FileDialogAnswerer(QObject *parent = nullptr);

    QStringList answers; // taken front first
    QStringList titles;
    QStringList directories;
    QList<QStringList> filters;

private:
    void answerOpenDialog();
    QTimer m_poll;
    QPointer<QFileDialog> m_answered; // each dialog is answered once
};
