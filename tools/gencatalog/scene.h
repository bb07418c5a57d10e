#pragma once

#include "model.h"

#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector>
#include <cstdint>

namespace Gen {

// One outline of an exploded view.
struct Item {
    Shape shape = Shape::Bushing;
    QRectF box;
    std::uint32_t detail = 0; // varies steps, teeth, holes ... of the outline
};

// A printed position number: centred on (hor, ver) percent of the picture, with a leader line to
// the outline of its part.
struct Label {
    int position = 0;
    double ver = 0, hor = 0;
    QPointF centre; // in pixels of the small picture, from ver/hor
    QPointF anchor;
};

struct Scene {
    QSize size; // of the small picture
    QString caption;
    QVector<QLineF> axes;  // centre lines
    QVector<QLineF> links; // dash-dot lines from a sub-assembly to its place in the assembly
    QVector<Item> items;
    QVector<Label> labels;                 // in position order
    double hiddenVer = 50, hiddenHor = 50; // the place of the assemblies drawn without a number
    int family = 0; // the outline of its bodies: the index of the drawing's group in the words
};

// The font of the position numbers on the small picture. The viewer lays a marker of 16 x 16
// pixels (wider for three digits and more) over each number; the fitted view shows the small
// picture at up to about 1.2 times its size, so a number of this size stays under its marker.
QFont labelFont();

// Lays the drawing's parts out along centre lines and finds a free spot for every number.
Scene layoutScene(const Catalogue& cat, const Drawing& drawing, QSize size, std::uint32_t seed);

// The Place rows of a drawing drawn with the scene. exact: the scene was laid out for this very
// drawing; otherwise the drawing borrows the scene's spots in order.
QVector<Place> placesFor(const Drawing& drawing, const Scene& scene, bool exact);

} // namespace Gen
