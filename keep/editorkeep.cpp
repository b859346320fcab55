// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "keep/editorkeep.h"

#include "files/filewriter.h"
#include "link/frames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cstring>
#include <type_traits>

namespace {

const QByteArray kFirstLine = "vegalyra unwritten edits 1";

static_assert(std::is_trivially_copyable<ParameterSet>::value,
              "the editor's record is kept byte for byte");

// The record byte for byte: the alarm volts as the pilot edited them too,
// which a parameter file carries only as tenths. Read back only by a tool
// whose record has the same size; the file lives minutes, not releases.
QByteArray recordBytes(const ParameterSet &p)
{
    return QByteArray(reinterpret_cast<const char *>(&p), int(sizeof p)).toHex();
}

bool takeRecordBytes(const QByteArray &hex, ParameterSet &p)
{
    const QByteArray raw = QByteArray::fromHex(hex);
    if (raw.size() != int(sizeof p))
        return false;
    std::memcpy(&p, raw.constData(), sizeof p);
    return true;
}

} // namespace

QByteArray keptEditsBytes(const KeptEdits &edits)
{
    QByteArray out = kFirstLine + '\n';
    out += "at " + edits.at.toString(Qt::ISODateWithMs).toLatin1() + '\n';
    out += "model " + edits.model.toUtf8().toBase64() + '\n';
    out += "size " + QByteArray::number(int(sizeof(ParameterSet))) + '\n';
    out += "editor " + recordBytes(edits.editor) + '\n';
    out += "against " + recordBytes(edits.against) + '\n';
    return out;
}

std::optional<KeptEdits> keptEditsFrom(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() < 6 || lines[0] != kFirstLine)
        return std::nullopt;
    KeptEdits edits;
    int records = 0;
    for (const QByteArray &line : lines) {
        const int space = line.indexOf(' ');
        const QByteArray key = line.left(space), value = line.mid(space + 1);
        if (key == "at")
            edits.at = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        else if (key == "model")
            edits.model = QString::fromUtf8(QByteArray::fromBase64(value));
        else if (key == "editor" || key == "against")
            records += takeRecordBytes(value, key == "editor" ? edits.editor : edits.against);
    }
    if (!edits.at.isValid() || records != 2)
        return std::nullopt;
    return edits;
}

EditorKeep::EditorKeep(const QString &path, std::function<QString(const ParameterSet &)> modelName,
                       QObject *parent)
    : QObject(parent), m_path(path), m_modelName(std::move(modelName))
{
    // Not restarted by each change: a stream of edits is kept every
    // kDelayMs, not only once it pauses.
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &EditorKeep::write);
}

void EditorKeep::look(const ParameterSet &editor, const ParameterSet &against, bool unwritten)
{
    if (m_ended)
        return;
    if (!unwritten) {
        if (m_onDisk || m_waiting)
            drop();
        return;
    }
    const bool same = (m_onDisk || m_waiting) && sameCarriedSettings(editor, m_now.editor) &&
                      sameCarriedSettings(against, m_now.against);
    if (same)
        return;
    m_now.editor = editor;
    m_now.against = against;
    m_waiting = true;
    if (!m_delay.isActive())
        m_delay.start();
}

void EditorKeep::end(bool keepForNextStart)
{
    if (m_ended)
        return;
    if (keepForNextStart)
        write();
    else
        drop();
    m_ended = true;
}

void EditorKeep::write()
{
    m_delay.stop();
    if (!m_waiting)
        return;
    m_waiting = false;
    const QDateTime now = QDateTime::currentDateTime();
    m_now.at = now.toOffsetFromUtc(now.offsetFromUtc());
    if (m_modelName)
        m_now.model = m_modelName(m_now.against);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const QString reason = writeWholeFile(m_path, keptEditsBytes(m_now));
    ++m_writes;
    // Told once for a run of failures, not on every try.
    if (reason.isEmpty())
        m_onDisk = true;
    else if (reason != m_failure)
        emit notKept(reason);
    m_failure = reason;
}

void EditorKeep::drop()
{
    m_delay.stop();
    m_waiting = false;
    m_onDisk = false;
    QFile::remove(m_path);
}
