#include "link/pause.h"

#include <QEventLoop>
#include <QTimer>

void pauseMs(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
