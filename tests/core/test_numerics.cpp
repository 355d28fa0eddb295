#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

#include "core/Errors.h"
#include "core/Numerics.h"
#include "support/RecordingHost.h"

using namespace resheat;
using resheat::testing::RecordingHost;

TEST(Factorial, SmallAndLargeArguments)
{
    EXPECT_EQ(Factorial(0), 1.0);
    EXPECT_EQ(Factorial(1), 1.0);
    EXPECT_EQ(Factorial(5), 120.0);
    EXPECT_EQ(Factorial(20), 2432902008176640000.0);
}

TEST(IntPower, RoundsTheExponentTiesToEven)
{
    struct Row { double base, exponent, expected; };
    const Row rows[] = {
        {0, 0, 1}, {0, 3, 0}, {2, 3, 8}, {2, 2.5, 4}, {2, 3.5, 16}, {2, -1, 1}, {-3, 3, -27},
        {1.5, 2, 2.25},
    };
    for (const auto &r : rows)
        EXPECT_EQ(IntPower(r.base, r.exponent), r.expected) << r.base << "^" << r.exponent;
}

TEST(IntPower, SmallExponentsMultiplyTheFactorsOneByOne)
{
    // The Bessel series form their powers this way; the results must match
    // to the last bit.
    for (double base : {1.1, -0.37, 7.999}) {
        double product = 1;
        for (int k = 0; k <= 64; ++k) {
            EXPECT_EQ(IntPower(base, k), product) << base << "^" << k;
            product *= base;
        }
    }
}

TEST(IntPower, HugeExponentsEndAtOnce)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Row { double base, exponent, expected; };
    const Row rows[] = {
        {0.5, 1E18, 0},
        {-1, 1E18, 1},
        {-1, 9007199254740991.0, -1}, // 2^53 - 1 is odd
        {1, inf, 1},
        {0.5, inf, 0},
        {-0.5, 65, -std::ldexp(1.0, -65)},
        {2, 1023, std::ldexp(1.0, 1023)},
        {-2, 1001, -std::ldexp(1.0, 1001)},
    };
    for (const auto &r : rows)
        EXPECT_EQ(IntPower(r.base, r.exponent), r.expected) << r.base << "^" << r.exponent;
    // (1 + 1E-7)^1E9 = exp(1E9 ln(1 + 1E-7)) = exp(100 - 5E-6 + ...)
    EXPECT_NEAR(IntPower(1.0000001, 1E9) / std::exp(100.0), 1 - 5E-6, 1E-6);
    for (const Row &r : {Row{2, 1024, 0}, Row{2, 1E18, 0}, Row{-3, 1E300, 0}, Row{1.5, inf, 0}}) {
        try {
            IntPower(r.base, r.exponent);
            ADD_FAILURE() << r.base << "^" << r.exponent << " must overflow";
        } catch (const ArithmeticFault &e) {
            EXPECT_STREQ(e.what(), kOverflow);
        }
    }
}

TEST(Bessel, SeriesBelowSixteen)
{
    EXPECT_EQ(BesselJ0(20, 0), 1.0);
    EXPECT_EQ(BesselJ1(20, 0), 0.0);
    EXPECT_NEAR(BesselJ0(20, 2.404825), 0.0, 1e-6);       // first zero of J0
    EXPECT_NEAR(BesselJ0(20, 1.0), 0.7651976865579666, 1e-15);
    EXPECT_NEAR(BesselJ1(20, 1.0), 0.4400505857449335, 1e-15);
    EXPECT_NEAR(BesselJ1(20, 3.831706), 0.0, 1e-6);       // first zero of J1
    EXPECT_EQ(BesselJ0(-1, 3.0), 0.0);                    // no terms at all
}

TEST(Bessel, SharpSwitchToTheAsymptoticFormAtSixteen)
{
    // The truncated series has lost accuracy just below 16; the value jumps.
    EXPECT_NEAR(BesselJ0(20, 15.999), -0.14613, 5e-5);
    EXPECT_NEAR(BesselJ0(20, 16.0), -0.17495, 5e-5);
    const double x = 20;
    const double amp = std::sqrt(2 / (std::numbers::pi * x));
    const double q = std::numbers::pi / 4;
    EXPECT_DOUBLE_EQ(BesselJ0(20, x), amp * (std::sin(x + q) + std::sin(x - q) / (8 * x)));
    EXPECT_DOUBLE_EQ(BesselJ1(20, x), amp * (std::sin(x - q) + 3 * std::sin(x + q) / (8 * x)));
}

TEST(CharacteristicFunctions, IgnoreConductivityAndMargin)
{
    EXPECT_EQ(CharFunctionXY(0.5, 1, 15, 0.1, 1e-8), CharFunctionXY(0.5, 999, 15, 0.1, 7));
    EXPECT_NEAR(CharFunctionXY(0.8603336, 0, 1, 1, 0), 0.0, 1e-6); // cot mu = mu
    EXPECT_EQ(CharFunctionRZ(2.0, 1, 1.5, 1, 0), CharFunctionRZ(2.0, 50, 1.5, 1, 3));
    EXPECT_THROW(CharFunctionXY(0.0, 0, 1, 1, 0), ArithmeticFault); // cot 0
}

TEST(Bisection, EvaluatesAtMostNMinusOneMidpoints)
{
    static int calls;
    calls = 0;
    auto line = [](double x, double, double, double, double) { ++calls; return x - 0.3; };
    const auto r2 = Bisection(2, line, 0, 0, 0, 0, 0, -0.3, 1, 0.7);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(r2.found);
    EXPECT_EQ(r2.x, 0.5);

    calls = 0;
    const auto r40 = Bisection(40, line, 0, 0, 0, 0, 0, -0.3, 1, 0.7);
    EXPECT_TRUE(r40.found);
    EXPECT_LT(std::fabs(r40.x - 0.3), 1e-5);
    EXPECT_LE(calls, 39);
}

TEST(RootScan, FindsTheFirstXyEigenvalue)
{
    RecordingHost host;
    RootTable roots{};
    std::uint8_t counter = 1;
    bool ok = false;
    RootScan(40, counter, 87.88, 15, 0.1, 1e-8, 1e-8, std::numbers::pi, 0.1, 1e-5, CharFunctionXY,
             roots, ok, host);
    EXPECT_TRUE(ok);
    EXPECT_EQ(counter, 2);
    EXPECT_NEAR(roots[0], 0.98824, 5e-5); // cot mu = mu / 1.5
    EXPECT_EQ(roots[1], 0.0);
    EXPECT_TRUE(host.messages.empty());
}

TEST(RootScan, StoresAStartPointThatIsAlreadyARoot)
{
    RecordingHost host;
    RootTable roots{};
    std::uint8_t counter = 1;
    bool ok = false;
    auto f = [](double x, double, double, double, double) { return x - 1.0; };
    RootScan(40, counter, 0, 0, 0, 1e-8, 1.0, 1.5, 0.1, 1e-5, f, roots, ok, host);
    EXPECT_EQ(roots[0], 1.0);
    EXPECT_EQ(counter, 2);
    EXPECT_TRUE(ok);
}

TEST(RootScan, BothEndsBelowToleranceStopsWithAMessage)
{
    RecordingHost host;
    RootTable roots{};
    std::uint8_t counter = 1;
    bool ok = true;
    auto flat = [](double, double, double, double, double) { return 0.0; };
    RootScan(40, counter, 0, 0, 0, 1e-8, 0, 1, 0.1, 1e-5, flat, roots, ok, host);
    EXPECT_FALSE(ok);
    EXPECT_EQ(counter, 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "Execution Error");
    EXPECT_EQ(host.messages[0].second, "To small precision or bad step");
}

TEST(RootScan, FailedBisectionLeavesItsEstimateAndGoesOn)
{
    // A jump from -1 to +1 at 0.55 and a clean root at 1.23: the bisection
    // cannot reach |F| < 1E-5 at the jump.
    RecordingHost host;
    RootTable roots{};
    std::uint8_t counter = 1;
    bool ok = true;
    auto f = [](double x, double, double, double, double) {
        if (x < 1.0)
            return x < 0.55 ? -1.0 : 1.0;
        return 1.23 - x;
    };
    RootScan(40, counter, 0, 0, 0, 1e-8, 0.0, 2.0, 0.1, 1e-5, f, roots, ok, host);
    ASSERT_GE(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, "Function 1 Error");
    EXPECT_EQ(counter, 2);                      // only the real root counted
    EXPECT_NEAR(roots[0], 1.23, 1e-5);          // it overwrote the failed estimate
    EXPECT_TRUE(ok);                            // the last event was a stored root
}

TEST(RootScan, StopsAfterTenRoots)
{
    RecordingHost host;
    RootTable roots{};
    std::uint8_t counter = 1;
    bool ok = false;
    auto s = [](double x, double, double, double, double) { return std::sin(x * 3.0); };
    RootScan(40, counter, 0, 0, 0, 1e-8, 0.5, 100, 0.1, 1e-5, s, roots, ok, host);
    EXPECT_EQ(counter, 11);
    for (int k = 0; k < 10; ++k)
        EXPECT_NEAR(roots[k], (k + 1) * std::numbers::pi / 3, 1e-5) << k;
}

TEST(CharacteristicFunctions, RzEqualsItsDefinitionExactly)
{
    for (double mu : {1e-4, 0.5, 1.1189, 7.3, 15.999, 16.0, 22.5, 34.9}) {
        const double expected = (15 * 0.05) * BesselJ0(20, mu) - mu * BesselJ1(20, mu);
        EXPECT_EQ(CharFunctionRZ(mu, 87.88, 15, 0.05, 1e-8), expected) << mu;
    }
}
