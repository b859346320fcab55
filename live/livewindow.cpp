// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live/livewindow.h"

#include "files/filewriter.h"
#include "files/savefolder.h"
#include "live/livegraph.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kGeometryKey = QStringLiteral("live/geometry");

// The whole window's look in one sheet, the switches each in its line's
// colour.
QString windowStyle()
{
    QString sheet =
        QStringLiteral("LiveWindow { background-color: rgb(40, 40, 40); }"
                       "QLabel, QCheckBox { color: white; font: bold 14px; }"
                       "QPushButton { background-color: rgba(100, 100, 100, 100); color: white;"
                       " font: bold 16px; border-radius: 10px; padding: 6px 14px; }"
                       "QPushButton:hover { background-color: rgba(100, 255, 100, 100); }"
                       "QPushButton:disabled { color: gray; }");
    for (int ch = 0; ch < 8; ++ch) {
        sheet += QStringLiteral("QCheckBox#liveCH%1 { color: %2; }")
                     .arg(ch + 1)
                     .arg(liveColour(kLiveCh1 + ch).name());
    }
    return sheet;
}

QString defaultRecordingName()
{
    return QStringLiteral("live-%1.csv")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm")));
}

QString framesText(int frames)
{
    return QStringLiteral("%L1 frames").arg(frames);
}

} // namespace

QRect liveFitOnScreen(QRect frame, QSize minimum, const QRect &screen)
{
    frame.setSize(frame.size().boundedTo(screen.size()).expandedTo(minimum));
    // Where it cannot fit, its top left stays on the screen: the title bar
    // to move it by and the "now" end in reach.
    frame.moveLeft(
        std::max(screen.left(), std::min(frame.left(), screen.right() + 1 - frame.width())));
    frame.moveTop(
        std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - frame.height())));
    return frame;
}

QString liveDurationText(qint64 ms)
{
    const qint64 s = ms / 1000;
    const QString mmss = QStringLiteral("%1:%2")
                             .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
                             .arg(s % 60, 2, 10, QLatin1Char('0'));
    return s >= 3600 ? QStringLiteral("%1:%2").arg(s / 3600).arg(mmss) : mmss;
}

LiveWindow::LiveWindow(LiveLog &log, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Window), m_log(log)
{
    setObjectName(QStringLiteral("liveWindow"));
    setWindowTitle(QStringLiteral("LIVE"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(windowStyle());
    m_telemetry = new LiveGraph(log, LiveGraph::Telemetry, this);
    m_channels = new LiveGraph(log, LiveGraph::Channels, this);

    auto *switches = new QHBoxLayout;
    switches->addWidget(new QLabel(QStringLiteral("Channels:"), this));
    for (int ch = 0; ch < 8; ++ch) {
        auto *box = new QCheckBox(QStringLiteral("CH%1").arg(ch + 1), this);
        box->setObjectName(QStringLiteral("liveCH%1").arg(ch + 1));
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, [this, ch](bool on) {
            const unsigned bit = 1u << ch;
            const unsigned mask = m_channels->channelsShown();
            m_channels->setChannelsShown(on ? mask | bit : mask & ~bit);
        });
        m_channelSwitch[ch] = box;
        switches->addWidget(box);
    }
    switches->addStretch();

    m_record = new QPushButton(QStringLiteral("Record…"), this);
    m_record->setObjectName(QStringLiteral("liveRecord"));
    m_record->setToolTip(QStringLiteral("Keep every channel and telemetry frame from now on "
                                        "in a CSV file"));
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setObjectName(QStringLiteral("liveStop"));
    m_recordingText = new QLabel(this);
    m_recordingText->setObjectName(QStringLiteral("liveRecordingText"));
    m_recordingText->setTextFormat(Qt::PlainText);
    m_recordingText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path must not widen the window: the line is cut at its edge.
    m_recordingText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_recordingText->installEventFilter(this);
    auto *recording = new QHBoxLayout;
    recording->addWidget(m_record);
    recording->addWidget(m_stop);
    recording->addWidget(m_recordingText, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_telemetry, 3);
    layout->addWidget(m_channels, 2);
    layout->addLayout(switches);
    layout->addLayout(recording);

    connect(m_record, &QPushButton::clicked, this, &LiveWindow::record);
    connect(m_stop, &QPushButton::clicked, this, &LiveWindow::stop);
    // The recording fills up inside the receive path: the pilot hears of it
    // once that has returned.
    connect(&m_log, &LiveLog::recordingFull, this, &LiveWindow::stoppedFull, Qt::QueuedConnection);
    connect(&m_log, &LiveLog::recordingChanged, this, &LiveWindow::showRecordingState);

    m_repaint = new QTimer(this);
    m_repaint->setInterval(kRepaintMs);
    connect(m_repaint, &QTimer::timeout, this, &LiveWindow::tick);
    resize(960, 620);
    showRecordingState();
}

LiveWindow::~LiveWindow()
{
    if (m_placed)
        QSettings().setValue(kGeometryKey, saveGeometry());
}

void LiveWindow::open()
{
    if (!m_placed) {
        m_placed = true;
        if (restoreGeometry(QSettings().value(kGeometryKey).toByteArray()))
            bringOnScreen();
        else
            placeBesideMainWindow();
    } else {
        // Moved off the screen before it was closed, or the screens changed
        // since: every opening shows it whole.
        bringOnScreen();
    }
    show();
    raise();
    activateWindow();
}

namespace {

// The window manager's frame around a window, as it frames the main one;
// LIVE is not shown yet and knows its own only then.
QMargins frameOf(const QWidget *window)
{
    const QRect inner = window->geometry(), outer = window->frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

} // namespace

void LiveWindow::placeBesideMainWindow()
{
    // Beside the main window, narrower if that lets both be seen whole;
    // where there is no room beside it, over its right part. Always whole
    // on the screen.
    constexpr int kNarrowest = 600;
    const QWidget *main = parentWidget();
    const QRect screen = main->screen()->availableGeometry();
    const QMargins frame = frameOf(main);
    const QSize minimum = minimumSizeHint().expandedTo(minimumSize()).grownBy(frame);
    QRect at(QPoint(main->frameGeometry().right() + 8, main->frameGeometry().top()),
             size().expandedTo(minimumSizeHint()).grownBy(frame));
    const int room = screen.right() + 1 - at.left();
    if (room >= std::max(kNarrowest, minimum.width()))
        at.setWidth(std::min(at.width(), room));
    at = liveFitOnScreen(at, minimum, screen);
    resize(at.size().shrunkBy(frame));
    move(at.topLeft());
}

void LiveWindow::bringOnScreen()
{
    // A place remembered on a screen that is gone or has shrunk (a laptop
    // off its monitor, a larger scale) is brought back onto one.
    const QWidget *main = parentWidget();
    const QMargins frame = frameOf(main);
    QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = main->screen();
    const QRect at = liveFitOnScreen(geometry().marginsAdded(frame),
                                     minimumSizeHint().expandedTo(minimumSize()).grownBy(frame),
                                     screen->availableGeometry());
    resize(at.size().shrunkBy(frame));
    move(at.topLeft());
}

void LiveWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_repaint->start();
}

void LiveWindow::hideEvent(QHideEvent *event)
{
    // Hidden, the window costs nothing: the ring goes on filling, no paint.
    m_repaint->stop();
    QSettings().setValue(kGeometryKey, saveGeometry());
    QWidget::hideEvent(event);
}

void LiveWindow::tick()
{
    m_telemetry->update();
    m_channels->update();
    if (m_log.isRecording())
        showRecordingState();
}

void LiveWindow::say(const QString &text)
{
    m_said = text;
    m_saysRecording = false;
    m_recordingText->setToolTip(text); // whole, where the line is cut
    fitSaid();
}

void LiveWindow::fitSaid()
{
    const int room = m_recordingText->contentsRect().width();
    m_recordingText->setText(
        room > 0 ? m_recordingText->fontMetrics().elidedText(m_said, Qt::ElideMiddle, room)
                 : m_said);
}

bool LiveWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_recordingText && event->type() == QEvent::Resize)
        fitSaid();
    return QWidget::eventFilter(watched, event);
}

void LiveWindow::showRecordingState()
{
    const bool on = m_log.isRecording();
    m_record->setEnabled(!on);
    m_stop->setEnabled(on);
    if (on) {
        say(QStringLiteral("● Recording to %1 — %2, %3")
                .arg(QFileInfo(m_log.recordingPath()).fileName(),
                     liveDurationText(m_log.recordingMs()), framesText(m_log.recordingFrames())));
        m_saysRecording = true;
    } else if (m_saysRecording) {
        // Ended: whoever ended it says how; the line no longer says it runs.
        say(QStringLiteral("Recording ended"));
    }
}

void LiveWindow::record()
{
    if (m_log.isRecording())
        return;
    // Dialogs and boxes stand apart from LIVE, as the tool's others do, and
    // do not take on its dark look.
    QFileDialog dialog(nullptr, QStringLiteral("Record"), lastSaveFolder(),
                       QStringLiteral("CSV (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(defaultRecordingName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    const QString reason = m_log.startRecording(path);
    if (!reason.isEmpty()) {
        say(QStringLiteral("Not recording: %1").arg(reason));
        QMessageBox::critical(
            nullptr, QStringLiteral("ERROR"),
            QStringLiteral("Cannot record to\n%1\n%2").arg(QDir::toNativeSeparators(path), reason));
    }
}

void LiveWindow::stop()
{
    if (m_log.isRecording())
        keep(m_log.finishRecording(), QStringLiteral("Stopped"));
}

void LiveWindow::stoppedFull(const QString &reason)
{
    if (!m_log.isRecording())
        return;
    LiveLog::Finished finished = m_log.finishRecording();
    open(); // the pilot learns of it also with LIVE closed
    // What the journal holds stays whole; it is offered like one left by a
    // crash, and stays for the next start if the target is full too.
    askToKeep(std::move(finished),
              QStringLiteral("The disk is full (%1): the recording stopped").arg(reason));
}

void LiveWindow::finishUnasked()
{
    if (!m_log.isRecording())
        return;
    const LiveLog::Finished finished = m_log.finishRecording();
    const QString reason = writeRecording(finished);
    // Nothing can be asked: what could not be written stays in the journal,
    // and the next start offers it.
    if (reason.isEmpty())
        say(QStringLiteral("Stopped: saved %1").arg(QDir::toNativeSeparators(finished.path)));
}

void LiveWindow::lineEnded()
{
    m_log.lineEnded();
    if (!m_log.isRecording())
        return;
    // Nothing more can come: the recording ends with the line, and the
    // question waits until the close has run its course.
    LiveLog::Finished finished = m_log.finishRecording();
    QTimer::singleShot(
        0, this, [this, finished] { askToKeep(finished, QStringLiteral("The port was closed")); });
}

bool LiveWindow::recordingMayEnd()
{
    if (!m_log.isRecording())
        return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Note"),
                    QStringLiteral("LIVE is recording to\n%1\n(%2, %3).\n"
                                   "Keep the recording?")
                        .arg(QDir::toNativeSeparators(m_log.recordingPath()),
                             liveDurationText(m_log.recordingMs()),
                             framesText(m_log.recordingFrames())),
                    QMessageBox::NoButton, nullptr);
    QPushButton *keepIt = box.addButton(QStringLiteral("Keep"), QMessageBox::AcceptRole);
    QPushButton *drop = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    QPushButton *stay = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(keepIt);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == stay)
        return false;
    if (!m_log.isRecording()) // it ended on its own while the pilot read the box
        return true;
    const LiveLog::Finished finished = m_log.finishRecording();
    if (box.clickedButton() != drop)
        keep(finished, QStringLiteral("Stopped"));
    else
        dropRecording(finished);
    return true;
}

void LiveWindow::askToKeep(LiveLog::Finished finished, const QString &why)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Note"),
                    QStringLiteral("%1 while LIVE was recording to\n%2\n(%3, %4).\n"
                                   "Keep the recording?")
                        .arg(why, QDir::toNativeSeparators(finished.path),
                             liveDurationText(finished.ms), framesText(finished.frames)),
                    QMessageBox::NoButton, nullptr);
    QPushButton *keepIt = box.addButton(QStringLiteral("Keep"), QMessageBox::AcceptRole);
    QPushButton *drop = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(keepIt);
    box.setEscapeButton(keepIt);
    say(QStringLiteral("%1: recording ended (%2, %3), not saved yet")
            .arg(why, liveDurationText(finished.ms), framesText(finished.frames)));
    box.exec();
    if (box.clickedButton() == drop) {
        dropRecording(finished);
        say(QStringLiteral("Recording discarded"));
        return;
    }
    keep(std::move(finished), why);
}

void LiveWindow::keep(LiveLog::Finished finished, const QString &howItEnded)
{
    for (;;) {
        // A file that took the name since Record… is another's (a second
        // instance recording in the same minute): it is never replaced
        // here; the pilot may pick its name again below and is asked.
        const QString reason = writeRecording(finished);
        if (reason.isEmpty()) {
            say(QStringLiteral("%1: saved %2 — %3, %4")
                    .arg(howItEnded, QDir::toNativeSeparators(finished.path),
                         liveDurationText(finished.ms), framesText(finished.frames)));
            return;
        }
        say(QStringLiteral("%1: not saved: %2").arg(howItEnded, reason));
        QMessageBox box(QMessageBox::Critical, QStringLiteral("ERROR"),
                        QStringLiteral("The recording could not be written to\n%1\n%2\n"
                                       "Nothing was written there.")
                            .arg(QDir::toNativeSeparators(finished.path), reason),
                        QMessageBox::NoButton, nullptr);
        QPushButton *elsewhere =
            box.addButton(QStringLiteral("Save elsewhere…"), QMessageBox::AcceptRole);
        QPushButton *drop = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
        box.setDefaultButton(elsewhere);
        box.setEscapeButton(elsewhere);
        box.exec();
        // No answer: the tool is ending, and every further box would close
        // at once. The journal stays for the next start.
        if (!box.clickedButton())
            return;
        if (box.clickedButton() == drop) {
            dropRecording(finished);
            say(QStringLiteral("%1: not saved (%2), discarded").arg(howItEnded, reason));
            return;
        }
        const QString path = QFileDialog::getSaveFileName(
            nullptr, QStringLiteral("Record"), finished.path, QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty()) {
            finished.path = path;
            // A kill from here on offers the recording under the name the
            // pilot chose last, and knows it once that file holds it.
            writeWholeFile(finished.journal + QStringLiteral(".target"), path.toUtf8());
            // The dialog asked before it let the pilot pick a taken name.
            finished.agreed = liveFileStamp(path);
        }
    }
}

void LiveWindow::offerLeftRecording(const QString &journal)
{
    const LeftRecording left = leftRecordingAt(journal);
    // Ended before its first frame, or already under its name: nothing to keep.
    if (left.summary.frames == 0 || !leftRecordingNamed(left).isEmpty()) {
        QFile::remove(left.journal);
        QFile::remove(left.journal + QStringLiteral(".target"));
        return;
    }
    const QString target = left.target.isEmpty() ? QStringLiteral("(a file without a name)")
                                                 : QDir::toNativeSeparators(left.target);
    const QString started = left.summary.valid
                                ? QLocale().toString(left.summary.startedAt, QLocale::ShortFormat)
                                : QStringLiteral("an unknown time");
    QMessageBox box(QMessageBox::Question, QStringLiteral("Note"),
                    QStringLiteral("LIVE was recording to\n%1\nwhen the tool stopped: started "
                                   "%2, %3, %4.\nKeep the recording?")
                        .arg(target, started, liveDurationText(left.summary.lastMs),
                             framesText(left.summary.frames)),
                    QMessageBox::NoButton, nullptr);
    QPushButton *keepIt = box.addButton(QStringLiteral("Keep"), QMessageBox::AcceptRole);
    QPushButton *drop = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(keepIt);
    box.setEscapeButton(keepIt);
    box.exec();
    if (box.clickedButton() == drop) {
        QFile::remove(left.journal);
        QFile::remove(left.journal + QStringLiteral(".target"));
        return;
    }
    QString reason;
    const QString written = keepLeftRecording(left, &reason);
    if (written.isEmpty()) {
        // The journal stays: the next start offers it again.
        QMessageBox::critical(nullptr, QStringLiteral("ERROR"),
                              QStringLiteral("The recording could not be written to\n%1\n%2\n"
                                             "It is offered again at the next start.")
                                  .arg(target, reason));
    }
}
