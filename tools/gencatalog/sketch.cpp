#include "sketch.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainterPath>
#include <cmath>

namespace Gen::Sketch {

Canvas::Canvas(QSize size, int scale) : image(size * scale, QImage::Format_Grayscale8) {
    image.fill(255);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.scale(scale, scale);
    p.setPen(solid());
    p.setBrush(Qt::NoBrush);
}

QByteArray Canvas::bmp() {
    p.end();
    // Nothing is smoothed, so every pixel is black or white already.
    const QImage mono = image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    mono.save(&buffer, "BMP");
    return bytes;
}

QPen solid(double width) {
    QPen pen(Qt::black, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPen hidden() {
    QPen pen = solid();
    pen.setDashPattern({4, 3});
    return pen;
}

QPen centre() {
    QPen pen = solid();
    pen.setDashPattern({12, 3, 2, 3});
    return pen;
}

void hatch(QPainter& p, const QRectF& region, double spacing) {
    QPainterPath path;
    path.addRect(region);
    hatch(p, path, spacing);
}

void hatch(QPainter& p, const QPainterPath& region, double spacing) {
    const QRectF r = region.boundingRect();
    p.save();
    p.setClipPath(region, Qt::IntersectClip);
    p.setPen(solid());
    for (double x = r.left() - r.height(); x < r.right(); x += spacing)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
    p.drawPath(region);
}

namespace {

void arrow(QPainter& p, const QPointF& tip, double dx, double dy) {
    // dx, dy: unit direction the arrow points to.
    const QPointF back = tip - QPointF(dx, dy) * 8;
    const QPointF side(-dy * 2.5, dx * 2.5);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(back + side);
    head.lineTo(back - side);
    head.closeSubpath();
    p.fillPath(head, Qt::black);
}

} // namespace

void dimensionH(QPainter& p, double x1, double x2, double y, const QString& text) {
    p.save();
    p.setPen(solid());
    p.drawLine(QPointF(x1, y), QPointF(x2, y));
    arrow(p, QPointF(x1, y), -1, 0);
    arrow(p, QPointF(x2, y), 1, 0);
    p.setFont(font(16, false, true));
    centredText(p, QPointF((x1 + x2) / 2, y - 11), text);
    p.restore();
}

void dimensionV(QPainter& p, double x, double y1, double y2, const QString& text) {
    p.save();
    p.setPen(solid());
    p.drawLine(QPointF(x, y1), QPointF(x, y2));
    arrow(p, QPointF(x, y1), 0, -1);
    arrow(p, QPointF(x, y2), 0, 1);
    p.setFont(font(16, false, true));
    centredText(p, QPointF(x - 12, (y1 + y2) / 2), text);
    p.restore();
}

QFont font(int pixelSize, bool bold, bool italic) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void centredText(QPainter& p, const QPointF& centre, const QString& text) {
    const QRectF tight = QFontMetricsF(p.font()).tightBoundingRect(text);
    p.drawText(centre - tight.center(), text);
}

} // namespace Gen::Sketch
