#pragma once

#include "model.h"

// The standardized items the tractor uses (bolts, nuts, washers, bearings, rings, pins ...),
// with the standards they are made to and their parameters.
namespace Gen {

// Fills cat.standards and cat.items.
void addStandards(Catalogue& cat);

// How often an item of the standard is fitted, relative to the others, and how many go into
// one assembly at most.
int standardFrequency(const Standard& standard);
int standardMaxQuantity(const Standard& standard);

} // namespace Gen
