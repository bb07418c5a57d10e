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

void housing(QPainter& p, const QRectF& r, Random& rng) {
    const double flange = r.width() * 0.08;
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

void drawItem(QPainter& p, const Item& item) {
    Random rng(item.detail);
    const QRectF& r = item.box;
    switch (item.shape) {
    case Shape::Housing:
        housing(p, r, rng);
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
        drawItem(p, item);

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
