#pragma once

#include "model.h"

#include <QString>

namespace Gen {

// Writes the catalogue into a new base.mdb at path, made with the program's own schema, and
// leaves it as one file (no journal beside it).
void writeDatabase(const Catalogue& cat, const QString& path);

} // namespace Gen
