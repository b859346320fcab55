// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/hover.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QWidget>

int hoverTicks[HoverSlot::Count] = {};

HoverSheet advanceHover(int &ticks, bool underMouse)
{
    if (underMouse) {
        if (ticks + 1 > kHoverTicksLimit - 1) {
            ticks = kHoverTicksLimit;
            return HoverSheet::NoHighlight;
        }
        ++ticks;
        return HoverSheet::Keep;
    }
    if (ticks > kHoverTicksLimit - 1) {
        ticks = 0;
        return HoverSheet::Highlight;
    }
    return HoverSheet::Keep;
}

bool readSheetText(const QString &path, QString *text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const int end = bytes.indexOf('\0');
    *text = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    return true;
}

namespace {

// A sheet read once; `present` stays false when the resource is missing, so
// a missing sheet is looked for only once as well.
struct CachedSheet {
    QString text;
    bool present = false;
};

CachedSheet loadSheet(const char *path)
{
    CachedSheet sheet;
    sheet.present = readSheetText(QString::fromLatin1(path), &sheet.text);
    return sheet;
}

} // namespace

const QString *hoverSheetText(HoverSheet sheet)
{
    static const CachedSheet highlight = loadSheet(":/comboBox.qss");
    static const CachedSheet noHighlight = loadSheet(":/comboBox_REV.qss");
    const CachedSheet *cached = nullptr;
    if (sheet == HoverSheet::Highlight)
        cached = &highlight;
    else if (sheet == HoverSheet::NoHighlight)
        cached = &noHighlight;
    return cached && cached->present ? &cached->text : nullptr;
}

void applyHoverRule(QWidget *comboBox, int &ticks)
{
    const HoverSheet wanted = advanceHover(ticks, comboBox->underMouse());
    if (wanted == HoverSheet::Keep)
        return;
    const QString *text = hoverSheetText(wanted);
    if (!text)
        return;
    // The widget keeps the very QString it was given, so an unchanged sheet
    // is recognised by its shared data without comparing the text.
    const QString current = comboBox->styleSheet();
    if (current.constData() == text->constData() || current == *text)
        return;
    comboBox->setStyleSheet(*text);
}
