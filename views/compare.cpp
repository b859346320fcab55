// COMPARE: the editor's settings beside the transmitter's last READ or a
// parameter file, setting by setting.
#include "app/mainwindow.h"

#include "files/paramfileread.h"
#include "history/history.h"
#include "ui/mainform.h"
#include "views/comparedialog.h"
#include "views/statusline.h"
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

void MainWindow::setUpCompare()
{
    // A READ is judged when its grace period is over; only one that brought
    // every setting frame stands for what the transmitter holds.
    connect(status, &StatusLine::readJudged, this,
            [this](int settingFramesRead, const ParameterSet &asRead) {
                if (settingFramesRead < kSettingFrameKinds || link.connection() == 0)
                    return;
                lastCompleteRead = asRead;
                lastCompleteReadConnection = link.connection();
            });
}

std::optional<ParameterSet> MainWindow::lastCompleteReadSettings() const
{
    // Every open starts a new connection: a READ from an earlier one may
    // no longer be what the transmitter holds, or not even the same one.
    if (!lastCompleteRead || link.connection() != lastCompleteReadConnection)
        return std::nullopt;
    return lastCompleteRead;
}

void MainWindow::on_pushButton_Compare_clicked()
{
    auto *dialog = new CompareDialog(paramSet, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);

    const std::optional<ParameterSet> read = lastCompleteReadSettings();
    QPushButton *fromRead =
        dialog->addSource(kTransmitter, [read]() -> std::optional<CompareSource> {
            return CompareSource{kTransmitter, *read, QString()};
        });
    fromRead->setEnabled(read.has_value());
    if (!read)
        fromRead->setToolTip(QStringLiteral("Available after a complete READ on this connection"));
    dialog->addSource(QStringLiteral("File…"), [dialog] { return pickFile(dialog); });
    QPushButton *fromHistory = dialog->addSource(QStringLiteral("History entry…"),
                                                 [dialog] { return pickHistoryEntry(dialog); });
    fromHistory->setEnabled(!listHistory(historyFolder()).empty());

    if (read)
        dialog->compareWith({kTransmitter, *read, QString()});
    dialog->open();
}
