// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/parameterset.h"

#include <QLineF>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class QPagedPaintDevice;

// The settings sheet: a model's setup on paper for the field box, or as one
// HTML file to share. It is built by walking the settings catalogue, so it
// shows every setting the transmitter gets; values that differ from the
// start values are marked, since those are what the pilot set up.

struct SheetCell {
    QString text;
    bool changed = false; // differs from the start value: printed in bold
};

// A group of places that share their settings' names (the channels of
// BASIC, the four mixes) is one table, a place per row and a name per
// column, as the page lays them out side by side.
struct SheetTable {
    QStringList names;
    struct Row {
        QString place;
        QVector<SheetCell> cells; // one per name; empty where the place has no such setting
    };
    QVector<Row> rows;
};

// A label of a chart at a baseline point; `centred` puts the point in the
// middle of the text, otherwise at its right end.
struct SheetLabel {
    QPointF baseline;
    QString text;
    bool centred = true;
};

// A chart of ADVANCE2 as vector strokes, in the chart widget's own pixel
// coordinates (a `side` by `side` square), taken from the same geometry the
// widget paints.
struct SheetChart {
    QString caption; // "CH2 DOWN: RATE 80, EXP 30"
    int side = 0;
    QRectF frame;
    QVector<QLineF> dashes;
    QPainterPath curve;
    QVector<SheetLabel> labels;
};

struct SheetSection {
    QString page; // the tab text
    QVector<SheetTable> tables;
    QVector<SheetChart> charts;
};

struct Sheet {
    QString title;
    QString date;
    QString version; // the transmitter's version as the SYSTEM page shows it
    QVector<SheetSection> sections;
};

// `version` is what the transmitter last reported, or nothing for settings
// that came from a parameter file, which does not carry it.
Sheet buildSheet(const ParameterSet &p, const QString &title, std::optional<int> version);

// The line under the title (date, transmitter version, program) and the
// note on what bold means.
QString sheetMeta(const Sheet &sheet);
QString sheetNote();

// One self-contained HTML file: styles in the head, the charts as inline SVG.
QString sheetHtml(const Sheet &sheet);

// Lays the sheet out on the device's pages in black on white. The device's
// margins are set to 15 mm; the layout keeps to what A4 and Letter portrait
// both offer, so the sheet looks the same on either paper.
void paintSheet(const Sheet &sheet, QPagedPaintDevice &device);
