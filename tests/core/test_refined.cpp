// The temperature-dependent calculation against exact solutions of its model,
// its own energy balance and its convergence under refinement.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numbers>

#include "core/Heating.h"
#include "core/Lumped.h"
#include "core/NumberText.h"
#include "core/Refined.h"
#include "support/RecordingHost.h"

using namespace resheat;
using resheat::testing::RecordingHost;
using resheat::testing::WorkedBar;
using resheat::testing::WorkedRod;

namespace {

constexpr double kPi = std::numbers::pi;

// Every run that reaches the finish temperature must account for all the
// electrical energy: stored + lost.
void ExpectReachedAndBalanced(const RefinedResult &r)
{
    ASSERT_EQ(r.status, RefinedStatus::Reached) << (r.stopMessages.empty() ? "" : r.stopMessages[0]);
    EXPECT_GT(r.energy, 0);
    EXPECT_NEAR(r.stored + r.loss, r.energy, 1E-4 * r.energy);
    EXPECT_NEAR(r.efficiency, r.stored / r.energy, 1E-12);
}

PropertyTable Constant(double rhoE, double lambda, double c)
{
    return ConstantPropertyTable(rhoE, lambda, c);
}

RefinedOptions NoRadiation()
{
    RefinedOptions o;
    o.emissivity = 0;
    return o;
}

// A rod and a flat bar of constant properties that conduct poorly, so the
// section is far from uniform (Biot numbers about 0.5).
DataRZ TestRod()
{
    DataRZ d = WorkedRod();
    d.name.set("test");
    d.conductivity = 20; d.specificHeat = 500; d.resistivity = 1E-6;
    d.voltageDrop = 0; d.alfa = 400; d.finishTemp = 800;
    return d;
}

DataXY TestBar()
{
    DataXY d = WorkedBar();
    d.name.set("test");
    d.width = 0.06; d.thickness = 0.03;
    d.conductivity = 20; d.specificHeat = 500; d.resistivity = 1E-6;
    d.voltageDrop = 0; d.alfa = 400; d.finishTemp = 800;
    return d;
}

// Roots of g on consecutive brackets [lo_n, hi_n] where it changes sign.
template <typename G, typename Bracket>
std::vector<double> Roots(int count, G g, Bracket bracket)
{
    std::vector<double> roots;
    for (int n = 1; n <= count; ++n) {
        auto [lo, hi] = bracket(n);
        const double glo = g(lo);
        for (int i = 0; i < 200; ++i) {
            const double mid = (lo + hi) / 2;
            ((g(mid) < 0) == (glo < 0) ? lo : hi) = mid;
        }
        roots.push_back((lo + hi) / 2);
    }
    return roots;
}

// Rod, uniform generation q, convective surface, start at 0 (theta = T - Ts),
// x = r / R, Bi = alpha R / lambda, kappa = lambda / (rho c):
//   theta = q R^2/(4 lambda) (1 - x^2 + 2/Bi)
//           - sum_n 2 Bi q R^2 / lambda * J0(b_n x) exp(-b_n^2 kappa t / R^2)
//                   / (b_n^2 (b_n^2 + Bi^2) J0(b_n)),
// with b_n J1(b_n) = Bi J0(b_n).  (The coefficients project the steady
// profile on J0(b_n x): int_0^1 (1 - x^2 + 2/Bi) J0 x dx = 4 Bi J0(b)/b^4,
// int_0^1 J0^2 x dx = J0(b)^2 (b^2 + Bi^2) / (2 b^2).)
class RodSeries {
public:
    explicit RodSeries(const DataRZ &d)
    {
        const double e = RealVoltage(d.supplyVoltage, d.voltageDrop) / d.length;
        q_ = e * e / d.resistivity;
        R_ = d.diameter / 2;
        lambda_ = d.conductivity;
        bi_ = d.alfa * R_ / lambda_;
        kappa_ = d.conductivity / (d.density * d.specificHeat);
        auto g = [this](double b) { return b * std::cyl_bessel_j(1.0, b) - bi_ * std::cyl_bessel_j(0.0, b); };
        // One root lies between consecutive zeros of J1 (spaced about pi): a
        // scan in steps far below that finds each sign change.
        constexpr double step = 0.05;
        std::vector<double> brackets{1E-9};
        for (double b = step; brackets.size() <= 60; b += step)
            if ((g(b) < 0) != (g(b - step) < 0))
                brackets.push_back(b);
        roots_ = Roots(static_cast<int>(brackets.size()) - 1, g,
                       [&](int n) { return std::pair{brackets[n] - step, brackets[n]}; });
    }

    double Theta(double x, double t) const
    {
        double s = q_ * R_ * R_ / (4 * lambda_) * (1 - x * x + 2 / bi_);
        for (const double b : roots_)
            s -= 2 * bi_ * q_ * R_ * R_ / lambda_ * std::cyl_bessel_j(0.0, b * x) *
                 std::exp(-b * b * kappa_ * t / (R_ * R_)) /
                 (b * b * (b * b + bi_ * bi_) * std::cyl_bessel_j(0.0, b));
        return s;
    }
    double Steady(double x) const { return q_ * R_ * R_ / (4 * lambda_) * (1 - x * x + 2 / bi_); }

private:
    double q_, R_, lambda_, bi_, kappa_;
    std::vector<double> roots_;
};

// Bar of half sides a, b, uniform generation, convective faces, start at 0:
//   theta = q/lambda sum_ij c_i d_j cos(m_i x/a) cos(n_j y/b) (1 - exp(-kappa k_ij t)) / k_ij,
// k_ij = (m_i/a)^2 + (n_j/b)^2, m tan m = alpha a / lambda, c_i = 4 sin m_i / (2 m_i + sin 2 m_i)
// (the projection of 1 on cos(m_i x/a)); likewise n_j, d_j along the thickness.
class BarSeries {
public:
    explicit BarSeries(const DataXY &d)
    {
        const double e = RealVoltage(d.supplyVoltage, d.voltageDrop) / d.length;
        q_ = e * e / d.resistivity;
        a_ = d.width / 2;
        b_ = d.thickness / 2;
        lambda_ = d.conductivity;
        kappa_ = d.conductivity / (d.density * d.specificHeat);
        m_ = Eigen(d.alfa * a_ / lambda_);
        n_ = Eigen(d.alfa * b_ / lambda_);
    }

    double Theta(double x, double y, double t) const
    {
        double s = 0;
        for (const auto &[m, cm] : m_)
            for (const auto &[n, cn] : n_) {
                const double k = (m / a_) * (m / a_) + (n / b_) * (n / b_);
                s += cm * cn * std::cos(m * x / a_) * std::cos(n * y / b_) * -std::expm1(-kappa_ * k * t) / k;
            }
        return q_ / lambda_ * s;
    }

private:
    double q_, a_, b_, lambda_, kappa_;
    std::vector<std::pair<double, double>> m_, n_; // root, coefficient

    static std::vector<std::pair<double, double>> Eigen(double bi)
    {
        const auto roots = Roots(
            150, [bi](double m) { return m * std::sin(m) - bi * std::cos(m); },
            [](int n) { return std::pair{(n - 1) * kPi, (n - 1) * kPi + kPi / 2}; });
        std::vector<std::pair<double, double>> v;
        for (const double m : roots)
            v.emplace_back(m, 4 * std::sin(m) / (2 * m + std::sin(2 * m)));
        return v;
    }
};

// First time the function reaches `target`, by bisection on [0, hi].
template <typename F>
double Reach(F f, double target, double hi)
{
    double lo = 0;
    for (int i = 0; i < 100; ++i) {
        const double mid = (lo + hi) / 2;
        (f(mid) < target ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

} // namespace

TEST(RefinedExact, UniformHeatingTakesTheLumpedTimeOfTheWholeMass)
{
    // alpha = 0, eps = 0, constant properties: every point heats at
    // q / (rho c) = E^2 / (rho_e rho c), so t = rho c rho_e (Tf - Ts) / E^2,
    // which is m c (Tf - Ts) / P, the lumped time without its factor 1.5.
    DataRZ rod = WorkedRod();
    rod.alfa = 0;
    DataXY bar = WorkedBar();
    bar.alfa = 0;
    bar.width = 0.08; // not square
    const double e = 9;  // 10 V less 10 % over 1 m
    const double exact = 7800 * 481.32 * 1.5384E-7 * (1500 - 20) / (e * e);
    const double lumpedPower = AppliedPower(9, CurrentIntensity(9, ChargeResistanceRZ(rod)));
    EXPECT_NEAR(HeatingTime(ChargeMassRZ(rod), 481.32, 20, 1500, lumpedPower) / 1.5, exact, 1E-12 * exact);

    const auto table = Constant(1.5384E-7, 87.88, 481.32);
    for (const auto &r : {RefinedCalculationRZ(rod, table, NoRadiation()),
                          RefinedCalculationXY(bar, table, NoRadiation())}) {
        ExpectReachedAndBalanced(r);
        EXPECT_NEAR(r.heatingTime, exact, 1E-6 * exact) << r.bar;
        EXPECT_EQ(r.loss, 0);
        EXPECT_NEAR(r.efficiency, 1, 1E-12);
        const double area = r.bar ? 0.08 * 0.05 : kPi * 0.05 * 0.05 / 4;
        EXPECT_NEAR(r.currentStart, e * area / 1.5384E-7, 1E-9 * r.currentStart);
        EXPECT_NEAR(r.currentEnd, r.currentStart, 1E-9 * r.currentStart);
        EXPECT_NEAR(r.powerEnd, 9 * r.currentStart, 1E-9 * r.powerEnd);
        for (int i = 0; i < kHistoryRows; ++i) {
            const auto &t = r.history[i].temperatures;
            EXPECT_NEAR(t[0], exact * (i + 1) / 50, 1E-6 * exact);
            EXPECT_NEAR(t[1], 20 + 1480.0 * (i + 1) / 50, 1E-6) << i; // linear in time
            // The nodes agree to the tolerance of Newton's iteration.
            EXPECT_NEAR(t[2], t[1], 1E-5);
            EXPECT_NEAR(t[3], r.bar ? t[1] : 0, 1E-5);
        }
        EXPECT_NEAR(r.mean, 1500, 1E-6);
        EXPECT_NEAR(r.differenceK, 0, 1E-5);
    }
}

TEST(RefinedExact, RodWithConvectionFollowsTheBesselSeries)
{
    const DataRZ d = TestRod();
    const RodSeries exact(d);
    const auto r = RefinedCalculationRZ(d, Constant(d.resistivity, d.conductivity, d.specificHeat), NoRadiation());
    ExpectReachedAndBalanced(r);
    const double th = Reach([&](double t) { return exact.Theta(0, t); }, d.finishTemp - d.startTemp, 1000);
    EXPECT_NEAR(r.heatingTime, th, 1E-3 * th);
    for (const auto &row : r.history) {
        const auto &t = row.temperatures;
        EXPECT_NEAR(t[1], d.startTemp + exact.Theta(0, t[0]), 0.5) << t[0];
        EXPECT_NEAR(t[2], d.startTemp + exact.Theta(1, t[0]), 0.5) << t[0];
    }
    EXPECT_NEAR(r.surface, d.startTemp + exact.Theta(1, r.heatingTime), 0.5);
    EXPECT_GT(r.differenceK, 50); // far from uniform: the check has teeth
}

TEST(RefinedExact, FlatBarWithConvectionFollowsTheDoubleSeries)
{
    // Biot numbers 0.6 and 0.3 and a 200 K drop to the corner: the bar's
    // mesh of 12 by 6 cells is within 1.5 K of the series, one refinement
    // within 0.5 K.
    const DataXY d = TestBar();
    const BarSeries exact(d);
    const double a = d.width / 2, b = d.thickness / 2;
    const double th = Reach([&](double t) { return exact.Theta(0, 0, t); }, d.finishTemp - d.startTemp, 1000);
    for (const auto &[refinement, tolerance] : {std::pair{0, 1.5}, std::pair{1, 0.5}}) {
        RefinedOptions o = NoRadiation();
        o.refinement = refinement;
        const auto r = RefinedCalculationXY(d, Constant(d.resistivity, d.conductivity, d.specificHeat), o);
        ExpectReachedAndBalanced(r);
        EXPECT_NEAR(r.heatingTime, th, 1E-3 * th);
        for (const auto &row : r.history) {
            const auto &t = row.temperatures;
            EXPECT_NEAR(t[1], d.startTemp + exact.Theta(0, 0, t[0]), tolerance) << t[0];
            EXPECT_NEAR(t[2], d.startTemp + exact.Theta(a, 0, t[0]), tolerance) << t[0]; // Tw
            EXPECT_NEAR(t[3], d.startTemp + exact.Theta(0, b, t[0]), tolerance) << t[0]; // Th
        }
        EXPECT_NEAR(r.corner, d.startTemp + exact.Theta(a, b, r.heatingTime), tolerance);
        EXPECT_GT(r.differenceK, 150);
        // The middle of the wide face is nearest the centre, the corner coldest.
        EXPECT_GT(r.th, r.tw);
        EXPECT_LT(r.corner, r.tw);
    }
}

TEST(RefinedExact, StopsAtTheSteadyStateWhenLossesBalanceTheHeating)
{
    DataRZ wire = TestRod();
    wire.diameter = 1E-4; // conduction across it is a million times faster than the heating
    wire.supplyVoltage = 90;
    for (DataRZ d : {TestRod(), wire}) {
        const double steady = d.startTemp + RodSeries(d).Steady(0);
        d.finishTemp = steady + 10;
        const auto r =
            RefinedCalculationRZ(d, Constant(d.resistivity, d.conductivity, d.specificHeat), NoRadiation());
        EXPECT_EQ(r.status, RefinedStatus::NotReached);
        EXPECT_EQ(r.heatingTime, 0);
        EXPECT_NEAR(r.steadyCentre, steady, 0.5) << d.diameter;
        // Steps of about 20 K while it heats, then large implicit steps.
        EXPECT_LT(r.steps, (steady - d.startTemp) / 10 + 50) << d.diameter;
        ASSERT_EQ(r.stopMessages.size(), 1u);
        EXPECT_NE(r.stopMessages[0].find("balance"), std::string::npos) << r.stopMessages[0];
    }

    // Radiation alone caps the worked steel rod at a low voltage.
    DataRZ weak = WorkedRod();
    weak.supplyVoltage = 3;
    const auto w = RefinedCalculationRZ(weak, *BuiltInPropertyTable("steel"));
    EXPECT_EQ(w.status, RefinedStatus::NotReached);
    EXPECT_GT(w.steadyCentre, 500);
    EXPECT_LT(w.steadyCentre, 1500);
}

// ---------------------------------------------------------------- convergence
//
// Hard cases against the converged solution of the model.  The reference
// numbers come from an independent finite-volume program (cell conduction
// by the mean of the node conductivities instead of the Kirchhoff
// transform, the equations in T integrated by a variable-order BDF code at
// relative tolerance 1E-9, the heating time by event location), run on
// three uniform meshes (rod 64, 128, 256 cells on the radius; bar 16, 32,
// 64 cells on the shorter half side, square cells; the flat bars 8, 16, 32)
// and extrapolated by Richardson's rule from the two finer ones; each level
// converged at second order (ratio of successive differences 3.3 to 4.0).
// What remains of their own error is a few hundredths of a kelvin at most
// and below 1E-5 of the time.
// The targets: every reported temperature within 0.2 K, the heating time
// within 0.05 %; the estimate must cover the error on each.

namespace {

// A property table of a made-up alloy with a steep step of resistivity at
// 500 oC and a narrow peak of specific heat at 601 to 603 oC.
PropertyTable StepTable()
{
    PropertyTable t;
    t.source = PropertySource::User;
    t.name = "step";
    t.points = {{20, 2.0E-07, 40, 450},  {500, 6.0E-07, 35, 600},  {501, 1.8E-06, 25, 600},
                {600, 1.9E-06, 25, 600}, {601, 1.9E-06, 25, 6000}, {603, 1.9E-06, 25, 6000},
                {604, 1.9E-06, 25, 620}, {1200, 2.2E-06, 28, 650}};
    t.emissivity = 0.8;
    return t;
}

struct HardCase {
    const char *name;
    bool bar;
    double width, thickness; // rod: the diameter and 0 [m]
    const char *table;       // built-in name, or "step"
    double field;            // [V/m], over 1 m with no drop
    double alfa, emissivity, finish, density;
    // The reference: heating time, then at it the mean, the second point
    // (rod surface, bar Tw), Th and the corner; then To, the second point and
    // Th at 10, 20, 30 and 40 fiftieths of its heating time.
    double time;
    std::array<double, 4> end;
    std::array<std::array<double, 3>, 4> rows;
};

const HardCase kHardCases[] = {
    {"worked rod", false, 0.05, 0, "steel", 9, 15, 0.8, 1500, 7800, 97.810618,
     {1436.4624, 1367.9866, 0, 0},
     {{{691.1871, 681.7678, 0}, {866.5005, 837.1384, 0}, {1104.4504, 1048.2767, 0}, {1316.4579, 1226.2551, 0}}}},
    {"worked bar", true, 0.05, 0.05, "steel", 9, 15, 0.8, 1500, 7800, 95.897098,
     {1425.3868, 1374.6115, 1374.6115, 1276.9230},
     {{{686.5726, 678.1952, 678.1952}, {859.3136, 833.6345, 833.6345}, {1096.4150, 1044.3499, 1044.3499},
       {1310.8299, 1226.5149, 1226.5149}}}},
    {"large hot bar, strong radiation", true, 0.205, 0.146, "steel", 6, 15, 0.8, 1324, 7800, 165.66004,
     {1267.0184, 1178.1299, 1179.9920, 1071.9898},
     {{{622.3219, 613.2714, 613.2721}, {774.5947, 755.0028, 755.0078}, {937.0458, 880.5576, 880.6287},
       {1135.1643, 1040.5258, 1041.0873}}}},
    {"flat bar 10:1", true, 0.1, 0.01, "steel", 9, 15, 0.8, 1200, 7800, 88.861906,
     {1176.8137, 1121.3467, 1181.4906, 1105.8226},
     {{{660.1495, 652.6241, 657.1732}, {802.0193, 783.0941, 795.7453}, {961.2898, 918.9637, 950.9340},
       {1103.0127, 1041.0839, 1088.1321}}}},
    {"flat bar 20:1", true, 0.2, 0.01, "steel", 9, 15, 0.8, 1200, 7800, 88.48526,
     {1184.5566, 1120.0083, 1181.4904, 1104.5319},
     {{{659.1634, 651.6776, 656.2013}, {800.8554, 782.1579, 794.6101}, {959.3294, 917.1336, 949.0332},
       {1101.6900, 1039.3861, 1086.8550}}}},
    {"2 mm wire in 6 s", false, 0.002, 0, "steel", 30, 15, 0.8, 1100, 7800, 6.2306197,
     {1098.4717, 1096.9403, 0, 0},
     {{{601.6568, 601.1902, 0}, {750.5968, 749.6393, 0}, {853.6649, 852.1512, 0}, {986.2036, 983.9033, 0}}}},
    {"300 mm rod in 26 min", false, 0.3, 0, "steel", 1.85, 15, 0.8, 1150, 7800, 1584.0748,
     {1041.2612, 916.1676, 0, 0},
     {{{598.4221, 571.8628, 0}, {753.7912, 704.6516, 0}, {873.8481, 759.4599, 0}, {1022.8844, 837.0178, 0}}}},
    {"Cu rod", false, 0.02, 0, "Cu", 1.2, 15, 0.6, 900, 8930, 220.96526,
     {899.4299, 898.8598, 0, 0},
     {{{502.9940, 502.7303, 0}, {706.3746, 705.7883, 0}, {814.3160, 813.4581, 0}, {870.9675, 869.9303, 0}}}},
    {"aluminium bar", true, 0.1, 0.02, "aluminium", 0.8, 15, 0.3, 550, 2700, 152.76486,
     {549.3098, 548.2649, 549.6394, 547.9066},
     {{{217.8468, 217.4816, 217.7660}, {336.6631, 335.9506, 336.5115}, {425.0211, 423.9656, 424.7991},
       {494.1219, 492.7222, 493.8297}}}},
    {"table with a steep step", true, 0.08, 0.04, "step", 8, 15, 0.8, 1100, 7800, 120.72451,
     {1062.2754, 1023.5226, 1048.0776, 980.5819},
     {{{585.2802, 574.9483, 575.7505}, {718.5255, 694.9093, 700.7031}, {861.4578, 822.5911, 834.1447},
       {988.7927, 931.9110, 949.6931}}}},
    {"300 mm square bar in 30 min", true, 0.3, 0.3, "steel", 1.8, 15, 0.8, 1200, 7800, 1777.0088,
     {1066.7562, 958.0410, 958.0410, 809.5654},
     {{{613.3139, 586.2743, 586.2743}, {765.6302, 715.8755, 715.8755}, {905.2337, 781.2282, 781.2282},
       {1065.8319, 876.3809, 876.3809}}}},
    {"bar under water spray, alfa 500", true, 0.06, 0.03, "steel", 9, 500, 0.8, 1000, 7800, 67.888749,
     {898.8670, 799.8960, 867.0760, 708.9483},
     {{{592.7524, 543.4503, 550.5399}, {741.3891, 665.5262, 680.3105}, {827.1101, 716.2376, 733.2717},
       {917.7465, 754.5507, 795.8250}}}},
    // The finish 0.34 K below the steady centre: the heating time is ill-conditioned.
    {"losses nearly balance", false, 0.05, 0, "steel", 4, 15, 0.8, 1152, 7800, 1213.4349,
     {1116.0254, 1079.6374, 0, 0},
     {{{868.6815, 833.3100, 0}, {1090.1628, 1026.9123, 0}, {1141.1691, 1070.4581, 0}, {1150.3934, 1078.2772, 0}}}},
};

// The case of a row: 1 m long, no voltage drop, the table's first point as
// the case's own properties, heated from 20 oC.
template <typename Data>
Data CaseOf(const HardCase &h, const PropertyTable &table)
{
    Data d{};
    d.name.set("hard");
    d.length = 1;
    d.density = h.density;
    d.specificHeat = table.points[0].specificHeat;
    d.conductivity = table.points[0].conductivity;
    d.resistivity = table.points[0].resistivity;
    d.supplyVoltage = h.field;
    d.voltageDrop = 0;
    d.startTemp = 20;
    d.finishTemp = h.finish;
    d.alfa = h.alfa;
    d.maxContactCurrent = 1000;
    return d;
}

RefinedResult RunHardCase(const HardCase &h, int refinement = 0)
{
    PropertyTable table = std::string(h.table) == "step" ? StepTable() : *BuiltInPropertyTable(h.table);
    RefinedOptions o;
    o.emissivity = h.emissivity;
    o.refinement = refinement;
    if (h.bar) {
        DataXY d = CaseOf<DataXY>(h, table);
        d.width = h.width;
        d.thickness = h.thickness;
        return RefinedCalculationXY(d, table, o);
    }
    DataRZ d = CaseOf<DataRZ>(h, table);
    d.diameter = h.width;
    return RefinedCalculationRZ(d, table, o);
}

struct Deviation {
    double temperature = 0; // [K] largest over the end values and the rows
    double time = 0;        // [s]
};

// How far a result lies from the reference.  The rows are compared at the
// reference's times: each of ours is moved there along the slope of its
// neighbours (the two heating times differ by far less than a row).
Deviation DeviationFrom(const HardCase &h, const RefinedResult &r)
{
    Deviation d;
    d.time = std::abs(r.heatingTime - h.time);
    const double ends[4] = {r.mean, h.bar ? r.tw : r.surface, r.th, r.corner};
    for (int i = 0; i < (h.bar ? 4 : 2); ++i)
        d.temperature = std::max(d.temperature, std::abs(ends[i] - h.end[i]));
    for (int k = 0; k < 4; ++k) {
        const int i = 10 * (k + 1) - 1; // row of 10 (k + 1) fiftieths
        const auto &row = r.history[i].temperatures;
        const auto &before = r.history[i - 1].temperatures, &after = r.history[i + 1].temperatures;
        const double move = h.time * (i + 1) / kHistoryRows - row[0];
        for (int c = 1; c < (h.bar ? 4 : 3); ++c) {
            const double slope = (after[c] - before[c]) / (after[0] - before[0]);
            d.temperature = std::max(d.temperature, std::abs(row[c] + slope * move - h.rows[k][c - 1]));
        }
    }
    return d;
}

} // namespace

TEST(RefinedConvergence, HardCasesMeetTheTargetsAndTheEstimateCoversTheError)
{
    for (const HardCase &h : kHardCases) {
        const RefinedResult r = RunHardCase(h);
        ExpectReachedAndBalanced(r);
        const Deviation d = DeviationFrom(h, r);
        EXPECT_LE(d.temperature, 0.2) << h.name;
        EXPECT_LE(d.time, 5E-4 * h.time) << h.name;
        EXPECT_GE(r.errorEstimate.temperature, d.temperature) << h.name;
        EXPECT_GE(r.errorEstimate.heatingTime, d.time) << h.name;
        // Only where the centre creeps to the finish is the time called sensitive.
        const bool sensitive = std::count(r.warnings.begin(), r.warnings.end(),
                                          "The heating time is sensitive: the centre approaches the finish "
                                          "temperature slowly") == 1;
        EXPECT_EQ(sensitive, std::string(h.name) == "losses nearly balance") << h.name;
    }
}

TEST(RefinedConvergence, EachLevelComesCloserToTheReference)
{
    // Levels 0 to 3 of two rods and 0 to 1 of the worked bar: the error falls
    // with each level, and the estimate with it.
    const struct {
        int hardCase, levels;
    } rows[] = {{0, 4}, {7, 4}, {1, 2}};
    static_assert(std::size(kHardCases) >= 10);
    for (const auto &row : rows) {
        const HardCase &h = kHardCases[row.hardCase];
        double previous = HUGE_VAL, previousEstimate = HUGE_VAL;
        for (int level = 0; level < row.levels; ++level) {
            const RefinedResult r = RunHardCase(h, level);
            ExpectReachedAndBalanced(r);
            const Deviation d = DeviationFrom(h, r);
            const double error = std::max(d.temperature, d.time / h.time * 1000); // 0.1 % as 1 K
            EXPECT_LT(error, previous) << h.name << " level " << level;
            EXPECT_LT(r.errorEstimate.temperature, previousEstimate) << h.name << " level " << level;
            EXPECT_GE(r.errorEstimate.temperature, d.temperature) << h.name << " level " << level;
            previous = error;
            previousEstimate = r.errorEstimate.temperature;
        }
        EXPECT_LT(previous, row.levels == 4 ? 0.01 : 0.05) << h.name;
    }
}

TEST(RefinedResults, WorkedSteelRodTakesSeveralTimesTheConstantPropertyTime)
{
    ResultsRZ constant;
    History h{};
    RecordingHost host;
    CalculationRZ(WorkedRod(), false, constant, 0, h, host);
    const auto r = RefinedCalculationRZ(WorkedRod(), *BuiltInPropertyTable("steel"));
    ExpectReachedAndBalanced(r);
    EXPECT_GT(r.heatingTime, 3 * constant.heatingTime);
    EXPECT_EQ(r.properties, "steel");
    EXPECT_EQ(r.emissivity, 0.8);
    // The resistivity rises, so the current falls and the largest is the first.
    EXPECT_EQ(r.maxCurrent, r.currentStart);
    EXPECT_LT(r.currentEnd, r.currentStart / 5);
    EXPECT_EQ(r.contacts, std::ceil(r.currentStart / 1000));
    EXPECT_EQ(r.contactsConstant, constant.contacts);
    EXPECT_EQ(r.history[kHistoryRows - 1].temperatures[0], r.heatingTime);
    EXPECT_NEAR(r.history[kHistoryRows - 1].temperatures[1], 1500, 1E-3);
    EXPECT_NEAR(r.centre, 1500, 1E-3);
    EXPECT_NEAR(r.differenceK, r.centre - r.surface, 1E-12);
    EXPECT_GT(r.mean, r.surface);
    EXPECT_LT(r.mean, r.centre);
    for (int i = 1; i < kHistoryRows; ++i) {
        EXPECT_GT(r.history[i].temperatures[1], r.history[i - 1].temperatures[1]);
        EXPECT_NEAR(r.history[i].power, 9 * r.history[i].current, 1E-9 * r.history[i].power);
    }
}

TEST(RefinedResults, WarnsOfSolidusDistantPropertiesAndTheEndOfTheTable)
{
    DataRZ cu = WorkedRod();
    cu.name.set("Cu");
    cu.density = 8930; cu.specificHeat = 389.88; cu.conductivity = 393.39; cu.resistivity = 2.67E-8;
    cu.finishTemp = 700; cu.supplyVoltage = 2;
    DataRZ al = cu;
    al.name.set("aluminium");
    al.density = 2700; al.specificHeat = 896; al.conductivity = 229.11; al.finishTemp = 600;
    DataRZ plain = WorkedRod();
    plain.name.set("iron");
    const struct {
        DataRZ d;
        std::vector<std::string> words;
    } rows[] = {
        {WorkedRod(), {"solidus (1450 oC)", "heat conductivity (87.88", "last point (1200 oC)"}},
        {cu, {"resistivity (2.67e-08 ohm m) differs"}},
        {al, {}},    // the preset matches the table, 600 is its last point
        {plain, {}}, // constant properties: nothing to compare
    };
    for (const auto &row : rows) {
        const auto table = DefaultPropertyTable(row.d.name.str(), row.d.resistivity, row.d.conductivity,
                                                row.d.specificHeat);
        const auto r = RefinedCalculationRZ(row.d, table);
        ExpectReachedAndBalanced(r);
        ASSERT_EQ(r.warnings.size(), row.words.size()) << row.d.name.str();
        for (std::size_t i = 0; i < row.words.size(); ++i)
            EXPECT_NE(r.warnings[i].find(row.words[i]), std::string::npos) << r.warnings[i];
    }
}

TEST(RefinedResults, WarnsOfACasePropertyMoreThanAFifthFromTheTableAboveOrBelow)
{
    // The same properties at every temperature up to 2000 oC: 1.5E-7 ohm m,
    // 50 W/(mK), 500 J/(kgK).  A fifth of them is 3E-8, 10 and 100.
    const auto read = ParsePropertyTable(std::string(kPropertyTableHeader) + "\n20,1.5E-07,50,500\n2000,1.5E-07,50,500\n",
                                         PropertySource::User, "flat.csv");
    ASSERT_TRUE(read.ok) << read.message;
    const auto warning = [](const char *name, const char *mine, const char *table, const char *unit) {
        return std::vector<std::string>{std::string("The case's ") + name + " (" + mine + " " + unit +
                                        ") differs by more than 20 % from the table's at the start temperature (" +
                                        table + " " + unit + ")."};
    };
    const struct {
        double DataRZ::*field;
        double value;
        std::vector<std::string> warnings;
    } rows[] = {
        {&DataRZ::specificHeat, 500, {}},
        {&DataRZ::specificHeat, 399, warning("specific heat", "399", "500", "J/(kgK)")},
        {&DataRZ::specificHeat, 401, {}},
        {&DataRZ::specificHeat, 599, {}},
        {&DataRZ::specificHeat, 601, warning("specific heat", "601", "500", "J/(kgK)")},
        {&DataRZ::conductivity, 39.9, warning("heat conductivity", "39.9", "50", "W/(mK)")},
        {&DataRZ::conductivity, 40.1, {}},
        {&DataRZ::resistivity, 1.19E-7, warning("resistivity", "1.19e-07", "1.5e-07", "ohm m")},
        {&DataRZ::resistivity, 1.21E-7, {}},
    };
    for (const auto &row : rows) {
        DataRZ d = WorkedRod();
        d.resistivity = 1.5E-7;
        d.conductivity = 50;
        d.specificHeat = 500;
        d.*row.field = row.value;
        const auto r = RefinedCalculationRZ(d, read.table);
        EXPECT_EQ(r.status, RefinedStatus::Reached) << row.value;
        EXPECT_EQ(r.warnings, row.warnings) << row.value;
    }
}

TEST(RefinedResults, RefusesOrRejectsCasesBeforeRunning)
{
    const auto steel = *BuiltInPropertyTable("steel");
    auto rod = [](auto change) { DataRZ d = WorkedRod(); change(d); return d; };
    auto bar = [](auto change) { DataXY d = WorkedBar(); change(d); return d; };
    const struct {
        RefinedResult r;
        RefinedStatus status;
        std::vector<std::string> messages;
    } rows[] = {
        {RefinedCalculationRZ(rod([](DataRZ &d) { d.diameter = 0; }), steel), RefinedStatus::Refused,
         {"Diameter of charge must be positive."}},
        {RefinedCalculationXY(bar([](DataXY &d) { d.thickness = -0.01; }), steel), RefinedStatus::Refused,
         {"Thickness of charge must be positive."}},
        {RefinedCalculationRZ(rod([](DataRZ &d) { d.density = 0; }), steel), RefinedStatus::Refused,
         {"Density must be positive."}},
        {RefinedCalculationXY(bar([](DataXY &d) { d.supplyVoltage = std::nan(""); }), steel),
         RefinedStatus::Refused, {"Supply voltage must be a finite number."}},
        {RefinedCalculationRZ(rod([](DataRZ &d) { d.finishTemp = d.startTemp; }), steel), RefinedStatus::Refused,
         {"Finish temperature must be above the start temperature."}},
        {RefinedCalculationRZ(rod([](DataRZ &d) { d.voltageDrop = 100; }), steel), RefinedStatus::Refused,
         {"Voltage drop must be below 100 %."}},
        {RefinedCalculationXY(bar([](DataXY &d) { d.alfa = -1; }), steel), RefinedStatus::Refused,
         {"Alfa coefficient must not be negative."}},
        {RefinedCalculationRZ(WorkedRod(), steel, [] { RefinedOptions o; o.emissivity = 1.5; return o; }()),
         RefinedStatus::Refused, {"Emissivity must be a number from 0 to 1."}},
        {RefinedCalculationRZ(WorkedRod(), PropertyTable{}), RefinedStatus::Refused,
         {"The property table has no points."}},
        {RefinedCalculationRZ(rod([](DataRZ &d) { d.supplyVoltage = 100; }), steel), RefinedStatus::Rejected,
         {"Power density greatest then 1E10 ?!!!", "Change input data"}},
        // The limit applies to the table's resistivity at the start temperature,
        // here below the case's own: 15^2 / 1.68E-8 > 1E10 > 15^2 / 2.67E-8.
        {RefinedCalculationRZ(rod([](DataRZ &d) { d.resistivity = 2.67E-8; d.supplyVoltage = 15; d.voltageDrop = 0; }),
                              *BuiltInPropertyTable("Cu")),
         RefinedStatus::Rejected, {"Power density greatest then 1E10 ?!!!", "Change input data"}},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(row.r.status, row.status) << row.messages[0];
        EXPECT_EQ(row.r.stopMessages, row.messages);
        EXPECT_EQ(row.r.heatingTime, 0);
        EXPECT_EQ(row.r.steps, 0);
    }
}

TEST(RefinedRun, ReportsProgressAndStopsWhenCancelled)
{
    std::vector<double> seen;
    RefinedOptions o;
    o.progress = [&](double f) { seen.push_back(f); };
    const auto r = RefinedCalculationRZ(WorkedRod(), *BuiltInPropertyTable("steel"), o);
    ExpectReachedAndBalanced(r);
    ASSERT_GT(seen.size(), 10u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GE(seen.front(), 0);
    EXPECT_EQ(seen.back(), 1);

    std::atomic<bool> cancel{false};
    int calls = 0;
    o.cancel = &cancel;
    o.progress = [&](double) {
        if (++calls == 3)
            cancel = true;
    };
    const auto c = RefinedCalculationXY(WorkedBar(), *BuiltInPropertyTable("steel"), o);
    EXPECT_EQ(c.status, RefinedStatus::Cancelled);
    EXPECT_EQ(c.steps, 3);
    EXPECT_EQ(c.heatingTime, 0);
}

// ---------------------------------------------------------------- bounded runs

namespace {

PropertyTable TableOf(const std::string &rows)
{
    const auto read = ParsePropertyTable(std::string(kPropertyTableHeader) + "\n" + rows, PropertySource::User, "t.csv");
    EXPECT_TRUE(read.ok) << read.message;
    return read.table;
}

// Resistivity, conductivity and specific heat that flip every kelvin.
PropertyTable Zigzag(int points)
{
    std::string rows;
    for (int i = 0; i < points; ++i)
        rows += std::to_string(20 + i) + (i % 2 ? ",1.5E-06,0.5,4500\n" : ",1.5E-07,50,450\n");
    return TableOf(rows);
}

} // namespace

TEST(RefinedBounds, HostileTablesEndWithTheRightOutcome)
{
    // The steel table with 2.63E06 for 2.63E-07 at 200 oC: above 100 oC the
    // resistivity climbs to ohms within a millikelvin, so every node stops
    // there and the losses are met by the little heat just above 100 oC.
    std::string steel;
    const PropertyTable builtIn = *BuiltInPropertyTable("steel");
    for (const auto &p : builtIn.points)
        steel += GeneralText(p.temperature, 17) + "," +
                 (p.temperature == 200 ? std::string("2.63E06,29.7,660")
                                       : GeneralText(p.resistivity, 17) + "," + GeneralText(p.conductivity, 17) +
                                             "," + GeneralText(p.specificHeat, 17)) +
                 "\n";
    const PropertyTable typo = TableOf(steel);
    for (const auto &r : {RefinedCalculationRZ(WorkedRod(), typo), RefinedCalculationXY(WorkedBar(), typo)}) {
        EXPECT_EQ(r.status, RefinedStatus::NotReached) << r.bar;
        EXPECT_GT(r.steadyCentre, 100);
        EXPECT_LT(r.steadyCentre, 100.01);
    }

    // Conductivity 1E-6, 1E9, 1E-6 W/(mK) at 20, 500 and 1000 oC: between
    // them the section is one body, losing from its surface as it heats,
    //     t1 = int from 20 to 1000 of rho c / (E^2 / rho_e - (S / A) loss) dT,
    // S / A = 80 1/m for both the rod and the bar; above 1000 oC the nodes
    // no longer exchange heat and the centre heats alone,
    //     t2 = rho c rho_e (1500 - 1000) / E^2 = 7800 650 1.163E-6 500 / 81.
    // t1 + t2 = 39.958 + 36.398 = 76.356 s (the integral by adaptive
    // quadrature of the linear table).
    const PropertyTable swing = TableOf("20,1.42E-07,1E-6,450\n500,5.84E-07,1E9,680\n1000,1.163E-06,1E-6,650\n");
    for (const auto &r : {RefinedCalculationRZ(WorkedRod(), swing), RefinedCalculationXY(WorkedBar(), swing)}) {
        ExpectReachedAndBalanced(r);
        EXPECT_NEAR(r.heatingTime, 76.356, 5E-4 * 76.356) << r.bar;
    }

    // Properties that flip every kelvin over 600 K need more steps on the bar
    // than the bound of work allows; on the rod the runs on the two meshes
    // end far apart.  Over 300 K the rod reaches the finish in more steps than
    // the history keeps, every second one dropped as the store fills.
    const struct {
        RefinedResult r;
        std::string message;
    } zigzags[] = {
        {RefinedCalculationXY(WorkedBar(), Zigzag(600)),
         "the calculation did not converge: it needs too many time steps (at "},
        {RefinedCalculationRZ(WorkedRod(), Zigzag(600)),
         "the calculation did not converge: the runs on two meshes differ by up to "},
    };
    for (const auto &z : zigzags) {
        EXPECT_EQ(z.r.status, RefinedStatus::NotConverged);
        ASSERT_EQ(z.r.stopMessages.size(), 1u);
        EXPECT_EQ(z.r.stopMessages[0].rfind(z.message, 0), 0u) << z.r.stopMessages[0];
        EXPECT_GT(z.r.lastTime, 0);
        EXPECT_EQ(z.r.heatingTime, 0);
        EXPECT_EQ(z.r.history[0].temperatures[0], 0);
    }
    const auto longRun = RefinedCalculationRZ(WorkedRod(), Zigzag(300));
    ExpectReachedAndBalanced(longRun);
    EXPECT_GT(longRun.steps, 4096);
    for (int i = 1; i < kHistoryRows; ++i)
        EXPECT_GT(longRun.history[i].temperatures[1], longRun.history[i - 1].temperatures[1]) << i;
    EXPECT_EQ(longRun.history[kHistoryRows - 1].temperatures[1], 1500);
}

TEST(RefinedBounds, FieldsTooWeakToHeatAreRecognisedBeforeAnyStep)
{
    // At U volts (less 10 %) over 1 m the steady centre rises by
    //     q R / (2 h) + q R^2 / (4 lambda),  q = (0.9 U)^2 / 1.42E-7,
    // h = 15 + 4 0.8 sigma 293.15^3 = 19.571 W/(m2 K), lambda = 59.5 W/(mK),
    // R = 0.025 m: 3.66E-13 K at 1E-8 V, and 0.3658 K at 0.01 V (0.3653 K
    // with the resistivity 0.15 % higher at 20.37 oC).  The bound of the
    // steady centre says so before a single step.
    const struct {
        double volts, rise, tolerance;
    } rows[] = {{1E-8, 3.66E-13, 1E-14}, {3E-8, 9 * 3.66E-13, 1E-13}, {1E-12, 0, 1E-14}, {0.01, 0.3653, 0.002}};
    for (const auto &row : rows) {
        DataRZ d = WorkedRod();
        d.supplyVoltage = row.volts;
        const auto r = RefinedCalculationRZ(d, *BuiltInPropertyTable("steel"));
        EXPECT_EQ(r.status, RefinedStatus::NotReached) << row.volts;
        EXPECT_EQ(r.steps, 0) << row.volts;
        EXPECT_NEAR(r.steadyCentre - 20, row.rise, row.tolerance) << row.volts;
        ASSERT_EQ(r.stopMessages.size(), 1u);
        EXPECT_EQ(r.stopMessages[0], "The centre cannot reach the finish temperature: the surface losses balance the "
                                     "heating at a centre temperature of " + GeneralText(r.steadyCentre) + " oC.");
    }
}

TEST(RefinedResults, EstimatesAreShownRoundedUpToTwoDigits)
{
    const struct {
        double estimate, shown;
    } rows[] = {{0.0123, 0.013}, {0.3, 0.3}, {0.294, 0.3}, {0.2001, 0.21}, {1234, 1300}, {7, 7}, {0, 0}};
    for (const auto &row : rows)
        EXPECT_NEAR(RoundedEstimate(row.estimate), row.shown, 1E-12 * row.shown) << row.estimate;
}
