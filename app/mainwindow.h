// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include "link/framedecoder.h"
#include "link/linkactivity.h"
#include "model/parameterset.h"
#include "undo/editorundo.h"
#include "views/livemonitor.h"

#include <optional>
#include <vector>

class MainForm;
class CompareDialog;
class EditorKeep;
class CompareSources;
class ModelLibrary;
class HistoryRecorder;
class LiveWindow;
class StatusLine;
class TransmitterCheck;
struct CheckResult;
class QAbstractButton;
class QAction;
class QCloseEvent;
class QShowEvent;
class QTimer;
class QUndoStack;

// The one window of the tool. It hosts every slot the form binds by name;
// the slots are defined beside the subsystem they belong to (model/,
// link/, files/, views/), and each is thin glue around pure functions.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The form's widget table; tests and tools reach widgets through it
    // or by object name.
    MainForm *form() const { return ui; }

    // Makes the named port the current entry of the port list, if listed.
    void selectPort(const QString &name);

    // Bytes written to the transmitter that the port has not yet handed on.
    qint64 queuedForTransmitter() const { return serialPort.bytesToWrite(); }

    // The connection that is up and the commands running on it, innermost
    // last, each with the step it has reached.
    const LinkActivity &linkActivity() const { return link; }

    // The settings as the last complete READ on the connection that is up
    // brought them; nothing before such a READ, or once that connection
    // has ended (views/comparesources.h).
    std::optional<ParameterSet> lastCompleteReadSettings() const;

    // The pilot's steps on the editor's settings, for UNDO and REDO.
    QUndoStack *editorSteps() const;

    // Puts `after` into the editor as one step the pilot can undo, named
    // `stepName` and the first setting it changes ("Restore 14:02 — CH3
    // REVERSE: NOR -> REV (+5 more)"), and shows it. The stick trims stay
    // as the transmitter last reported them. Nothing is sent: the pilot
    // WRITEs when ready. Used to bring back settings from the history.
    void replaceEditorSettings(const QString &stepName, const ParameterSet &after);

    // The system asks the tool to end (a signal, the session's end): a
    // recording is finished under its name and unwritten edits are kept
    // for the next start, without a question (app/keepwiring.cpp).
    void endUnasked();
    // Offers what instances that no longer run left: unwritten edits
    // first, then recordings (app/keepwiring.cpp).
    void offerWhatWasLeft();

signals:
    // A channel or telemetry frame reached the live record (link/receive.cpp).
    void liveFrameDecoded(Incoming kind, const LiveStatus &live);
    // The connection ended: the pilot's CLOSE, or the device went away
    // (link/port.cpp).
    void connectionClosed();

protected:
    // Asks before leaving while a command is still sending: closing would
    // cut the transfer short. Otherwise asks before leaving settings behind
    // that neither the transmitter nor a file has.
    void closeEvent(QCloseEvent *event) override;
    // The port list follows the adapters only while the window is shown.
    void showEvent(QShowEvent *event) override;

private slots:
    // connection (link/port.cpp)
    void on_openButton_clicked();

    // receiving (link/receive.cpp)
    void serialPort_readyRead();
    int byteArrayToInt(QByteArray b, int a);

    // commands (link/commands.cpp)
    void on_toolButton_Read_clicked();
    void on_toolButton_Send_clicked();
    void on_toolButton_Reset_clicked();
    void on_pushButton_Reset2_clicked();

    // compare the editor with the transmitter or a file (views/compare.cpp)
    void on_pushButton_Compare_clicked();
    // history (views/historyview.cpp)
    void on_pushButton_History_clicked();

    // print the editor's settings as a settings sheet (views/print.cpp)
    void on_pushButton_Print_clicked();

    // files (files/fileactions.cpp)
    void on_toolButton_Save_clicked();
    void on_toolButton_Load_clicked();

    // model operations (model/modelslots.cpp)
    void RestData();
    void RestData2();
    void FalseSaveData();

    // outgoing frames (link/senddata.cpp)
    void SendData1();
    void SendData2();
    void SendData3();
    void SendData4();

    // dual-rate reselection (model/setters.cpp)
    void Dr_DataSelet();

    // plain value setters (model/setters.cpp)
    void on_comboBox_rev1_currentIndexChanged(int index);
    void on_comboBox_rev2_currentIndexChanged(int index);
    void on_comboBox_rev3_currentIndexChanged(int index);
    void on_comboBox_rev4_currentIndexChanged(int index);
    void on_comboBox_rev5_currentIndexChanged(int index);
    void on_comboBox_rev6_currentIndexChanged(int index);
    void on_comboBox_rev7_currentIndexChanged(int index);
    void on_comboBox_rev8_currentIndexChanged(int index);
    void on_spinBox_sub1_valueChanged(int arg1);
    void on_spinBox_sub2_valueChanged(int arg1);
    void on_spinBox_sub3_valueChanged(int arg1);
    void on_spinBox_sub4_valueChanged(int arg1);
    void on_spinBox_sub5_valueChanged(int arg1);
    void on_spinBox_sub6_valueChanged(int arg1);
    void on_spinBox_sub7_valueChanged(int arg1);
    void on_spinBox_sub8_valueChanged(int arg1);
    void on_spinBox_Lepa1_valueChanged(int arg1);
    void on_spinBox_Lepa2_valueChanged(int arg1);
    void on_spinBox_Lepa3_valueChanged(int arg1);
    void on_spinBox_Lepa4_valueChanged(int arg1);
    void on_spinBox_Lepa5_valueChanged(int arg1);
    void on_spinBox_Lepa6_valueChanged(int arg1);
    void on_spinBox_Lepa7_valueChanged(int arg1);
    void on_spinBox_Lepa8_valueChanged(int arg1);
    void on_spinBox_Repa1_valueChanged(int arg1);
    void on_spinBox_Repa2_valueChanged(int arg1);
    void on_spinBox_Repa3_valueChanged(int arg1);
    void on_spinBox_Repa4_valueChanged(int arg1);
    void on_spinBox_Repa5_valueChanged(int arg1);
    void on_spinBox_Repa6_valueChanged(int arg1);
    void on_spinBox_Repa7_valueChanged(int arg1);
    void on_spinBox_Repa8_valueChanged(int arg1);
    void on_spinBox_FS1_valueChanged(int arg1);
    void on_spinBox_FS2_valueChanged(int arg1);
    void on_spinBox_FS3_valueChanged(int arg1);
    void on_spinBox_FS4_valueChanged(int arg1);
    void on_spinBox_FS5_valueChanged(int arg1);
    void on_spinBox_FS6_valueChanged(int arg1);
    void on_spinBox_FS7_valueChanged(int arg1);
    void on_spinBox_FS8_valueChanged(int arg1);
    void on_spinBox_delay1_valueChanged(int arg1);
    void on_spinBox_delay2_valueChanged(int arg1);
    void on_spinBox_delay3_valueChanged(int arg1);
    void on_spinBox_delay4_valueChanged(int arg1);
    void on_spinBox_delay5_valueChanged(int arg1);
    void on_spinBox_delay6_valueChanged(int arg1);
    void on_spinBox_delay7_valueChanged(int arg1);
    void on_spinBox_delay8_valueChanged(int arg1);
    void on_comboBox_AUX5_currentIndexChanged(int index);
    void on_comboBox_AUX6_currentIndexChanged(int index);
    void on_comboBox_AUX7_currentIndexChanged(int index);
    void on_comboBox_AUX8_currentIndexChanged(int index);
    void on_comboBox_AttiM_currentIndexChanged(int index);
    void on_spinBox_Atti1_valueChanged(int arg1);
    void on_spinBox_Atti2_valueChanged(int arg1);
    void on_spinBox_Atti3_valueChanged(int arg1);
    void on_spinBox_Atti4_valueChanged(int arg1);
    void on_spinBox_Atti5_valueChanged(int arg1);
    void on_spinBox_Atti6_valueChanged(int arg1);
    void on_comboBox_EleMix_currentIndexChanged(int index);
    void on_spinBox_Elev01_valueChanged(int arg1);
    void on_spinBox_Elev02_valueChanged(int arg1);
    void on_spinBox_Elev03_valueChanged(int arg1);
    void on_spinBox_Elev04_valueChanged(int arg1);
    void on_spinBox_Elev05_valueChanged(int arg1);
    void on_spinBox_Elev06_valueChanged(int arg1);
    void on_comboBox_RuMix_currentIndexChanged(int index);
    void on_spinBox_Ru1_valueChanged(int arg1);
    void on_spinBox_Ru2_valueChanged(int arg1);
    void on_spinBox_Ru3_valueChanged(int arg1);
    void on_spinBox_Ru4_valueChanged(int arg1);
    void on_comboBox_PRM01_Mix_currentIndexChanged(int index);
    void on_comboBox_PRM02_Mix_currentIndexChanged(int index);
    void on_comboBox_PRM03_Mix_currentIndexChanged(int index);
    void on_comboBox_PRM04_Mix_currentIndexChanged(int index);
    void on_comboBox_PRM01_Master_currentIndexChanged(int index);
    void on_comboBox_PRM02_Master_currentIndexChanged(int index);
    void on_comboBox_PRM03_Master_currentIndexChanged(int index);
    void on_comboBox_PRM04_Master_currentIndexChanged(int index);
    void on_comboBox_PRM01_Slave_currentIndexChanged(int index);
    void on_comboBox_PRM02_Slave_currentIndexChanged(int index);
    void on_comboBox_PRM03_Slave_currentIndexChanged(int index);
    void on_comboBox_PRM04_Slave_currentIndexChanged(int index);
    void on_spinBox_PRM01_Data1_valueChanged(int arg1);
    void on_spinBox_PRM02_Data1_valueChanged(int arg1);
    void on_spinBox_PRM03_Data1_valueChanged(int arg1);
    void on_spinBox_PRM04_Data1_valueChanged(int arg1);
    void on_spinBox_PRM01_Data2_valueChanged(int arg1);
    void on_spinBox_PRM02_Data2_valueChanged(int arg1);
    void on_spinBox_PRM03_Data2_valueChanged(int arg1);
    void on_spinBox_PRM04_Data2_valueChanged(int arg1);
    void on_spinBox_PRM01_Data3_valueChanged(int arg1);
    void on_spinBox_PRM02_Data3_valueChanged(int arg1);
    void on_spinBox_PRM03_Data3_valueChanged(int arg1);
    void on_spinBox_PRM04_Data3_valueChanged(int arg1);
    void on_comboBox_THCURE_MIX_currentIndexChanged(int index);
    void on_spinBox_THCURE_Data01_valueChanged(int arg1);
    void on_spinBox_THCURE_Data02_valueChanged(int arg1);
    void on_spinBox_THCURE_Data03_valueChanged(int arg1);
    void on_spinBox_THCURE_Data04_valueChanged(int arg1);
    void on_spinBox_THCURE_Data05_valueChanged(int arg1);
    void on_spinBox_THCURE_Data06_valueChanged(int arg1);
    void on_spinBox_THCURE_Data07_valueChanged(int arg1);
    void on_comboBox_DR_MIX1_currentIndexChanged(int index);
    void on_comboBox_DR_MIX2_currentIndexChanged(int index);
    void on_comboBox_DR_SW2_currentIndexChanged(int index);
    void on_comboBox_DR_CH2_currentIndexChanged(int index);
    void on_doubleSpinBox_Volt_valueChanged(double arg1);
    void on_doubleSpinBox_rxVolt_valueChanged(double arg1);
    void on_doubleSpinBox_extVolt_valueChanged(double arg1);
    void on_spinBox_Rssi_valueChanged(int arg1);
    void on_spinBox_Mode_valueChanged(int arg1);
    void on_spinBox_Vertion_valueChanged(int arg1);

    // dual-rate setters (model/setters.cpp)
    void on_comboBox_DR_CH1_currentIndexChanged(int index);
    void on_comboBox_DR_POSI_currentIndexChanged(int index);
    void on_spinBox_DR_UP1_valueChanged(int arg1);
    void on_spinBox_DR_DOWN1_valueChanged(int arg1);
    void on_spinBox_DR_RATE_valueChanged(int arg1);
    void on_spinBox_DR_EXP_valueChanged(int arg1);

    // trim-step setters, mapped by stick mode (model/setters.cpp)
    void on_spinBox_step1_valueChanged(int arg1);
    void on_spinBox_step2_valueChanged(int arg1);
    void on_spinBox_step3_valueChanged(int arg1);
    void on_spinBox_step4_valueChanged(int arg1);

    // settings display refresh (views/display.cpp)
    void ui_Display();
    void Rev_Display();
    void EPA_Display();
    void SubTrim_Display();
    void FS_Display();
    void Delay_Display();
    void Aux_Display();
    void DR_Display();
    void Parameter_Display();
    void Atti_Display();
    void Elev_Display();
    void Vtype_Display();
    void Prm_Display();
    void DRCure_Display();
    void THcure_Display();

    // live monitor (views/livedisplay.cpp)
    void Servo_Display();
    void Recieve_Display();
    void StkTrim_Display();

private:
    // A change to the record that is not the pilot's own edit: the refresh,
    // what the transmitter sends, the commands (undo/editorundo.h).
    using NotThePilot = EditorUndo::NotThePilot;

    // The command keys F5, Ctrl+O and Ctrl+S.
    void setUpCommandKeys();
    // The common start of READ, WRITE, RESET and DATA RESET, their 200 ms
    // button lock and the check for an open port; withdraws `command` when
    // it may not go on (link/commands.cpp).
    bool commandMayStart(QAbstractButton *ownButton, CommandScope &command);

    // Connects the serial port's readyRead and error reports and the port
    // selector's drop-down (link/port.cpp).
    void setUpPortHandling();
    // While the port is closed and the window shown, the list is brought up
    // to date every second.
    void followPortsWhileClosed();
    void pollPorts();
    // RESET and DATA RESET after their checks: factory values into the
    // record, the four frames and "WWW" to the transmitter. False when the
    // connection went before all of it was sent (link/commands.cpp).
    bool sendFactorySettings(CommandScope &reset);
    // WRITE, SAVE and LOAD: the four frames, then "WWW" (not for SAVE).
    // False when the connection went before all of it was sent
    // (link/commands.cpp).
    bool sendSettings(CommandScope &transfer);
    // True when everything written on `connection` has left the port by now,
    // after a short wait bounded by the line rate (link/port.cpp).
    bool lineTookEverything(quint64 connection);
    // Ends a transfer: it counts as delivered only when its bytes have left
    // the port. False when the transmitter did not get all of it
    // (link/commands.cpp).
    bool endTransfer(CommandScope &transfer);
    // Puts a history entry's settings into the editor, without sending
    // anything (views/historyview.cpp).
    void restoreFromHistory(const QString &path);
    // The model library, MODELS and the held model's name in the status
    // line (models/modelswindow.cpp).
    void setUpModels();
    // LIVE: the ring of live samples, its window, Ctrl+L and the readouts
    // that open it (live/livewiring.cpp).
    void setUpLive();
    // CHECK: the transmitter's settings into a record of the check's own,
    // against the editor, on Ctrl+Shift+R or from COMPARE (`from`, else
    // null); its result on the status line and in COMPARE
    // (app/checkwindow.cpp).
    void setUpCheck();
    void startCheck(CompareDialog *from);
    void showCheckResult(const CheckResult &result);
    // Puts "Transmitter (read now)" into a COMPARE dialog while the port is
    // open; a dialog opened during a check follows it.
    void offerCheck(CompareDialog *dialog);
    void showCheckIn(CompareDialog *dialog);
    // Opens COMPARE with every source it offers (views/compare.cpp).
    CompareDialog *openCompare();
    // LOAD after its step has begun: the lock of `own`, the file (`path`,
    // or the pilot's pick when empty), the transfer; `model` names the
    // model whose file it is (files/fileactions.cpp).
    void loadFile(QAbstractButton *own, const QString &path, const QString &model);
    void loadStep(const QString &stepName, QAbstractButton *own, const QString &path,
                  const QString &model);
    // MODELS → Send to the transmitter: LOAD of the model's file.
    void sendModelFile(const QString &path, const QString &model, QAbstractButton *own);
    // Tells the pilot when a transfer did not reach the transmitter whole.
    void reportTransfer(bool delivered, bool sendsModel = false);
    // Puts the ports present now into portNameBox (link/port.cpp).
    void fillPortList();
    // Lets whatever is queued leave whole and detaches the port from the
    // window before the form goes (link/port.cpp).
    void releasePort();
    // Writes the bytes of a command's step, unless the command's connection
    // has gone (link/commands.cpp).
    void sendToTransmitter(const QByteArray &bytes, CommandStep step);

    MainForm *ui;
    QSerialPort serialPort;
    QTimer *refreshTimer;
    QTimer *portPoll = nullptr;
    QStringList devicesSeen; // by the last look of the poll

    QString loadedFileName;
    LinkActivity link;
    // Set once the pilot has chosen to leave: nothing more goes out, and a
    // cut transfer is not reported to a pilot who already knows.
    bool leaving = false;
    // The status line at the bottom (views/statusline.cpp).
    StatusLine *status = nullptr;
    // What the live readouts last showed (views/livedisplay.cpp).
    LiveReadoutsShown liveShown;
    // What COMPARE offers beside the editor (views/comparesources.h).
    CompareSources *compareSources = nullptr;
    // The settings history: an entry after each complete READ and each
    // delivered transfer (history/historyrecorder.h).
    HistoryRecorder *history = nullptr;
    // The pilot's models (models/library.h).
    ModelLibrary *models = nullptr;

    // LIVE, the live values over time (live/livewindow.h).
    LiveWindow *live = nullptr;
    // The check of the transmitter against the editor, and the COMPARE
    // that shows it (check/transmittercheck.h).
    TransmitterCheck *check = nullptr;
    QPointer<CompareDialog> checkShownIn;
    // Ctrl+Shift+R; MODELS, COMPARE and HISTORY take it too, as the natural
    // check after a Send is made with MODELS still open.
    QAction *checkKey = nullptr;
    bool checkOpensCompare = false;

    // Undo and redo of the pilot's steps (undo/editorundo.h).
    EditorUndo *undo = nullptr;
    // The editor's unwritten edits, kept on disk (keep/editorkeep.h).
    EditorKeep *editorKeep = nullptr;
    bool endingUnasked = false;
    void setUpKeep();
    // Offers edits that an instance left; true when they were restored.
    bool offerLeftEdits(const QString &path);
};
