#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <QString>

// Drawing tools shared by the drawings and the illustrations: black lines on white, drawn without
// smoothing so that the pictures can be stored with one bit per pixel.
namespace Gen::Sketch {

// A white canvas of size * scale with a painter scaled to draw in size's coordinates.
class Canvas {
public:
    Canvas(QSize size, int scale);
    QPainter& painter() { return p; }
    // The picture as a 1-bit Windows bitmap.
    QByteArray bmp();

private:
    QImage image;
    QPainter p;
};

QPen solid(double width = 1);
QPen hidden(); // dashed: edges behind the section
QPen centre(); // dash-dot: axes
void hatch(QPainter& p, const QRectF& region, double spacing = 5);
void hatch(QPainter& p, const QPainterPath& region, double spacing = 5);

// Dimension lines with arrows and their letter.
void dimensionH(QPainter& p, double x1, double x2, double y, const QString& text);
void dimensionV(QPainter& p, double x, double y1, double y2, const QString& text);

QFont font(int pixelSize, bool bold = false, bool italic = false);
// Draws text with its visible middle on the point.
void centredText(QPainter& p, const QPointF& centre, const QString& text);

} // namespace Gen::Sketch
