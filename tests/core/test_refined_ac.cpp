// The temperature-dependent calculation under alternating current: direct
// current unchanged bit for bit at f = 0, an independent coupled rod, the
// energy balance, the approach to direct current as f falls, convergence
// under refinement, and refusals.
#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

#include "core/Refined.h"
#include "support/RecordingHost.h"

using namespace resheat;
using resheat::testing::WorkedBar;
using resheat::testing::WorkedRod;

namespace {

RefinedOptions Alternating(double frequency, bool magnetic = true)
{
    RefinedOptions o;
    o.frequency = frequency;
    if (magnetic)
        o.magnetic = BuiltInMagneticTable("steel");
    return o;
}

void ExpectBalanced(const RefinedResult &r)
{
    ASSERT_EQ(r.status, RefinedStatus::Reached) << (r.stopMessages.empty() ? "" : r.stopMessages[0]);
    EXPECT_NEAR(r.stored + r.loss, r.energy, 1E-4 * r.energy);
}

// Every number a user reads, as bits.
std::vector<std::uint64_t> Bits(const RefinedResult &r)
{
    std::vector<double> v{r.heatingTime, r.centre,     r.mean,        r.surface,      r.tw,
                          r.th,          r.corner,     r.differenceK, r.currentStart, r.currentEnd,
                          r.powerStart,  r.powerEnd,   r.maxCurrent,  r.energy,       r.loss,
                          r.stored,      r.efficiency, r.contacts,    r.errorEstimate.temperature,
                          r.errorEstimate.heatingTime, double(r.steps), double(r.nodes)};
    for (const auto &row : r.history) {
        v.insert(v.end(), row.temperatures.begin(), row.temperatures.end());
        v.push_back(row.current);
        v.push_back(row.power);
    }
    std::vector<std::uint64_t> bits;
    for (double x : v)
        bits.push_back(std::bit_cast<std::uint64_t>(x));
    return bits;
}

// A rod of constant properties, not magnetic (mu_r = 1), at 4 kHz: R / delta
// = pi, so the current crowds to the surface while nothing changes with
// temperature.  The reference is independent of this program: the current
// density from the Bessel series I0(sqrt(j omega mu0 / rho_e) r), the heat by
// a radial finite-volume march with Crank-Nicolson steps, refined from
// 50 to 200 cells and 0.1 to 0.025 s (heating time 180.1037, 180.0955,
// 180.0934 s; surface lead 101.492, 101.470, 101.465 K), and by Simpson's
// rule over the Bessel profile Rac / Rdc = 1.841870 and the power factor
// 0.767672.
DataRZ SkinRod()
{
    DataRZ d = WorkedRod();
    d.name.set("test");
    d.conductivity = 20; d.specificHeat = 500; d.resistivity = 1E-6;
    d.voltageDrop = 0; d.alfa = 400; d.finishTemp = 800;
    return d;
}

} // namespace

TEST(RefinedAlternating, ZeroFrequencyIsDirectCurrentBitForBit)
{
    const PropertyTable steel = *BuiltInPropertyTable("steel");
    RefinedOptions zero = Alternating(0);
    zero.loopReactance = 0.01; // no meaning without a frequency
    for (const auto &[plain, at0] :
         {std::pair{RefinedCalculationRZ(WorkedRod(), steel), RefinedCalculationRZ(WorkedRod(), steel, zero)},
          std::pair{RefinedCalculationXY(WorkedBar(), steel), RefinedCalculationXY(WorkedBar(), steel, zero)}}) {
        ASSERT_EQ(plain.status, RefinedStatus::Reached);
        EXPECT_EQ(Bits(plain), Bits(at0)) << plain.bar;
        // Direct current reports the supply as it is: all of it power.
        EXPECT_EQ(at0.ratioStart, 1);
        EXPECT_EQ(at0.ratioEnd, 1);
        EXPECT_EQ(at0.powerFactorStart, 1);
        EXPECT_EQ(at0.powerFactorEnd, 1);
        EXPECT_EQ(at0.surfaceLeadMax, 0);
        EXPECT_DOUBLE_EQ(at0.supplyVoltageMax, 9);
        EXPECT_DOUBLE_EQ(at0.apparentPowerMax, 9 * at0.maxCurrent);
        EXPECT_EQ(at0.history[10].resistanceRatio, 1);
    }
}

TEST(RefinedAlternating, SkinRodMatchesAnIndependentCoupledReference)
{
    const DataRZ d = SkinRod();
    RefinedOptions o = Alternating(4000, false);
    o.emissivity = 0;
    o.loopReactance = 1E-3;
    const auto r = RefinedCalculationRZ(d, ConstantPropertyTable(1E-6, 20, 500), o);
    ExpectBalanced(r);
    EXPECT_NEAR(r.heatingTime, 180.0934, 2E-4 * 180.0934);
    EXPECT_NEAR(r.surfaceLeadMax, 101.465, 0.1);
    EXPECT_LE(std::abs(r.surfaceLeadMax - 101.465), r.errorEstimate.temperature);
    for (double ratio : {r.ratioStart, r.ratioEnd, r.history[25].resistanceRatio})
        EXPECT_NEAR(ratio, 1.841870, 2E-4);
    // The reference's current 8183.644 A at Ur = 10 V and |Z| = Ur / I, its
    // power factor 0.767672: the loop adds its reactance to
    // X_int = |Z| sin(acos(pf)), and the supply sees R_ac / |Z + j X_loop|.
    const double z = 10 / 8183.644, x = z * std::sqrt(1 - 0.767672 * 0.767672);
    const double loop = std::hypot(z * 0.767672, x + 1E-3);
    EXPECT_NEAR(r.powerFactorStart, z * 0.767672 / loop, 2E-4);
    EXPECT_NEAR(r.powerFactorEnd, z * 0.767672 / loop, 2E-4);
    EXPECT_NEAR(r.currentStart, 8183.644, 1E-4 * 8183.644);
    EXPECT_NEAR(r.supplyVoltageMax, 8183.644 * loop, 1E-4 * 8183.644 * loop);
    EXPECT_NEAR(r.apparentPowerMax, 8183.644 * 8183.644 * loop, 2E-4 * 8183.644 * 8183.644 * loop);
    // The heating time lies within its own estimate of the reference.
    EXPECT_LE(std::abs(r.heatingTime - 180.0934), r.errorEstimate.heatingTime + 2E-3);
}

TEST(RefinedAlternating, WorkedSteelAtFiftyHertzHeatsFromTheSurfaceAndBalances)
{
    const PropertyTable steel = *BuiltInPropertyTable("steel");
    for (const auto &[r, dc] :
         {std::pair{RefinedCalculationRZ(WorkedRod(), steel, Alternating(50)), RefinedCalculationRZ(WorkedRod(), steel)},
          std::pair{RefinedCalculationXY(WorkedBar(), steel, Alternating(50)), RefinedCalculationXY(WorkedBar(), steel)}}) {
        ExpectBalanced(r);
        // Cold magnetic steel crowds the current (Rac > Rdc, a lagging power
        // factor); hot, above the Curie point, it is nearly uniform again.
        EXPECT_GT(r.ratioStart, 1.2) << r.bar;
        EXPECT_LT(r.powerFactorStart, 0.9) << r.bar;
        EXPECT_NEAR(r.ratioEnd, 1, 2E-3) << r.bar;
        EXPECT_NEAR(r.powerFactorEnd, 1, 2E-3) << r.bar;
        EXPECT_NEAR(r.history.back().resistanceRatio, r.ratioEnd, 1E-9) << r.bar;
        EXPECT_GT(r.history[0].resistanceRatio, r.history[40].resistanceRatio) << r.bar;
        // Less current at the start, so longer to heat, and the surface
        // ahead of the centre on the way.
        EXPECT_LT(r.currentStart, 0.8 * dc.currentStart) << r.bar;
        EXPECT_GT(r.heatingTime, 1.03 * dc.heatingTime) << r.bar;
        EXPECT_GT(r.surfaceLeadMax, 50) << r.bar;
        EXPECT_EQ(dc.surfaceLeadMax, 0) << r.bar;
        EXPECT_DOUBLE_EQ(r.supplyVoltageMax, 9) << r.bar; // no loop: the supply voltage is Ur
    }
}

TEST(RefinedAlternating, TendsToDirectCurrentAsTheFrequencyFalls)
{
    // Rac / Rdc - 1 falls as f^2 at low frequency: each decade takes the
    // difference from direct current down a hundredfold.
    const PropertyTable steel = *BuiltInPropertyTable("steel");
    const auto dc = RefinedCalculationRZ(WorkedRod(), steel);
    double last = HUGE_VAL;
    for (double f : {5.0, 0.5, 0.05}) {
        const auto r = RefinedCalculationRZ(WorkedRod(), steel, Alternating(f));
        ExpectBalanced(r);
        const double gap = std::abs(r.ratioStart - 1);
        EXPECT_LT(gap, last / 30) << f;
        last = gap;
        if (f == 0.05) {
            EXPECT_LT(gap, 1E-4);
            EXPECT_NEAR(r.heatingTime, dc.heatingTime, dc.errorEstimate.heatingTime + r.errorEstimate.heatingTime);
            EXPECT_NEAR(r.currentStart, dc.currentStart, 1E-4 * dc.currentStart);
        }
    }
}

TEST(RefinedAlternating, EachLevelComesCloserAndItsEstimateCoversTheError)
{
    // The worked steel rod at 50 Hz from the program's own level to finer
    // ones; the finest stands for the truth.
    const PropertyTable steel = *BuiltInPropertyTable("steel");
    std::vector<RefinedResult> runs;
    for (int level : {1, 2, 3}) {
        RefinedOptions o = Alternating(50);
        o.refinement = level;
        runs.push_back(RefinedCalculationRZ(WorkedRod(), steel, o));
        ExpectBalanced(runs.back());
    }
    const RefinedResult &best = runs.back();
    double lastTime = HUGE_VAL, lastLead = HUGE_VAL;
    for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
        const RefinedResult &r = runs[i];
        const double time = std::abs(r.heatingTime - best.heatingTime), lead = std::abs(r.surfaceLeadMax - best.surfaceLeadMax);
        EXPECT_LE(time, r.errorEstimate.heatingTime) << i;
        EXPECT_LE(lead, r.errorEstimate.temperature) << i;
        EXPECT_LE(std::abs(r.centre - best.centre), r.errorEstimate.temperature) << i;
        EXPECT_LT(time, lastTime) << i;
        EXPECT_LT(lead, lastLead) << i;
        lastTime = time;
        lastLead = lead;
    }
}

TEST(RefinedAlternating, SteadyStateWhereLossesBalanceTheHeatingAgreesWithTheRun)
{
    // The worked rod at 3 V on 50 Hz levels off below the Curie point, lower
    // than on direct current (the current crowds, Rac > Rdc).  The steady
    // state found by the field and heat iteration together must be where the
    // heating run levels off: a finish just below it is reached, slowly.
    const PropertyTable steel = *BuiltInPropertyTable("steel");
    auto run = [&](double finish, double frequency) {
        DataRZ d = WorkedRod();
        d.supplyVoltage = 3;
        d.finishTemp = finish;
        return RefinedCalculationRZ(d, steel, Alternating(frequency));
    };
    const auto dc = run(1500, 0), ac = run(1500, 50);
    ASSERT_EQ(ac.status, RefinedStatus::NotReached);
    ASSERT_EQ(dc.status, RefinedStatus::NotReached);
    EXPECT_LT(ac.steadyCentre, dc.steadyCentre - 100);
    EXPECT_GT(ac.steadyCentre, 500);
    const auto below = run(ac.steadyCentre - 4, 50);
    ExpectBalanced(below);
    EXPECT_GT(below.heatingTime, 1000); // creeping up to it
    EXPECT_EQ(run(ac.steadyCentre + 2, 50).status, RefinedStatus::NotReached);
}

TEST(RefinedAlternating, RefusesBadSupplyAndMagneticData)
{
    const PropertyTable steel = *BuiltInPropertyTable("steel");
    auto with = [&](auto change) {
        RefinedOptions o = Alternating(50);
        change(o);
        return RefinedCalculationRZ(WorkedRod(), steel, o);
    };
    MagneticTable flat = *BuiltInMagneticTable("steel");
    flat.points[1].flux = flat.points[0].flux; // B must rise with H
    const struct {
        RefinedResult r;
        std::string text;
    } rows[] = {
        {with([](RefinedOptions &o) { o.frequency = -50; }), "Frequency must be a number from 0 to 1000000 Hz."},
        {with([](RefinedOptions &o) { o.frequency = std::nan(""); }), "Frequency must be a number from 0 to 1000000 Hz."},
        {with([](RefinedOptions &o) { o.frequency = 2E6; }), "Frequency must be a number from 0 to 1000000 Hz."},
        {with([](RefinedOptions &o) { o.loopReactance = -1; }), "Loop reactance must be a number of 0 ohm or more."},
        {with([](RefinedOptions &o) { o.loopReactance = HUGE_VAL; }), "Loop reactance must be a number of 0 ohm or more."},
        {with([&](RefinedOptions &o) { o.magnetic = flat; }),
         "The magnetisation curve's H and B must increase, point by point, with B above mu0 H."},
        {with([](RefinedOptions &o) { o.magnetic->curie = 20; }),
         "The Curie temperature of the magnetisation curve must be above 20 oC and at most 1200 oC."},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(row.r.status, RefinedStatus::Refused) << row.text;
        ASSERT_EQ(row.r.stopMessages.size(), 1u) << row.text;
        EXPECT_EQ(row.r.stopMessages[0], row.text);
    }
}
