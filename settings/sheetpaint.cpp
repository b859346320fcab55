// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings sheet on pages: a PDF file, a printer or the print preview.
// Tables and charts are laid out as boxes that flow left to right and
// top to bottom, a page's heading kept with what follows it.
#include "settings/sheet.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <functional>

namespace {

// What A4 and Letter portrait both offer inside 15 mm margins.
constexpr qreal kMarginMm = 15;
constexpr qreal kWidthMm = 210 - 2 * kMarginMm;
constexpr qreal kHeightMm = 279.4 - 2 * kMarginMm;
// A chart pixel on paper: four rate charts (36 mm each) fit side by side.
constexpr qreal kChartPixelMm = 0.13;

struct Fonts {
    QFont body, bold, title, heading, small, caption;
    Fonts()
    {
        body.setFamily(QStringLiteral("DejaVu Sans"));
        body.setStyleHint(QFont::SansSerif);
        body.setPointSizeF(8.5);
        // Any letter spacing turns ligatures off: a word copied from the
        // PDF then reads "file", not a single glyph that search misses.
        body.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
        bold = body;
        bold.setBold(true);
        title = bold;
        title.setPointSizeF(15);
        heading = bold;
        heading.setPointSizeF(11);
        small = body;
        small.setPointSizeF(6);
        caption = body;
        caption.setPointSizeF(7.5);
    }
};

struct Box {
    QSizeF size;
    std::function<void(QPainter &, const QPointF &)> draw;
};

struct Line {
    QVector<Box> boxes;
    bool keepWithNext = false;
    qreal height() const
    {
        qreal h = 0;
        for (const Box &b : boxes)
            h = std::max(h, b.size.height());
        return h;
    }
};

class Layout
{
public:
    Layout(QPaintDevice &device, const Fonts &fonts) : device(device), fonts(fonts)
    {
        mm = device.logicalDpiX() / 25.4;
        width = std::min<qreal>(device.width(), kWidthMm * mm);
        height = std::min<qreal>(device.height(), kHeightMm * mm);
    }

    qreal mm;
    qreal width, height;

    QFontMetricsF metrics(const QFont &font) const { return QFontMetricsF(font, &device); }

    Box text(const QString &text, const QFont &font) const
    {
        const QFontMetricsF fm = metrics(font);
        return {QSizeF(fm.horizontalAdvance(text), fm.height()),
                [text, font, ascent = fm.ascent()](QPainter &painter, const QPointF &at) {
                    painter.setFont(font);
                    painter.drawText(at + QPointF(0, ascent), text);
                }};
    }

    QVector<Box> tables(const SheetTable &table) const;
    Box chart(const SheetChart &chart) const;

private:
    Box tableColumns(const SheetTable &table, const QVector<int> &columns) const;
    QPaintDevice &device;
    const Fonts &fonts;
};

// A table wider than the paper is split into tables of fewer columns, each
// keeping the places on the left.
QVector<Box> Layout::tables(const SheetTable &table) const
{
    QVector<Box> boxes;
    QVector<int> columns;
    for (int c = 0; c < table.names.size(); ++c) {
        QVector<int> wider = columns;
        wider.append(c);
        if (!columns.isEmpty() && tableColumns(table, wider).size.width() > width) {
            boxes.append(tableColumns(table, columns));
            wider = {c};
        }
        columns = wider;
    }
    boxes.append(tableColumns(table, columns));
    return boxes;
}

Box Layout::tableColumns(const SheetTable &table, const QVector<int> &columns) const
{
    const QFontMetricsF body = metrics(fonts.body), bold = metrics(fonts.bold);
    const qreal pad = 1.5 * mm, rowHeight = bold.height() + 1.2 * mm;
    QVector<qreal> widths{0};
    for (const SheetTable::Row &row : table.rows)
        widths[0] = std::max(widths[0], bold.horizontalAdvance(row.place));
    for (int c : columns) {
        qreal w = bold.horizontalAdvance(table.names[c]);
        for (const SheetTable::Row &row : table.rows)
            w = std::max(w,
                         (row.cells[c].changed ? bold : body).horizontalAdvance(row.cells[c].text));
        widths.append(w);
    }
    qreal total = 0;
    for (qreal &w : widths)
        total += (w += 2 * pad);
    const QSizeF size(total, rowHeight * (table.rows.size() + 1));

    const Fonts &f = fonts;
    auto draw = [table, columns, widths, rowHeight, pad, size, f](QPainter &painter,
                                                                  const QPointF &at) {
        auto cell = [&](int row, int column, const QString &text, const QFont &font) {
            qreal x = at.x();
            for (int c = 0; c < column; ++c)
                x += widths[c];
            const QRectF box(x, at.y() + row * rowHeight, widths[column], rowHeight);
            painter.setFont(font);
            painter.drawText(column == 0 ? box.adjusted(pad, 0, 0, 0) : box,
                             Qt::AlignVCenter | (column == 0 ? Qt::AlignLeft : Qt::AlignHCenter),
                             text);
        };
        for (int i = 0; i < columns.size(); ++i)
            cell(0, i + 1, table.names[columns[i]], f.bold);
        for (int r = 0; r < table.rows.size(); ++r) {
            const SheetTable::Row &row = table.rows[r];
            cell(r + 1, 0, row.place, f.bold);
            for (int i = 0; i < columns.size(); ++i) {
                const SheetCell &c = row.cells[columns[i]];
                cell(r + 1, i + 1, c.text, c.changed ? f.bold : f.body);
            }
        }
        // The grid: every row and column ruled, the outline as well.
        for (int r = 0; r <= table.rows.size() + 1; ++r)
            painter.drawLine(QPointF(at.x(), at.y() + r * rowHeight),
                             QPointF(at.x() + size.width(), at.y() + r * rowHeight));
        qreal x = at.x();
        for (int c = 0; c <= widths.size(); ++c) {
            painter.drawLine(QPointF(x, at.y()), QPointF(x, at.y() + size.height()));
            if (c < widths.size())
                x += widths[c];
        }
    };
    return {size, draw};
}

Box Layout::chart(const SheetChart &chart) const
{
    const qreal scale = kChartPixelMm * mm;
    const qreal side = chart.side * scale;
    const QFontMetricsF caption = metrics(fonts.caption);
    const QSizeF size(std::max(side, caption.horizontalAdvance(chart.caption)),
                      side + caption.height() + mm);
    const Fonts &f = fonts;
    const qreal unit = mm / 10; // a tenth of a millimetre of pen
    auto draw = [chart, scale, side, size, f, unit, mm = mm](QPainter &painter, const QPointF &at) {
        const QPointF origin(at.x() + (size.width() - side) / 2, at.y());
        QTransform t;
        t.translate(origin.x(), origin.y());
        t.scale(scale, scale);
        // A setting far out of range runs the curve off the chart, as the
        // widget has it; the labels stand outside the frame and stay.
        painter.save();
        painter.setClipRect(QRectF(origin, QSizeF(side, side)));
        painter.setPen(QPen(Qt::black, 3 * unit));
        painter.drawRect(t.mapRect(chart.frame));
        painter.setPen(QPen(Qt::black, 1.5 * unit));
        for (const QLineF &dash : chart.dashes)
            painter.drawLine(t.map(dash));
        painter.setPen(QPen(Qt::black, 6 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(t.map(chart.curve));
        painter.restore();
        const QFontMetricsF small(f.small, painter.device());
        painter.setFont(f.small);
        for (const SheetLabel &label : chart.labels) {
            const qreal w = small.horizontalAdvance(label.text);
            painter.drawText(t.map(label.baseline) - QPointF(label.centred ? w / 2 : w, 0),
                             label.text);
        }
        const QFontMetricsF below(f.caption, painter.device());
        painter.setFont(f.caption);
        painter.drawText(
            QPointF(at.x() + (size.width() - below.horizontalAdvance(chart.caption)) / 2,
                    at.y() + side + mm + below.ascent()),
            chart.caption);
    };
    return {size, draw};
}

// Boxes side by side while they fit the width, then the next line.
void flow(QVector<Line> &lines, const QVector<Box> &boxes, qreal width, qreal gap)
{
    qreal used = width;
    for (const Box &box : boxes) {
        if (used + gap + box.size.width() > width) {
            lines.append(Line());
            used = -gap;
        }
        lines.last().boxes.append(box);
        used += gap + box.size.width();
    }
}

QVector<Line> linesOf(const Sheet &sheet, const Layout &layout, const Fonts &fonts)
{
    const qreal gap = 5 * layout.mm;
    QVector<Line> lines;
    lines.append({{layout.text(sheet.title, fonts.title)}, true});
    lines.append({{layout.text(sheetMeta(sheet), fonts.body)}, true});
    lines.append({{layout.text(sheetNote(), fonts.body)}, true});
    for (const SheetSection &section : sheet.sections) {
        lines.append({{layout.text(section.page, fonts.heading)}, true});
        QVector<Box> boxes;
        for (const SheetTable &table : section.tables)
            boxes += layout.tables(table);
        for (const SheetChart &chart : section.charts)
            boxes.append(layout.chart(chart));
        flow(lines, boxes, layout.width, gap);
    }
    return lines;
}

struct Placed {
    QPointF at;
    Box box;
};

// Lines go down the page; a line that would not fit, or a heading whose
// first line would not, starts the next page.
QVector<QVector<Placed>> paginate(const QVector<Line> &lines, qreal height, qreal mm)
{
    const qreal spacing = 3 * mm, gap = 5 * mm;
    QVector<QVector<Placed>> pages(1);
    qreal y = 0;
    for (int i = 0; i < lines.size(); ++i) {
        qreal need = lines[i].height();
        for (int k = i; lines[k].keepWithNext && k + 1 < lines.size(); ++k)
            need += spacing + lines[k + 1].height();
        if (y > 0 && y + need > height) {
            pages.append(QVector<Placed>());
            y = 0;
        }
        qreal x = 0;
        for (const Box &box : lines[i].boxes) {
            pages.last().append({QPointF(x, y), box});
            x += box.size.width() + gap;
        }
        y += lines[i].height() + (lines[i].keepWithNext ? spacing / 2 : spacing);
    }
    return pages;
}

} // namespace

void paintSheet(const Sheet &sheet, QPagedPaintDevice &device)
{
    device.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                          QPageLayout::Millimeter);
    const Fonts fonts;
    const Layout layout(device, fonts);
    const Box footerSample = layout.text(sheet.title, fonts.small);
    // The footer stands at the foot of the paper in hand; the content above
    // it keeps to the height both papers offer.
    const qreal footerTop = device.height() - footerSample.size.height();
    const QVector<QVector<Placed>> pages = paginate(
        linesOf(sheet, layout, fonts),
        std::min(footerTop, layout.height - footerSample.size.height()) - 3 * layout.mm, layout.mm);

    QPainter painter(&device);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int n = 0; n < pages.size(); ++n) {
        if (n > 0)
            device.newPage();
        painter.setPen(QPen(Qt::black, layout.mm / 5));
        for (const Placed &placed : pages[n])
            placed.box.draw(painter, placed.at);
        const QString footer =
            QStringLiteral("%1    page %2 of %3")
                .arg(sheet.title, QString::number(n + 1), QString::number(pages.size()));
        layout.text(footer, fonts.small).draw(painter, QPointF(0, footerTop));
    }
}
