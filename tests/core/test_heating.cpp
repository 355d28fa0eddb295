#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "core/Errors.h"
#include "core/Heating.h"
#include "core/Numerics.h"
#include "support/RecordingHost.h"

// The classic formulas: every worked figure of earlier versions, bit for bit.
// The series are tested in test_series.cpp.
using namespace resheat;
using resheat::testing::RecordingHost;
using resheat::testing::WorkedBar;
using resheat::testing::WorkedRod;

namespace {

// Relative closeness to the number of digits a worked figure is given with.
void ExpectFigure(double actual, double figure, double halfUnit, const char *what)
{
    EXPECT_NEAR(actual, figure, halfUnit) << what;
}

struct XYRun {
    ResultsXY results;
    History history{};
    RecordingHost host;
};

XYRun RunXY(const DataXY &d, bool fixed = false, double userTime = 0)
{
    XYRun r;
    CalculationXY(d, fixed, r.results, userTime, r.history, r.host, Formulas::Classic);
    return r;
}

struct RZRun {
    ResultsRZ results;
    History history{};
    RecordingHost host;
};

RZRun RunRZ(const DataRZ &d, bool fixed = false, double userTime = 0)
{
    RZRun r;
    CalculationRZ(d, fixed, r.results, userTime, r.history, r.host, Formulas::Classic);
    return r;
}

} // namespace

TEST(CalculationXY, WorkedSteelBar)
{
    const auto r = RunXY(WorkedBar());
    const double th = 1.5 * r.results.mass * 481.32 * 1480 / r.results.power;
    ExpectFigure(th, 15.829, 5e-4, "th");
    ExpectFigure(r.history[0][0], 0.31659, 5e-6, "dt");
    ExpectFigure(r.history[0][1], 64.374, 5e-4, "row 1 To");
    ExpectFigure(r.history[0][2], 64.402, 5e-4, "row 1 Tw");
    EXPECT_NEAR(r.history[0][2], r.history[0][3], 1e-9); // square section: Tw = Th
    ExpectFigure(r.history[32][1], 1482.4, 0.05, "row 33 To");
    ExpectFigure(r.history[33][0], 10.764, 5e-4, "row 34 t");
    ExpectFigure(r.history[33][1], 1526.4, 0.05, "row 34 To");
    EXPECT_EQ(r.results.heatingTime, r.history[33][0]); // first row reaching Tf
    ExpectFigure(r.history[49][1], 2220.6, 0.05, "row 50 To");
    ExpectFigure(r.history[49][2], 2172.2, 0.05, "row 50 Tw");
    EXPECT_EQ(r.results.contacts, 146);
    ExpectFigure(r.results.biotWidth, 0.0085344, 5e-8, "Bi w");
    ExpectFigure(r.results.biotHeight, 0.0085344, 5e-8, "Bi h");
    ExpectFigure(r.results.diffWidth, 48.399, 5e-4, "field 11");
    ExpectFigure(r.results.diffHeight, 48.399, 5e-4, "field 12");
    EXPECT_EQ(r.host.progress, (std::vector<std::string>{"show", "hide"}));
    EXPECT_TRUE(r.host.messages.empty());
}

TEST(CalculationXY, EigenvaluesOfTheWorkedBar)
{
    RecordingHost host;
    RootTable mu{};
    std::uint8_t counter = 1;
    bool ok = true;
    const double pi = std::numbers::pi;
    RootScan(40, counter, 87.88, 15, 0.05, 1e-8, 1e-8, pi, 0.1, 1e-5, CharFunctionXY, mu, ok, host);
    EXPECT_NEAR(mu[0], 0.77136, 5e-5);
    RootScan(40, counter, 87.88, 15, 0.05, 1e-8, 9 * pi + 1e-8, 10 * pi, 0.1, 1e-5, CharFunctionXY,
             mu, ok, host);
    EXPECT_NEAR(mu[1], 28.301, 5e-4);
    EXPECT_EQ(counter, 3);
}

TEST(CalculationXY, FieldsElevenAndTwelveTakeTheRightSidePoints)
{
    DataXY d = WorkedBar();
    d.width = 0.08; // Tw and Th now differ
    d.thickness = 0.04;
    const auto r = RunXY(d);
    const auto &last = r.history[49];
    ASSERT_NE(last[2], last[3]);
    EXPECT_EQ(r.results.diffWidth, last[1] - last[3]);  // centre minus height-side point
    EXPECT_EQ(r.results.diffHeight, last[1] - last[2]); // centre minus width-side point
}

TEST(CalculationXY, MatchesThePlainSeriesDigitForDigit)
{
    // The run evaluates its constant factors once; the plain sum below
    // forms every term in full.  Both must give the same doubles.
    const DataXY d = WorkedBar();
    const auto r = RunXY(d);

    RecordingHost host;
    RootTable mu{}, nu{};
    std::uint8_t cm = 1, cn = 1;
    bool okm = true, okn = true;
    double x0 = 1E-8, xe = std::numbers::pi;
    for (int k = 1; k <= 10; ++k) {
        RootScan(40, cm, d.conductivity, d.alfa, d.width, 1E-8, x0, xe, 0.1, 1E-5, CharFunctionXY, mu, okm, host);
        RootScan(40, cn, d.conductivity, d.alfa, d.thickness, 1E-8, x0, xe, 0.1, 1E-5, CharFunctionXY, nu, okn, host);
        x0 = xe + 1E-8;
        xe = xe + std::numbers::pi;
    }
    const double w = d.width, h = d.thickness;
    const double a = d.conductivity / (d.specificHeat * d.density);
    const double K = 4 * r.results.powerDensity / d.conductivity;
    auto S = [&](double x, double y, double t) {
        double s = 0;
        for (int j = 0; j < 10; ++j)
            for (int i = 0; i < 10; ++i) {
                const double q = (mu[i] / w) * (mu[i] / w) + (nu[j] / h) * (nu[j] / h);
                const double e = q * a * t >= 50 ? 1 : 1 - std::exp(-(q * a * t));
                const double num = std::sin(mu[i]) * std::sin(nu[j]) * std::cos(mu[i] * x / w) *
                                   std::cos(nu[j] * y / h);
                const double den = mu[i] * nu[j] * (1 + std::sin(2 * mu[i]) / (2 * mu[i])) *
                                   (1 + std::sin(2 * nu[j]) / (2 * nu[j])) * q;
                s = s + num / den * e;
            }
        return s;
    };
    const double dt = r.results.power > 0 ? r.history[0][0] : 0;
    double t = 0;
    for (int row = 0; row < 50; ++row) {
        t = t + dt;
        EXPECT_EQ(r.history[row][0], t) << row;
        EXPECT_EQ(r.history[row][1], d.startTemp + K * S(0, 0, t)) << row;
        EXPECT_EQ(r.history[row][2], d.startTemp + K * S(w / 2, 0, t)) << row;
        EXPECT_EQ(r.history[row][3], d.startTemp + K * S(0, h / 2, t)) << row;
    }
}

TEST(CalculationXY, FixedTimeSpacesTheRowsByTheUserTime)
{
    const auto r = RunXY(WorkedBar(), true, 5.0);
    EXPECT_DOUBLE_EQ(r.history[0][0], 0.1);
    EXPECT_NEAR(r.history[49][0], 5.0, 1e-12);
    EXPECT_EQ(r.results.heatingTime, 5.0); // never reached Tf within 5 s
    EXPECT_LT(r.history[49][1], 1500);
}

TEST(CalculationXY, EqualStartAndFinishGiveZeroTime)
{
    DataXY d = WorkedBar();
    d.finishTemp = 20;
    const auto r = RunXY(d);
    for (const auto &row : r.history) {
        EXPECT_EQ(row[0], 0.0);
        EXPECT_EQ(row[1], 20.0);
        EXPECT_EQ(row[2], 20.0);
    }
    EXPECT_EQ(r.results.heatingTime, 0.0);
}

TEST(CalculationXY, RejectedCaseKeepsHistoryAndLaterFields)
{
    XYRun r;
    r.results.contacts = 7;
    r.results.diffWidth = 3;
    r.history[4][1] = 99;
    DataXY d = WorkedBar();
    d.supplyVoltage = 100; // pv grows with U squared: 5.27E10
    CalculationXY(d, false, r.results, 0, r.history, r.host, Formulas::Classic);
    ASSERT_EQ(r.host.messages.size(), 2u);
    EXPECT_EQ(r.host.messages[0], std::make_pair(std::string("Calculation Error"),
                                                 std::string("Power density greatest then 1E10 ?!!!")));
    EXPECT_EQ(r.host.messages[1].second, "Change input data");
    EXPECT_TRUE(r.host.progress.empty());
    EXPECT_GT(r.results.powerDensity, 1E10);
    EXPECT_GT(r.results.heatingTime, 0.0); // field 7 is stored before the check
    EXPECT_EQ(r.results.contacts, 7);
    EXPECT_EQ(r.results.diffWidth, 3);
    EXPECT_EQ(r.history[4][1], 99);
}

TEST(CalculationXY, FaultKeepsStoredFieldsAndTheOldHistory)
{
    XYRun r;
    r.history[0][1] = 42;
    DataXY d = WorkedBar();
    d.maxContactCurrent = 0;
    try {
        CalculationXY(d, false, r.results, 0, r.history, r.host, Formulas::Classic);
        FAIL();
    } catch (const ArithmeticFault &e) {
        EXPECT_STREQ(e.what(), "Floating point division by zero");
    }
    EXPECT_GT(r.results.mass, 0);
    EXPECT_EQ(r.results.contacts, 0);
    EXPECT_EQ(r.history[0][1], 42);

    // A fault during the history hides the progress window and leaves the rows.
    d = WorkedBar();
    d.specificHeat = 0; // th divides by... c enters only the diffusivity with the switch on
    XYRun f;
    f.history[0][1] = 42;
    EXPECT_THROW(CalculationXY(d, true, f.results, 10, f.history, f.host, Formulas::Classic), ArithmeticFault);
    EXPECT_EQ(f.host.progress, (std::vector<std::string>{"show", "hide"}));
    EXPECT_EQ(f.history[0][1], 42);
}

TEST(CalculationXY, ZeroAlfaFaultsInTheCharacteristicFunction)
{
    DataXY d = WorkedBar();
    d.alfa = 0;
    XYRun r;
    EXPECT_THROW(CalculationXY(d, false, r.results, 0, r.history, r.host, Formulas::Classic), ArithmeticFault);
}

TEST(CalculationXY, FullVoltageDropWithFixedTimeRunsWithZeroPower)
{
    DataXY d = WorkedBar();
    d.voltageDrop = 100;
    XYRun r;
    EXPECT_THROW(CalculationXY(d, false, r.results, 0, r.history, r.host, Formulas::Classic), ArithmeticFault);
    const auto fixed = RunXY(d, true, 10);
    EXPECT_EQ(fixed.results.powerDensity, 0);
    EXPECT_EQ(fixed.history[49][1], 20.0);
}

TEST(CalculationRZ, WorkedSteelRod)
{
    const auto r = RunRZ(WorkedRod());
    ExpectFigure(r.history[49][0], 15.829, 5e-4, "th");
    ExpectFigure(r.history[0][1], 64.354, 5e-4, "row 1 To");
    ExpectFigure(r.history[0][2], 63.002, 5e-4, "row 1 Tr");
    ExpectFigure(r.history[33][1], 1523.8, 0.05, "row 34 To");
    ExpectFigure(r.results.heatingTime, 10.764, 5e-4, "field 7");
    ExpectFigure(r.history[49][1], 2209.1, 0.05, "row 50 To");
    ExpectFigure(r.history[49][2], 1782.6, 0.05, "row 50 Tr");
    EXPECT_EQ(r.results.contacts, 115);
    ExpectFigure(r.results.biot, 0.0042672, 5e-8, "Bi");
    ExpectFigure(r.results.diffSurface, 426.51, 5e-3, "field 10");
    for (const auto &row : r.history)
        EXPECT_EQ(row[3], 0.0);
    EXPECT_EQ(r.host.progress, (std::vector<std::string>{"show", "hide"}));

    RecordingHost host;
    RootTable mu{};
    std::uint8_t counter = 1;
    bool ok = true;
    RootScan(30, counter, 87.88, 15, 0.05, 1e-8, 1e-4, 35, 0.1, 1e-5, CharFunctionRZ, mu, ok, host);
    EXPECT_EQ(counter, 11);
    EXPECT_NEAR(mu[0], 1.1189, 5e-5);
    EXPECT_NEAR(mu[9], 29.073, 5e-4);
}

TEST(CalculationRZ, MatchesThePlainSeriesDigitForDigit)
{
    const DataRZ d = WorkedRod();
    const auto r = RunRZ(d);
    RecordingHost host;
    RootTable mu{};
    std::uint8_t counter = 1;
    bool ok = true;
    RootScan(30, counter, d.conductivity, d.alfa, d.diameter, 1e-8, 1e-4, 35, 0.1, 1e-5,
             CharFunctionRZ, mu, ok, host);
    const double D = d.diameter, pv = r.results.powerDensity;
    const double a = d.conductivity / (d.specificHeat * d.density);
    const double A = pv * (D * D) / (4 * d.conductivity);
    const double C = 2 * d.alfa * pv * (D * D * D) / d.conductivity;
    auto S = [&](double t, double rr) {
        double s = 0;
        for (int k = 0; k < counter - 1; ++k) {
            const double m = mu[k];
            s = s + std::exp(-(m * m * a * t / (D * D))) * BesselJ0(20, m * rr / D) /
                        (BesselJ0(20, m) * (d.alfa * d.alfa * (D * D) + m * m) * (m * m));
        }
        return s;
    };
    const double b0 = 1 + 2 / (D * d.alfa) - 0.0 / (D * D);
    const double b1 = 1 + 2 / (D * d.alfa) - (D * D) / (D * D);
    for (int row = 0; row < 50; ++row) {
        const double t = r.history[row][0];
        EXPECT_EQ(r.history[row][1], d.startTemp + A * b0 - C * S(t, 0)) << row;
        EXPECT_EQ(r.history[row][2], d.startTemp + A * b1 - C * S(t, D)) << row;
    }
}

TEST(CalculationRZ, EqualStartAndFinishLeaveOnlyTheSeriesTruncation)
{
    DataRZ d = WorkedRod();
    d.finishTemp = 20;
    const auto r = RunRZ(d);
    EXPECT_EQ(r.results.heatingTime, 0.0);
    for (const auto &row : r.history) {
        EXPECT_EQ(row[0], 0.0);
        EXPECT_NEAR(row[1], 20.035, 5e-4);
        EXPECT_NEAR(row[2], 20.035, 5e-4);
    }
}

TEST(CalculationRZ, RejectedCaseKeepsThePreviousHeatingTime)
{
    RZRun r;
    r.results.heatingTime = 123;
    r.results.biot = 9;
    DataRZ d = WorkedRod();
    d.supplyVoltage = 100;
    CalculationRZ(d, false, r.results, 0, r.history, r.host, Formulas::Classic);
    EXPECT_EQ(r.host.messages.size(), 2u);
    EXPECT_EQ(r.results.heatingTime, 123);
    EXPECT_EQ(r.results.biot, 9);
    EXPECT_GT(r.results.powerDensity, 1E10);
    EXPECT_TRUE(r.host.progress.empty());
}

TEST(Calculations, PowerDensityOfExactlyTheLimitIsAccepted)
{
    // w = h = 1, rho_e = 1, R = L = 1: pv = I^2 = Ur^2 = 1E10 for Ur = 1E5.
    DataXY d = WorkedBar();
    d.length = 1; d.width = 1; d.thickness = 1; d.resistivity = 1;
    d.supplyVoltage = 1E5; d.voltageDrop = 0;
    XYRun r;
    CalculationXY(d, true, r.results, 1, r.history, r.host, Formulas::Classic);
    EXPECT_EQ(r.results.powerDensity, 1E10);
    EXPECT_TRUE(r.host.messages.empty());
    EXPECT_EQ(r.host.progress.size(), 2u);
}

TEST(Calculations, CallerRecordIsNeverChanged)
{
    const DataXY bar = WorkedBar();
    DataXY copy = bar;
    RunXY(copy);
    EXPECT_EQ(copy, bar);
    const DataRZ rod = WorkedRod();
    DataRZ rcopy = rod;
    RunRZ(rcopy);
    EXPECT_EQ(rcopy, rod);
}
