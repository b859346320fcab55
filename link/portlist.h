#pragma once

#include <QStringList>

class QComboBox;

// The names of the serial ports present now, in the platform's order.
QStringList availablePortNames();

// Replaces where the port names come from (nullptr: the platform's own
// enumeration again). Lets a test plug in an adapter after start-up.
void setPortEnumerator(QStringList (*enumerate)());

// Ports the pilot named on the command line (a pseudo-terminal, a device
// the enumeration misses). Every rebuild of the list offers them after the
// enumerated ports.
void setExtraPortNames(const QStringList &names);
const QStringList &extraPortNames();

// Puts the ports present now into the selector as plain items; the first
// one becomes current.
void fillPortNames(QComboBox *box);

// Rebuilds the selector from the ports present now and keeps the port the
// pilot had chosen selected when it is still there.
void refreshPortNames(QComboBox *box);
