#include "core/MagneticTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "core/CsvText.h"
#include "core/CurrentDistribution.h"
#include "core/MaterialData.h"
#include "core/NumberText.h"

namespace resheat {

namespace {

constexpr double kKelvin = 273.15;
constexpr double kCurveTemperature = 20; // [oC] of B20
constexpr double kMaxCurie = 1200;       // [oC]; no ferromagnet's Curie point is higher
constexpr std::array<std::string_view, 2> kColumns{"H_A_m", "B_T"};

std::string Number(double v) { return GeneralText(v); }

const char *EmbeddedText(std::string_view name)
{
    for (const auto &t : EmbeddedMagneticTables())
        if (name == t.name)
            return t.text;
    throw std::logic_error("no built-in magnetic table " + std::string(name));
}

class Reader {
public:
    Reader(PropertySource source, const std::string &name)
    {
        result_.table.source = source;
        result_.table.name = name;
    }

    MagneticTableRead Run(std::string_view text)
    {
        bool refused = false;
        const int number = csv::ForEachLine(text, [&](int n, std::string_view line) {
            refused = !Line(n, line);
            return !refused;
        });
        if (refused)
            return result_;
        if (headerLine_ == 0)
            return Refuse(std::max(number, 1), number == 0 ? "the table is empty"
                                                           : "the table has no header line " +
                                                                 std::string(kMagneticTableHeader));
        if (result_.table.points.size() < 2)
            return Refuse(headerLine_, "the table needs at least two points after the header");
        if (curieLine_ == 0)
            return Refuse(headerLine_, "the table does not give the Curie temperature (# curie_C=...)");
        result_.ok = true;
        return result_;
    }

private:
    MagneticTableRead result_;
    int headerLine_ = 0;
    int lastPointLine_ = 0;
    int curieLine_ = 0;

    MagneticTableRead Refuse(int line, const std::string &why)
    {
        result_.ok = false;
        result_.table.points.clear();
        result_.line = line;
        result_.message = "Line " + std::to_string(line) + ": " + why;
        return result_;
    }

    bool Fail(int line, const std::string &why)
    {
        Refuse(line, why);
        return false;
    }

    bool Line(int n, std::string_view line)
    {
        if (line.empty())
            return true;
        if (line.front() == '#')
            return Comment(n, csv::Trim(line.substr(1)));
        if (headerLine_ == 0)
            return Header(n, line);
        return Point(n, line);
    }

    bool Comment(int n, std::string_view body)
    {
        const auto eq = body.find('=');
        const std::string_view key = eq == std::string_view::npos ? body : csv::Trim(body.substr(0, eq));
        if (eq == std::string_view::npos || !csv::IsIdentifier(key)) {
            auto &note = result_.table.note;
            if (!note.empty())
                note += '\n';
            note += body;
            return true;
        }
        if (key != "curie_C")
            return Fail(n, "unknown setting \"" + std::string(key) + "\" (curie_C)");
        if (curieLine_ != 0)
            return Fail(n, "the Curie temperature is given twice");
        double v = 0;
        if (csv::ParseNumber(csv::Trim(body.substr(eq + 1)), v) != csv::NumberKind::Ok || !(v > kCurveTemperature) ||
            v > kMaxCurie)
            return Fail(n, "the Curie temperature must be a temperature in oC above 20 (the curve's) and at most 1200");
        curieLine_ = n;
        result_.table.curie = v;
        return true;
    }

    bool Header(int n, std::string_view line)
    {
        const auto fields = csv::Split(line, ',');
        if (fields.size() != kColumns.size() || !std::equal(fields.begin(), fields.end(), kColumns.begin()))
            return Fail(n, "the header must read " + std::string(kMagneticTableHeader));
        headerLine_ = n;
        return true;
    }

    bool Point(int n, std::string_view line)
    {
        const auto fields = csv::Split(line, ',');
        if (fields.size() != kColumns.size())
            return Fail(n, std::to_string(fields.size()) + (fields.size() == 1 ? " value" : " values") +
                               " where 2 are expected (" + std::string(kMagneticTableHeader) + ")");
        std::array<double, 2> v{};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string column(kColumns[i]);
            switch (csv::ParseNumber(fields[i], v[i])) {
            case csv::NumberKind::NotANumber:
                return Fail(n, csv::Quoted(fields[i]) + " is not a number (" + column + ")");
            case csv::NumberKind::NotFinite:
                return Fail(n, column + " must be a finite number");
            case csv::NumberKind::OutOfRange:
                return Fail(n, column + " is out of range");
            case csv::NumberKind::Ok:
                break;
            }
            if (v[i] <= 0)
                return Fail(n, column + " must be positive");
        }
        if (!(v[1] > kMu0 * v[0]))
            return Fail(n, "B_T must be above mu0 H (" + Number(kMu0 * v[0]) + " T): steel magnetises along the field");
        auto &points = result_.table.points;
        if (!points.empty()) {
            const BHPoint &last = points.back();
            if (v[0] <= last.field)
                return Fail(n, "H_A_m must be higher than on line " + std::to_string(lastPointLine_) + " (" +
                                   Number(last.field) + ")");
            if (v[1] <= last.flux)
                return Fail(n, "B_T must be higher than on line " + std::to_string(lastPointLine_) + " (" +
                                   Number(last.flux) + ")");
        }
        points.push_back({v[0], v[1]});
        lastPointLine_ = n;
        return true;
    }
};

// The built-in m(T): (T [oC], m) points, temperatures increasing, m falling
// to 0 at the last one, the reference Curie temperature.
struct Magnetisation {
    std::vector<std::array<double, 2>> points;
};

const Magnetisation &BuiltInMagnetisation()
{
    static const Magnetisation m = [] {
        Magnetisation r;
        bool header = false;
        csv::ForEachLine(EmbeddedText("magnetisation"), [&](int n, std::string_view line) {
            if (line.empty() || line.front() == '#')
                return true;
            const auto fields = csv::Split(line, ',');
            if (!header) {
                header = fields.size() == 2 && fields[0] == "T_C" && fields[1] == "m";
                if (!header)
                    throw std::logic_error("built-in magnetisation table: bad header");
                return true;
            }
            std::array<double, 2> p{};
            if (fields.size() != 2 || csv::ParseNumber(fields[0], p[0]) != csv::NumberKind::Ok ||
                csv::ParseNumber(fields[1], p[1]) != csv::NumberKind::Ok || p[1] < 0 || p[1] > 1 ||
                (!r.points.empty() && (p[0] <= r.points.back()[0] || p[1] > r.points.back()[1])))
                throw std::logic_error("built-in magnetisation table: bad line " + std::to_string(n));
            r.points.push_back(p);
            return true;
        });
        if (r.points.size() < 2 || r.points.back()[1] != 0)
            throw std::logic_error("built-in magnetisation table: it must end at 0");
        return r;
    }();
    return m;
}

} // namespace

MagneticTableRead ParseMagneticTable(std::string_view text, PropertySource source, const std::string &name)
{
    return Reader(source, name).Run(text);
}

std::optional<MagneticTable> BuiltInMagneticTable(std::string_view materialName)
{
    if (materialName != "steel")
        return std::nullopt;
    auto read = ParseMagneticTable(EmbeddedText("steel"), PropertySource::BuiltIn, "steel");
    if (!read.ok) // the build embeds only tables the test suite has read
        throw std::logic_error("built-in magnetic table steel: " + read.message);
    return read.table;
}

Permeability::Permeability(const MagneticTable &table)
    : points_(table.points), curieKelvin_(table.curie + kKelvin)
{
    if (points_.size() < 2)
        throw std::invalid_argument("magnetic table without points");
    // B/H is monotone along each straight piece, so its highest value is at a point.
    for (const BHPoint &p : points_) {
        const double mu = p.flux / (kMu0 * p.field);
        if (mu > peakPermeability_) {
            peakPermeability_ = mu;
            peakField_ = p.field;
        }
    }
}

double Permeability::Magnetisation(double temperature) const
{
    const auto &p = BuiltInMagnetisation().points;
    const double reference = p.back()[0] + kKelvin;
    // The same fraction of the Curie temperature in kelvin; the built-in
    // curve's own Curie temperature reads the table as it is.
    const double t = curieKelvin_ == reference ? temperature
                                               : (temperature + kKelvin) / curieKelvin_ * reference - kKelvin;
    if (t <= p.front()[0])
        return p.front()[1];
    if (t >= p.back()[0])
        return 0;
    const auto hi = std::upper_bound(p.begin(), p.end(), t, [](double x, const auto &q) { return x < q[0]; });
    const auto lo = hi - 1;
    const double f = (t - (*lo)[0]) / ((*hi)[0] - (*lo)[0]);
    return (*lo)[1] + f * ((*hi)[1] - (*lo)[1]);
}

double Permeability::Flux20(double field) const
{
    const auto &p = points_;
    if (field <= p.front().field)
        return p.front().flux * (field / p.front().field);
    if (field >= p.back().field)
        return p.back().flux + kMu0 * (field - p.back().field);
    const auto hi = std::upper_bound(p.begin(), p.end(), field,
                                     [](double h, const BHPoint &q) { return h < q.field; });
    const auto lo = hi - 1;
    const double f = (field - lo->field) / (hi->field - lo->field);
    return lo->flux + f * (hi->flux - lo->flux);
}

double Permeability::Curie() const { return curieKelvin_ - kKelvin; }

double Permeability::Relative(double fieldPeak, double temperature) const
{
    const double m = Magnetisation(temperature);
    if (m == 0)
        return 1;
    // B20 / (mu0 H), its highest value below the field where it peaks.
    const double mu20 = fieldPeak <= peakField_ ? peakPermeability_ : Flux20(fieldPeak) / (kMu0 * fieldPeak);
    return 1 + m * (mu20 - 1);
}

} // namespace resheat
