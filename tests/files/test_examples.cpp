// The example cases a user starts from: each reads, and both calculations
// heat it to its finish temperature in a time an engineer would expect,
// with the lumped values a hand calculation gives and no warning but the
// one the billet's temperature earns.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "core/Heating.h"
#include "core/PropertyTable.h"
#include "core/Refined.h"
#include "files/DataFiles.h"
#include "support/RecordingHost.h"

using namespace resheat;

namespace {

struct Example {
    const char *file;
    bool rod;
    // By hand from the file's values: section A, mass = density L A,
    // R = resistivity L / A, Ur = 0.9 U, I = Ur / R.
    double mass;            // [kg]
    double resistance;      // [ohm]
    double current;         // [A]
    int contacts;           // I / max contact current, rounded up
    double adiabaticTime;   // m c (Tf - Ts) / (Ur I): no losses [s]
    double refinedAtLeast;  // the resistivity rises with temperature [x adiabatic time]
    int warnings;           // the billet goes past the steel table's last point
};

void PrintTo(const Example &e, std::ostream *os)
{
    *os << e.file;
}

class Examples : public ::testing::TestWithParam<Example> {};

TEST_P(Examples, BothCalculationsHeatItAsExpected)
{
    const Example &e = GetParam();
    const std::string file = std::string(RESHEAT_SOURCE_DIR) + "/examples/" + e.file;
    resheat::testing::RecordingHost host;
    ResultsXY xy;
    ResultsRZ rz;
    History history{};
    RefinedResult refined;
    double finish = 0, time = 0, mass = 0, resistance = 0, current = 0, contacts = 0;
    if (e.rod) {
        DataRZ data;
        ASSERT_TRUE(LoadDataRZ(file, data, host));
        CalculationRZ(data, false, rz, 0, history, host);
        refined = RefinedCalculationRZ(
            data, DefaultPropertyTable(data.name.str(), data.resistivity, data.conductivity, data.specificHeat), {});
        finish = data.finishTemp;
        time = rz.heatingTime;
        mass = rz.mass;
        resistance = rz.resistance;
        current = rz.current;
        contacts = rz.contacts;
    } else {
        DataXY data;
        ASSERT_TRUE(LoadDataXY(file, data, host));
        CalculationXY(data, false, xy, 0, history, host);
        refined = RefinedCalculationXY(
            data, DefaultPropertyTable(data.name.str(), data.resistivity, data.conductivity, data.specificHeat), {});
        finish = data.finishTemp;
        time = xy.heatingTime;
        mass = xy.mass;
        resistance = xy.resistance;
        current = xy.current;
        contacts = xy.contacts;
    }
    EXPECT_TRUE(host.messages.empty());

    EXPECT_NEAR(mass, e.mass, 1e-4 * e.mass);
    EXPECT_NEAR(resistance, e.resistance, 1e-4 * e.resistance);
    EXPECT_NEAR(current, e.current, 1e-4 * e.current);
    EXPECT_EQ(contacts, e.contacts);
    // Constant properties: a little longer than without any loss.
    EXPECT_GE(time, e.adiabaticTime);
    EXPECT_LE(time, 1.05 * e.adiabaticTime);
    EXPECT_GE(history[49][1], finish - 1e-6);

    // Temperature-dependent: reached, later, and only the billet warned.
    ASSERT_EQ(refined.status, RefinedStatus::Reached);
    EXPECT_NEAR(refined.centre, finish, 1e-6);
    EXPECT_GE(refined.heatingTime, e.refinedAtLeast * e.adiabaticTime);
    EXPECT_LE(refined.heatingTime, 300);
    EXPECT_EQ(static_cast<int>(refined.warnings.size()), e.warnings);
    for (const std::string &warning : refined.warnings)
        EXPECT_NE(warning.find("last point"), std::string::npos) << warning;
}

constexpr double kPi = std::numbers::pi;

INSTANTIATE_TEST_SUITE_P(
    Cases, Examples,
    ::testing::Values(
        // Rod 60 mm x 1.5 m, 12 V, to 1250 oC: A = pi 0.03^2 = 2.8274e-3 m2.
        Example{"steel-billet.drz", true, 7850 * 1.5 * kPi * 0.0009, 1.42e-7 * 1.5 / (kPi * 0.0009),
                10.8 / (1.42e-7 * 1.5 / (kPi * 0.0009)), 8,
                7850 * 1.5 * kPi * 0.0009 * 450 * 1230 / (10.8 * 10.8 / (1.42e-7 * 1.5 / (kPi * 0.0009))), 4, 1},
        // Bar 1 m x 20 mm x 10 mm, 12 V, to 900 oC: A = 2e-4 m2.
        Example{"steel-hardening.dxy", false, 1.57, 7.1e-4, 10.8 / 7.1e-4, 4,
                1.57 * 450 * 880 / (10.8 * 10.8 / 7.1e-4), 4, 0},
        // Cu bar 1 m x 40 mm x 5 mm, 2 V, to 600 oC: A = 2e-4 m2.
        Example{"copper-annealing.dxy", false, 1.786, 8.4e-5, 1.8 / 8.4e-5, 5,
                1.786 * 385 * 580 / (1.8 * 1.8 / 8.4e-5), 1.5, 0},
        // Aluminium bar 1 m x 30 mm x 10 mm, 1.6 V, to 450 oC: A = 3e-4 m2.
        Example{"aluminium-bar.dxy", false, 0.81, 2.65e-8 / 3e-4, 1.44 / (2.65e-8 / 3e-4), 4,
                0.81 * 900 * 430 / (1.44 * 1.44 / (2.65e-8 / 3e-4)), 1.5, 0}),
    [](const ::testing::TestParamInfo<Example> &info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.')).replace(name.find('-'), 1, "_");
    });

} // namespace
