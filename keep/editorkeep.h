// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

// The pilot's edits that the transmitter does not have yet, as kept on
// disk: the editor's record, what the transmitter held as far as the tool
// knew (what "Changed" is judged against), the model that was, and when.
struct KeptEdits {
    ParameterSet editor{};
    ParameterSet against{};
    QString model;
    QDateTime at;
};
QByteArray keptEditsBytes(const KeptEdits &edits);
// Nothing when the bytes are not such a keep, whole.
std::optional<KeptEdits> keptEditsFrom(const QByteArray &bytes);

// Keeps the editor on disk while it holds edits the transmitter lacks:
// told on each refresh how things stand, it writes within kDelayMs of a
// change (once for a burst of changes, never on every tick), and removes
// the file once the transmitter has the editor's settings.
class EditorKeep : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDelayMs = 1500;

    // `modelName` names the model the edits started from; asked only when
    // the edits are written.
    EditorKeep(const QString &path, std::function<QString(const ParameterSet &)> modelName,
               QObject *parent = nullptr);

    // How the editor stands now; `unwritten` when it holds settings the
    // transmitter lacks.
    void look(const ParameterSet &editor, const ParameterSet &against, bool unwritten);
    // The tool ends: told to (a signal, the session's end), what waits is
    // written at once and the file stays for the next start; as the pilot
    // asked, the file goes. Nothing is kept after this.
    void end(bool keepForNextStart);
    // Writes what waits now.
    void flush()
    {
        if (m_waiting)
            write();
    }
    // The file goes; it comes again with the next change.
    void drop();
    int writes() const { return m_writes; }
    QString path() const { return m_path; }

signals:
    // The edits could not be kept on disk: why.
    void notKept(const QString &reason);

private:
    void write();

    QString m_path;
    std::function<QString(const ParameterSet &)> m_modelName;
    QTimer m_delay;
    bool m_ended = false;
    KeptEdits m_now;
    bool m_waiting = false; // m_now is newer than the file
    bool m_onDisk = false;
    int m_writes = 0;
    QString m_failure; // why the last write failed
};
