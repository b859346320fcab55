// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/filedialoganswerer.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>

FileDialogAnswerer::FileDialogAnswerer(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, &FileDialogAnswerer::answerOpenDialog);
    m_poll.start();
}

void FileDialogAnswerer::answerOpenDialog()
{
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog == m_answered)
        return;
    m_answered = dialog;
    titles << dialog->windowTitle();
    directories << dialog->directory().absolutePath();
    filters << dialog->nameFilters();
    const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
    if (answer.isEmpty()) {
        dialog->reject();
        return;
    }
    // The test decides about replacing files itself.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    // Typed into the name field like a pilot would, so a path into a folder
    // that does not exist reaches the tool as it was typed.
    if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->setText(answer);
    else
        dialog->selectFile(answer);
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog checks the name as on OK
}
