// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/portchoice.h"

namespace {

QString usbId(const PortDetails &port)
{
    if (port.vendorId == 0 && port.productId == 0)
        return QString();
    return QStringLiteral("%1:%2")
        .arg(port.vendorId, 4, 16, QLatin1Char('0'))
        .arg(port.productId, 4, 16, QLatin1Char('0'));
}

QString newPortMessage(const QList<PortDetails> &present, const QString &name)
{
    const PortDetails *port = findPort(present, name);
    if (!port || port->description.isEmpty())
        return QStringLiteral("New port: ") + name;
    return QStringLiteral("New port: %1 (%2)").arg(name, port->description);
}

} // namespace

const PortDetails *findPort(const QList<PortDetails> &ports, const QString &name)
{
    for (const PortDetails &port : ports) {
        if (port.name == name)
            return &port;
    }
    return nullptr;
}

QString portEntryText(const PortDetails &port)
{
    QStringList about;
    // Drivers often report the maker's name as the description as well.
    for (const QString &part : {port.description, port.manufacturer, usbId(port)}) {
        if (!part.isEmpty() && !about.contains(part))
            about << part;
    }
    if (about.isEmpty())
        return port.name;
    return port.name + QStringLiteral(" — ") + about.join(QStringLiteral(" · "));
}

QString portNameGiven(const QString &name)
{
#ifdef Q_OS_WIN
    const QString device = QStringLiteral("\\\\.\\");
    QString port = name;
    if (port.startsWith(device) && port.size() > device.size())
        port = port.mid(device.size());
    // Windows names a port without regard to case: "com12" is the listed
    // COM12, and listed once.
    bool number = port.size() > 3 && port.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive);
    for (int i = 3; number && i < port.size(); ++i)
        number = port.at(i).isDigit();
    return number ? port.toUpper() : port;
#else
    return name;
#endif
}

PortListChoice choosePortList(PortListOccasion occasion, const QStringList &shown,
                              const QString &shownCurrent, const QList<PortDetails> &present,
                              const QStringList &extra, const QString &preferred, bool dropDownOpen)
{
    if (dropDownOpen)
        return {shown, shownCurrent, QString()};
    PortListChoice choice;
    for (const PortDetails &port : present)
        choice.names << port.name;
    for (const QString &name : extra) {
        if (!choice.names.contains(name))
            choice.names << name;
    }
    const auto listed = [&](const QString &name) {
        return !name.isEmpty() && choice.names.contains(name);
    };
    QString current;
    switch (occasion) {
    case PortListOccasion::StartUp:
    case PortListOccasion::Closed:
        current = preferred;
        break;
    case PortListOccasion::Popup:
        current = shownCurrent;
        break;
    case PortListOccasion::Poll:
        // An adapter plugged in while the tool runs is the one the pilot
        // is about to use.
        for (const QString &name : choice.names) {
            if (!shown.contains(name)) {
                current = name;
                choice.message = newPortMessage(present, name);
                break;
            }
        }
        if (current.isEmpty())
            current = shownCurrent;
        break;
    }
    choice.current = listed(current) ? current : choice.names.value(0);
    return choice;
}
