// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// CHECK in the window: Ctrl+Shift+R and COMPARE's "Transmitter (read now)"
// start it; its "RR" goes out as READ's does; its progress and its result
// show on the status line and in COMPARE. The editor is never touched.
#include "app/mainwindow.h"

#include "check/transmittercheck.h"
#include "settings/catalogue.h"
#include "ui/mainform.h"
#include "views/comparedialog.h"
#include "views/statusline.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kReadNow = QStringLiteral("Transmitter (read now)");

CompareSource checkSource(const CheckResult &result)
{
    return {kReadNow, result.held, checkCompareTrouble(result)};
}

// Nothing to compare yet: the dialog says why, or how far the check is.
CompareSource checkNote(const QString &text)
{
    return {kReadNow, ParameterSet{}, text};
}

} // namespace

void MainWindow::setUpCheck()
{
    check = new TransmitterCheck(link, paramSet, this);
    connect(status, &StatusLine::readJudged, check, &TransmitterCheck::readJudged);
    connect(check, &TransmitterCheck::progressed, this, [this](int frames) {
        status->checkProgressed(checkProgressText(frames), frames);
        if (checkShownIn)
            checkShownIn->compareWith(checkNote(checkProgressText(frames)));
    });
    connect(check, &TransmitterCheck::ended, this, &MainWindow::showCheckResult);
    // The window is the context: once it lets go of the port at its end,
    // a close no longer reaches the check.
    connect(&serialPort, &QSerialPort::aboutToClose, this, [this] { check->portClosed(); });

    checkKey = new QAction(this);
    checkKey->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    checkKey->setShortcutContext(Qt::WindowShortcut);
    addAction(checkKey);
    connect(checkKey, &QAction::triggered, this, [this] { startCheck(nullptr); });
}

void MainWindow::offerCheck(CompareDialog *dialog)
{
    if (link.connection() == 0)
        return;
    QPushButton *readNow =
        dialog->addSource(kReadNow, [this, dialog]() -> std::optional<CompareSource> {
            // The pressed button's lock, as READ's: a nervous double click
            // starts one check.
            if (auto *button = dialog->findChild<QPushButton *>(QStringLiteral("compareReadNow"))) {
                button->setEnabled(false);
                QTimer::singleShot(200, button, [button] { button->setEnabled(true); });
            }
            startCheck(dialog);
            return std::nullopt; // the result follows when the check ends
        });
    readNow->setObjectName(QStringLiteral("compareReadNow"));
    // A source the pilot picks while the check runs stays: the status line
    // still gives the verdict.
    connect(dialog, &CompareDialog::sourcePicked, this, [this, dialog] {
        if (checkShownIn == dialog)
            checkShownIn = nullptr;
    });
    readNow->setToolTip(QStringLiteral("Read the transmitter now and compare, without changing "
                                       "the editor (Ctrl+Shift+R)"));
}

void MainWindow::showCheckIn(CompareDialog *dialog)
{
    if (check->isRunning())
        startCheck(dialog); // follows the check under way
    else if (const std::optional<CheckResult> unseen = check->takeUnseen())
        dialog->compareWith(checkSource(*unseen),
                            QStringLiteral("The transmitter holds exactly what the editor shows"));
}

void MainWindow::startCheck(CompareDialog *from)
{
    // A dialog opened while a check runs follows it.
    if (check->isRunning()) {
        if (from) {
            checkShownIn = from;
            checkOpensCompare = false;
            from->compareWith(checkNote(checkProgressText(check->framesArrived())));
        }
        return;
    }
    const QString closed = QStringLiteral("Please open the serial port!");
    if (ui->openButton->text() == QLatin1String("OPEN")) {
        if (from)
            from->compareWith(checkNote(closed));
        else
            QMessageBox::about(nullptr, QStringLiteral("Note"), closed);
        return;
    }
    checkShownIn = from;
    checkOpensCompare = !from;
    switch (check->start()) {
    case TransmitterCheck::Start::Started:
        sendToTransmitter("RR", CommandStep::ReadRequest);
        return;
    case TransmitterCheck::Start::AlreadyRunning:
        return;
    case TransmitterCheck::Start::Busy:
    case TransmitterCheck::Start::NotConnected:
        break;
    }
    // The frames of a command still running belong to it.
    const QString busy = checkRefusedText();
    checkShownIn = nullptr;
    checkOpensCompare = false;
    if (from)
        from->compareWith(checkNote(busy));
    else
        status->checkEnded(busy);
}

void MainWindow::showCheckResult(const CheckResult &result)
{
    const int differences =
        result.end == CheckEnd::Complete ? int(compareSettings(paramSet, result.held).size()) : 0;
    status->checkEnded(checkOutcomeText(result, differences),
                       result.end == CheckEnd::Complete ? &paramSet : nullptr);
    CompareDialog *dialog = checkShownIn;
    checkShownIn = nullptr;
    // Started by its key, the check opens COMPARE with what it found; the
    // command that cut it short has the pilot's attention instead.
    // Another dialog open (HISTORY, MODELS) has the pilot's attention: no
    // dialog goes on top of it; the next COMPARE shows the result.
    if (!dialog && checkOpensCompare && !leaving && result.end != CheckEnd::Interrupted) {
        if (QApplication::activeModalWidget())
            check->keepUnseen(result);
        else
            dialog = openCompare();
    }
    checkOpensCompare = false;
    if (dialog)
        dialog->compareWith(checkSource(result),
                            QStringLiteral("The transmitter holds exactly what the editor shows"));
}
