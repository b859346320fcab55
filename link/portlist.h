// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/portchoice.h"

#include <QStringList>

class QComboBox;

// The serial ports present now, in the platform's order, with what the
// system reports of each.
QList<PortDetails> availablePorts();

// A cheap fingerprint of the serial devices present: it changes when a
// port appears or goes. Asking the system for the ports with their details
// takes milliseconds; this is what the poll looks at every second.
QStringList portSignature();

// Replaces where the port names come from (nullptr: the platform's own
// enumeration again). Lets a test plug in an adapter after start-up.
void setPortEnumerator(QStringList (*enumerate)());

// Ports the pilot named on the command line (a pseudo-terminal, a device
// the enumeration misses). Every rebuild of the list offers them after the
// enumerated ports.
void setExtraPortNames(const QStringList &names);
const QStringList &extraPortNames();

// Puts the ports present now into the selector; the first one becomes
// current.
void fillPortNames(QComboBox *box);

// Rebuilds the selector from the ports present now by the rules of the
// port list (link/portchoice.h), unless nothing changed. Returns the
// message for the status line, if any.
QString updatePortNames(QComboBox *box, PortListOccasion occasion,
                        const QString &preferred = QString());

// The port of the last successful OPEN, kept between runs.
QString rememberedPort();
void rememberPort(const QString &name);
