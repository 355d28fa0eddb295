// The built-in tables, embedded by the build from data/materials and
// data/magnetic.
#pragma once

#include <vector>

namespace resheat {

struct EmbeddedTable {
    const char *name; // file name without extension: "Cu", "steel", "aluminium"
    const char *text; // the whole CSV file
};

// In the order of the material presets.
const std::vector<EmbeddedTable> &EmbeddedMaterialTables();

// "steel" (its magnetisation curve) and "magnetisation" (the fall with temperature).
const std::vector<EmbeddedTable> &EmbeddedMagneticTables();

} // namespace resheat
