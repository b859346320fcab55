#include "support/messageboxcatcher.h"

#include <QApplication>
#include <QMessageBox>

MessageBoxCatcher::MessageBoxCatcher(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, &MessageBoxCatcher::closeOpenBox);
    m_poll.start();
}

void MessageBoxCatcher::closeOpenBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return;
    titles << box->windowTitle();
    texts << box->text();
    if (respond)
        respond(box);
    else
        box->done(0);
}
