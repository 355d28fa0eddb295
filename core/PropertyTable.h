// Temperature-dependent material properties: resistivity, heat conductivity
// and specific heat given at points of a table, piecewise linear between the
// points and constant beyond the first and the last one.
//
// Table text format (CSV, LF or CR LF line ends):
//   T_C,resistivity_Ohm_m,conductivity_W_mK,specific_heat_J_kgK   header, first line that is not a comment
//   20,1.42E-07,59.5,450                                          one point per line
//   # emissivity=0.8                                              optional setting, 0 to 1
//   # solidus_C=1450                                              optional setting
//   # any other text                                              a note (kept, e.g. that values are typical)
// Temperatures strictly increasing, every property finite and positive.
// Blank lines are skipped.  Anything else is refused with a message that
// names the line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace resheat {

struct PropertyPoint {
    double temperature = 0;   // [oC]
    double resistivity = 0;   // [ohm m]
    double conductivity = 0;  // [W/(mK)]
    double specificHeat = 0;  // [J/(kgK)]
};

// Where a table came from.
enum class PropertySource {
    BuiltIn,   // one of the tables shipped with the program
    User,      // a CSV file the user chose
    Constant,  // the case's own constant properties
};

struct PropertyTable {
    PropertySource source = PropertySource::Constant;
    // "steel", "Cu" or "aluminium" for the built-in tables, the file path of a
    // user table, "constant" for the case's constant properties.
    std::string name = "constant";
    std::vector<PropertyPoint> points;  // at least one, temperatures strictly increasing
    double emissivity = 0.8;            // of the surface, 0 to 1
    std::optional<double> solidus;      // [oC], when the table gives it
    std::string note;                   // the comment lines that are not settings, joined by '\n'
};

// The three properties at one temperature.
struct Properties {
    double resistivity = 0;
    double conductivity = 0;
    double specificHeat = 0;
};

// Piecewise linear through the points, constant beyond the first and the last.
Properties PropertiesAt(const PropertyTable &table, double temperature);

inline constexpr std::string_view kPropertyTableHeader =
    "T_C,resistivity_Ohm_m,conductivity_W_mK,specific_heat_J_kgK";

struct PropertyTableRead {
    bool ok = false;
    PropertyTable table;  // complete when ok
    int line = 0;         // 1-based line that was refused; 0 when no line is to blame
    std::string message;  // why it was refused, starting "Line N: " when a line is to blame
};

// Reads a table from its text; `source` and `name` are stored in the table.
PropertyTableRead ParsePropertyTable(std::string_view text, PropertySource source,
                                     const std::string &name);

// The built-in table of a material name exactly as the presets spell it
// ("steel", "Cu", "aluminium"); none for any other name.
std::optional<PropertyTable> BuiltInPropertyTable(std::string_view materialName);

// Names of the built-in tables, in the order of the presets.
std::vector<std::string> BuiltInPropertyTableNames();

// One point holding the case's constant properties, emissivity 0.8.
PropertyTable ConstantPropertyTable(double resistivity, double conductivity, double specificHeat);

// The table a case uses unless the user gives one: the built-in table of its
// material name, otherwise its own constant properties.
PropertyTable DefaultPropertyTable(std::string_view materialName, double resistivity,
                                   double conductivity, double specificHeat);

} // namespace resheat
