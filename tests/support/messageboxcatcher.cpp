// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/messageboxcatcher.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTest>

namespace {

int catchersAlive = 0;

class UnexpectedBoxes : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = event->type() == QEvent::Show ? qobject_cast<QMessageBox *>(watched) : nullptr;
        if (!box || catchersAlive > 0 || !QTest::currentTestFunction())
            return false;
        const QString what = "Unexpected box \"" + box->windowTitle() + "\": " + box->text();
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
        // Closed once its own loop runs (closed while it shows, that loop
        // would wait for ever); a box gone by then takes the call with it.
        QTimer::singleShot(0, box, [box] { box->done(0); });
        return false;
    }
};

void watchForUnexpectedBoxes()
{
    // Also in tests without widgets: the application may be a core one.
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new UnexpectedBoxes(app));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchForUnexpectedBoxes)

MessageBoxCatcher::MessageBoxCatcher(QObject *parent) : QObject(parent)
{
    ++catchersAlive;
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, &MessageBoxCatcher::closeOpenBox);
    m_poll.start();
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    --catchersAlive;
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
