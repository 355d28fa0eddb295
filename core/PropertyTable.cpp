#include "core/PropertyTable.h"
#include "core/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "core/CsvText.h"
#include "core/MaterialData.h"

namespace resheat {

namespace {

using csv::NumberKind;
using csv::ParseNumber;
using csv::IsIdentifier;
using csv::Split;
using csv::Trim;

constexpr double kAbsoluteZero = -273.15; // [oC]
constexpr std::array<std::string_view, 4> kColumns{"T_C", "resistivity_Ohm_m",
                                                   "conductivity_W_mK", "specific_heat_J_kgK"};

std::string Number(double v) { return GeneralText(v); }

class Reader {
public:
    Reader(PropertySource source, const std::string &name)
    {
        result_.table.source = source;
        result_.table.name = name;
    }

    PropertyTableRead Run(std::string_view text)
    {
        bool refused = false;
        const int number = csv::ForEachLine(text, [&](int n, std::string_view line) {
            refused = !Line(n, line);
            return !refused;
        });
        if (refused)
            return result_;
        if (headerLine_ == 0)
            return Refuse(std::max(number, 1), number == 0 ? "the table is empty" : "the table has no header line " + std::string(kPropertyTableHeader));
        if (result_.table.points.empty())
            return Refuse(headerLine_, "the table has no data lines after the header");
        result_.ok = true;
        return result_;
    }

private:
    PropertyTableRead result_;
    int headerLine_ = 0;
    int lastPointLine_ = 0;
    bool emissivitySeen_ = false;
    bool solidusSeen_ = false;

    PropertyTableRead Refuse(int line, const std::string &why)
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
            return Comment(n, Trim(line.substr(1)));
        if (headerLine_ == 0)
            return Header(n, line);
        return Point(n, line);
    }

    bool Comment(int n, std::string_view body)
    {
        const auto eq = body.find('=');
        const std::string_view key = eq == std::string_view::npos ? body : Trim(body.substr(0, eq));
        if (eq == std::string_view::npos || !IsIdentifier(key)) {
            auto &note = result_.table.note;
            if (!note.empty())
                note += '\n';
            note += body;
            return true;
        }
        const std::string_view field = Trim(body.substr(eq + 1));
        double v = 0;
        const bool number = ParseNumber(field, v) == NumberKind::Ok;
        if (key == "emissivity") {
            if (emissivitySeen_)
                return Fail(n, "the emissivity is given twice");
            if (!number || v < 0 || v > 1)
                return Fail(n, "the emissivity must be a number from 0 to 1");
            emissivitySeen_ = true;
            result_.table.emissivity = v;
            return true;
        }
        if (key == "solidus_C") {
            if (solidusSeen_)
                return Fail(n, "the solidus is given twice");
            if (!number || v <= kAbsoluteZero)
                return Fail(n, "the solidus must be a temperature in oC");
            solidusSeen_ = true;
            result_.table.solidus = v;
            return true;
        }
        return Fail(n, "unknown setting \"" + std::string(key) + "\" (emissivity or solidus_C)");
    }

    bool Header(int n, std::string_view line)
    {
        const auto fields = Split(line, ',');
        if (fields.size() != kColumns.size() || !std::equal(fields.begin(), fields.end(), kColumns.begin()))
            return Fail(n, "the header must read " + std::string(kPropertyTableHeader));
        headerLine_ = n;
        return true;
    }

    bool Point(int n, std::string_view line)
    {
        const auto fields = Split(line, ',');
        if (fields.size() != kColumns.size())
            return Fail(n, std::to_string(fields.size()) + (fields.size() == 1 ? " value" : " values") +
                               " where 4 are expected (" + std::string(kPropertyTableHeader) + ")");
        std::array<double, 4> v{};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string column(kColumns[i]);
            switch (ParseNumber(fields[i], v[i])) {
            case NumberKind::NotANumber:
                return Fail(n, csv::Quoted(fields[i]) + " is not a number (" + column + ")");
            case NumberKind::NotFinite:
                return Fail(n, column + " must be a finite number");
            case NumberKind::OutOfRange:
                return Fail(n, column + " is out of range");
            case NumberKind::Ok:
                break;
            }
            if (i == 0 && v[i] <= kAbsoluteZero)
                return Fail(n, "T_C must be above -273.15");
            if (i > 0 && v[i] <= 0)
                return Fail(n, column + " must be positive");
        }
        auto &points = result_.table.points;
        if (!points.empty() && v[0] <= points.back().temperature)
            return Fail(n, "T_C must be higher than on line " + std::to_string(lastPointLine_) + " (" +
                               Number(points.back().temperature) + ")");
        points.push_back({v[0], v[1], v[2], v[3]});
        lastPointLine_ = n;
        return true;
    }
};

} // namespace

Properties PropertiesAt(const PropertyTable &table, double temperature)
{
    const auto &p = table.points;
    if (p.empty())
        throw std::invalid_argument("property table without points");
    if (temperature <= p.front().temperature)
        return {p.front().resistivity, p.front().conductivity, p.front().specificHeat};
    if (temperature >= p.back().temperature)
        return {p.back().resistivity, p.back().conductivity, p.back().specificHeat};
    const auto hi = std::upper_bound(p.begin(), p.end(), temperature,
                                     [](double t, const PropertyPoint &q) { return t < q.temperature; });
    const auto lo = hi - 1;
    const double f = (temperature - lo->temperature) / (hi->temperature - lo->temperature);
    auto mix = [f](double a, double b) { return a + f * (b - a); };
    return {mix(lo->resistivity, hi->resistivity), mix(lo->conductivity, hi->conductivity),
            mix(lo->specificHeat, hi->specificHeat)};
}

PropertyTableRead ParsePropertyTable(std::string_view text, PropertySource source,
                                     const std::string &name)
{
    return Reader(source, name).Run(text);
}

std::optional<PropertyTable> BuiltInPropertyTable(std::string_view materialName)
{
    for (const auto &t : EmbeddedMaterialTables()) {
        if (materialName != t.name)
            continue;
        auto read = ParsePropertyTable(t.text, PropertySource::BuiltIn, t.name);
        if (!read.ok) // the build embeds only tables the test suite has read
            throw std::logic_error("built-in property table " + std::string(t.name) + ": " + read.message);
        return read.table;
    }
    return std::nullopt;
}

std::vector<std::string> BuiltInPropertyTableNames()
{
    std::vector<std::string> names;
    for (const auto &t : EmbeddedMaterialTables())
        names.emplace_back(t.name);
    return names;
}

PropertyTable ConstantPropertyTable(double resistivity, double conductivity, double specificHeat)
{
    PropertyTable t;
    t.source = PropertySource::Constant;
    t.name = "constant";
    t.points = {{0.0, resistivity, conductivity, specificHeat}};
    t.emissivity = 0.8;
    return t;
}

PropertyTable DefaultPropertyTable(std::string_view materialName, double resistivity,
                                   double conductivity, double specificHeat)
{
    if (auto t = BuiltInPropertyTable(materialName))
        return *t;
    return ConstantPropertyTable(resistivity, conductivity, specificHeat);
}

} // namespace resheat
