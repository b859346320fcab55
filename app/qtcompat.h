// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The few places where Qt 5 and Qt 6 differ and nothing both offer serves.
// Everywhere else the tool uses what both versions have; a version check
// belongs here, behind a name that says what the tool wants, not in the
// code that wants it.

// Qt Core only: the codecs, which link nothing else, include it too.
#include <QCoreApplication>
#include <QTextStream>
#include <QtGlobal>

namespace qtcompat {

// On a 150 % or 200 % display the fixed form scales as a whole instead of
// staying small, and icons come from their large pixmaps. Qt 6 always does
// both; Qt 5 must be asked before the application object exists.
inline void scaleForHighDpi()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
}

// Closing the port leaves the line settings as the tool set them: a
// line-settings change right after "DIS" could otherwise send its tail at
// another speed. Qt 6 never restores them; Qt 5 must be told not to.
// (A template, so this header needs no Serial Port headers.)
template <typename SerialPort> void keepLineSettingsOnClose(SerialPort &port)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    port.setSettingsRestoredOnClose(false);
    QT_WARNING_POP
#else
    Q_UNUSED(port)
#endif
}

// `stream` reads and writes UTF-8 (when reading, a byte-order mark still
// says otherwise). Qt 6 names encodings where Qt 5 named codecs.
inline void useUtf8(QTextStream &stream)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    stream.setCodec("UTF-8");
#else
    stream.setEncoding(QStringConverter::Utf8);
#endif
}

} // namespace qtcompat
