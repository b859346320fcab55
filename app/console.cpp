// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/console.h"

#include <QByteArray>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

void writeText(std::FILE *stream, const QString &text)
{
    if (text.isEmpty())
        return;
#ifdef Q_OS_WIN
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        // A console takes UTF-16; it writes at most so much at a time.
        const auto *chars = reinterpret_cast<const wchar_t *>(text.utf16());
        qsizetype left = text.size();
        while (left > 0) {
            DWORD written = 0;
            const DWORD chunk = DWORD(qMin<qsizetype>(left, 8192));
            if (!WriteConsoleW(handle, chars, chunk, &written, nullptr) || written == 0)
                break;
            chars += written;
            left -= qsizetype(written);
        }
        return;
    }
    const QByteArray bytes = text.toUtf8();
#else
    const QByteArray bytes = text.toLocal8Bit();
#endif
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}
