// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the application icon that the desktop menu shows, once at each size
// the package installs: tool_appicon <outdir> writes vegalyra-48.png,
// vegalyra-128.png and vegalyra-256.png. The PNGs are committed in
// packaging/icons; run this again only to change how they look.
//
// The motif is the window's own image (a transmitter with two sticks and an
// antenna), drawn afresh for each size rather than scaled: outlines keep a
// width that reads at that size, and the larger icons gain the detail a
// pilot recognises (gimbal plates, trim levers, shoulder switches, a screen).
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {

const QColor kOutline(20, 20, 20);
const QColor kBody(85, 170, 255);
const QColor kGimbal(40, 40, 40);
const QColor kKnob(255, 170, 0);

struct Detail {
    double outline; // pen width of the body and gimbal outlines, in pixels
    bool shaded;    // gradients instead of flat colours
    bool trims;     // a trim lever below each gimbal
    bool switches;  // toggle switches on the shoulders
    bool screen;    // the transmitter's small display between the sticks
};

Detail detailFor(int side)
{
    if (side >= 256)
        return {6, true, true, true, true};
    if (side >= 128)
        return {3.5, true, true, true, false};
    return {2, false, false, false, false};
}

// A toggle switch standing on the top edge of the case.
void shoulderSwitch(QPainter &p, QPointF foot, double u, double lean, const Detail &d)
{
    p.setPen(QPen(QColor(190, 190, 190), 1.6 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot, foot + QPointF(lean * u, -4 * u));
    p.setPen(QPen(kOutline, d.outline * 0.6));
    p.setBrush(QColor(70, 70, 70));
    p.drawRoundedRect(QRectF(foot.x() - 2.2 * u, foot.y() - 1 * u, 4.4 * u, 2.4 * u), 0.6 * u,
                      0.6 * u);
}

void gimbal(QPainter &p, QPointF centre, QPointF knob, double u, const Detail &d)
{
    if (d.shaded) {
        // the bezel the stick unit sits in
        p.setPen(QPen(kOutline, d.outline * 0.5));
        p.setBrush(QColor(55, 110, 175));
        p.drawEllipse(centre, 8.5 * u, 8.5 * u);
        QRadialGradient well(centre - QPointF(2 * u, 2 * u), 8 * u);
        well.setColorAt(0, QColor(90, 90, 90));
        well.setColorAt(1, QColor(25, 25, 25));
        p.setBrush(well);
    } else {
        p.setBrush(kGimbal);
    }
    p.setPen(QPen(kOutline, d.outline));
    p.drawEllipse(centre, 7 * u, 7 * u);
    if (d.shaded) {
        p.setPen(QPen(QColor(150, 150, 150), 1.4 * u, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, knob);
        QRadialGradient shine(knob - QPointF(0.8 * u, 0.8 * u), 3 * u);
        shine.setColorAt(0, kKnob.lighter(150));
        shine.setColorAt(1, kKnob.darker(130));
        p.setPen(QPen(kOutline, d.outline * 0.5));
        p.setBrush(shine);
    } else {
        p.setBrush(kKnob);
    }
    p.drawEllipse(knob, 3 * u, 3 * u);
}

// The trim lever below a gimbal, as on the case.
void trim(QPainter &p, QPointF centre, double u)
{
    p.setPen(QPen(QColor(30, 60, 110), 1.2 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-4 * u, 11.5 * u), centre + QPointF(4 * u, 11.5 * u));
}

void screen(QPainter &p, double u, const Detail &d)
{
    p.setPen(QPen(kOutline, d.outline * 0.5));
    p.setBrush(QColor(170, 200, 150));
    const QRectF lcd(20.5 * u, 16.8 * u, 7 * u, 4.6 * u);
    p.drawRoundedRect(lcd, 0.6 * u, 0.6 * u);
    // two bars standing for the channel outputs the tool shows live
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 60, 40));
    p.drawRect(QRectF(21.7 * u, 18.0 * u, 3.6 * u, 0.9 * u));
    p.drawRect(QRectF(21.7 * u, 19.6 * u, 2.4 * u, 0.9 * u));
}

QImage drawIcon(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const Detail d = detailFor(side);
    const double u = side / 48.0; // the design is laid out on a 48-unit grid

    // antenna
    p.setPen(QPen(QColor(200, 200, 200), (d.shaded ? 2.4 : 3) * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(36 * u, 16 * u), QPointF(42 * u, 3 * u));
    if (d.shaded) {
        p.setPen(QPen(kOutline, d.outline * 0.5));
        p.setBrush(QColor(120, 120, 120));
        p.drawEllipse(QPointF(42 * u, 3 * u), 1.6 * u, 1.6 * u);
    }
    if (d.switches) {
        shoulderSwitch(p, QPointF(9 * u, 15.5 * u), u, -1.5, d);
        shoulderSwitch(p, QPointF(28 * u, 15.5 * u), u, 1.5, d);
    }

    // case
    p.setPen(QPen(kOutline, d.outline));
    if (d.shaded) {
        QLinearGradient shade(0, 15 * u, 0, 43 * u);
        shade.setColorAt(0, kBody.lighter(125));
        shade.setColorAt(1, kBody.darker(125));
        p.setBrush(shade);
    } else {
        p.setBrush(kBody);
    }
    const QRectF body(3 * u, 15 * u, 42 * u, 28 * u);
    p.drawRoundedRect(body, 8 * u, 8 * u);

    if (d.screen)
        screen(p, u, d);
    // Mode 2: throttle stick down-left, the aileron/elevator stick centred
    gimbal(p, QPointF(14 * u, 29 * u), QPointF(14 * u, 26 * u), u, d);
    gimbal(p, QPointF(34 * u, 29 * u), QPointF(37 * u, 29 * u), u, d);
    if (d.trims) {
        trim(p, QPointF(14 * u, 29 * u), u);
        trim(p, QPointF(34 * u, 29 * u), u);
    }
    p.end();
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);
    for (int side : {48, 128, 256}) {
        if (!drawIcon(side).save(QStringLiteral("%1/vegalyra-%2.png").arg(outDir).arg(side)))
            return 1;
    }
    return 0;
}
