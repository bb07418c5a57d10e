#pragma once

#include "model.h"

#include <cstdint>

namespace Gen {

// The catalogue's content: modifications, groups, drawings with their occurrences, parts with
// prices, standardized items and the common parts of modification 0. It grows drawing by drawing
// until it holds at least `parts` distinct part numbers. Places are left to the layout.
Catalogue buildContent(std::uint32_t seed, int parts, Layout layout);

} // namespace Gen
