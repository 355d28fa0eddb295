#include <gtest/gtest.h>

#include <cmath>

#include "core/CurrentDistribution.h"
#include "core/MagneticTable.h"

using namespace resheat;

namespace {

const std::string kHeader = "H_A_m,B_T\n";

MagneticTableRead Parse(const std::string &text)
{
    return ParseMagneticTable(text, PropertySource::User, "mine.csv");
}

} // namespace

TEST(MagneticTableReader, RefusesWithTheLineToBlame)
{
    const std::string two = "1000,1.3\n2000,1.5\n";
    const struct {
        std::string text;
        int line;
        std::string message;
    } rows[] = {
        {"", 1, "Line 1: the table is empty"},
        {"# curie_C=768\n\n", 2, "Line 2: the table has no header line H_A_m,B_T"},
        {"H,B\n", 1, "Line 1: the header must read H_A_m,B_T"},
        {"# curie_C=768\n" + kHeader + "1000,1.3\n", 2, "Line 2: the table needs at least two points after the header"},
        {kHeader + two, 1, "Line 1: the table does not give the Curie temperature (# curie_C=...)"},
        {kHeader + "1000,1.3,4\n", 2, "Line 2: 3 values where 2 are expected (H_A_m,B_T)"},
        {kHeader + "1000\n", 2, "Line 2: 1 value where 2 are expected (H_A_m,B_T)"},
        {kHeader + "1000,1,3T\n", 2, "Line 2: 3 values where 2 are expected (H_A_m,B_T)"},
        {kHeader + "1kA,1.3\n", 2, "Line 2: \"1kA\" is not a number (H_A_m)"},
        {kHeader + "1000,inf\n", 2, "Line 2: B_T must be a finite number"},
        {kHeader + "1E999,1.3\n", 2, "Line 2: H_A_m is out of range"},
        {kHeader + "0,0\n", 2, "Line 2: H_A_m must be positive"},
        {kHeader + "1000,-1.3\n", 2, "Line 2: B_T must be positive"},
        // 1E6 A/m in vacuum is 1.2566 T: less is not steel.
        {kHeader + "1000,1.3\n1E6,1.2\n", 3, "Line 3: B_T must be above mu0 H (1.25664 T): steel magnetises along the field"},
        {kHeader + "1000,1.3\n\n# note\n1000,1.4\n", 5, "Line 5: H_A_m must be higher than on line 2 (1000)"},
        {kHeader + "1000,1.3\n2000,1.3\n", 3, "Line 3: B_T must be higher than on line 2 (1.3)"},
        {"# curie_C=768\n# curie_C=770\n", 2, "Line 2: the Curie temperature is given twice"},
        {"# curie_C=20\n", 1, "Line 1: the Curie temperature must be a temperature in oC above 20 (the curve's) and at most 1200"},
        {"# curie_C=hot\n", 1, "Line 1: the Curie temperature must be a temperature in oC above 20 (the curve's) and at most 1200"},
        {"# curie_C=7680\n", 1, "Line 1: the Curie temperature must be a temperature in oC above 20 (the curve's) and at most 1200"},
        {"# curie=768\n", 1, "Line 1: unknown setting \"curie\" (curie_C)"},
    };
    for (const auto &row : rows) {
        const auto r = Parse(row.text);
        EXPECT_FALSE(r.ok) << row.text;
        EXPECT_EQ(r.line, row.line) << row.text;
        EXPECT_EQ(r.message, row.message) << row.text;
        EXPECT_TRUE(r.table.points.empty());
    }
}

TEST(MagneticTableReader, ReadsNotesSettingsAndTheFormsSpreadsheetsWrite)
{
    const auto r = Parse("\xEF\xBB\xBF# My steel, measured 2024.\r\n"
                         "H_A_m , B_T\r\n"
                         "\r\n"
                         "  500 , 0.9 \r\n"
                         "+2E3,1.5e0\r\n"
                         "# curie_C = 750\r\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.table.source, PropertySource::User);
    EXPECT_EQ(r.table.name, "mine.csv");
    EXPECT_EQ(r.table.note, "My steel, measured 2024.");
    EXPECT_EQ(r.table.curie, 750);
    ASSERT_EQ(r.table.points.size(), 2u);
    EXPECT_EQ(r.table.points[0].field, 500);
    EXPECT_EQ(r.table.points[0].flux, 0.9);
    EXPECT_EQ(r.table.points[1].field, 2000);
    EXPECT_EQ(r.table.points[1].flux, 1.5);
}

TEST(MagneticTable, BuiltInSteelHasTheTypicalCurve)
{
    EXPECT_FALSE(BuiltInMagneticTable("Cu"));
    EXPECT_FALSE(BuiltInMagneticTable("aluminium"));
    EXPECT_FALSE(BuiltInMagneticTable("Steel"));
    const auto steel = BuiltInMagneticTable("steel");
    ASSERT_TRUE(steel);
    EXPECT_EQ(steel->source, PropertySource::BuiltIn);
    EXPECT_EQ(steel->curie, 768);
    EXPECT_NE(steel->note.find("Typical values"), std::string::npos);

    // mu_r = B / (mu0 H) of low-carbon steel at 20 oC.
    const Permeability p(*steel);
    const struct {
        double field, mu;
    } rows[] = {{4600, 315}, {17700, 90}, {41000, 41}, {96000, 19}, {318000, 6.44}};
    for (const auto &row : rows)
        EXPECT_NEAR(p.Relative(row.field, 20), row.mu, 0.005 * row.mu) << row.field;
    // Falling from its peak of about 1700 at 400 A/m; that peak below it.
    double last = p.Relative(400, 20);
    EXPECT_NEAR(last, 1700, 10);
    for (double h = 500; h < 1E6; h *= 1.3) {
        const double mu = p.Relative(h, 20);
        EXPECT_LT(mu, last) << h;
        last = mu;
    }
    for (double h : {0.0, 40.0, 100.0, 399.0})
        EXPECT_EQ(p.Relative(h, 20), p.Relative(400, 20)) << h;
}

TEST(MagneticTable, MagnetisationFallsToTheCuriePoint)
{
    const Permeability steel(*BuiltInMagneticTable("steel"));
    const struct {
        double temperature, m;
    } rows[] = {{-20, 1},   {20, 1},   {210, 0.965}, {400, 0.93}, {600, 0.75}, {700, 0.55},
                {740, 0.38}, {754, 0.19}, {768, 0},  {900, 0}};
    for (const auto &row : rows)
        EXPECT_NEAR(steel.Magnetisation(row.temperature), row.m, 1E-12) << row.temperature;

    // A curve with its Curie point at 1000 oC: the built-in fall at the same
    // fraction of the Curie temperature in kelvin, so m = 0.55 where
    // (T + 273.15) / 1273.15 = 973.15 / 1041.15, T = 916.85 oC.
    auto mine = *BuiltInMagneticTable("steel");
    mine.curie = 1000;
    const Permeability p(mine);
    EXPECT_NEAR(p.Magnetisation(973.15 / 1041.15 * 1273.15 - 273.15), 0.55, 1E-12);
    // 999 oC is 767.182 oC of the built-in curve: 0.38 (768 - 767.182) / 28.
    EXPECT_NEAR(p.Magnetisation(999), 0.0110984, 1E-7);
    EXPECT_EQ(p.Magnetisation(1000), 0);
    EXPECT_GT(p.Magnetisation(999), 0);
}

TEST(MagneticTable, EffectivePermeabilityBetweenAndBeyondThePoints)
{
    MagneticTable t;
    t.points = {{1000, 1.3}, {5000, 1.7}, {20000, 2.0}};
    t.curie = 768;
    const Permeability p(t);
    const double mu0 = 1.2566370614359173E-6;
    // Hand values: B/(mu0 H) on the straight start, between points, saturated.
    const struct {
        double field, temperature, mu;
    } rows[] = {
        {0, 20, 1.3 / (mu0 * 1000)},
        {400, 20, 1.3 / (mu0 * 1000)},
        {3000, 20, 1.5 / (mu0 * 3000)},
        {40000, 20, (2.0 + mu0 * 20000) / (mu0 * 40000)},
        // m(700) = 0.55: B = mu0 H + 0.55 (B20 - mu0 H).
        {3000, 700, 1 + 0.55 * (1.5 / (mu0 * 3000) - 1)},
        {3000, 800, 1},
    };
    for (const auto &row : rows)
        EXPECT_NEAR(p.Relative(row.field, row.temperature), row.mu, 1E-9 * row.mu) << row.field << " " << row.temperature;
    EXPECT_NEAR(p.Flux20(12500), 1.85, 1E-12);

    // A curve whose permeability first rises: below 400 A/m it keeps the
    // highest, 0.8 / (mu0 400); above, B/(mu0 H) as it is.
    t.points = {{100, 0.05}, {400, 0.8}, {2000, 1.5}};
    const Permeability rising(t);
    for (double h : {0.0, 100.0, 250.0, 400.0})
        EXPECT_NEAR(rising.Relative(h, 20), 0.8 / (mu0 * 400), 1E-9) << h;
    EXPECT_NEAR(rising.Relative(1000, 20), (0.8 + 0.7 * 600 / 1600) / (mu0 * 1000), 1E-9);
}
