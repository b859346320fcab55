// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// A serial port as the system reports it. Only the name is sure; the rest
// is empty (or the ids 0) where the system knows nothing.
struct PortDetails {
    QString name;
    QString description;
    QString manufacturer;
    quint16 vendorId = 0;
    quint16 productId = 0;
};

// The port of that name among `ports`; nullptr when it is not there.
const PortDetails *findPort(const QList<PortDetails> &ports, const QString &name);

// What the drop-down shows for a port, so that the pilot can tell two
// adapters apart: "ttyUSB0 — USB2.0-Serial · 1a86:7523",
// "COM5 — USB-SERIAL CH340"; the bare name when the system says nothing.
QString portEntryText(const PortDetails &port);

// A port as the pilot names it on the command line, by the name the port
// list gives it: on Windows "\\.\COM12" (the device path, which ports
// above COM9 need elsewhere) is the listed COM12.
QString portNameGiven(const QString &name);

// Why the port list is rebuilt.
enum class PortListOccasion {
    StartUp, // the window opens: the port of the last successful OPEN is preferred
    Closed,  // the pilot closed the port, or the device went: that port is preferred
    Poll,    // the port is closed and the list follows the ports present
    Popup,   // the drop-down is about to open: the pilot is choosing
};

struct PortListChoice {
    QStringList names; // in the platform's order, then the ports named on the command line
    QString current;   // empty only when the list is
    QString message;   // for the status line: a port that appeared while the tool runs
};

// The rules of the port list. `preferred` is the port that was open
// (Closed) or the remembered one (StartUp); `extra` are the ports named on
// the command line, which always stay listed. While the drop-down is open
// the list does not change.
PortListChoice choosePortList(PortListOccasion occasion, const QStringList &shown,
                              const QString &shownCurrent, const QList<PortDetails> &present,
                              const QStringList &extra, const QString &preferred,
                              bool dropDownOpen);
