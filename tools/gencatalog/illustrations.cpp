#include "illustrations.h"

#include "sketch.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace Gen {

namespace {

using namespace Sketch;

constexpr double pi = 3.14159265358979;

QPolygonF hexagon(const QPointF& c, double r) {
    QPolygonF poly;
    for (int i = 0; i < 6; ++i)
        poly << c + QPointF(r * std::cos(pi / 3 * i), r * std::sin(pi / 3 * i));
    return poly;
}

void axisH(QPainter& p, double x1, double x2, double y) {
    p.save();
    p.setPen(centre());
    p.drawLine(QPointF(x1, y), QPointF(x2, y));
    p.restore();
}

void axisV(QPainter& p, double x, double y1, double y2) {
    p.save();
    p.setPen(centre());
    p.drawLine(QPointF(x, y1), QPointF(x, y2));
    p.restore();
}

void threadEnd(QPainter& p, const QPointF& c, double r) {
    p.drawEllipse(c, r * 0.85, r * 0.85);
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, 270 * 16);
}

void bolt(QPainter& p, bool screw) {
    axisH(p, 40, 350, 180);
    if (screw) {
        QPainterPath head;
        head.moveTo(100, 120);
        head.cubicTo(40, 120, 40, 240, 100, 240);
        head.closeSubpath();
        p.drawPath(head);
        p.drawLine(QPointF(62, 170), QPointF(62, 190));
    } else {
        p.drawRect(QRectF(60, 115, 40, 130));
        p.drawLine(QPointF(60, 150), QPointF(100, 150));
        p.drawLine(QPointF(60, 210), QPointF(100, 210));
    }
    p.drawRect(QRectF(100, 150, 230, 60));
    p.drawLine(QPointF(230, 156), QPointF(330, 156));
    p.drawLine(QPointF(230, 204), QPointF(330, 204));
    p.drawLine(QPointF(230, 150), QPointF(230, 210));
    dimensionH(p, 100, 330, 285, QStringLiteral("l"));
    dimensionH(p, 230, 330, 120, QStringLiteral("b"));
    dimensionH(p, screw ? 45 : 60, 100, 90, QStringLiteral("k"));
    dimensionV(p, 352, 150, 210, QStringLiteral("d"));
    p.drawLine(QPointF(100, 215), QPointF(100, 295));
    p.drawLine(QPointF(330, 215), QPointF(330, 295));
    if (screw) {
        p.drawEllipse(QPointF(425, 180), 45, 45);
        p.drawLine(QPointF(382, 180), QPointF(468, 180));
        dimensionH(p, 380, 470, 250, QStringLiteral("D"));
    } else {
        p.drawPolygon(hexagon(QPointF(425, 180), 50));
        threadEnd(p, QPointF(425, 180), 22);
        dimensionH(p, 382, 468, 255, QStringLiteral("S"));
    }
}

void nut(QPainter& p, bool castle) {
    p.drawPolygon(hexagon(QPointF(150, 180), 90));
    threadEnd(p, QPointF(150, 180), 40);
    axisH(p, 40, 260, 180);
    axisV(p, 150, 70, 290);
    dimensionH(p, 72, 228, 300, QStringLiteral("S"));
    const QRectF side(320, 102, 80, 156);
    p.drawRect(side);
    p.drawLine(QPointF(320, 140), QPointF(400, 140));
    p.drawLine(QPointF(320, 220), QPointF(400, 220));
    p.setPen(hidden());
    p.drawLine(QPointF(320, 140), QPointF(400, 140));
    p.drawLine(QPointF(320, 160), QPointF(400, 160));
    p.drawLine(QPointF(320, 200), QPointF(400, 200));
    p.setPen(solid());
    if (castle)
        for (double y : {120.0, 170.0, 220.0})
            p.drawRect(QRectF(370, y, 30, 20));
    dimensionH(p, 320, 400, 85, castle ? QStringLiteral("h") : QStringLiteral("m"));
    dimensionV(p, 440, 160, 200, QStringLiteral("d"));
}

void washer(QPainter& p, bool spring) {
    p.drawEllipse(QPointF(160, 180), 100, 100);
    p.drawEllipse(QPointF(160, 180), spring ? 72 : 50, spring ? 72 : 50);
    axisH(p, 40, 280, 180);
    axisV(p, 160, 60, 300);
    if (spring) {
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(154, 70, 12, 40));
        p.setPen(solid());
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(152, 80), QPointF(160, 108));
        p.drawLine(QPointF(160, 80), QPointF(168, 108));
        hatch(p, QRectF(350, 80, 28, 28));
        hatch(p, QRectF(350, 252, 28, 28));
        dimensionH(p, 350, 378, 60, QStringLiteral("s"));
        dimensionV(p, 410, 108, 252, QStringLiteral("d"));
    } else {
        hatch(p, QRectF(350, 80, 18, 50));
        hatch(p, QRectF(350, 230, 18, 50));
        dimensionH(p, 350, 368, 60, QStringLiteral("s"));
        dimensionV(p, 410, 130, 230, QStringLiteral("d1"));
        dimensionV(p, 450, 80, 280, QStringLiteral("d2"));
    }
}

void bearing(QPainter& p, bool rollers) {
    p.drawEllipse(QPointF(130, 180), 100, 100);
    p.drawEllipse(QPointF(130, 180), 82, 82);
    p.drawEllipse(QPointF(130, 180), 56, 56);
    p.drawEllipse(QPointF(130, 180), 40, 40);
    axisH(p, 20, 250, 180);
    axisV(p, 130, 60, 300);
    const QRectF outer(300, 80, 90, 200);
    p.drawRect(outer);
    for (double top : {80.0, 262.0})
        hatch(p, QRectF(300, top, 90, 18), 4);
    for (double top : {124.0, 218.0})
        hatch(p, QRectF(300, top, 90, 18), 4);
    for (double y : {110.0, 250.0}) {
        if (rollers)
            p.drawRect(QRectF(322, y - 11, 46, 22));
        else
            p.drawEllipse(QPointF(345, y), 11, 11);
    }
    axisH(p, 280, 410, 180);
    dimensionH(p, 300, 390, 60, QStringLiteral("B"));
    dimensionV(p, 440, 80, 280, QStringLiteral("D"));
    dimensionV(p, 280, 142, 218, QStringLiteral("d"));
}

void oring(QPainter& p, bool circlip) {
    if (circlip) {
        QPainterPath r;
        r.arcMoveTo(QRectF(60, 80, 200, 200), 110);
        r.arcTo(QRectF(60, 80, 200, 200), 110, 320);
        p.drawPath(r);
        p.drawArc(QRectF(80, 100, 160, 160), 110 * 16, 320 * 16);
        p.drawEllipse(QPointF(132, 96), 8, 8);
        p.drawEllipse(QPointF(188, 96), 8, 8);
        hatch(p, QRectF(350, 100, 14, 22));
        hatch(p, QRectF(350, 238, 14, 22));
        dimensionH(p, 350, 364, 80, QStringLiteral("s"));
        dimensionV(p, 410, 122, 238, QStringLiteral("d"));
    } else {
        p.drawEllipse(QPointF(160, 180), 100, 100);
        p.drawEllipse(QPointF(160, 180), 84, 84);
        QPainterPath top, bottom;
        top.addEllipse(QPointF(360, 90), 12, 12);
        bottom.addEllipse(QPointF(360, 270), 12, 12);
        hatch(p, top, 4);
        hatch(p, bottom, 4);
        dimensionV(p, 410, 102, 258, QStringLiteral("d"));
        dimensionH(p, 348, 372, 60, QStringLiteral("d2"));
    }
    axisH(p, 40, 280, 180);
    axisV(p, 160, 60, 300);
}

void cotter(QPainter& p, bool plain) {
    if (plain) {
        QPainterPath pin;
        pin.moveTo(80, 160);
        pin.lineTo(390, 160);
        pin.lineTo(400, 170);
        pin.lineTo(400, 190);
        pin.lineTo(390, 200);
        pin.lineTo(80, 200);
        pin.lineTo(70, 190);
        pin.lineTo(70, 170);
        pin.closeSubpath();
        p.drawPath(pin);
        axisH(p, 50, 420, 180);
        dimensionH(p, 70, 400, 240, QStringLiteral("l"));
        dimensionV(p, 440, 160, 200, QStringLiteral("d"));
        return;
    }
    p.drawEllipse(QPointF(95, 180), 30, 30);
    p.drawEllipse(QPointF(95, 180), 16, 16);
    p.drawLine(QPointF(120, 164), QPointF(400, 164));
    p.drawLine(QPointF(120, 196), QPointF(380, 196));
    p.drawLine(QPointF(122, 180), QPointF(400, 180));
    p.drawLine(QPointF(400, 164), QPointF(400, 180));
    p.drawLine(QPointF(380, 180), QPointF(380, 196));
    dimensionH(p, 125, 400, 250, QStringLiteral("l"));
    dimensionV(p, 440, 164, 196, QStringLiteral("d"));
}

void stud(QPainter& p) {
    p.drawRect(QRectF(60, 150, 340, 60));
    for (double x1 : {60.0, 280.0}) {
        const double x2 = x1 == 60 ? 140 : 400;
        p.drawLine(QPointF(x1, 156), QPointF(x2, 156));
        p.drawLine(QPointF(x1, 204), QPointF(x2, 204));
    }
    p.drawLine(QPointF(140, 150), QPointF(140, 210));
    p.drawLine(QPointF(280, 150), QPointF(280, 210));
    axisH(p, 40, 420, 180);
    dimensionH(p, 60, 140, 120, QStringLiteral("b1"));
    dimensionH(p, 280, 400, 120, QStringLiteral("b"));
    dimensionH(p, 140, 400, 260, QStringLiteral("l"));
    dimensionV(p, 440, 150, 210, QStringLiteral("d"));
}

void cuff(QPainter& p) {
    for (double sign : {-1.0, 1.0}) {
        QPainterPath body;
        const double y0 = 180 + sign * 40, y1 = 180 + sign * 120;
        body.moveTo(200, y1);
        body.lineTo(300, y1);
        body.lineTo(300, y1 - sign * 25);
        body.lineTo(230, y0 + sign * 10);
        body.lineTo(200, y0);
        body.closeSubpath();
        hatch(p, body, 5);
        p.drawEllipse(QPointF(255, y0 + sign * 28), 9, 9);
    }
    axisH(p, 160, 340, 180);
    dimensionH(p, 200, 300, 45, QStringLiteral("h"));
    dimensionV(p, 350, 60, 300, QStringLiteral("D"));
    dimensionV(p, 170, 140, 220, QStringLiteral("d"));
}

void nipple(QPainter& p) {
    p.drawRect(QRectF(200, 230, 80, 50));
    p.drawRect(QRectF(194, 195, 92, 30));
    p.drawRect(QRectF(225, 130, 30, 65));
    p.drawEllipse(QPointF(240, 118), 16, 16);
    axisV(p, 240, 80, 300);
    dimensionV(p, 320, 230, 280, QStringLiteral("d"));
    dimensionH(p, 194, 286, 320, QStringLiteral("S"));
}

void none(QPainter& p) {
    p.setPen(hidden());
    p.drawRect(QRectF(120, 90, 240, 180));
    p.drawLine(QPointF(120, 90), QPointF(360, 270));
    p.drawLine(QPointF(360, 90), QPointF(120, 270));
    p.setPen(solid());
    p.setFont(font(16, true));
    p.fillRect(QRectF(100, 165, 280, 30), Qt::white);
    centredText(p, QPointF(240, 180), QStringLiteral("Иллюстрация отсутствует"));
}

} // namespace

QByteArray renderIllustration(const Standard* standard) {
    Canvas canvas(QSize(480, 360), 1);
    QPainter& p = canvas.painter();
    const QString kind = standard ? standard->illustration : QString();
    if (kind == QLatin1String("bolt") || kind == QLatin1String("screw"))
        bolt(p, kind == QLatin1String("screw"));
    else if (kind == QLatin1String("nut") || kind == QLatin1String("castle"))
        nut(p, kind == QLatin1String("castle"));
    else if (kind == QLatin1String("washer") || kind == QLatin1String("spring"))
        washer(p, kind == QLatin1String("spring"));
    else if (kind == QLatin1String("ball") || kind == QLatin1String("roller"))
        bearing(p, kind == QLatin1String("roller"));
    else if (kind == QLatin1String("oring") || kind == QLatin1String("circlip"))
        oring(p, kind == QLatin1String("circlip"));
    else if (kind == QLatin1String("cotter") || kind == QLatin1String("pin"))
        cotter(p, kind == QLatin1String("pin"));
    else if (kind == QLatin1String("stud"))
        stud(p);
    else if (kind == QLatin1String("cuff"))
        cuff(p);
    else if (kind == QLatin1String("nipple"))
        nipple(p);
    else
        none(p);
    if (standard) {
        p.setFont(font(14, true));
        centredText(p, QPointF(240, 340), standard->gost);
    }
    return canvas.bmp();
}

} // namespace Gen
