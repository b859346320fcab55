// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/sheet.h"

#include "model/curvegeometry.h"
#include "settings/catalogue.h"
#include "settings/pagetexts.h"

#include <QDate>

#include <algorithm>

namespace {

// The widgets' own sizes: the strokes are taken at the size the pilot sees.
constexpr int kRateChartSide = 280;
constexpr int kThrottleChartSide = 300;
// A chart pixel in the HTML page: a rate chart 42 mm wide, big enough to
// read the throttle scale on a screen.
constexpr double kHtmlChartPixelMm = 0.15;

struct Place {
    QString name;
    std::vector<const SettingRow *> rows;
};

QStringList namesOf(const Place &place)
{
    QStringList names;
    for (const SettingRow *row : place.rows)
        names << row->name;
    return names;
}

bool containsAll(const QStringList &all, const QStringList &some)
{
    return std::all_of(some.begin(), some.end(), [&](const QString &n) { return all.contains(n); });
}

// A name the table lacks goes right after the name the place has before it,
// so CH5's AUX-CH stands between DELAY and FAIL SAFE as on the page.
void mergeNames(QStringList &names, const QStringList &more)
{
    for (int i = 0; i < more.size(); ++i) {
        if (names.contains(more[i]))
            continue;
        const int after = i == 0 ? -1 : names.indexOf(more[i - 1]);
        names.insert(after + 1, more[i]);
    }
}

// Places follow each other on a page; neighbours whose names are the same
// (or one's names include the other's) are one table.
QVector<SheetTable> tablesOf(const std::vector<Place> &places, const ParameterSet &p)
{
    std::vector<std::vector<const Place *>> groups;
    QVector<SheetTable> tables;
    for (const Place &place : places) {
        const QStringList names = namesOf(place);
        if (tables.isEmpty() ||
            !(containsAll(tables.last().names, names) || containsAll(names, tables.last().names))) {
            tables.append(SheetTable());
            groups.emplace_back();
        }
        mergeNames(tables.last().names, names);
        groups.back().push_back(&place);
    }
    for (int t = 0; t < tables.size(); ++t) {
        SheetTable &table = tables[t];
        for (const Place *place : groups[std::size_t(t)]) {
            SheetTable::Row row{place->name, QVector<SheetCell>(table.names.size())};
            for (const SettingRow *setting : place->rows)
                row.cells[table.names.indexOf(setting->name)] = {
                    settingValueText(*setting, p),
                    settingValue(*setting, p) != settingValue(*setting, kStartParameters)};
            table.rows.append(row);
        }
    }
    return tables;
}

QVector<SheetSection> sectionsOf(const ParameterSet &p)
{
    QVector<SheetSection> sections;
    std::vector<std::vector<Place>> places;
    for (const SettingRow &row : settingsCatalogue()) {
        const QString page = QString::fromLatin1(row.page);
        if (sections.isEmpty() || sections.last().page != page) {
            sections.append({page, {}, {}});
            places.emplace_back();
        }
        if (places.back().empty() || places.back().back().name != row.place)
            places.back().push_back({row.place, {}});
        places.back().back().rows.push_back(&row);
    }
    for (int s = 0; s < sections.size(); ++s)
        sections[s].tables = tablesOf(places[std::size_t(s)], p);
    return sections;
}

SheetChart rateChart(int channel, int position, const ParameterSet &p)
{
    const int rate = p.drRate[position][channel], expo = p.drExpo[position][channel];
    const RateChartGeometry g = rateChartGeometry(kRateChartSide, kRateChartSide, rate, expo);
    SheetChart chart;
    chart.caption = QStringLiteral("CH%1 %2: RATE %3, EXP %4")
                        .arg(channel + 1)
                        .arg(QString::fromLatin1(pagetexts::kUpDown[std::size_t(position)]))
                        .arg(rate)
                        .arg(expo);
    chart.side = kRateChartSide;
    chart.frame = g.frame;
    for (const QLine &dash : g.centreDashes)
        chart.dashes.append(dash);
    for (const CubicHalf &half : {g.lower, g.upper}) {
        chart.curve.moveTo(half.start);
        chart.curve.cubicTo(half.control1, half.control2, half.end);
    }
    return chart;
}

SheetChart throttleChart(const ParameterSet &p)
{
    const ThrottleChartGeometry g =
        throttleChartGeometry(kThrottleChartSide, kThrottleChartSide, p.throttleCurve);
    SheetChart chart;
    chart.caption = QStringLiteral("TH CURE");
    chart.side = kThrottleChartSide;
    chart.frame = g.frame;
    for (const QLine &dash : g.gridDashes)
        chart.dashes.append(dash);
    chart.curve.moveTo(g.points[0]);
    for (const QLine &segment : g.curve)
        chart.curve.lineTo(segment.p2());
    // The scale ends where the widget's right-justified numbers end, just
    // left of the frame; the point numbers sit under their points.
    constexpr int kScaleRight = 24;
    constexpr int kNumberBaselineBelowCentre = 5;
    for (const ChartText &t : throttleScaleTexts())
        chart.labels.append({QPointF(kScaleRight, t.baseline.y()), t.text.trimmed(), false});
    for (int i = 0; i < kThrottlePoints; ++i)
        chart.labels.append({QPointF(g.numbers[i].center().x() + 0.5,
                                     g.numbers[i].center().y() + kNumberBaselineBelowCentre),
                             throttlePointNumbers()[std::size_t(i)], true});
    return chart;
}

// Only the channels the pilot gave rates or expos of their own: the others
// all draw the same straight line.
QVector<SheetChart> chartsOf(const ParameterSet &p)
{
    QVector<SheetChart> charts;
    for (int c = 0; c < 4; ++c) {
        bool own = false;
        for (int pos = 0; pos < 2; ++pos)
            own = own || p.drRate[pos][c] != kStartParameters.drRate[pos][c] ||
                  p.drExpo[pos][c] != kStartParameters.drExpo[pos][c];
        for (int pos = 0; own && pos < 2; ++pos)
            charts.append(rateChart(c, pos, p));
    }
    charts.append(throttleChart(p));
    return charts;
}

QString number(qreal v)
{
    return QString::number(v, 'g', 6);
}

QString svgPath(const QPainterPath &path)
{
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const char *command = e.isMoveTo() ? "M" : e.isLineTo() ? "L" : e.isCurveTo() ? "C" : "";
        d += QString::fromLatin1(command) + number(e.x) + QLatin1Char(' ') + number(e.y) +
             QLatin1Char(' ');
    }
    return d.trimmed();
}

// The strokes keep the widget's proportions, drawn thinner for paper.
QString chartSvg(const SheetChart &chart)
{
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %1\" "
                                 "width=\"%2mm\" height=\"%2mm\">")
                      .arg(chart.side)
                      .arg(number(chart.side * kHtmlChartPixelMm));
    svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"none\" "
                          "stroke=\"#000\" stroke-width=\"2\"/>")
               .arg(number(chart.frame.x()), number(chart.frame.y()), number(chart.frame.width()),
                    number(chart.frame.height()));
    svg += QStringLiteral("<path stroke=\"#000\" stroke-width=\"1\" d=\"");
    for (const QLineF &dash : chart.dashes)
        svg += QStringLiteral("M%1 %2L%3 %4")
                   .arg(number(dash.x1()), number(dash.y1()), number(dash.x2()), number(dash.y2()));
    svg += QStringLiteral("\"/><path fill=\"none\" stroke=\"#000\" stroke-width=\"4\" "
                          "stroke-linejoin=\"round\" d=\"%1\"/>")
               .arg(svgPath(chart.curve));
    for (const SheetLabel &label : chart.labels)
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"%3\">%4</text>")
                   .arg(number(label.baseline.x()), number(label.baseline.y()),
                        label.centred ? QStringLiteral("middle") : QStringLiteral("end"),
                        label.text.toHtmlEscaped());
    return svg + QStringLiteral("</svg>");
}

QString tableHtml(const SheetTable &table)
{
    QString html = QStringLiteral("<table><tr><th></th>");
    for (const QString &name : table.names)
        html += QStringLiteral("<th>%1</th>").arg(name.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const SheetTable::Row &row : table.rows) {
        html += QStringLiteral("<tr><th>%1</th>").arg(row.place.toHtmlEscaped());
        for (const SheetCell &cell : row.cells)
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(cell.changed ? QStringLiteral(" class=\"changed\"") : QString(),
                             cell.text.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

const QString kStyle = QStringLiteral(
    "body{font:10pt sans-serif;color:#000;background:#fff;margin:15mm;max-width:180mm}"
    "h1{font-size:16pt;margin:0 0 2mm}h2{font-size:12pt;margin:6mm 0 2mm;"
    "border-bottom:1px solid #000;page-break-after:avoid}p{margin:0 0 "
    "1mm}.meta{white-space:pre-wrap}"
    "table,figure{display:inline-table;vertical-align:top;margin:0 5mm 4mm 0;"
    "page-break-inside:avoid}table{border-collapse:collapse}"
    "th,td{border:1px solid #000;padding:0.5mm 1.5mm;text-align:center;font-weight:normal;"
    "white-space:nowrap}tr:first-child th,tr th:first-child{font-weight:bold}"
    "tr th:first-child{text-align:left}td.changed{font-weight:bold}"
    "figure{display:inline-block}figcaption{font-size:9pt;text-align:center}"
    "svg text{font:14px sans-serif}@page{margin:15mm}@media print{body{margin:0}}");

} // namespace

Sheet buildSheet(const ParameterSet &p, const QString &title, std::optional<int> version)
{
    Sheet sheet;
    sheet.title = title;
    sheet.date = QDate::currentDate().toString(Qt::ISODate);
    sheet.version = version ? QString::number(*version)
                            : QStringLiteral("not known (a parameter file does not carry it)");
    sheet.sections = sectionsOf(p);
    for (SheetSection &section : sheet.sections)
        if (section.page == QLatin1String(pagetexts::kTabTexts[3]))
            section.charts = chartsOf(p);
    return sheet;
}

QString sheetMeta(const Sheet &sheet)
{
    return QStringLiteral("Date: %1    TX Version: %2    vegalyra %3")
        .arg(sheet.date, sheet.version, QStringLiteral(VEGALYRA_VERSION));
}

QString sheetNote()
{
    return QStringLiteral("Values in bold differ from the start values.");
}

QString sheetHtml(const Sheet &sheet)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                                  "<title>%1</title><style>%2</style></head><body>\n")
                       .arg(sheet.title.toHtmlEscaped(), kStyle);
    html += QStringLiteral("<h1>%1</h1><p class=\"meta\">%2</p><p>%3</p>\n")
                .arg(sheet.title.toHtmlEscaped(), sheetMeta(sheet).toHtmlEscaped(), sheetNote());
    for (const SheetSection &section : sheet.sections) {
        html += QStringLiteral("<h2>%1</h2>\n").arg(section.page.toHtmlEscaped());
        for (const SheetTable &table : section.tables)
            html += tableHtml(table) + QLatin1Char('\n');
        for (const SheetChart &chart : section.charts)
            html += QStringLiteral("<figure>%1<figcaption>%2</figcaption></figure>\n")
                        .arg(chartSvg(chart), chart.caption.toHtmlEscaped());
    }
    return html + QStringLiteral("</body></html>\n");
}
