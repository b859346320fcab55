// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the window's images (button icons, connection lamp, application
// image) into ui/images: tool_icons <outdir>. The PNGs are committed; run
// this again only to change how they look. Each comes twice: at its size
// and, as name@2x.png, at double size for 150 % and 200 % displays, where
// Qt picks the large one instead of blowing up the small one.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>

namespace {

constexpr int kSide = 48;

// The connection lamp: a lit glass bulb in a dark bezel.
void lamp(QPainter &p, QColor lit)
{
    p.setPen(QPen(QColor(30, 30, 30), 3));
    QRadialGradient glow(QPointF(19, 17), 24);
    glow.setColorAt(0.0, lit.lighter(170));
    glow.setColorAt(0.5, lit);
    glow.setColorAt(1.0, lit.darker(220));
    p.setBrush(glow);
    p.drawEllipse(QPointF(24, 24), 20, 20);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(18, 16), 6, 4);
}

void folder(QPainter &p)
{
    p.setPen(QPen(QColor(120, 70, 0), 2));
    p.setBrush(QColor(230, 160, 40));
    QPainterPath back;
    back.moveTo(4, 10);
    back.lineTo(18, 10);
    back.lineTo(22, 15);
    back.lineTo(40, 15);
    back.lineTo(40, 40);
    back.lineTo(4, 40);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(255, 205, 80));
    QPainterPath front;
    front.moveTo(4, 40);
    front.lineTo(12, 22);
    front.lineTo(46, 22);
    front.lineTo(40, 40);
    front.closeSubpath();
    p.drawPath(front);
}

void disk(QPainter &p)
{
    p.setPen(QPen(QColor(20, 40, 90), 2));
    p.setBrush(QColor(50, 100, 200));
    QPainterPath body;
    body.moveTo(6, 6);
    body.lineTo(36, 6);
    body.lineTo(42, 12);
    body.lineTo(42, 42);
    body.lineTo(6, 42);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(14, 6, 18, 12); // shutter
    p.setBrush(QColor(50, 100, 200));
    p.drawRect(25, 8, 4, 8);
    p.setBrush(Qt::white);
    p.drawRect(12, 25, 24, 15); // label
}

// An arrow through a tray: up and out for WRITE, down and in for READ.
void trayArrow(QPainter &p, QColor colour, bool up)
{
    p.setPen(QPen(QColor(230, 230, 230), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(6, 30), QPointF(6, 42), QPointF(42, 42), QPointF(42, 30)}));
    p.setPen(QPen(colour.darker(160), 2));
    p.setBrush(colour);
    const double tip = up ? 4 : 36, base = up ? 18 : 22, tail = up ? 34 : 6;
    QPainterPath arrow;
    arrow.moveTo(24, tip);
    arrow.lineTo(36, base);
    arrow.lineTo(29, base);
    arrow.lineTo(29, tail);
    arrow.lineTo(19, tail);
    arrow.lineTo(19, base);
    arrow.lineTo(12, base);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void circularArrow(QPainter &p)
{
    const QColor colour(255, 200, 0);
    p.setPen(QPen(colour, 6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(8, 8, 32, 32);
    p.drawArc(ring, 100 * 16, 290 * 16);
    // arrow head at the open end of the ring, pointing clockwise
    const double a = 100 * M_PI / 180;
    const QPointF end(24 + 16 * std::cos(a), 24 - 16 * std::sin(a));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({end + QPointF(-1, -9), end + QPointF(11, 0), end + QPointF(-1, 9)}));
}

// The tool's own image: a transmitter with two sticks and an antenna.
void transmitter(QPainter &p)
{
    p.setPen(QPen(QColor(200, 200, 200), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(36, 16), QPointF(42, 3));
    p.setPen(QPen(QColor(20, 20, 20), 2));
    p.setBrush(QColor(85, 170, 255));
    p.drawRoundedRect(QRectF(3, 15, 42, 28), 8, 8);
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QPointF(14, 29), 7, 7);
    p.drawEllipse(QPointF(34, 29), 7, 7);
    p.setBrush(QColor(255, 170, 0));
    p.drawEllipse(QPointF(14, 26), 3, 3);
    p.drawEllipse(QPointF(37, 29), 3, 3);
}

void info(QPainter &p)
{
    p.setPen(QPen(QColor(20, 60, 120), 2));
    p.setBrush(QColor(60, 130, 230));
    p.drawEllipse(QPointF(24, 24), 21, 21);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(24, 13), 4, 4);
    p.drawRoundedRect(QRectF(20.5, 20, 7, 18), 2, 2);
}

// The spin-box step arrows: small white triangles on the value boxes.
QImage stepArrow(bool up, int scale)
{
    QImage image(12 * scale, 8 * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    if (up)
        p.drawPolygon(QPolygonF({QPointF(0, 8), QPointF(6, 1), QPointF(12, 8)}));
    else
        p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(6, 7), QPointF(12, 0)}));
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);

    const std::pair<const char *, std::function<void(QPainter &)>> icons[] = {
        {"red", [](QPainter &p) { lamp(p, QColor(230, 30, 30)); }},
        {"green", [](QPainter &p) { lamp(p, QColor(30, 200, 50)); }},
        {"open", folder},
        {"save", disk},
        {"Send", [](QPainter &p) { trayArrow(p, QColor(255, 140, 0), true); }},
        {"Receive", [](QPainter &p) { trayArrow(p, QColor(0, 200, 230), false); }},
        {"Reset", circularArrow},
        {"app", transmitter},
        {"about", info},
    };
    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        for (const auto &icon : icons) {
            QImage image(kSide * scale, kSide * scale, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(scale, scale);
            icon.second(p);
            p.end();
            if (!image.save(outDir + QLatin1Char('/') + QLatin1String(icon.first) + suffix))
                return 1;
        }
        for (bool up : {true, false}) {
            const QString name = up ? QStringLiteral("arrow-up") : QStringLiteral("arrow-down");
            if (!stepArrow(up, scale).save(outDir + QLatin1Char('/') + name + suffix))
                return 1;
        }
    }
    return 0;
}
