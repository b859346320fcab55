// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// LIVE hung onto the window: it hears the frames the receive path decodes
// and the end of the connection; the four header readouts and Ctrl+L open
// it. The readouts keep their place, size and look.
#include "app/mainwindow.h"

#include "live/livelog.h"
#include "live/livewindow.h"
#include "ui/mainform.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

// A click on a readout opens LIVE; the readout itself goes on as before.
class OpensLive : public QObject
{
public:
    OpensLive(LiveWindow *live, QObject *parent) : QObject(parent), m_live(live) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_live->open();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    LiveWindow *m_live;
};

} // namespace

void MainWindow::setUpLive()
{
    auto *log = new LiveLog(this);
    live = new LiveWindow(*log, this);
    connect(this, &MainWindow::liveFrameDecoded, log, &LiveLog::frameDecoded);
    connect(this, &MainWindow::connectionClosed, live, &LiveWindow::lineEnded);

    const QKeySequence key(Qt::CTRL | Qt::Key_L);
    auto *opener = new OpensLive(live, this);
    for (QLineEdit *readout :
         {ui->lineEdit_TX, ui->lineEdit_RX, ui->lineEdit_EXT, ui->lineEdit_RSSI}) {
        readout->installEventFilter(opener);
        readout->setCursor(Qt::PointingHandCursor);
        readout->setToolTip(
            QStringLiteral("Click to see TX, RX, EXT and RSSI over the last 10 minutes, "
                           "against their alarms, in LIVE (%1)")
                .arg(key.toString(QKeySequence::NativeText)));
    }
    auto *action = new QAction(this);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, live, &LiveWindow::open);
}
