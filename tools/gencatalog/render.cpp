#include "render.h"

#include "random.h"
#include "sketch.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace Gen {

namespace {

using namespace Sketch;

void flangedHousing(QPainter& p, const QRectF& r, Random& rng, int variety) {
    const double flange = r.width() * (0.06 + 0.02 * variety);
    const QRectF body = r.adjusted(flange, r.height() * 0.1, -flange, -r.height() * 0.1);
    p.drawRoundedRect(body, 6, 6);
    p.drawRect(QRectF(r.left(), r.top(), flange, r.height()));
    p.drawRect(QRectF(r.right() - flange, r.top(), flange, r.height()));
    const QRectF cavity = body.adjusted(body.width() * 0.12, body.height() * 0.22,
                                        -body.width() * 0.12, -body.height() * 0.22);
    p.setPen(hidden());
    p.drawRect(cavity);
    p.setPen(solid());
    // Quarter section: the wall above the cavity on the left.
    hatch(p, QRectF(body.left(), body.top(), body.width() * 0.45, cavity.top() - body.top()));
    for (double y : {r.top() + r.height() * 0.18, r.bottom() - r.height() * 0.18}) {
        p.drawEllipse(QPointF(r.left() + flange / 2, y), flange * 0.3, flange * 0.3);
        p.drawEllipse(QPointF(r.right() - flange / 2, y), flange * 0.3, flange * 0.3);
    }
    const int ribs = rng.between(0, 3);
    for (int i = 1; i <= ribs; ++i) {
        const double x = cavity.left() + cavity.width() * i / (ribs + 1);
        p.drawLine(QPointF(x, body.bottom()), QPointF(x, cavity.bottom()));
    }
}

// A block with a row of bores seen from above and the deck cut in section.
void block(QPainter& p, const QRectF& r, int variety) {
    p.drawRect(r);
    const double deck = r.height() * 0.18;
    hatch(p, QRectF(r.left(), r.top(), r.width(), deck));
    const int bores = 3 + variety;
    const double pitch = r.width() / bores;
    const double radius = std::min(pitch, r.height() - deck) * 0.32;
    for (int i = 0; i < bores; ++i) {
        const QPointF c(r.left() + pitch * (i + 0.5), r.top() + deck + (r.height() - deck) / 2);
        p.drawEllipse(c, radius, radius);
        p.setPen(hidden());
        p.drawEllipse(c, radius * 0.7, radius * 0.7);
        p.setPen(solid());
    }
}

// A frame with window openings and a door seam: a cab, a hood, a guard.
void frame(QPainter& p, const QRectF& r, int variety) {
    const double slope = r.width() * 0.12;
    p.drawPolygon(
        QPolygonF({QPointF(r.left() + slope, r.top()), QPointF(r.right() - slope, r.top()),
                   r.bottomRight(), r.bottomLeft()}));
    const int windows = 1 + variety % 3;
    const double w = (r.width() - 2 * slope) / windows;
    for (int i = 0; i < windows; ++i)
        p.drawRect(QRectF(r.left() + slope + w * i + w * 0.1, r.top() + r.height() * 0.1, w * 0.8,
                          r.height() * 0.4));
    const double seam = r.left() + r.width() * (0.4 + 0.05 * variety);
    p.drawLine(QPointF(seam, r.top() + r.height() * 0.55), QPointF(seam, r.bottom()));
}

// A core between two tanks with its fins and pipe stubs: a radiator, a cooler, a tank.
void core(QPainter& p, const QRectF& r, int variety) {
    const double tank = r.height() * 0.16;
    p.drawRoundedRect(QRectF(r.left(), r.top(), r.width(), tank), 4, 4);
    p.drawRoundedRect(QRectF(r.left(), r.bottom() - tank, r.width(), tank), 4, 4);
    const QRectF fins(r.left() + 4, r.top() + tank, r.width() - 8, r.height() - 2 * tank);
    p.drawRect(fins);
    const int count = 6 + 3 * variety;
    for (int i = 1; i < count; ++i) {
        const double x = fins.left() + fins.width() * i / count;
        p.drawLine(QPointF(x, fins.top()), QPointF(x, fins.bottom()));
    }
    const double stub = r.width() * 0.06;
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() - tank * 0.5, stub, tank * 0.5));
    p.drawRect(QRectF(r.right() - r.width() * 0.2, r.bottom(), stub, tank * 0.5));
}

// A beam with tapered arms and a round centre with its bolt circle: an axle, a bridge.
void beam(QPainter& p, const QRectF& r, int variety) {
    const QPointF c = r.center();
    const double radius = r.height() * (0.34 + 0.04 * variety);
    const double arm = r.height() * 0.18;
    QPainterPath path;
    path.moveTo(r.left(), c.y() - arm * 0.6);
    path.lineTo(c.x() - radius, c.y() - arm);
    path.lineTo(c.x() - radius, c.y() + arm);
    path.lineTo(r.left(), c.y() + arm * 0.6);
    path.closeSubpath();
    path.moveTo(r.right(), c.y() - arm * 0.6);
    path.lineTo(c.x() + radius, c.y() - arm);
    path.lineTo(c.x() + radius, c.y() + arm);
    path.lineTo(r.right(), c.y() + arm * 0.6);
    path.closeSubpath();
    p.drawPath(path);
    p.drawEllipse(c, radius, radius);
    const int bolts = 4 + 2 * variety;
    for (int i = 0; i < bolts; ++i) {
        const double a = 2 * M_PI * i / bolts;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * radius * 0.75, 1.5, 1.5);
    }
}

enum class Outline { Flanged, Block, Frame, Core, Beam };

// The outline of each group's bodies, in the order of the groups in the words: the engine is a
// block of bores, the tank and the radiator cores, axles and brakes beams, the frame, the hitch
// and the cab frames.
constexpr Outline outlines[] = {
    Outline::Flanged, Outline::Block,   Outline::Core,  Outline::Core,
    Outline::Flanged, Outline::Flanged, Outline::Beam,  Outline::Beam,
    Outline::Frame,   Outline::Flanged, Outline::Beam,  Outline::Block,
    Outline::Flanged, Outline::Frame,   Outline::Block, Outline::Frame,
};
constexpr int outlineCount = int(sizeof outlines / sizeof outlines[0]);

// The body of an assembly in its group's outline; groups sharing an outline differ in its
// proportions (the variety), so drawings of different groups never show the same body.
void housing(QPainter& p, const QRectF& r, Random& rng, int family) {
    const Outline outline = outlines[family % outlineCount];
    int variety = family / outlineCount;
    for (int i = 0; i < family % outlineCount; ++i)
        variety += outlines[i] == outline;
    switch (outline) {
    case Outline::Flanged:
        flangedHousing(p, r, rng, variety);
        break;
    case Outline::Block:
        block(p, r, variety);
        break;
    case Outline::Frame:
        frame(p, r, variety);
        break;
    case Outline::Core:
        core(p, r, variety);
        break;
    case Outline::Beam:
        beam(p, r, variety);
        break;
    }
}

void shaft(QPainter& p, const QRectF& r, Random& rng) {
    const int steps = rng.between(3, 5);
    double x = r.left();
    for (int i = 0; i < steps; ++i) {
        const double w = r.width() / steps;
        const double middle = 1 - std::abs(i - (steps - 1) / 2.0) / steps;
        const double h = r.height() * (0.45 + 0.55 * middle);
        p.drawRect(QRectF(x, r.center().y() - h / 2, w, h));
        if (i == steps / 2 && w > 14)
            p.drawRoundedRect(QRectF(x + w * 0.25, r.center().y() - h / 2, w * 0.5, h * 0.2), 2, 2);
        x += w;
    }
}

void gear(QPainter& p, const QRectF& r, Random&) {
    p.drawRect(r);
    const double root = r.height() * 0.1;
    p.drawLine(QPointF(r.left(), r.top() + root), QPointF(r.right(), r.top() + root));
    p.drawLine(QPointF(r.left(), r.bottom() - root), QPointF(r.right(), r.bottom() - root));
    const double bore = r.height() * 0.18;
    hatch(p, QRectF(r.left(), r.top() + root, r.width(), r.center().y() - bore - r.top() - root));
    p.setPen(hidden());
    p.drawLine(QPointF(r.left(), r.center().y() + bore), QPointF(r.right(), r.center().y() + bore));
    p.setPen(solid());
}

void disc(QPainter& p, const QRectF& r, Random& rng) {
    const QRectF plate = r.adjusted(r.width() * 0.25, 0, -r.width() * 0.25, 0);
    p.drawRect(plate);
    const QRectF hub(r.left(), r.center().y() - r.height() * 0.18, r.width(), r.height() * 0.36);
    p.drawRect(hub);
    hatch(p, QRectF(plate.left(), plate.top(), plate.width(), hub.top() - plate.top()));
    if (rng.chance(0.6)) {
        p.setPen(hidden());
        const double y = r.top() + r.height() * 0.8;
        p.drawLine(QPointF(plate.left(), y), QPointF(plate.right(), y));
        p.setPen(solid());
    }
}

void bushing(QPainter& p, const QRectF& r, Random&) {
    const double wall = r.height() * 0.25;
    hatch(p, QRectF(r.left(), r.top(), r.width(), wall));
    hatch(p, QRectF(r.left(), r.bottom() - wall, r.width(), wall));
    p.drawRect(r);
}

void bearing(QPainter& p, const QRectF& r, Random&) {
    p.drawRect(r);
    const double ring = r.height() * 0.12;
    for (double top :
         {r.top(), r.center().y() - ring * 1.6, r.center().y() + ring * 0.6, r.bottom() - ring})
        hatch(p, QRectF(r.left(), top, r.width(), ring), 4);
    const double ball = std::min(r.width(), r.center().y() - ring * 1.6 - r.top() - ring) * 0.45;
    for (double y : {r.top() + ring + (r.center().y() - ring * 1.6 - r.top() - ring) / 2,
                     r.bottom() - ring - (r.center().y() - ring * 1.6 - r.top() - ring) / 2})
        p.drawEllipse(QPointF(r.center().x(), y), ball, ball);
}

void spring(QPainter& p, const QRectF& r, Random&) {
    const int coils = std::max(3, int(r.width() / 6));
    QPainterPath path(QPointF(r.left(), r.center().y()));
    for (int i = 0; i < coils; ++i) {
        const double x = r.left() + r.width() * (i + 0.5) / coils;
        path.lineTo(x, i % 2 ? r.bottom() : r.top());
    }
    path.lineTo(r.right(), r.center().y());
    p.drawPath(path);
}

void bolt(QPainter& p, const QRectF& r, Random&) {
    const double head = r.width() * 0.22;
    p.drawRect(QRectF(r.left(), r.top(), head, r.height()));
    p.drawLine(QPointF(r.left(), r.top() + r.height() / 4),
               QPointF(r.left() + head, r.top() + r.height() / 4));
    p.drawLine(QPointF(r.left(), r.bottom() - r.height() / 4),
               QPointF(r.left() + head, r.bottom() - r.height() / 4));
    const double d = r.height() * 0.6;
    const QRectF shank(r.left() + head, r.center().y() - d / 2, r.width() - head, d);
    p.drawRect(shank);
    const double threadFrom = shank.left() + shank.width() * 0.5;
    p.drawLine(QPointF(threadFrom, shank.top() + d * 0.15),
               QPointF(shank.right(), shank.top() + d * 0.15));
    p.drawLine(QPointF(threadFrom, shank.bottom() - d * 0.15),
               QPointF(shank.right(), shank.bottom() - d * 0.15));
    p.drawLine(QPointF(threadFrom, shank.top()), QPointF(threadFrom, shank.bottom()));
}

void nut(QPainter& p, const QRectF& r, Random&) {
    p.drawRect(r);
    p.drawLine(QPointF(r.left(), r.top() + r.height() * 0.3),
               QPointF(r.right(), r.top() + r.height() * 0.3));
    p.drawLine(QPointF(r.left(), r.bottom() - r.height() * 0.3),
               QPointF(r.right(), r.bottom() - r.height() * 0.3));
}

void washer(QPainter& p, const QRectF& r, Random&) {
    const double bore = r.height() * 0.4;
    const double part = (r.height() - bore) / 2;
    hatch(p, QRectF(r.left(), r.top(), r.width(), part), 3);
    hatch(p, QRectF(r.left(), r.bottom() - part, r.width(), part), 3);
}

void ring(QPainter& p, const QRectF& r, Random&) {
    p.drawEllipse(r);
    const double d = std::min(r.width(), r.height() * 0.25);
    p.drawEllipse(QRectF(r.center().x() - d / 2, r.top(), d, d));
    p.drawEllipse(QRectF(r.center().x() - d / 2, r.bottom() - d, d, d));
}

void lever(QPainter& p, const QRectF& r, Random& rng) {
    const double boss = std::min(r.height() * 0.5, r.width() * 0.3);
    const bool up = rng.chance(0.5);
    const QPointF a(r.left() + boss / 2, up ? r.bottom() - boss / 2 : r.top() + boss / 2);
    const QPointF b(r.right() - boss / 2, up ? r.top() + boss / 2 : r.bottom() - boss / 2);
    const QPointF along = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const QPointF side(-along.y() * boss * 0.3, along.x() * boss * 0.3);
    p.drawLine(a + side, b + side);
    p.drawLine(a - side, b - side);
    p.setBrush(Qt::white);
    p.drawEllipse(a, boss / 2, boss / 2);
    p.drawEllipse(b, boss / 2, boss / 2);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(a, boss / 5, boss / 5);
    p.drawEllipse(b, boss / 5, boss / 5);
}

void pipe(QPainter& p, const QRectF& r, Random& rng) {
    const double t = std::max(2.0, r.height() * 0.12);
    const bool down = rng.chance(0.5);
    for (double off : {-t / 2, t / 2}) {
        QPainterPath path(QPointF(r.left() + 6, (down ? r.top() : r.bottom()) + off));
        path.cubicTo(QPointF(r.center().x(), (down ? r.top() : r.bottom()) + off),
                     QPointF(r.center().x(), (down ? r.bottom() : r.top()) + off),
                     QPointF(r.right() - 6, (down ? r.bottom() : r.top()) + off));
        p.drawPath(path);
    }
    const double fy1 = down ? r.top() : r.bottom(), fy2 = down ? r.bottom() : r.top();
    p.drawRect(QRectF(r.left(), fy1 - t, 6, 2 * t));
    p.drawRect(QRectF(r.right() - 6, fy2 - t, 6, 2 * t));
}

void cover(QPainter& p, const QRectF& r, Random&) {
    const double flange = r.width() * 0.18;
    p.drawRect(QRectF(r.left(), r.top(), flange, r.height()));
    QPainterPath dome;
    dome.moveTo(r.left() + flange, r.top() + r.height() * 0.15);
    dome.cubicTo(QPointF(r.right(), r.top() + r.height() * 0.15),
                 QPointF(r.right(), r.bottom() - r.height() * 0.15),
                 QPointF(r.left() + flange, r.bottom() - r.height() * 0.15));
    p.drawPath(dome);
    hatch(p, QRectF(r.left(), r.top(), flange, r.height() * 0.35), 4);
}

void pin(QPainter& p, const QRectF& r, Random&) {
    const double c = std::min(r.height() * 0.4, r.width() * 0.1);
    QPainterPath path;
    path.moveTo(r.left() + c, r.top());
    path.lineTo(r.right() - c, r.top());
    path.lineTo(r.right(), r.top() + c);
    path.lineTo(r.right(), r.bottom() - c);
    path.lineTo(r.right() - c, r.bottom());
    path.lineTo(r.left() + c, r.bottom());
    path.lineTo(r.left(), r.bottom() - c);
    path.lineTo(r.left(), r.top() + c);
    path.closeSubpath();
    p.drawPath(path);
}

void drawItem(QPainter& p, const Item& item, int family) {
    Random rng(item.detail);
    const QRectF& r = item.box;
    switch (item.shape) {
    case Shape::Housing:
        housing(p, r, rng, family);
        break;
    case Shape::Shaft:
        shaft(p, r, rng);
        break;
    case Shape::Gear:
        gear(p, r, rng);
        break;
    case Shape::Disc:
        disc(p, r, rng);
        break;
    case Shape::Bushing:
        bushing(p, r, rng);
        break;
    case Shape::Bearing:
        bearing(p, r, rng);
        break;
    case Shape::Spring:
        spring(p, r, rng);
        break;
    case Shape::Bolt:
        bolt(p, r, rng);
        break;
    case Shape::Nut:
        nut(p, r, rng);
        break;
    case Shape::Washer:
        washer(p, r, rng);
        break;
    case Shape::Ring:
        ring(p, r, rng);
        break;
    case Shape::Lever:
        lever(p, r, rng);
        break;
    case Shape::Pipe:
        pipe(p, r, rng);
        break;
    case Shape::Cover:
        cover(p, r, rng);
        break;
    case Shape::Pin:
        pin(p, r, rng);
        break;
    }
}

// Where the leader from the anchor meets the edge of the number's box.
QPointF boxEdge(const QRectF& box, const QPointF& from) {
    const QPointF c = box.center();
    const double dx = from.x() - c.x(), dy = from.y() - c.y();
    if (dx == 0 && dy == 0) return c;
    const double sx = dx == 0 ? 1e9 : (box.width() / 2) / std::abs(dx);
    const double sy = dy == 0 ? 1e9 : (box.height() / 2) / std::abs(dy);
    const double s = std::min(1.0, std::min(sx, sy));
    return c + QPointF(dx, dy) * s;
}

// The font of the numbers on the picture drawn at scale, in the picture's own units. The viewer
// shows the big picture (scale 2) at up to twice the fitted size while its markers keep their
// 16 pixels, so there the numbers are printed at a quarter of the small picture's size: never
// larger on the screen than on the fitted small picture, always under the marker.
QFont numberFont(int scale) {
    QFont f = labelFont();
    if (scale > 1) f.setPixelSize(std::max(1, f.pixelSize() / 4));
    return f;
}

} // namespace

QSizeF printedNumberSize(int position, int scale) {
    // Measured on the pixels, as the number is printed: metrics of fonts a few pixels high
    // say little about the glyphs drawn.
    QImage image(QSize(240, 80), QImage::Format_Grayscale8);
    image.fill(255);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.scale(scale, scale);
    p.setPen(Qt::black);
    p.setFont(numberFont(scale));
    centredText(p, QPointF(120.0 / scale, 40.0 / scale), QString::number(position));
    p.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).value() < 128) ink |= QRect(x, y, 1, 1);
    return QSizeF(ink.size());
}

QByteArray renderDrawing(const Scene& scene, int scale) {
    Canvas canvas(scene.size, scale);
    QPainter& p = canvas.painter();
    const double W = scene.size.width(), H = scene.size.height();
    p.drawRect(QRectF(4, 4, W - 9, H - 9));
    p.setPen(centre());
    for (const QLineF& l : scene.axes)
        p.drawLine(l);
    for (const QLineF& l : scene.links)
        p.drawLine(l);
    p.setPen(solid());
    for (const Item& item : scene.items)
        drawItem(p, item, scene.family);

    const QFont numbers = numberFont(scale);
    const QFontMetricsF metrics(numbers);
    QVector<QRectF> boxes;
    for (const Label& l : scene.labels) {
        const QString text = QString::number(l.position);
        const QRectF tight = metrics.tightBoundingRect(text);
        boxes << QRectF(l.centre.x() - tight.width() / 2 - 3, l.centre.y() - tight.height() / 2 - 3,
                        tight.width() + 6, tight.height() + 6);
        p.drawLine(l.anchor, boxEdge(boxes.last(), l.anchor));
        p.setBrush(Qt::black);
        p.drawEllipse(l.anchor, 1.5, 1.5);
        p.setBrush(Qt::NoBrush);
    }
    p.setFont(numbers);
    for (int i = 0; i < scene.labels.size(); ++i) {
        p.fillRect(boxes[i], Qt::white);
        centredText(p, scene.labels[i].centre, QString::number(scene.labels[i].position));
    }
    p.setFont(font(13));
    p.drawText(QPointF(14, H - 14), scene.caption);
    return canvas.bmp();
}

} // namespace Gen
