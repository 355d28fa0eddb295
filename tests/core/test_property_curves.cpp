// A property table prepared for the solver: values, the exact integrals
// H and Phi, the inverse of Phi and the limits of one iteration step.
#include <cmath>
#include <gtest/gtest.h>

#include "core/PropertyCurves.h"

using namespace resheat;

namespace {

// 0 to 100 oC: lambda 50 -> 30, c 400 -> 600, rho_e 1E-7 -> 3E-7;
// 100 to 300 oC: lambda 30 -> 40, c 600, rho_e 3E-7 -> 2E-7.
PropertyTable Table()
{
    PropertyTable t;
    t.points = {{0, 1E-7, 50, 400}, {100, 3E-7, 30, 600}, {300, 2E-7, 40, 600}};
    return t;
}

} // namespace

TEST(PropertyCurves, ValuesAndExactIntegrals)
{
    const PropertyCurves p(Table());
    const struct {
        double T, rhoE, dRhoE, lambda, c, H, phi;
    } rows[] = {
        // H(T) = int c dT from 0, Phi(T) = int lambda dT from 0 (trapezoids of
        // linear properties are exact).
        {-10, 1E-7, 0, 50, 400, -4000, -500},
        {0, 1E-7, 2E-9, 50, 400, 0, 0},
        {50, 2E-7, 2E-9, 40, 500, 50 * 450, 50 * 45},
        {100, 3E-7, -5E-10, 30, 600, 50000, 4000},
        {200, 2.5E-7, -5E-10, 35, 600, 110000, 4000 + 100 * 32.5},
        {400, 2E-7, 0, 40, 600, 50000 + 120000 + 60000, 4000 + 7000 + 4000},
    };
    int segment = 0;
    for (const auto &row : rows)
        for (const auto &v : {p.At(row.T), p.At(row.T, segment)}) {
            EXPECT_NEAR(v.rhoE, row.rhoE, 1E-20) << row.T;
            EXPECT_NEAR(v.dRhoE, row.dRhoE, 1E-22) << row.T;
            EXPECT_NEAR(v.lambda, row.lambda, 1E-12) << row.T;
            EXPECT_NEAR(v.c, row.c, 1E-12) << row.T;
            EXPECT_NEAR(v.H, row.H, 1E-9) << row.T;
            EXPECT_NEAR(v.phi, row.phi, 1E-10) << row.T;
        }
}

TEST(PropertyCurves, PhiInvertsEverywhere)
{
    const PropertyCurves p(Table());
    for (const double T : {-50.0, 0.0, 12.5, 99.999, 100.0, 100.001, 250.0, 300.0, 1000.0})
        EXPECT_NEAR(p.TemperatureOfPhi(p.Phi(T)), T, 1E-10) << T;
}

TEST(PropertyCurves, SmallestResistivityAndStepLimits)
{
    const PropertyCurves p(Table());
    EXPECT_EQ(p.SmallestResistivityFrom(-20), 1E-7);
    EXPECT_NEAR(p.SmallestResistivityFrom(50), 2E-7, 1E-22); // its own, below the last point's
    EXPECT_EQ(p.SmallestResistivityFrom(150), 2E-7);
    // One step goes to the first table point strictly between, either way.
    const struct {
        double from, to, limit;
    } rows[] = {{20, 80, 80}, {20, 150, 100}, {100, 400, 300}, {100, 50, 50}, {100, -40, 0},
                {250, 20, 100}, {300, 500, 500}, {-40, 500, 0}};
    for (const auto &row : rows)
        EXPECT_EQ(p.Limit(row.from, row.to), row.limit) << row.from << " -> " << row.to;
}
