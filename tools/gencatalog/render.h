#pragma once

#include "scene.h"

#include <QByteArray>
#include <QSizeF>

namespace Gen {

// The drawing as a 1-bit bitmap; scale 1 gives the small picture, 2 the big one.
QByteArray renderDrawing(const Scene& scene, int scale);

// The size in pixels of a position's printed number on the picture drawn at scale.
QSizeF printedNumberSize(int position, int scale);

} // namespace Gen
