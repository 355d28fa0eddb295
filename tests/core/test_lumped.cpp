#include <gtest/gtest.h>
#include <numbers>

#include "core/Arith.h"
#include "core/Errors.h"
#include "core/Lumped.h"
#include "core/Records.h"

using namespace resheat;

TEST(Lumped, SquareBarOfTenCentimetres)
{
    DataXY d;
    d.length = 1; d.width = 0.1; d.thickness = 0.1;
    d.density = 7800; d.resistivity = 1.5384E-7;
    EXPECT_DOUBLE_EQ(ChargeMassXY(d), 78);
    const double r = ChargeResistanceXY(d);
    EXPECT_DOUBLE_EQ(r, 1.5384E-5);
    const double ur = RealVoltage(10, 10);
    EXPECT_DOUBLE_EQ(ur, 9);
    const double i = CurrentIntensity(ur, r);
    EXPECT_NEAR(i, 585023.4, 0.05);
    EXPECT_NEAR(AppliedPower(ur, i), 5265210.6, 0.5);
    // pv equals the power over the volume of 0.01 m3.
    EXPECT_NEAR(PowerDensityXY(d, i), AppliedPower(ur, i) / 0.01, 1e-6 * 5.2652106E8);
    EXPECT_NEAR(PowerDensityXY(d, i), 5.2652106E8, 1);
}

TEST(Lumped, RodOfTenCentimetres)
{
    DataRZ d;
    d.length = 1; d.diameter = 0.1; d.density = 7800; d.resistivity = 1.5384E-7;
    const double r = ChargeResistanceRZ(d);
    // 4 * 1.5384E-7 / (pi * 0.01) = 1.958752E-5 (quoted elsewhere as 1.95876E-5).
    EXPECT_NEAR(r, 1.958752E-5, 5e-12);
    const double i = CurrentIntensity(9, r);
    const double volume = std::numbers::pi * 0.01 / 4;
    EXPECT_NEAR(PowerDensityRZ(d, i), AppliedPower(9, i) / volume, 1e-6 * AppliedPower(9, i) / volume);
    EXPECT_NEAR(ChargeMassRZ(d), 7800 * volume, 1e-9);
}

TEST(Lumped, NumberOfContactsRoundsHalfToEvenAndIsAtLeastOne)
{
    EXPECT_EQ(NumberOfContacts(0.4, 1), 1);
    EXPECT_EQ(NumberOfContacts(2.5, 1), 2);
    EXPECT_EQ(NumberOfContacts(3.5, 1), 4);
    EXPECT_EQ(NumberOfContacts(0, 1), 1);
    EXPECT_EQ(NumberOfContacts(146255.85, 1000), 146);
}

TEST(Lumped, FullVoltageDropAndZeroDivisorsAreFaults)
{
    EXPECT_EQ(RealVoltage(10, 100), 0);
    EXPECT_EQ(CurrentIntensity(0, 1e-5), 0);
    try {
        HeatingTime(78, 481.32, 20, 1500, 0);
        FAIL() << "zero power must fault";
    } catch (const ArithmeticFault &e) {
        EXPECT_STREQ(e.what(), "Floating point division by zero");
    }
    try {
        NumberOfContacts(0, 0);
        FAIL() << "0/0 must fault";
    } catch (const ArithmeticFault &e) {
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
    DataXY d;
    d.length = 1;
    EXPECT_THROW(ChargeResistanceXY(d), ArithmeticFault);
    EXPECT_THROW(arith::Mul(1e300, 1e300), ArithmeticFault);
}

TEST(Records, PresetsAndClearing)
{
    PresetTable t{};
    FillMaterialPresets(t);
    EXPECT_EQ(t[0].name.str(), "Cu");
    EXPECT_EQ(t[1].name.str(), "steel");
    EXPECT_EQ(t[2].name.str(), "aluminium");
    EXPECT_EQ(t[2].resistivity, t[0].resistivity);
    EXPECT_EQ(t[1].density, 7800);
    EXPECT_EQ(t[1].resistivity, 1.5384E-7);
    EXPECT_EQ(t[0].finishTemp, 700);
    EXPECT_EQ(t[2].specificHeat, 896);

    DataXY d;
    d.name.set("a name of more than twelve");
    EXPECT_EQ(d.name.str(), "a name of mo");
    d.width = 3;
    ClearDataXY(d);
    EXPECT_EQ(d, DataXY{});
    EXPECT_EQ(d.name.str(), "");

    ProgramState s;
    EXPECT_FALSE(s.fixedTimeXY);
    EXPECT_EQ(s.historyRZ[49][1], 0.0);
    EXPECT_EQ(s.resultsXY, ResultsXY{});
}
