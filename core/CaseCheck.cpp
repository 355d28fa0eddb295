#include "core/CaseCheck.h"

#include <cmath>

namespace resheat {

namespace {

constexpr double kAbsoluteZero = -273.15; // [oC]

// The first value that is not finite or not positive, as a message.
std::string FirstNotPositive(std::initializer_list<NamedValue> values)
{
    for (const auto &v : values) {
        if (!std::isfinite(v.value))
            return std::string(v.label) + " must be a finite number.";
        if (!(v.value > 0))
            return std::string(v.label) + " must be positive.";
    }
    return {};
}

} // namespace

std::string CheckCaseValues(double length, std::initializer_list<NamedValue> sizes, double density,
                            double specificHeat, double conductivity, double resistivity,
                            double supplyVoltage, double voltageDrop, double startTemp,
                            double finishTemp, double alfa, double maxContactCurrent)
{
    if (auto m = FirstNotPositive({{"Length of charge", length}}); !m.empty())
        return m;
    if (auto m = FirstNotPositive(sizes); !m.empty())
        return m;
    if (auto m = FirstNotPositive({{"Density", density},
                                   {"Specific heat", specificHeat},
                                   {"Heat conductivity", conductivity},
                                   {"Resistivity", resistivity},
                                   {"Supply voltage", supplyVoltage},
                                   {"Max contact current", maxContactCurrent}});
        !m.empty())
        return m;
    for (const NamedValue v : {NamedValue{"Voltage drop", voltageDrop}, NamedValue{"Start temperature", startTemp},
                               NamedValue{"Finish temperature", finishTemp}, NamedValue{"Alfa coefficient", alfa}})
        if (!std::isfinite(v.value))
            return std::string(v.label) + " must be a finite number.";
    if (voltageDrop < 0)
        return "Voltage drop must not be negative.";
    if (!(voltageDrop < 100))
        return "Voltage drop must be below 100 %.";
    if (!(startTemp > kAbsoluteZero))
        return "Start temperature must be above -273.15 oC.";
    if (!(finishTemp > startTemp))
        return "Finish temperature must be above the start temperature.";
    if (alfa < 0)
        return "Alfa coefficient must not be negative.";
    return {};
}

std::string CheckCaseXY(const DataXY &d)
{
    return CheckCaseValues(d.length, {{"Width of charge", d.width}, {"Thickness of charge", d.thickness}},
                           d.density, d.specificHeat, d.conductivity, d.resistivity, d.supplyVoltage,
                           d.voltageDrop, d.startTemp, d.finishTemp, d.alfa, d.maxContactCurrent);
}

std::string CheckCaseRZ(const DataRZ &d)
{
    return CheckCaseValues(d.length, {{"Diameter of charge", d.diameter}}, d.density, d.specificHeat,
                           d.conductivity, d.resistivity, d.supplyVoltage, d.voltageDrop, d.startTemp,
                           d.finishTemp, d.alfa, d.maxContactCurrent);
}

} // namespace resheat
