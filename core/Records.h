// Heating data records, results records, temperature histories, material
// presets and the program-wide state that holds one of each.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace resheat {

// Length-prefixed text of fixed capacity: up to Capacity one-byte characters,
// no terminator.  Storing a longer text keeps its first Capacity bytes.
template <std::size_t Capacity>
struct ShortText {
    std::uint8_t length = 0;
    std::array<char, Capacity> chars{};

    void set(std::string_view text)
    {
        length = static_cast<std::uint8_t>(text.size() < Capacity ? text.size() : Capacity);
        chars.fill('\0');
        for (std::size_t i = 0; i < length; ++i)
            chars[i] = text[i];
    }
    std::string str() const { return std::string(chars.data(), length); }
    bool operator==(const ShortText &) const = default;
};

using MaterialName = ShortText<12>;

// Input of one rectangular (xy) case, fields in record order.
struct DataXY {
    MaterialName name;
    double length = 0;          // L [m]
    double width = 0;           // w [m]
    double thickness = 0;       // h [m]
    double density = 0;         // rho [kg/m3]
    double specificHeat = 0;    // c [Ws/(kgK)]
    double conductivity = 0;    // lambda [W/(mK)]
    double resistivity = 0;     // rho_e [ohm m]
    double supplyVoltage = 0;   // U [V]
    double voltageDrop = 0;     // dU [% of U]
    double startTemp = 0;       // Ts [oC]
    double finishTemp = 0;      // Tf [oC]
    double alfa = 0;            // alpha [W/(m2K)]
    double maxContactCurrent = 0; // Ic [A]
    bool operator==(const DataXY &) const = default;
};

// Input of one cylindrical (rz) case, fields in record order.
struct DataRZ {
    MaterialName name;
    double length = 0;
    double diameter = 0;
    double density = 0;
    double specificHeat = 0;
    double conductivity = 0;
    double resistivity = 0;
    double supplyVoltage = 0;
    double voltageDrop = 0;
    double startTemp = 0;
    double finishTemp = 0;
    double alfa = 0;
    double maxContactCurrent = 0;
    bool operator==(const DataRZ &) const = default;
};

// The numeric fields in record order, for code that walks a record.
inline constexpr std::array<double DataXY::*, 13> kDataXYNumbers{
    &DataXY::length, &DataXY::width, &DataXY::thickness, &DataXY::density,
    &DataXY::specificHeat, &DataXY::conductivity, &DataXY::resistivity,
    &DataXY::supplyVoltage, &DataXY::voltageDrop, &DataXY::startTemp,
    &DataXY::finishTemp, &DataXY::alfa, &DataXY::maxContactCurrent};

inline constexpr std::array<double DataRZ::*, 12> kDataRZNumbers{
    &DataRZ::length, &DataRZ::diameter, &DataRZ::density,
    &DataRZ::specificHeat, &DataRZ::conductivity, &DataRZ::resistivity,
    &DataRZ::supplyVoltage, &DataRZ::voltageDrop, &DataRZ::startTemp,
    &DataRZ::finishTemp, &DataRZ::alfa, &DataRZ::maxContactCurrent};

// Lumped results of the last xy calculation.
struct ResultsXY {
    double mass = 0;           // [kg]
    double resistance = 0;     // [ohm]
    double realVoltage = 0;    // [V]
    double current = 0;        // [A]
    double power = 0;          // [W]
    double powerDensity = 0;   // [W/m3]
    double heatingTime = 0;    // [s]
    double contacts = 0;       // whole number, at least 1
    double biotWidth = 0;
    double biotHeight = 0;
    double diffWidth = 0;      // To - Th of the last row (shown as "centre - width")
    double diffHeight = 0;     // To - Tw of the last row (shown as "centre - height")
    bool operator==(const ResultsXY &) const = default;
};

// Lumped results of the last rz calculation.
struct ResultsRZ {
    double mass = 0;
    double resistance = 0;
    double realVoltage = 0;
    double current = 0;
    double power = 0;
    double powerDensity = 0;
    double heatingTime = 0;
    double contacts = 0;
    double biot = 0;
    double diffSurface = 0;    // To - Tr of the last row
    bool operator==(const ResultsRZ &) const = default;
};

inline constexpr std::array<double ResultsXY::*, 12> kResultsXYNumbers{
    &ResultsXY::mass, &ResultsXY::resistance, &ResultsXY::realVoltage,
    &ResultsXY::current, &ResultsXY::power, &ResultsXY::powerDensity,
    &ResultsXY::heatingTime, &ResultsXY::contacts, &ResultsXY::biotWidth,
    &ResultsXY::biotHeight, &ResultsXY::diffWidth, &ResultsXY::diffHeight};

inline constexpr std::array<double ResultsRZ::*, 10> kResultsRZNumbers{
    &ResultsRZ::mass, &ResultsRZ::resistance, &ResultsRZ::realVoltage,
    &ResultsRZ::current, &ResultsRZ::power, &ResultsRZ::powerDensity,
    &ResultsRZ::heatingTime, &ResultsRZ::contacts, &ResultsRZ::biot,
    &ResultsRZ::diffSurface};

// One history row: time [s] and three temperatures [oC]:
// xy: To, Tw, Th;  rz: To, Tr, 0.
using HistoryRow = std::array<double, 4>;
inline constexpr int kHistoryRows = 50;
using History = std::array<HistoryRow, kHistoryRows>;

struct MaterialPreset {
    ShortText<11> name;
    double density = 0;
    double specificHeat = 0;
    double conductivity = 0;
    double resistivity = 0;
    double finishTemp = 0;
    double alfa = 0;
};
using PresetTable = std::array<MaterialPreset, 3>;

// Writes the three built-in materials in their fixed order.
void FillMaterialPresets(PresetTable &table);

// Empty name, every number 0.
void ClearDataXY(DataXY &record);
void ClearDataRZ(DataRZ &record);

// Everything the program holds for its whole run.  Owned by the desktop
// program (or the command-line calculator); windows get it by reference.
struct ProgramState {
    DataXY dataXY;
    DataRZ dataRZ;
    ResultsXY resultsXY;
    ResultsRZ resultsRZ;
    History historyXY{};
    History historyRZ{};
    bool fixedTimeXY = false;
    bool fixedTimeRZ = false;
    double userTimeXY = 0;
    double userTimeRZ = 0;
    PresetTable presets{};
    // The calculations take the classic formulas instead of the series
    // (the "Classic formulas" switch of the Calculations menu).
    bool classicFormulas = false;
    // Whether the results record and history of a geometry come from the
    // classic formulas: set by every run that writes the history.
    bool classicResultsXY = false;
    bool classicResultsRZ = false;
};

} // namespace resheat
