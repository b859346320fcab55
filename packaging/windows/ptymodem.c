// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

/* A pseudo-terminal has no modem lines, so it answers the modem-status
 * ioctls with ENOTTY. Wine's serial emulation treats that as a dead line:
 * its wait for serial events (WaitCommEvent, which Qt Serial Port uses to
 * learn that bytes arrived) gives up at once, and a Windows program never
 * hears from a transmitter emulated on a pseudo-terminal.
 *
 * Preloaded into Wine, this answers those ioctls for pseudo-terminals only,
 * as a null-modem cable would: the far end is there (DSR, CTS and DCD on),
 * and setting DTR or RTS succeeds and changes nothing. Every other ioctl,
 * and these ones on any other device, go to the C library unchanged, so the
 * wine server, which is started with the same preload, is not affected.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

/* Unix98 pseudo-terminal slaves: majors 136 to 143. */
static int is_pty_slave(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 &&
           major(st.st_rdev) <= 143;
}

int ioctl(int fd, unsigned long request, ...)
{
    static ioctl_fn real_ioctl;
    va_list ap;
    void *arg;
    int saved_errno;
    int result;

    va_start(ap, request);
    arg = va_arg(ap, void *);
    va_end(ap);
    if (!real_ioctl)
        real_ioctl = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
    result = real_ioctl(fd, request, arg);
    if (result == 0 || (errno != ENOTTY && errno != EINVAL))
        return result;
    switch (request) {
    case TIOCMGET:
    case TIOCMSET:
    case TIOCMBIS:
    case TIOCMBIC:
        saved_errno = errno;
        if (!is_pty_slave(fd)) {
            errno = saved_errno;
            return result;
        }
        if (request == TIOCMGET)
            *(int *)arg = TIOCM_DSR | TIOCM_CTS | TIOCM_CAR | TIOCM_DTR | TIOCM_RTS;
        return 0;
    default:
        return result;
    }
}
