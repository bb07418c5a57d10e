#pragma once

#include "model.h"

#include <QByteArray>

namespace Gen {

// The illustration of a standard: its shape with the dimensions its parameters name. Without a
// standard, the picture shown when an item has none of its own.
QByteArray renderIllustration(const Standard* standard);

} // namespace Gen
