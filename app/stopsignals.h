// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

// The system asks the tool to end without the pilot: SIGTERM, SIGINT or
// SIGHUP on Linux, the desktop session ending everywhere. Nobody is there
// to answer a question; the tool finishes what it can and ends. The
// system's own handling lives here and nowhere else.
class StopRequests : public QObject
{
    Q_OBJECT
public:
    explicit StopRequests(QObject *parent = nullptr);
    ~StopRequests() override;

signals:
    // Once, at the first request.
    void stopRequested();

private:
    void heard();
    bool m_told = false;
};
