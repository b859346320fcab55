// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/comparesources.h"

#include "files/paramfileread.h"
#include "history/history.h"
#include "link/linkactivity.h"
#include "views/comparedialog.h"
#include "views/statustexts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

namespace {

const QString kTransmitter = QStringLiteral("Transmitter (last READ)");

// The pilot picks a file the way LOAD lets them; it is read as LOAD reads
// it, but goes nowhere else.
std::optional<CompareSource> pickFile(QWidget *parent)
{
    const QString name =
        QFileDialog::getOpenFileName(parent, QStringLiteral("Open file"), QStringLiteral("./"),
                                     QStringLiteral("All file (*.*);;file (*.txt *.dat)"));
    if (name.isEmpty())
        return std::nullopt;
    const ParameterFileRead read = readParameterFileAt(name, kStartParameters);
    const QString shown = QFileInfo(name).fileName();
    return CompareSource{shown, read.settings, parameterFileTrouble(shown, read)};
}

} // namespace

CompareSources::CompareSources(const LinkActivity &link, QObject *parent)
    : QObject(parent), link(link)
{
}

void CompareSources::readComplete(const ParameterSet &settings)
{
    if (link.connection() == 0)
        return;
    read = settings;
    readConnection = link.connection();
    emit lastReadChanged();
}

std::optional<ParameterSet> CompareSources::lastCompleteRead() const
{
    // Every open starts a new connection: a READ from an earlier one may
    // no longer be what the transmitter holds, or not even the same one.
    if (link.connection() != readConnection)
        return std::nullopt;
    return read;
}

void CompareSources::offerTo(CompareDialog *dialog)
{
    QPushButton *fromRead =
        dialog->addSource(kTransmitter, [this]() -> std::optional<CompareSource> {
            const std::optional<ParameterSet> now = lastCompleteRead();
            if (!now)
                return std::nullopt;
            return CompareSource{kTransmitter, *now, QString()};
        });
    // A check run from the open dialog is a complete READ too.
    const auto follow = [this, fromRead] {
        const bool have = lastCompleteRead().has_value();
        fromRead->setEnabled(have);
        fromRead->setToolTip(
            have ? QString()
                 : QStringLiteral("Available after a complete READ on this connection"));
    };
    follow();
    connect(this, &CompareSources::lastReadChanged, fromRead, follow);
    const std::optional<ParameterSet> last = lastCompleteRead();
    dialog->addSource(QStringLiteral("File…"), [dialog] { return pickFile(dialog); });
    QPushButton *fromHistory = dialog->addSource(QStringLiteral("History entry…"),
                                                 [dialog] { return pickHistoryEntry(dialog); });
    const auto followHistory = [fromHistory] {
        fromHistory->setEnabled(!listHistory(historyFolder()).empty());
    };
    followHistory();
    // A READ made while the dialog is open (a check) leaves an entry too.
    connect(this, &CompareSources::historyWritten, fromHistory, followHistory);

    if (last)
        dialog->compareWith({kTransmitter, *last, QString()});
}
