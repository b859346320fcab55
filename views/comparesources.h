// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QObject>

#include <optional>

class CompareDialog;
class LinkActivity;

// What COMPARE offers to set beside the editor: the transmitter's last
// complete READ on the connection that is up, a parameter file, a history
// entry. It keeps that READ itself, told of each complete one; the window
// only opens the dialog.
class CompareSources : public QObject
{
    Q_OBJECT

public:
    CompareSources(const LinkActivity &link, QObject *parent = nullptr);

    // The settings as the last complete READ on the connection that is up
    // brought them; nothing before such a READ, or once that connection
    // has ended.
    std::optional<ParameterSet> lastCompleteRead() const;

    // Puts the sources into `dialog` and, when there is one, compares
    // with the transmitter's READ at once.
    // The transmitter's READ in it follows each new complete READ.
    void offerTo(CompareDialog *dialog);

public slots:
    // A READ brought every setting frame: `settings` is what the
    // transmitter holds.
    void readComplete(const ParameterSet &settings);

    // The history has new entries.
    void historyChanged() { emit historyWritten(); }

signals:
    void lastReadChanged();
    void historyWritten();

private:
    const LinkActivity &link;
    std::optional<ParameterSet> read;
    quint64 readConnection = 0;
};
