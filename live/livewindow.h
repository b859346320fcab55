// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "live/livelog.h"

#include <QWidget>

class LiveGraph;
class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

// LIVE: the voltages and the RSSI of the last ten minutes against their
// alarms, the channel outputs below, and the recording. A window of its own
// beside the main one; it only listens, nothing it does is sent.
class LiveWindow : public QWidget
{
    Q_OBJECT
public:
    LiveWindow(LiveLog &log, QWidget *mainWindow);
    ~LiveWindow() override;

    LiveGraph *telemetryGraph() const { return m_telemetry; }
    LiveGraph *channelGraph() const { return m_channels; }

    // Shows the window, where the pilot last left it, and brings it up.
    void open();
    // The tool is about to close: a running recording is kept or dropped
    // as the pilot says. False when the pilot would rather stay.
    bool recordingMayEnd();
    // The connection ended: the lines get a gap, and a running recording
    // ends; the pilot is asked whether to keep it.
    void lineEnded();
    // The tool is told to end (a signal, the session's end): a running
    // recording is written under its name without a question; what cannot
    // be written stays for the next start.
    void finishUnasked();
    // Offers the recording a crash or a kill left, in one box: Keep writes
    // it under the name it was to have, or the next free one.
    static void offerLeftRecording(const QString &journal);

    // How often the shown window moves its lines on.
    static constexpr int kRepaintMs = 500;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void placeBesideMainWindow();
    void bringOnScreen();
    void record();
    void stop();
    void stoppedFull(const QString &reason);
    // Asks whether to keep a recording that ends without the pilot's Stop.
    void askToKeep(LiveLog::Finished finished, const QString &why);
    // Writes it; on failure says why and offers another file until it is
    // written or the pilot drops it.
    void keep(LiveLog::Finished finished, const QString &howItEnded);
    void tick();
    void showRecordingState();
    // The line beside Record… and Stop, cut in its middle (mostly the
    // folder) where the window is too narrow; whole in its tooltip.
    void say(const QString &text);
    void fitSaid();

    LiveLog &m_log;
    LiveGraph *m_telemetry;
    LiveGraph *m_channels;
    QCheckBox *m_channelSwitch[8];
    QPushButton *m_record;
    QPushButton *m_stop;
    QLabel *m_recordingText;
    QString m_said;
    bool m_saysRecording = false; // the line shows a running recording
    QTimer *m_repaint;
    bool m_placed = false;
};

// Where a window of `frame` (with its title bar and borders) goes so that
// it lies wholly on `screen`: no larger than the screen, but not below
// `minimum`, and moved onto it, over whatever stands there.
QRect liveFitOnScreen(QRect frame, QSize minimum, const QRect &screen);

// "12:05" for 725,000 ms; hours are added when there are any.
QString liveDurationText(qint64 ms);
