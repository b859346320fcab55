#include "app/startup.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

void ignoreFileSizeSignal()
{
#if defined(Q_OS_UNIX) && defined(SIGXFSZ)
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}
