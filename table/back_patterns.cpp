#include "table/back_patterns.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace meldora {

namespace {

constexpr qreal W = PatternWidth;
constexpr qreal H = PatternHeight;

QPointF polar(QPointF centre, qreal radius, qreal degrees)
{
    const qreal a = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(a), radius * std::sin(a));
}

void fillBackground(QPainter& p, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(0, 0, 0, H);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(QRectF(0, 0, W, H), g);
}

// A wavy horizontal line across the whole width.
QPainterPath waveLine(qreal y, qreal amplitude, qreal period, qreal phase = 0)
{
    QPainterPath path(QPointF(-period, y));
    for (qreal x = -period + phase; x < W + period; x += period) {
        path.quadTo(QPointF(x + period / 4, y - amplitude), QPointF(x + period / 2, y));
        path.quadTo(QPointF(x + 3 * period / 4, y + amplitude), QPointF(x + period, y));
    }
    return path;
}

// A side view of a fish with its head towards +x (or -x when facing left).
void fish(QPainter& p, QPointF centre, qreal length, bool facingRight, const QColor& body, const QColor& fin,
          bool stripes = false)
{
    const qreal L = length;
    p.save();
    p.translate(centre);
    if (!facingRight)
        p.scale(-1, 1);
    p.setPen(QPen(fin.darker(160), L * 0.025));

    QPainterPath tail;
    tail.moveTo(-0.28 * L, 0);
    tail.lineTo(-0.5 * L, -0.22 * L);
    tail.quadTo(-0.42 * L, 0, -0.5 * L, 0.22 * L);
    tail.closeSubpath();
    p.setBrush(fin);
    p.drawPath(tail);

    QPainterPath dorsal;
    dorsal.moveTo(-0.12 * L, -0.16 * L);
    dorsal.quadTo(0.0, -0.34 * L, 0.16 * L, -0.17 * L);
    dorsal.closeSubpath();
    p.drawPath(dorsal);
    QPainterPath belly;
    belly.moveTo(-0.05 * L, 0.16 * L);
    belly.quadTo(0.02 * L, 0.28 * L, 0.1 * L, 0.17 * L);
    belly.closeSubpath();
    p.drawPath(belly);

    QPainterPath shape;
    shape.addEllipse(QPointF(0.07 * L, 0), 0.38 * L, 0.2 * L);
    QLinearGradient shade(0, -0.2 * L, 0, 0.2 * L);
    shade.setColorAt(0, body.lighter(130));
    shade.setColorAt(1, body.darker(115));
    p.setBrush(shade);
    p.drawPath(shape);
    if (stripes) {
        p.save();
        p.setClipPath(shape);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(25, 25, 25));
        for (qreal x : {-0.2, 0.0, 0.2})
            p.drawRect(QRectF(x * L, -0.25 * L, 0.07 * L, 0.5 * L));
        p.restore();
    }

    p.setPen(QPen(fin.darker(160), L * 0.02));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(0.18 * L, -0.13 * L, 0.16 * L, 0.26 * L), 100 * 16, 160 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0.3 * L, -0.05 * L), 0.055 * L, 0.055 * L);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(0.315 * L, -0.05 * L), 0.03 * L, 0.03 * L);
    p.restore();
}

void bubbles(QPainter& p, std::initializer_list<QPointF> where)
{
    p.setPen(QPen(QColor(255, 255, 255, 190), 0.8));
    p.setBrush(QColor(255, 255, 255, 50));
    int i = 0;
    for (QPointF c : where) {
        const qreal r = 1.6 + (i++ % 3) * 0.9;
        p.drawEllipse(c, r, r);
    }
}

// A pointed oval leaf with its stalk at the origin, pointing along +y before rotation.
void leaf(QPainter& p, QPointF at, qreal size, qreal degrees, const QColor& colour)
{
    p.save();
    p.translate(at);
    p.rotate(degrees);
    QPainterPath blade;
    blade.moveTo(0, 0);
    blade.cubicTo(size * 0.45, size * 0.2, size * 0.4, size * 0.75, 0, size);
    blade.cubicTo(-size * 0.4, size * 0.75, -size * 0.45, size * 0.2, 0, 0);
    p.setPen(QPen(colour.darker(150), size * 0.04));
    p.setBrush(colour);
    p.drawPath(blade);
    p.setPen(QPen(colour.darker(170), size * 0.05));
    p.drawLine(QPointF(0, -size * 0.15), QPointF(0, size * 0.9));
    for (qreal t : {0.3, 0.5, 0.7}) {
        p.drawLine(QPointF(0, size * t), QPointF(size * 0.22, size * (t - 0.1)));
        p.drawLine(QPointF(0, size * t), QPointF(-size * 0.22, size * (t - 0.1)));
    }
    p.restore();
}

void beach(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 72);
    sky.setColorAt(0, QColor(90, 170, 240));
    sky.setColorAt(1, QColor(200, 232, 255));
    p.fillRect(QRectF(0, 0, W, 72), sky);

    const QPointF sun(70, 30);
    p.setPen(QPen(QColor(255, 190, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
    for (int a = 0; a < 360; a += 30)
        p.drawLine(polar(sun, 17, a), polar(sun, 24, a));
    QRadialGradient glow(sun, 14);
    glow.setColorAt(0, QColor(255, 250, 170));
    glow.setColorAt(1, QColor(255, 200, 0));
    p.setPen(QPen(QColor(240, 150, 0), 1));
    p.setBrush(glow);
    p.drawEllipse(sun, 14, 14);

    p.setPen(QPen(QColor(60, 60, 60), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (QPointF g : {QPointF(22, 22), QPointF(36, 32)}) {
        QPainterPath gull(g);
        gull.quadTo(g + QPointF(3, -3), g + QPointF(6, 0));
        gull.quadTo(g + QPointF(9, -3), g + QPointF(12, 0));
        p.drawPath(gull);
    }

    QLinearGradient sea(0, 70, 0, 112);
    sea.setColorAt(0, QColor(0, 80, 160));
    sea.setColorAt(1, QColor(40, 160, 210));
    p.fillRect(QRectF(0, 70, W, 45), sea);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.2));
    for (qreal y : {80.0, 90.0, 100.0})
        p.drawPath(waveLine(y, 2, 16, y / 3));

    QPainterPath sand(QPointF(0, 108));
    sand.cubicTo(30, 100, 60, 118, W, 106);
    sand.lineTo(W, H);
    sand.lineTo(0, H);
    sand.closeSubpath();
    p.setPen(QPen(Qt::white, 2.5));
    p.setBrush(QColor(238, 212, 150));
    p.drawPath(sand);

    // A palm tree on the sand.
    p.setPen(QPen(QColor(110, 70, 30), 4.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath trunk(QPointF(24, 150));
    trunk.cubicTo(26, 125, 16, 100, 26, 78);
    p.drawPath(trunk);
    for (int i = 0; i < 5; ++i)
        leaf(p, QPointF(26, 78), 22, -150 + i * 60 + (i > 2 ? 20 : 0), QColor(40, 150, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 70, 20));
    p.drawEllipse(QPointF(24, 81), 2.5, 2.5);
    p.drawEllipse(QPointF(29, 81), 2.5, 2.5);

    // A striped beach ball.
    const QRectF ball(62, 128, 16, 16);
    const QColor stripes[] = {QColor(220, 30, 30), Qt::white, QColor(30, 90, 220), QColor(250, 210, 0)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(stripes[i]);
        p.drawPie(ball, i * 90 * 16, 90 * 16);
    }
}

void schoolOfFish(QPainter& p)
{
    fillBackground(p, QColor(40, 140, 210), QColor(10, 45, 115));
    p.setPen(QPen(QColor(255, 255, 255, 40), 3));
    for (qreal x : {15.0, 45.0, 80.0})
        p.drawLine(QPointF(x, 0), QPointF(x - 20, H));
    fish(p, QPointF(35, 24), 40, true, QColor(255, 140, 0), QColor(255, 200, 60));
    fish(p, QPointF(70, 55), 34, false, QColor(255, 215, 40), QColor(255, 150, 0));
    fish(p, QPointF(34, 88), 44, true, QColor(255, 120, 20), QColor(255, 200, 60));
    fish(p, QPointF(68, 118), 36, false, QColor(255, 215, 40), QColor(255, 150, 0));
    fish(p, QPointF(32, 145), 32, true, QColor(255, 140, 0), QColor(255, 200, 60));
    bubbles(p, {QPointF(62, 15), QPointF(66, 8), QPointF(20, 60), QPointF(85, 85), QPointF(88, 78),
                QPointF(14, 118), QPointF(80, 148)});
}

void seaweed(QPainter& p, qreal x, qreal height, const QColor& colour)
{
    QPainterPath weed(QPointF(x, H));
    for (qreal y = H; y > H - height; y -= 16)
        weed.quadTo(QPointF(x + ((static_cast<int>(y) / 16) % 2 ? 7 : -7), y - 8), QPointF(x, y - 16));
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(weed);
}

void tropicalFish(QPainter& p)
{
    fillBackground(p, QColor(20, 170, 160), QColor(0, 80, 90));
    QPainterPath floor(QPointF(0, 140));
    floor.quadTo(50, 130, W, 142);
    floor.lineTo(W, H);
    floor.lineTo(0, H);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 200, 140));
    p.drawPath(floor);
    seaweed(p, 14, 70, QColor(30, 120, 40));
    seaweed(p, 24, 45, QColor(60, 160, 50));
    seaweed(p, 84, 60, QColor(30, 120, 40));
    fish(p, QPointF(52, 72), 82, true, QColor(255, 225, 30), QColor(250, 160, 0), true);
    fish(p, QPointF(72, 22), 22, false, QColor(60, 120, 255), QColor(30, 60, 200));
    bubbles(p, {QPointF(88, 60), QPointF(90, 50), QPointF(86, 41), QPointF(18, 30)});
}

void autumnLeaves(QPainter& p)
{
    p.fillRect(QRectF(0, 0, W, H), QColor(250, 240, 215));
    const QColor colours[] = {QColor(220, 90, 20), QColor(190, 30, 20), QColor(150, 90, 30), QColor(230, 170, 20)};
    int i = 0;
    for (qreal y = -5; y < H; y += 30) {
        const qreal shift = (static_cast<int>(y) / 30) % 2 ? 25 : 0;
        for (qreal x = 5 + shift; x < W + 10; x += 50) {
            leaf(p, QPointF(x, y), 26, (i * 67) % 360, colours[i % 4]);
            ++i;
        }
    }
}

void leafVines(QPainter& p)
{
    p.fillRect(QRectF(0, 0, W, H), QColor(15, 60, 30));
    for (qreal x : {28.0, 72.0}) {
        QPainterPath vine(QPointF(x, -5));
        for (qreal y = -5; y < H; y += 30)
            vine.quadTo(QPointF(x + ((static_cast<int>(y + 5) / 30) % 2 ? 9 : -9), y + 15), QPointF(x, y + 30));
        p.setPen(QPen(QColor(110, 80, 30), 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(vine);
        bool left = x < 50;
        for (qreal y = 5; y < H; y += 15) {
            leaf(p, QPointF(x, y), 17, left ? 60 : -60, QColor(120, 200, 70));
            left = !left;
        }
    }
}

// Argyle: alternating diamonds crossed by thin diagonal lines.
void argyle(QPainter& p)
{
    p.fillRect(QRectF(0, 0, W, H), QColor(150, 10, 30));
    const qreal dw = 25, dh = 40;
    p.setPen(Qt::NoPen);
    for (int row = -1; row * dh / 2 < H + dh; ++row) {
        for (int col = -1; col * dw < W + dw; ++col) {
            const QPointF c(col * dw + (row % 2 ? dw / 2 : 0), row * dh / 2);
            const QPointF diamond[] = {c + QPointF(0, -dh / 2), c + QPointF(dw / 2, 0), c + QPointF(0, dh / 2),
                                       c + QPointF(-dw / 2, 0)};
            p.setBrush((row & 1) ? QColor(215, 60, 60) : QColor(110, 0, 20));
            p.drawPolygon(diamond, 4);
        }
    }
    p.setPen(QPen(QColor(255, 235, 200), 0.8, Qt::DashLine));
    for (qreal s = -H; s < W + H; s += dw) {
        p.drawLine(QPointF(s, 0), QPointF(s + H * dw / dh, H));
        p.drawLine(QPointF(s, 0), QPointF(s - H * dw / dh, H));
    }
}

// Gold rings on navy with small diamonds between them.
void rings(QPainter& p)
{
    p.fillRect(QRectF(0, 0, W, H), QColor(20, 30, 90));
    const QColor gold(235, 190, 60);
    for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
            const QPointF c(col * 25.0, row * 25.0 + 5);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(gold, 1.6));
            p.drawEllipse(c, 10, 10);
            p.setPen(QPen(gold.lighter(115), 1.0));
            p.drawEllipse(c, 6, 6);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 40, 50));
            p.drawEllipse(c, 2.5, 2.5);
            const QPointF d = c + QPointF(12.5, 12.5);
            const QPointF diamond[] = {d + QPointF(0, -3.5), d + QPointF(3.5, 0), d + QPointF(0, 3.5),
                                       d + QPointF(-3.5, 0)};
            p.setBrush(QColor(120, 190, 255));
            p.drawPolygon(diamond, 4);
        }
    }
}

void robot(QPainter& p)
{
    fillBackground(p, QColor(190, 210, 230), QColor(130, 155, 185));
    p.setPen(QPen(QColor(255, 255, 255, 60), 0.7));
    for (qreal x = 10; x < W; x += 10)
        p.drawLine(QPointF(x, 0), QPointF(x, H));
    for (qreal y = 10; y < H; y += 10)
        p.drawLine(QPointF(0, y), QPointF(W, y));

    const QColor metal(175, 180, 190);
    const QPen outline(QColor(50, 55, 65), 1.6);
    p.setPen(outline);
    p.setBrush(QColor(200, 30, 30));
    p.drawLine(QPointF(50, 24), QPointF(50, 12));
    p.drawEllipse(QPointF(50, 10), 4, 4);

    QLinearGradient steel(0, 0, W, 0);
    steel.setColorAt(0, metal.lighter(120));
    steel.setColorAt(1, metal.darker(120));
    p.setBrush(steel);
    p.drawRect(QRectF(24, 33, 6, 12));  // ears
    p.drawRect(QRectF(70, 33, 6, 12));
    p.drawRoundedRect(QRectF(30, 24, 40, 32), 5, 5);  // head
    p.setBrush(QColor(255, 230, 60));
    p.drawEllipse(QPointF(41, 36), 5.5, 5.5);
    p.drawEllipse(QPointF(59, 36), 5.5, 5.5);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(41, 36), 2, 2);
    p.drawEllipse(QPointF(59, 36), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(38, 46, 24, 6));  // mouth
    for (qreal x = 42; x < 62; x += 4)
        p.drawLine(QPointF(x, 46), QPointF(x, 52));

    p.setBrush(steel);
    p.drawRect(QRectF(44, 56, 12, 6));  // neck
    p.drawRoundedRect(QRectF(12, 66, 12, 38), 4, 4);  // arms
    p.drawRoundedRect(QRectF(76, 66, 12, 38), 4, 4);
    p.drawRoundedRect(QRectF(32, 108, 13, 30), 3, 3);  // legs
    p.drawRoundedRect(QRectF(55, 108, 13, 30), 3, 3);
    p.drawRoundedRect(QRectF(28, 136, 20, 8), 3, 3);  // feet
    p.drawRoundedRect(QRectF(52, 136, 20, 8), 3, 3);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(11, 100, 14, 12), 180 * 16, 180 * 16);  // claws
    p.drawArc(QRectF(75, 100, 14, 12), 180 * 16, 180 * 16);
    p.setBrush(steel);
    p.drawRoundedRect(QRectF(24, 62, 52, 48), 6, 6);  // body

    p.setBrush(QColor(40, 50, 70));
    p.drawRoundedRect(QRectF(32, 70, 36, 20), 3, 3);  // control panel
    const QColor lamps[] = {QColor(230, 40, 40), QColor(60, 210, 60), QColor(60, 140, 255)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lamps[i]);
        p.drawEllipse(QPointF(40 + i * 10, 80), 3, 3);
    }
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 100), 5, 5);
    p.drawLine(QPointF(50, 100), QPointF(53, 97));
}

void rose(QPainter& p)
{
    p.fillRect(QRectF(0, 0, W, H), QColor(252, 238, 228));
    p.setPen(QPen(QColor(240, 200, 200), 1.0));
    for (qreal s = -H; s < W; s += 8)
        p.drawLine(QPointF(s, H), QPointF(s + H, 0));

    QPainterPath stem(QPointF(50, 70));
    stem.cubicTo(46, 95, 58, 120, 50, 155);
    p.setPen(QPen(QColor(40, 110, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    p.setPen(QPen(QColor(40, 110, 40), 1.4));
    for (QPointF t : {QPointF(50, 92), QPointF(53, 128)})
        p.drawLine(t, t + QPointF(-4, -2));
    leaf(p, QPointF(51, 104), 22, -115, QColor(60, 140, 50));
    leaf(p, QPointF(52, 120), 20, 110, QColor(60, 140, 50));
    leaf(p, QPointF(50, 72), 14, -140, QColor(60, 140, 50));
    leaf(p, QPointF(50, 72), 14, 140, QColor(60, 140, 50));

    const QPointF bloom(50, 52);
    QRadialGradient petal(bloom, 24);
    petal.setColorAt(0, QColor(230, 40, 60));
    petal.setColorAt(1, QColor(160, 0, 25));
    p.setPen(QPen(QColor(110, 0, 20), 1.0));
    p.setBrush(petal);
    for (int a = 0; a < 360; a += 72)
        p.drawEllipse(polar(bloom, 11, a - 90), 13, 13);
    p.drawEllipse(bloom, 14, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(100, 0, 20), 1.5, Qt::SolidLine, Qt::RoundCap));
    // The folded petals at the heart of the bloom, as a spiral.
    QPainterPath spiral(bloom);
    for (int step = 1; step <= 40; ++step)
        spiral.lineTo(polar(bloom, step * 0.28, step * 24.0));
    p.drawPath(spiral);
}

void shell(QPainter& p)
{
    fillBackground(p, QColor(150, 215, 225), QColor(235, 215, 170));
    bubbles(p, {QPointF(18, 20), QPointF(80, 30), QPointF(86, 22), QPointF(15, 135), QPointF(84, 140)});

    const QPointF hinge(50, 118);
    const qreal radius = 46;
    const int ribs = 9;
    const qreal from = 200, to = 340;
    QPainterPath rim(hinge);
    const qreal span = (to - from) / ribs;
    rim.lineTo(polar(hinge, radius * 0.9, from));
    for (int i = 0; i < ribs; ++i) {
        const qreal a = from + i * span;
        rim.quadTo(polar(hinge, radius * 1.08, a + span / 2), polar(hinge, radius * 0.9, a + span));
    }
    rim.closeSubpath();
    QRadialGradient body(hinge, radius);
    body.setColorAt(0, QColor(255, 235, 215));
    body.setColorAt(1, QColor(245, 150, 120));
    p.setPen(QPen(QColor(170, 80, 60), 1.4));
    p.setBrush(body);
    p.drawPath(rim);
    p.setPen(QPen(QColor(190, 100, 80), 1.1));
    for (int i = 1; i < ribs; ++i)
        p.drawLine(hinge, polar(hinge, radius * 0.9, from + i * span));
    for (qreal r : {16.0, 28.0})
        p.drawArc(QRectF(hinge.x() - r, hinge.y() - r, 2 * r, 2 * r), static_cast<int>(-from * 16),
                  static_cast<int>(-(to - from) * 16));

    QPainterPath ears(hinge + QPointF(-12, 2));
    ears.lineTo(hinge + QPointF(12, 2));
    ears.lineTo(hinge + QPointF(6, -8));
    ears.lineTo(hinge + QPointF(-6, -8));
    ears.closeSubpath();
    p.setPen(QPen(QColor(170, 80, 60), 1.2));
    p.setBrush(QColor(240, 170, 140));
    p.drawPath(ears);
}

}  // namespace

void paintPattern(QPainter& painter, int pattern)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (pattern) {
    case 0: beach(painter); break;
    case 1: schoolOfFish(painter); break;
    case 2: tropicalFish(painter); break;
    case 3: autumnLeaves(painter); break;
    case 4: leafVines(painter); break;
    case 5: argyle(painter); break;
    case 6: rings(painter); break;
    case 7: robot(painter); break;
    case 8: rose(painter); break;
    case 9: shell(painter); break;
    default:
        painter.restore();
        throw std::out_of_range("card back pattern number out of range");
    }
    painter.restore();
}

}  // namespace meldora
