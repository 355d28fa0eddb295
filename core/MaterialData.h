// The built-in property tables, embedded by the build from data/materials.
#pragma once

#include <vector>

namespace resheat {

struct EmbeddedTable {
    const char *name; // file name without extension: "Cu", "steel", "aluminium"
    const char *text; // the whole CSV file
};

// In the order of the material presets.
const std::vector<EmbeddedTable> &EmbeddedMaterialTables();

} // namespace resheat
