// The case values a calculation refuses before it computes anything, with
// one message that names the first of them.  Both the constant-property
// series and the temperature-dependent calculation use these messages.
#pragma once

#include <initializer_list>
#include <string>

#include "core/Records.h"

namespace resheat {

struct NamedValue {
    const char *label; // "Width of charge", as the messages name it
    double value;
};

// Empty when the case can be computed.  Refused: a length, a size in
// `sizes`, the density, specific heat, heat conductivity, resistivity,
// supply voltage or max contact current that is not a positive number; a
// voltage drop outside 0 to below 100 %; a negative alfa coefficient; a
// start temperature at or below -273.15 oC; a finish temperature at or
// below the start temperature; any value that is no finite number.
std::string CheckCaseValues(double length, std::initializer_list<NamedValue> sizes, double density,
                            double specificHeat, double conductivity, double resistivity,
                            double supplyVoltage, double voltageDrop, double startTemp,
                            double finishTemp, double alfa, double maxContactCurrent);

std::string CheckCaseXY(const DataXY &d);
std::string CheckCaseRZ(const DataRZ &d);

} // namespace resheat
