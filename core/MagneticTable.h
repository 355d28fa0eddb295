// Magnetic data of steel for the current distribution: the magnetisation
// curve B20(H) at 20 oC and the Curie temperature, and from them the
// effective relative permeability at a peak field strength and temperature,
//     mu_r(H, T) = B(H, T) / (mu0 H),   B(H, T) = mu0 H + m(T) (B20(H) - mu0 H),
// m(T) being the fall of the magnetisation from 1 at 20 oC to 0 at the Curie
// temperature.  B20 is piecewise linear through the table's points; beyond
// the last the steel is saturated and B rises as mu0 H.  Below the field of
// the curve's highest permeability B20/(mu0 H) (about 400 A/m for
// low-carbon steel) that highest permeability holds: the start of a curve,
// where permeability rises with the field, is where hysteresis rules and an
// effective permeability means least; such weak fields occur only where the
// current has all but died away; and taken as it is there it makes the
// field iteration oscillate (a higher mu_r shields a node, its field falls
// and with it mu_r, by more than it rose).
// m(T) is the built-in table data/magnetic/magnetisation.csv (typical of
// low-carbon steel, piecewise linear, 1 below its first point and 0 from its
// Curie temperature on); a curve with another Curie temperature Tc takes the
// same fall at the same fraction of Tc in kelvin (corresponding states).
// Copper and aluminium are not magnetic: they have no table.
//
// Table text format (CSV, LF or CR LF line ends):
//   # Low-carbon steel, measured 2024      a note (kept)
//   # curie_C=768                          required: the Curie temperature [oC], above 20, at most 1200
//   H_A_m,B_T                              header, first line that is not a comment
//   4600,1.821                             one point per line: H [A/m], B [T] at 20 oC
// At least two points; H and B strictly increasing from point to point, H
// positive, B above mu0 H (the steel magnetises along the field).  Blank
// lines are skipped.  Anything else is refused with a message that names the
// line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/PropertyTable.h"

namespace resheat {

inline constexpr std::string_view kMagneticTableHeader = "H_A_m,B_T";

struct BHPoint {
    double field = 0; // H [A/m]
    double flux = 0;  // B [T]
};

struct MagneticTable {
    PropertySource source = PropertySource::BuiltIn;
    std::string name;            // "steel" for the built-in curve, the file path of a user's
    std::vector<BHPoint> points; // B20(H), at least two
    double curie = 0;            // [oC]
    std::string note;            // the comment lines that are not settings, joined by '\n'
};

struct MagneticTableRead {
    bool ok = false;
    MagneticTable table;  // complete when ok
    int line = 0;         // 1-based line that was refused; 0 when no line is to blame
    std::string message;  // why it was refused, starting "Line N: " when a line is to blame
};

MagneticTableRead ParseMagneticTable(std::string_view text, PropertySource source, const std::string &name);

// The built-in curve of a material name as the presets spell it: "steel";
// none for any other (not magnetic).
std::optional<MagneticTable> BuiltInMagneticTable(std::string_view materialName);

// mu_r(H, T) of a table, ready for the current distribution's iteration.
class Permeability {
public:
    explicit Permeability(const MagneticTable &table); // a table the reader accepted
    double Magnetisation(double temperature) const;     // m(T), 0 to 1
    double Flux20(double field) const;                  // B20(H) [T], H >= 0
    double Relative(double fieldPeak, double temperature) const;

private:
    std::vector<BHPoint> points_;
    double curieKelvin_ = 0;
    double peakField_ = 0;        // H of the highest B20 / (mu0 H) [A/m]
    double peakPermeability_ = 0; // that highest value
};

} // namespace resheat
