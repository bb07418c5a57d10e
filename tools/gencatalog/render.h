#pragma once

#include "scene.h"

#include <QByteArray>

namespace Gen {

// The drawing as a 1-bit bitmap; scale 1 gives the small picture, 2 the big one.
QByteArray renderDrawing(const Scene& scene, int scale);

} // namespace Gen
