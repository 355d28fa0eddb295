// The temperature-dependent calculation against exact solutions of its model,
// its own energy balance and its convergence under refinement.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numbers>

#include "core/Heating.h"
#include "core/Lumped.h"
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

double MaxHistoryDifference(const RefinedResult &a, const RefinedResult &b)
{
    double worst = 0;
    for (int i = 0; i < kHistoryRows; ++i)
        for (int c = 1; c < 4; ++c)
            worst = std::max(worst, std::abs(a.history[i].temperatures[c] - b.history[i].temperatures[c]));
    return worst;
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
            EXPECT_NEAR(t[2], t[1], 1E-9);
            EXPECT_NEAR(t[3], r.bar ? t[1] : 0, 1E-9);
        }
        EXPECT_NEAR(r.mean, 1500, 1E-6);
        EXPECT_NEAR(r.differenceK, 0, 1E-9);
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

TEST(RefinedConvergence, HalvingMeshAndStepChangesTheWorkedCasesLittle)
{
    const auto steel = *BuiltInPropertyTable("steel");
    RefinedOptions fine;
    fine.refinement = 1;
    const auto rod0 = RefinedCalculationRZ(WorkedRod(), steel);
    const auto rod1 = RefinedCalculationRZ(WorkedRod(), steel, fine);
    const auto bar0 = RefinedCalculationXY(WorkedBar(), steel);
    const auto bar1 = RefinedCalculationXY(WorkedBar(), steel, fine);
    for (const auto *r : {&rod0, &rod1, &bar0, &bar1})
        ExpectReachedAndBalanced(*r);
    EXPECT_LT(std::abs(rod1.heatingTime / rod0.heatingTime - 1), 1E-3);
    EXPECT_LT(std::abs(bar1.heatingTime / bar0.heatingTime - 1), 1E-3);
    EXPECT_LT(MaxHistoryDifference(rod0, rod1), 0.5);
    EXPECT_LT(MaxHistoryDifference(bar0, bar1), 0.5);
    EXPECT_GT(rod1.nodes, rod0.nodes);
    EXPECT_GT(rod1.steps, rod0.steps);

    // Second order: each halving cuts the change about fourfold.
    fine.refinement = 2;
    const auto rod2 = RefinedCalculationRZ(WorkedRod(), steel, fine);
    const double d01 = std::abs(rod1.heatingTime - rod0.heatingTime);
    const double d12 = std::abs(rod2.heatingTime - rod1.heatingTime);
    EXPECT_LT(d12, d01 / 3);
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
