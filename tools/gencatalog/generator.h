#pragma once

#include "data/dberror.h"
#include "model.h"

#include <QString>
#include <cstdint>

namespace Gen {

// The demo catalogue's size in part numbers, and the size from which a catalogue is laid out for
// benchmarks (large drawings sharing a few pictures).
inline constexpr int DemoParts = 2100;
inline constexpr int LargeFrom = 20000;

struct Options {
    QString outDir;
    std::uint32_t seed = 1;
    int parts = DemoParts;
    Layout layout = Layout::Demo;
};

Layout layoutFor(int parts);

struct Summary {
    int modifications = 0;
    int drawings = 0;
    int parts = 0; // distinct part numbers
    int details = 0;
    int occurrences = 0;
    int places = 0;
    int pictures = 0; // distinct drawing pictures
};

// The output directory already holds a catalogue.
class Refused : public CatalogError {
public:
    using CatalogError::CatalogError;
};

// Writes base.mdb, PIC/ and catalog.html into options.outDir. base.mdb appears last, so a run
// that fails leaves no catalogue behind. Needs a QGuiApplication (text is drawn).
Summary generate(const Options& options);

} // namespace Gen
