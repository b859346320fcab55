// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSerialPort>
#include <QString>

// Why an OPEN failed, as far as the tool can tell.
struct OpenFailure {
    QString portName;
    QSerialPort::SerialPortError error;
    QString reason;     // the port's own words
    QString devicePath; // the device node behind the port name
    QString group;      // the group owning the device node; empty if unknown
    bool accessDenied;  // the device node refuses this user reading and writing
};

// Gathers the facts right after `port` failed to open: its error and
// reason, and, on systems with device nodes, who owns the node and whether
// it lets this user in.
OpenFailure examineOpenFailure(const QSerialPort &port);
