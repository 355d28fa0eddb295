#include "core/Lumped.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Arith.h"

namespace resheat {

using namespace arith;

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kPi2 = std::numbers::pi * std::numbers::pi;
} // namespace

double ChargeMassXY(const DataXY &d)
{
    return Mul(Mul(Mul(d.density, d.length), d.width), d.thickness);
}

double ChargeResistanceXY(const DataXY &d)
{
    return Div(Mul(d.length, d.resistivity), Mul(d.width, d.thickness));
}

double PowerDensityXY(const DataXY &d, double current)
{
    const double area = Mul(d.width, d.thickness);
    return Mul(Mul(Mul(current, current), d.resistivity), Div(1.0, Mul(area, area)));
}

double ChargeMassRZ(const DataRZ &d)
{
    return Div(Mul(Mul(Mul(Mul(d.density, d.length), kPi), d.diameter), d.diameter), 4.0);
}

double ChargeResistanceRZ(const DataRZ &d)
{
    return Div(Mul(Mul(4.0, d.length), d.resistivity), Mul(Mul(kPi, d.diameter), d.diameter));
}

double PowerDensityRZ(const DataRZ &d, double current)
{
    const double D = d.diameter;
    const double den = Mul(Mul(Mul(Mul(kPi2, D), D), D), D);
    return Mul(Mul(Mul(current, current), d.resistivity), Div(16.0, den));
}

double RealVoltage(double supplyVoltage, double dropPercent)
{
    return Mul(Div(Sub(100.0, dropPercent), 100.0), supplyVoltage);
}

double CurrentIntensity(double realVoltage, double resistance)
{
    return Div(realVoltage, resistance);
}

double AppliedPower(double realVoltage, double current) { return Mul(realVoltage, current); }

double HeatingTime(double mass, double specificHeat, double startTemp, double finishTemp,
                   double power)
{
    return Div(Mul(Mul(Mul(1.5, mass), specificHeat), Sub(finishTemp, startTemp)), power);
}

double NumberOfContacts(double current, double maxContactCurrent)
{
    double n = std::nearbyint(Div(current, maxContactCurrent));
    if (n < 1)
        n = 1;
    return n;
}

double ContactsRoundedUp(double current, double maxContactCurrent)
{
    const double q = Div(current, maxContactCurrent);
    return std::max(1.0, std::ceil(q - 1E-9 * q));
}

} // namespace resheat
