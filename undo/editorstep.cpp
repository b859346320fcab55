// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "undo/editorstep.h"

#include "settings/catalogue.h"

#include <cstddef>
#include <cstring>
#include <utility>

namespace {

// The record is ints with three doubles among them and the four stick
// trims at its end; a step compares and copies it setting by setting.
constexpr std::size_t kVoltsAt = offsetof(ParameterSet, txAlarmVolt);
constexpr std::size_t kVoltsEnd = offsetof(ParameterSet, txAlarmTenths);
constexpr std::size_t kTrimsAt = offsetof(ParameterSet, stickTrim);
static_assert(kVoltsEnd - kVoltsAt == 3 * sizeof(double), "the alarm volts stand together");
static_assert(kTrimsAt + 4 * sizeof(int) == sizeof(ParameterSet), "the stick trims come last");

// Copies each setting of the byte range [begin, end) that differs between
// `from` and `to` from `to` into `out`.
void takeChanged(ParameterSet &out, const ParameterSet &from, const ParameterSet &to,
                 std::size_t begin, std::size_t end, std::size_t width)
{
    auto *o = reinterpret_cast<char *>(&out);
    const auto *f = reinterpret_cast<const char *>(&from);
    const auto *t = reinterpret_cast<const char *>(&to);
    for (std::size_t at = begin; at < end; at += width) {
        if (std::memcmp(f + at, t + at, width) != 0)
            std::memcpy(o + at, t + at, width);
    }
}

ParameterSet withTrimsOf(ParameterSet p, const ParameterSet &trims)
{
    std::memcpy(p.stickTrim, trims.stickTrim, sizeof p.stickTrim);
    return p;
}

} // namespace

bool changesEditor(const ParameterSet &before, const ParameterSet &after)
{
    return withTrimsOf(after, before) != before;
}

ParameterSet withChangesApplied(const ParameterSet &current, const ParameterSet &from,
                                const ParameterSet &to)
{
    ParameterSet out = current;
    takeChanged(out, from, to, 0, kVoltsAt, sizeof(int));
    takeChanged(out, from, to, kVoltsAt, kVoltsEnd, sizeof(double));
    takeChanged(out, from, to, kVoltsEnd, kTrimsAt, sizeof(int));
    return out;
}

QString changeName(const ParameterSet &before, const ParameterSet &after)
{
    const std::vector<SettingDifference> differences =
        compareSettings(before, withTrimsOf(after, before));
    // Only the D/R working copies of a channel without tables changed: no
    // setting of the transmitter is named by them.
    if (differences.empty())
        return QStringLiteral("D/R");
    const SettingDifference &first = differences.front();
    QString name = QStringLiteral("%1 %2: %3 -> %4")
                       .arg(first.row->place, first.row->name, first.before, first.after);
    if (differences.size() > 1)
        name += QStringLiteral(" (+%1 more)").arg(differences.size() - 1);
    return name;
}

EditorStep::EditorStep(const QString &name, const ParameterSet &before, const ParameterSet &after,
                       Show show, const void *mergeKey, qint64 madeAtMs)
    : before(before), after(after), show(std::move(show)), mergeKey(mergeKey),
      lastMadeAtMs(madeAtMs)
{
    setText(name);
}

void EditorStep::undo()
{
    show(withChangesApplied(paramSet, after, before));
}

void EditorStep::redo()
{
    if (made) {
        made = false;
        return;
    }
    show(withChangesApplied(paramSet, before, after));
}

bool EditorStep::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const EditorStep *>(other);
    constexpr qint64 kMergeWithinMs = 1000;
    if (next->mergeKey != mergeKey || next->lastMadeAtMs - lastMadeAtMs > kMergeWithinMs)
        return false;
    after = next->after;
    lastMadeAtMs = next->lastMadeAtMs;
    setText(changeName(before, after));
    // Back where it started (up and down again): no step at all.
    setObsolete(!changesEditor(before, after));
    return true;
}
