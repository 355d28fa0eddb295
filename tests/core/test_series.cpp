// The series of the constant-property calculation: against an independent
// evaluation, the temperature-dependent solver run with constant properties,
// uniform heating, the steady state and the energy balance; the run that
// uses them (heating time, history grid, not reached, refusals, contacts).
//
// Reference values marked "independent" come from a separate evaluation at
// 30 significant digits: the rod by its Bessel series over 400 to 2000
// roots, the bar by the Duhamel integral of the product of the two slab
// solutions (each the series of its own roots, or its short-time closed
// form), integrated by quadrature.
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>
#include <tuple>

#include "core/Heating.h"
#include "core/Lumped.h"
#include "core/PropertyTable.h"
#include "core/Refined.h"
#include "core/Series.h"
#include "support/RecordingHost.h"

using namespace resheat;
using resheat::testing::RecordingHost;
using resheat::testing::WorkedBar;
using resheat::testing::WorkedRod;

namespace {

using BarPoint = BarSeries::Point;
using RodPoint = RodSeries::Point;

constexpr double kSteelHeatCapacity = 7800 * 481.32; // rho c [J/(m3 K)]

// ------------------------------------------------------------ independent values

struct PointValues {
    const char *what;
    bool rod;
    double a, b, lambda, heatCapacity, alfa, pv, t;
    double centre, second, third, mean; // rises [K]; rod: axis, surface, -, mean
    double tolerance;                   // [K]
};

TEST(Series, AgreeWithAnIndependentEvaluationFromTinyToLargeBiotNumbers)
{
    // Rod R = 25 mm, Bi 10 and 1E-6; bar 50 x 40 mm, Bi_w 1E-6 and 100; a
    // 10:1 flat bar 100 x 10 mm with Bi_w = 5 (lambda 50, rho c 3.9E6).
    // At Bi = 1E-6 the steady and the transient parts are 1E9 K each and
    // cancel: their rounding leaves about 1E-6 K in the rod (the bar takes
    // the time integral of its slabs there).
    const double rodBi10 = 10 * 87.88 / 0.025, tiny = 1e-6 * 87.88 / 0.025, barBi100 = 100 * 87.88 / 0.025;
    const PointValues rows[] = {
        {"rod Bi 10", true, 0.025, 0, 87.88, kSteelHeatCapacity, rodBi10, 5e8, 0.01,
         1.3318076145301, 1.1592338876247, 0, 1.3273465743992, 1e-8},
        {"rod Bi 10", true, 0.025, 0, 87.88, kSteelHeatCapacity, rodBi10, 5e8, 0.3,
         39.954228435779, 21.196421411928, 0, 37.28610121806, 1e-8},
        {"rod Bi 10", true, 0.025, 0, 87.88, kSteelHeatCapacity, rodBi10, 5e8, 30,
         1061.1516855256, 177.11189128156, 0, 619.40334274133, 1e-8},
        {"rod Bi 1E-6", true, 0.025, 0, 87.88, kSteelHeatCapacity, tiny, 5e8, 0.3,
         39.954228435904, 39.954225132096, 0, 39.954227986987, 1e-5},
        {"rod Bi 1E-6", true, 0.025, 0, 87.88, kSteelHeatCapacity, tiny, 5e8, 30,
         3995.4192792018, 3995.4173926173, 0, 3995.4183544303, 1e-5},
        {"flat bar", false, 0.05, 0.005, 50, 7800 * 500.0, 5000, 2e8, 0.01,
         0.51282051282051, 0.499329493146, 0.499329493146, 0.5121126919921, 1e-8},
        {"flat bar", false, 0.05, 0.005, 50, 7800 * 500.0, 5000, 2e8, 0.2,
         10.248362036951, 9.1339442230459, 9.1408135619547, 9.9934582886251, 1e-8},
        {"flat bar", false, 0.05, 0.005, 50, 7800 * 500.0, 5000, 2e8, 20,
         246.68414943607, 140.49376672525, 197.36688351545, 215.66918408204, 1e-8},
        {"bar Bi 1E-6", false, 0.025, 0.02, 87.88, kSteelHeatCapacity, tiny, 5e8, 3,
         399.54227981313, 399.54218003317, 399.54218263852, 399.54223385595, 1e-8},
        {"bar Bi 100", false, 0.025, 0.02, 87.88, kSteelHeatCapacity, barBi100, 5e8, 0.003,
         0.39954228435904, 0.216133623843, 0.216133623843, 0.39650794486491, 1e-8},
        {"bar Bi 100", false, 0.025, 0.02, 87.88, kSteelHeatCapacity, barBi100, 5e8, 3,
         372.99103933986, 12.693192137802, 12.977830121456, 214.8795635293, 1e-8},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.what) + " at " + std::to_string(row.t) + " s");
        if (row.rod) {
            RodSeries s(row.a, row.lambda, row.heatCapacity, row.alfa, row.pv);
            EXPECT_NEAR(s.Rise(RodPoint::Axis, row.t), row.centre, row.tolerance);
            EXPECT_NEAR(s.Rise(RodPoint::Surface, row.t), row.second, row.tolerance);
            EXPECT_NEAR(s.MeanRise(row.t), row.mean, row.tolerance);
        } else {
            // Summed as a double series, and as the time integral of the
            // product of the slab solutions that sections too large for the
            // series take.
            for (const std::size_t maxTerms : {kMaxTerms, std::size_t{0}}) {
                SCOPED_TRACE(maxTerms);
                BarSeries s(row.a, row.b, row.lambda, row.heatCapacity, row.alfa, row.pv, maxTerms);
                EXPECT_NEAR(s.Rise(BarPoint::Centre, row.t), row.centre, row.tolerance);
                EXPECT_NEAR(s.Rise(BarPoint::WidthFace, row.t), row.second, row.tolerance);
                EXPECT_NEAR(s.Rise(BarPoint::HeightFace, row.t), row.third, row.tolerance);
                EXPECT_NEAR(s.MeanRise(row.t), row.mean, row.tolerance);
                const double generated = row.pv * 4 * row.a * row.b * row.t;
                EXPECT_NEAR(row.heatCapacity * 4 * row.a * row.b * s.MeanRise(row.t) + s.Loss(row.t), generated,
                            1e-9 * generated);
            }
        }
    }
}

TEST(Series, SectionsLargeAgainstTheSpreadOfHeatStayQuickAndExact)
{
    // 20 m x 20 m after a microsecond: the series would need 4E10 terms; the
    // charge has heated uniformly but for a surface layer of micrometres.
    BarSeries s(10, 10, 87.88, kSteelHeatCapacity, 15, 5e8);
    const double uniform = 5e8 * 1e-6 / kSteelHeatCapacity;
    EXPECT_NEAR(s.MeanRise(1e-6), uniform, 1e-12 * uniform);
    EXPECT_NEAR(s.Rise(BarPoint::Centre, 1e-6), uniform, 1e-12 * uniform);
    // At the face: the semi-infinite solid, pv/(rho c) times the integral of
    // e^X erfc(sqrt X), X = (alpha/lambda)^2 kappa t, which is
    // t (1 - 4/3 sqrt(X / pi) + X/2 - ...) for small X.
    const double x = (15 / 87.88) * (15 / 87.88) * 87.88 / kSteelHeatCapacity * 1e-6;
    EXPECT_NEAR(s.Rise(BarPoint::WidthFace, 1e-6), uniform * (1 - 4.0 / 3 * std::sqrt(x / std::numbers::pi)),
                1e-12 * uniform);
}

TEST(Series, RootsSolveTheirEquationsOnePerInterval)
{
    for (const double bi : {1e-6, 0.0043, 1.0, 10.0, 1e4}) {
        SCOPED_TRACE(bi);
        SlabModes slab(bi);
        RodModes rod(bi);
        slab.Ensure(200);
        rod.Ensure(200);
        for (std::size_t i = 0; i < 200; ++i) {
            const double k = static_cast<double>(i);
            const double mu = slab.mu(i), nu = rod.mu(i);
            EXPECT_GT(mu, k * std::numbers::pi);
            EXPECT_LT(mu, (k + 0.5) * std::numbers::pi);
            EXPECT_NEAR(mu * slab.sinMu(i), bi * slab.cosMu(i), 1e-13 * (mu + bi));
            EXPECT_GT(nu, k * std::numbers::pi);
            EXPECT_LT(nu, (k + 1) * std::numbers::pi);
            EXPECT_NEAR(nu * std::cyl_bessel_j(1.0, nu), bi * rod.j0(i), 1e-12 * (nu + bi));
        }
    }
    // The first roots at Bi = 1: mu tan mu = 1 and mu J1 = J0.
    SlabModes one(1);
    RodModes rodOne(1);
    one.Ensure(1);
    rodOne.Ensure(1);
    EXPECT_NEAR(one.mu(0), 0.86033358901938, 1e-13);
    EXPECT_NEAR(rodOne.mu(0), 1.2557837117945935, 1e-13);
}

// ------------------------------------------------------------ worked cases

TEST(SeriesCalculation, WorkedRodAndBar)
{
    // Independent: the rod's centre reaches 1500 oC at 10.5618760902188 s,
    // 2.65616968083 K above its surface; the bar's at 10.5600904889874 s,
    // 2.50160771694 K above the middles of its faces.  The rows stay on the
    // lumped 15.829 s.
    RecordingHost host;
    ResultsRZ rod;
    History rodRows{};
    EXPECT_EQ(CalculationRZ(WorkedRod(), false, rod, 0, rodRows, host), RunOutcome::Completed);
    EXPECT_NEAR(rod.heatingTime, 10.5618760902188, 1e-9 * 10.56);
    EXPECT_NEAR(rod.diffSurface, 2.65616968083, 1e-6);
    EXPECT_EQ(rod.contacts, 115);                     // 114 869 A
    EXPECT_NEAR(rod.biot, 15 * 0.025 / 87.88, 1e-15);
    const struct {
        int row;
        double time, to, tr;
    } rodExpected[] = {{1, 0.3165889359, 64.4, 64.38389464},
                       {25, 7.914723398, 1129.452682, 1127.580771},
                       {50, 15.8294467968, 2236.427453, 2232.204016}};
    for (const auto &e : rodExpected) {
        SCOPED_TRACE(e.row);
        EXPECT_NEAR(rodRows[e.row - 1][0], e.time, 5e-9);
        EXPECT_NEAR(rodRows[e.row - 1][1], e.to, 5e-6);
        EXPECT_NEAR(rodRows[e.row - 1][2], e.tr, 5e-6);
        EXPECT_EQ(rodRows[e.row - 1][3], 0.0);
    }

    ResultsXY bar;
    History barRows{};
    EXPECT_EQ(CalculationXY(WorkedBar(), false, bar, 0, barRows, host), RunOutcome::Completed);
    EXPECT_NEAR(bar.heatingTime, 10.5600904889874, 1e-9 * 10.56);
    EXPECT_NEAR(bar.diffWidth, 2.50160771694, 1e-6);
    EXPECT_NEAR(bar.diffHeight, 2.50160771694, 1e-6);
    EXPECT_EQ(bar.contacts, 147);                     // 146 256 A
    EXPECT_NEAR(bar.biotWidth, 15 * 0.025 / 87.88, 1e-15);
    EXPECT_NEAR(bar.biotHeight, 15 * 0.025 / 87.88, 1e-15);
    EXPECT_NEAR(barRows[0][1], 64.4, 5e-6);
    EXPECT_NEAR(barRows[0][2], 64.38448533, 5e-6);
    EXPECT_NEAR(barRows[49][1], 2236.929216, 5e-6);
    EXPECT_NEAR(barRows[49][2], 2232.869356, 5e-6);
    EXPECT_NEAR(barRows[49][3], 2232.869356, 5e-6);
    EXPECT_EQ(host.progress, (std::vector<std::string>{"show", "hide", "show", "hide"}));
    EXPECT_TRUE(host.messages.empty());

    // Row i at i/50 of the grid, the last exactly at its end.
    for (int i = 1; i <= kHistoryRows; ++i)
        EXPECT_DOUBLE_EQ(barRows[i - 1][0], barRows[49][0] * i / kHistoryRows);
    EXPECT_EQ(barRows[49][0], HeatingTime(bar.mass, 481.32, 20, 1500, bar.power));

    // The charge at the heating time: independent mean temperatures.
    EXPECT_NEAR(SeriesStateRZ(WorkedRod(), rod.heatingTime).mean, 1498.75449988, 1e-6);
    EXPECT_NEAR(SeriesStateXY(WorkedBar(), bar.heatingTime).mean, 1498.50536585, 1e-6);
}

// ------------------------------------------------------------ the same physics, solved apart

// The worked steel case with the Biot number of the half size (or the alfa
// coefficient when `biot` is negative), finish temperature and voltage.
struct SolverCase {
    const char *what;
    bool bar;
    double width, thickness; // rod: the diameter in width
    double biot, finish, voltage;
    // Halvings of the finite-volume solver's mesh and step; its default
    // resolution cannot hold rows to 0.05 K at large Biot numbers, where the
    // surface layer is steep (the differences quarter with each refinement,
    // towards the series).
    int refinement;
};

DataXY BarOf(const SolverCase &c)
{
    DataXY d = WorkedBar();
    d.name.set("my steel"); // no built-in table: the case's constant properties
    d.width = c.width;
    d.thickness = c.thickness;
    d.alfa = c.biot < 0 ? -c.biot : c.biot * 87.88 / (c.width / 2);
    d.finishTemp = c.finish;
    d.supplyVoltage = c.voltage;
    return d;
}

DataRZ RodOf(const SolverCase &c)
{
    DataRZ d = WorkedRod();
    d.name.set("my steel");
    d.diameter = c.width;
    d.alfa = c.biot < 0 ? -c.biot : c.biot * 87.88 / (c.width / 2);
    d.finishTemp = c.finish;
    d.supplyVoltage = c.voltage;
    return d;
}

TEST(SeriesCalculation, AgreeWithTheFiniteVolumeSolverOnConstantProperties)
{
    const SolverCase cases[] = {
        {"rod Bi 1E-3", false, 0.05, 0, 1e-3, 1500, 10, 0},
        {"rod worked", false, 0.05, 0, -15, 1500, 10, 0},
        {"rod Bi 0.3", false, 0.05, 0, 0.3, 1200, 10, 1},
        {"rod Bi 3", false, 0.05, 0, 3, 1000, 10, 1},
        {"rod Bi 10", false, 0.05, 0, 10, 800, 10, 2},
        {"rod not reaching 1200 oC", false, 0.05, 0, -300, 1200, 2, 0},
        {"bar Bi 1E-3", true, 0.05, 0.05, 1e-3, 1500, 10, 0},
        {"bar worked", true, 0.05, 0.05, -15, 1500, 10, 0},
        {"bar Bi 0.3", true, 0.05, 0.05, 0.3, 1200, 10, 2},
        {"flat bar 10:1, Bi 2 and 0.2", true, 0.1, 0.01, 2, 600, 10, 2},
        {"bar not reaching 1200 oC", true, 0.05, 0.05, -300, 1200, 2, 1},
    };
    for (const SolverCase &c : cases) {
        SCOPED_TRACE(c.what);
        RefinedOptions options;
        options.emissivity = 0;
        options.refinement = c.refinement;
        const PropertyTable table = DefaultPropertyTable("my steel", 1.5384E-7, 87.88, 481.32);
        ASSERT_EQ(table.source, PropertySource::Constant);
        RecordingHost host;
        History rows{};
        RunOutcome outcome;
        double heatingTime = 0, alfa = 0;
        RefinedResult fv;
        std::optional<BarSeries> bar;
        std::optional<RodSeries> rod;
        if (c.bar) {
            const DataXY d = BarOf(c);
            ResultsXY r;
            outcome = CalculationXY(d, false, r, 0, rows, host);
            heatingTime = r.heatingTime;
            alfa = d.alfa;
            fv = RefinedCalculationXY(d, table, options);
            bar.emplace(d.width / 2, d.thickness / 2, 87.88, kSteelHeatCapacity, alfa, r.powerDensity);
        } else {
            const DataRZ d = RodOf(c);
            ResultsRZ r;
            outcome = CalculationRZ(d, false, r, 0, rows, host);
            heatingTime = r.heatingTime;
            alfa = d.alfa;
            fv = RefinedCalculationRZ(d, table, options);
            rod.emplace(d.diameter / 2, 87.88, kSteelHeatCapacity, alfa, r.powerDensity);
        }
        auto centre = [&](double t) {
            return 20 + (bar ? bar->Rise(BarPoint::Centre, t) : rod->Rise(RodPoint::Axis, t));
        };

        if (fv.status == RefinedStatus::NotReached) {
            EXPECT_EQ(outcome, RunOutcome::NotReached);
            const double steady = 20 + *(bar ? bar->SteadyRise(BarPoint::Centre) : rod->SteadyRise(RodPoint::Axis));
            EXPECT_NEAR(fv.steadyCentre, steady, 0.05);
            ASSERT_EQ(host.messages.size(), 1u);
            const std::string &text = host.messages[0].second;
            EXPECT_NEAR(std::strtod(text.c_str() + text.find("approaches ") + 11, nullptr), steady, 5e-4)
                << text;
            continue;
        }
        ASSERT_EQ(fv.status, RefinedStatus::Reached);
        EXPECT_EQ(outcome, RunOutcome::Completed);
        EXPECT_NEAR(heatingTime, fv.heatingTime, 1e-4 * fv.heatingTime);
        EXPECT_NEAR(centre(heatingTime), c.finish, 1e-6);
        for (const RefinedRow &row : fv.history) {
            const double t = row.temperatures[0];
            SCOPED_TRACE(t);
            EXPECT_NEAR(row.temperatures[1], centre(t), 0.05);
            if (bar) {
                EXPECT_NEAR(row.temperatures[2], 20 + bar->Rise(BarPoint::WidthFace, t), 0.05);
                EXPECT_NEAR(row.temperatures[3], 20 + bar->Rise(BarPoint::HeightFace, t), 0.05);
            } else {
                EXPECT_NEAR(row.temperatures[2], 20 + rod->Rise(RodPoint::Surface, t), 0.05);
            }
        }

        // Energy: the series balance to rounding; the solver's own balance,
        // stored heat and losses agree with them.
        const ChargeState s = c.bar ? SeriesStateXY(BarOf(c), fv.heatingTime) : SeriesStateRZ(RodOf(c), fv.heatingTime);
        EXPECT_NEAR(s.stored + s.loss, s.energy, 1e-9 * s.energy);
        EXPECT_NEAR(s.energy, fv.energy, 1e-9 * s.energy);
        EXPECT_NEAR(s.stored, fv.stored, 1e-4 * s.energy);
        EXPECT_NEAR(s.loss, fv.loss, 1e-4 * s.energy);
        EXPECT_NEAR(s.mean, fv.mean, 0.05);
        EXPECT_NEAR(s.efficiency, s.stored / s.energy, 1e-15);
    }
}

TEST(Series, RodLossIsTheTimeIntegralOfItsSurface)
{
    // alpha 2 pi R times the integral of the surface rise, by Gauss-Legendre
    // quadrature on pieces shrinking towards t = 0.
    for (const double biot : {1e-3, 0.3, 10.0}) {
        SCOPED_TRACE(biot);
        const double r = 0.025, alfa = biot * 87.88 / r, t = 20;
        RodSeries s(r, 87.88, kSteelHeatCapacity, alfa, 5e8);
        const double x[5] = {-0.9061798459386640, -0.5384693101056831, 0.0, 0.5384693101056831,
                             0.9061798459386640};
        const double w[5] = {0.2369268850561891, 0.4786286704993665, 0.5688888888888889, 0.4786286704993665,
                             0.2369268850561891};
        double integral = 0;
        for (double hi = t, lo = t / 2; hi > 1e-7 * t; hi = lo, lo /= 2) {
            const double mid = (hi + lo) / 2, half = (hi - lo) / 2;
            for (int k = 0; k < 5; ++k)
                integral += w[k] * half * s.Rise(RodPoint::Surface, mid + half * x[k]);
        }
        const double loss = alfa * 2 * std::numbers::pi * r * integral;
        EXPECT_NEAR(s.Loss(t), loss, 1e-9 * loss);
        // Generated = stored + lost, per metre.
        const double area = std::numbers::pi * r * r;
        EXPECT_NEAR(kSteelHeatCapacity * area * s.MeanRise(t) + s.Loss(t), 5e8 * area * t, 1e-10 * 5e8 * area * t);
    }
}

// ------------------------------------------------------------ limits

TEST(Series, WithoutLossesTheChargeHeatsUniformly)
{
    DataXY bar = WorkedBar();
    bar.alfa = 0;
    DataRZ rod = WorkedRod();
    rod.alfa = 0;
    RecordingHost host;
    ResultsXY rb;
    ResultsRZ rr;
    History hb{}, hr{};
    ASSERT_EQ(CalculationXY(bar, false, rb, 0, hb, host), RunOutcome::Completed);
    ASSERT_EQ(CalculationRZ(rod, false, rr, 0, hr, host), RunOutcome::Completed);
    // T = Ts + pv t / (rho c): Tf at 1480 rho c / pv, two thirds of the lumped time.
    for (const auto &[results, rows, pv] : {std::tuple{rb.heatingTime, hb, rb.powerDensity},
                                            std::tuple{rr.heatingTime, hr, rr.powerDensity}}) {
        EXPECT_NEAR(results, 1480 * kSteelHeatCapacity / pv, 1e-9 * results);
        for (const HistoryRow &row : rows) {
            const double uniform = 20 + pv * row[0] / kSteelHeatCapacity;
            EXPECT_NEAR(row[1], uniform, 1e-9 * uniform);
            EXPECT_NEAR(row[2], uniform, 1e-9 * uniform);
        }
        EXPECT_NEAR(rows[49][0], 1.5 * results, 1e-9 * results);
    }
    EXPECT_EQ(rb.diffWidth, 0);
    EXPECT_EQ(rb.diffHeight, 0);
    EXPECT_EQ(rr.diffSurface, 0);
    EXPECT_EQ(rb.biotWidth, 0);
    const ChargeState s = SeriesStateXY(bar, rb.heatingTime);
    EXPECT_EQ(s.loss, 0);
    EXPECT_NEAR(s.efficiency, 1, 1e-12);
}

TEST(Series, LongTimesReachTheSteadyState)
{
    // Rod: Ts + T*/4 (1 - r^2/R^2 + 2/Bi).  Bar at 2 V losing 300 W/(m2K):
    // the steady double series summed over 400 x 400 roots independently.
    const double pv = 21060842.43369735, r = 0.025, biot = 300 * r / 87.88, scale = pv * r * r / 87.88;
    RodSeries rod(r, 87.88, kSteelHeatCapacity, 300, pv);
    EXPECT_NEAR(*rod.SteadyRise(RodPoint::Axis), scale / 4 * (1 + 2 / biot), 1e-9);
    EXPECT_NEAR(*rod.SteadyRise(RodPoint::Surface), scale / 4 * (2 / biot), 1e-9);
    BarSeries bar(0.025, 0.025, 87.88, kSteelHeatCapacity, 300, pv);
    EXPECT_NEAR(*bar.SteadyRise(BarPoint::Centre), 927.2576363242364, 1e-6);
    for (const double t : {1e5, 1e7}) {
        EXPECT_NEAR(rod.Rise(RodPoint::Axis, t), *rod.SteadyRise(RodPoint::Axis), 1e-7);
        EXPECT_NEAR(rod.Rise(RodPoint::Surface, t), *rod.SteadyRise(RodPoint::Surface), 1e-7);
        EXPECT_NEAR(bar.Rise(BarPoint::Centre, t), *bar.SteadyRise(BarPoint::Centre), 1e-7);
        EXPECT_NEAR(bar.Rise(BarPoint::WidthFace, t), *bar.SteadyRise(BarPoint::WidthFace), 1e-7);
        EXPECT_NEAR(bar.Rise(BarPoint::HeightFace, t), *bar.SteadyRise(BarPoint::HeightFace), 1e-7);
    }
    EXPECT_FALSE(BarSeries(0.025, 0.025, 87.88, kSteelHeatCapacity, 0, pv).SteadyRise(BarPoint::Centre));
}

// ------------------------------------------------------------ the run

TEST(SeriesCalculation, NotReachedIsSaidAndShownOnTheLumpedTime)
{
    DataRZ d = WorkedRod();
    d.supplyVoltage = 2;
    d.alfa = 300;
    d.finishTemp = 1200; // the axis levels off at 934.981 oC
    RecordingHost host;
    ResultsRZ r;
    History rows{};
    EXPECT_EQ(CalculationRZ(d, false, r, 0, rows, host), RunOutcome::NotReached);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              std::make_pair(std::string("Calculation Error"),
                             std::string("The centre does not reach the finish temperature: it approaches 934.981 oC.")));
    // The message comes once the progress window is gone.
    EXPECT_EQ(host.progress, (std::vector<std::string>{"show", "hide"}));
    const double th = HeatingTime(r.mass, d.specificHeat, d.startTemp, d.finishTemp, r.power);
    EXPECT_EQ(r.heatingTime, th);
    EXPECT_EQ(rows[49][0], th);
    EXPECT_EQ(r.diffSurface, rows[49][1] - rows[49][2]);
    EXPECT_LT(rows[49][1], 934.981);

    // With a user heating time the run just stops there.
    RecordingHost quiet;
    EXPECT_EQ(CalculationRZ(d, true, r, 1000, rows, quiet), RunOutcome::Completed);
    EXPECT_TRUE(quiet.messages.empty());
    EXPECT_EQ(r.heatingTime, 1000);
}

TEST(SeriesCalculation, HeatingTimeAndHistoryGrid)
{
    // Worked rod: the centre crosses 1500 oC at 10.5618760902188 s.
    // At 2 V losing 300 W/(m2K) it reaches 900 oC only long after the lumped
    // time (the axis levels off at 934.981 oC): the grid follows the crossing.
    DataRZ slow = WorkedRod();
    slow.supplyVoltage = 2;
    slow.alfa = 300;
    slow.finishTemp = 900;
    const struct {
        const char *what;
        DataRZ data;
        bool fixed;
        double userTime;
        std::optional<double> heating; // none: the crossing, checked on the centre
        std::optional<double> gridEnd; // none: the heating time
    } rows[] = {
        {"user time past the crossing", WorkedRod(), true, 600, 10.5618760902188, 600},
        {"user time before it", WorkedRod(), true, 5, 5.0, 5.0},
        {"crossing beyond the lumped time", slow, false, 0, std::nullopt, std::nullopt},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        RecordingHost host;
        ResultsRZ r;
        History h{};
        EXPECT_EQ(CalculationRZ(row.data, row.fixed, r, row.userTime, h, host), RunOutcome::Completed);
        EXPECT_TRUE(host.messages.empty());
        if (row.heating) {
            EXPECT_NEAR(r.heatingTime, *row.heating, 1e-9 * *row.heating);
        }
        EXPECT_EQ(h[49][0], row.gridEnd.value_or(r.heatingTime));
        EXPECT_DOUBLE_EQ(h[0][0], h[49][0] / 50);
        RodSeries s(row.data.diameter / 2, 87.88, kSteelHeatCapacity, row.data.alfa, r.powerDensity);
        const double atHeating = 20 + s.Rise(RodPoint::Axis, r.heatingTime);
        if (!row.fixed || r.heatingTime < row.userTime) {
            EXPECT_NEAR(atHeating, row.data.finishTemp, 1e-6);
        }
        EXPECT_NEAR(r.diffSurface, atHeating - 20 - s.Rise(RodPoint::Surface, r.heatingTime), 1e-9);
    }
    // The slow case really runs past the lumped time.
    RecordingHost host;
    ResultsRZ r;
    History h{};
    CalculationRZ(slow, false, r, 0, h, host);
    EXPECT_GT(r.heatingTime, 2 * HeatingTime(r.mass, 481.32, 20, 900, r.power));
}

TEST(SeriesCalculation, NonsenseIsRefusedBeforeAnythingIsComputed)
{
    const struct {
        const char *message;
        void (*change)(DataXY &, DataRZ &);
    } rows[] = {
        {"Length of charge must be positive.", [](DataXY &x, DataRZ &r) { x.length = 0; r.length = -1; }},
        {"Width of charge must be positive.", [](DataXY &x, DataRZ &) { x.width = 0; }},
        {"Thickness of charge must be positive.", [](DataXY &x, DataRZ &) { x.thickness = -0.05; }},
        {"Diameter of charge must be positive.", [](DataXY &, DataRZ &r) { r.diameter = 0; }},
        {"Density must be positive.", [](DataXY &x, DataRZ &r) { x.density = r.density = 0; }},
        {"Specific heat must be positive.", [](DataXY &x, DataRZ &r) { x.specificHeat = r.specificHeat = -1; }},
        {"Heat conductivity must be positive.", [](DataXY &x, DataRZ &r) { x.conductivity = r.conductivity = 0; }},
        {"Resistivity must be positive.", [](DataXY &x, DataRZ &r) { x.resistivity = r.resistivity = 0; }},
        {"Supply voltage must be positive.", [](DataXY &x, DataRZ &r) { x.supplyVoltage = r.supplyVoltage = -10; }},
        {"Supply voltage must be positive.", [](DataXY &x, DataRZ &r) { x.supplyVoltage = r.supplyVoltage = 0; }},
        {"Max contact current must be positive.", [](DataXY &x, DataRZ &r) { x.maxContactCurrent = r.maxContactCurrent = 0; }},
        {"Voltage drop must not be negative.", [](DataXY &x, DataRZ &r) { x.voltageDrop = r.voltageDrop = -1; }},
        {"Voltage drop must be below 100 %.", [](DataXY &x, DataRZ &r) { x.voltageDrop = r.voltageDrop = 100; }},
        {"Alfa coefficient must not be negative.", [](DataXY &x, DataRZ &r) { x.alfa = r.alfa = -0.5; }},
        {"Finish temperature must be above the start temperature.",
         [](DataXY &x, DataRZ &r) { x.finishTemp = r.finishTemp = 20; }},
        {"Start temperature must be above -273.15 oC.",
         [](DataXY &x, DataRZ &r) { x.startTemp = r.startTemp = -273.15; }},
        {"Density must be a finite number.", [](DataXY &x, DataRZ &r) { x.density = r.density = INFINITY; }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        DataXY x = WorkedBar();
        DataRZ z = WorkedRod();
        row.change(x, z);
        // Records that show whether anything was written.
        ResultsXY rx;
        rx.mass = -7;
        ResultsRZ rz;
        rz.mass = -7;
        History hx{}, hz{};
        hx[3][1] = hz[3][1] = 42;
        const ResultsXY rxBefore = rx;
        const ResultsRZ rzBefore = rz;
        const History hBefore = hx;
        const std::pair<std::string, std::string> box{"Calculation Error", row.message};
        for (const bool fixed : {false, true}) {
            if (x != WorkedBar()) {
                RecordingHost host;
                EXPECT_EQ(CalculationXY(x, fixed, rx, 10, hx, host), RunOutcome::Refused);
                EXPECT_EQ(host.messages, (std::vector{box}));
                EXPECT_TRUE(host.progress.empty());
                EXPECT_EQ(rx, rxBefore);
                EXPECT_EQ(hx, hBefore);
            }
            if (z != WorkedRod()) {
                RecordingHost host;
                EXPECT_EQ(CalculationRZ(z, fixed, rz, 10, hz, host), RunOutcome::Refused);
                EXPECT_EQ(host.messages, (std::vector{box}));
                EXPECT_EQ(rz, rzBefore);
                EXPECT_EQ(hz, hBefore);
            }
        }
    }
    // A user heating time that is no positive number.
    RecordingHost host;
    ResultsRZ r;
    History h{};
    EXPECT_EQ(CalculationRZ(WorkedRod(), true, r, 0, h, host), RunOutcome::Refused);
    EXPECT_EQ(host.messages.at(0).second, "Heating time must be greater than 0.");
    // The classic formulas take what they get.
    RecordingHost classic;
    DataRZ cold = WorkedRod();
    cold.finishTemp = 20;
    EXPECT_EQ(CalculationRZ(cold, false, r, 0, h, classic, Formulas::Classic), RunOutcome::Completed);
    EXPECT_TRUE(classic.messages.empty());
}

TEST(Contacts, RoundedUpSoThatNoContactCarriesMoreThanItsRating)
{
    const struct {
        double current, rating, series, classic;
    } rows[] = {
        {400, 1000, 1, 1},
        {3000, 1000, 3, 3},
        {3000 * (1 + 4e-16), 1000, 3, 3},  // the rounding of I = Ur / R adds none
        {146260, 1000, 147, 146},
        {2500, 1000, 3, 2},
        {3001, 1000, 4, 3},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(ContactsRoundedUp(row.current, row.rating), row.series) << row.current;
        EXPECT_EQ(NumberOfContacts(row.current, row.rating), row.classic) << row.current;
    }
}

TEST(CrossingTime, FindsTheTimeToANinthDigitOrSaysThereIsNone)
{
    auto rise = [](double t) { return 1 - std::exp(-t / 7); };
    for (const double guess : {1e-3, 4.0, 1e6}) {
        const auto t = CrossingTime(rise, 0.5, guess, 1.0);
        ASSERT_TRUE(t);
        EXPECT_NEAR(*t, 7 * std::log(2.0), 1e-10 * 7 * std::log(2.0)) << guess;
    }
    EXPECT_FALSE(CrossingTime(rise, 1.0, 4, 1.0));
    EXPECT_FALSE(CrossingTime(rise, 2.0, 4, std::nullopt)); // stops growing below the target
    EXPECT_NEAR(*CrossingTime([](double t) { return 3 * t; }, 6, 1, std::nullopt), 2, 1e-12);
}

} // namespace
