#include <gtest/gtest.h>

#include "core/PropertyTable.h"

using namespace resheat;

namespace {

const std::string kHeader = "T_C,resistivity_Ohm_m,conductivity_W_mK,specific_heat_J_kgK\n";

PropertyTableRead Parse(const std::string &text)
{
    return ParsePropertyTable(text, PropertySource::User, "mine.csv");
}

} // namespace

TEST(PropertyTableReader, RefusesWithTheLineToBlame)
{
    const struct {
        std::string text;
        int line;
        std::string message;
    } rows[] = {
        {"", 1, "Line 1: the table is empty"},
        {"# a note only\n\n", 2, "Line 2: the table has no header line " + kHeader.substr(0, kHeader.size() - 1)},
        {"T_C,rho\n20,1,2,3\n", 1, "Line 1: the header must read " + kHeader.substr(0, kHeader.size() - 1)},
        {kHeader, 1, "Line 1: the table has no data lines after the header"},
        {kHeader + "20,1.42E-07,59.5\n", 2,
         "Line 2: 3 values where 4 are expected (" + kHeader.substr(0, kHeader.size() - 1) + ")"},
        {kHeader + "20,1.42E-07,59.5,450,1\n", 2, ""},
        {kHeader + "20,abc,59.5,450\n", 2, "Line 2: \"abc\" is not a number (resistivity_Ohm_m)"},
        {kHeader + "20,1.42E-07,59.5,450x\n", 2, "Line 2: \"450x\" is not a number (specific_heat_J_kgK)"},
        {kHeader + "20,+-1.42E-07,59.5,450\n", 2, "Line 2: \"+-1.42E-07\" is not a number (resistivity_Ohm_m)"},
        {kHeader + "+-20,1.42E-07,59.5,450\n", 2, "Line 2: \"+-20\" is not a number (T_C)"},
        {kHeader + "20,1.42E-07,59.5," + std::string(60, '4') + "x\n", 2,
         "Line 2: \"" + std::string(40, '4') + "...\" is not a number (specific_heat_J_kgK)"},
        {kHeader + "20,1.4\x1b[2J,59.5,450\n", 2, "Line 2: \"1.4\\x1b[2J\" is not a number (resistivity_Ohm_m)"},
        {kHeader + "20,1.42E-07,inf,450\n", 2, "Line 2: conductivity_W_mK must be a finite number"},
        {kHeader + "20,1.42E-07,nan,450\n", 2, "Line 2: conductivity_W_mK must be a finite number"},
        {kHeader + "20,1E999,59.5,450\n", 2, "Line 2: resistivity_Ohm_m is out of range"},
        {kHeader + "20,-1.42E-07,59.5,450\n", 2, "Line 2: resistivity_Ohm_m must be positive"},
        {kHeader + "20,1.42E-07,59.5,0\n", 2, "Line 2: specific_heat_J_kgK must be positive"},
        {kHeader + "-300,1.42E-07,59.5,450\n", 2, "Line 2: T_C must be above -273.15"},
        // Blank and comment lines count: the point before is on line 2.
        {kHeader + "100,1.9E-07,57.8,480\n\n# note\n100,2E-07,57,490\n", 5,
         "Line 5: T_C must be higher than on line 2 (100)"},
        {kHeader + "100,1.9E-07,57.8,480\n20,1.42E-07,59.5,450\n", 3, "Line 3: T_C must be higher than on line 2 (100)"},
        {"# emissivity=1.5\n" + kHeader + "20,1.42E-07,59.5,450\n", 1,
         "Line 1: the emissivity must be a number from 0 to 1"},
        {"# emissivity=0.5\n# emissivity=0.6\n", 2, "Line 2: the emissivity is given twice"},
        {"# solidus_C=hot\n", 1, "Line 1: the solidus must be a temperature in oC"},
        {"# solidus=1400\n", 1, "Line 1: unknown setting \"solidus\" (emissivity or solidus_C)"},
    };
    for (const auto &row : rows) {
        const auto r = Parse(row.text);
        EXPECT_FALSE(r.ok) << row.text;
        EXPECT_EQ(r.line, row.line) << row.text;
        if (!row.message.empty()) {
            EXPECT_EQ(r.message, row.message) << row.text;
        }
        EXPECT_EQ(r.message.rfind("Line " + std::to_string(row.line) + ": ", 0), 0u) << r.message;
        EXPECT_TRUE(r.table.points.empty());
    }
}

TEST(PropertyTableReader, ReadsSettingsNotesAndTheFormsSpreadsheetsWrite)
{
    const std::string text = "\xEF\xBB\xBF# My steel, measured 2024.\r\n"
                             "# emissivity = 0.7\r\n"
                             "T_C, resistivity_Ohm_m ,conductivity_W_mK,specific_heat_J_kgK\r\n"
                             "\r\n"
                             "20,1.5e-7,+50,460\r\n"
                             "  500 , 6E-07 , 40.5 , 700 \r\n"
                             "# solidus_C=1400\r\n";
    const auto r = Parse(text);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.table.source, PropertySource::User);
    EXPECT_EQ(r.table.name, "mine.csv");
    EXPECT_EQ(r.table.note, "My steel, measured 2024.");
    EXPECT_EQ(r.table.emissivity, 0.7);
    ASSERT_TRUE(r.table.solidus.has_value());
    EXPECT_EQ(*r.table.solidus, 1400);
    ASSERT_EQ(r.table.points.size(), 2u);
    EXPECT_EQ(r.table.points[0].conductivity, 50);
    EXPECT_EQ(r.table.points[1].temperature, 500);
    EXPECT_EQ(r.table.points[1].resistivity, 6E-07);
    EXPECT_EQ(r.table.points[1].specificHeat, 700);

    // The ends of the emissivity's range are emissivities.
    for (const double e : {0.0, 1.0}) {
        const auto edge = Parse("# emissivity=" + std::to_string(e) + "\n" + kHeader + "20,1.5e-7,50,460\n");
        ASSERT_TRUE(edge.ok) << edge.message;
        EXPECT_EQ(edge.table.emissivity, e);
    }

    // Without the settings: emissivity 0.8, no solidus; one point is enough.
    const auto one = Parse(kHeader + "20,1.5e-7,50,460");
    ASSERT_TRUE(one.ok) << one.message;
    EXPECT_EQ(one.table.emissivity, 0.8);
    EXPECT_FALSE(one.table.solidus.has_value());
}

TEST(PropertyTable, PiecewiseLinearAndConstantBeyondTheEnds)
{
    const auto steel = BuiltInPropertyTable("steel");
    ASSERT_TRUE(steel.has_value());
    const struct {
        double T, rhoE, lambda, c;
    } rows[] = {
        {-50, 1.42E-07, 59.5, 450},        // below the first point
        {20, 1.42E-07, 59.5, 450},
        {725, 9.49E-07, 31.95, 1260},      // halfway between 700 and 750
        {750, 9.93E-07, 30.8, 1580},       // on the peak of c
        {775, 1.037E-06, 29.65, 1290},     // halfway down again
        {1200, 1.215E-06, 29.7, 660},
        {1500, 1.215E-06, 29.7, 660},      // beyond the last point
    };
    for (const auto &row : rows) {
        const Properties p = PropertiesAt(*steel, row.T);
        EXPECT_NEAR(p.resistivity, row.rhoE, 1E-15) << row.T;
        EXPECT_NEAR(p.conductivity, row.lambda, 1E-12) << row.T;
        EXPECT_NEAR(p.specificHeat, row.c, 1E-9) << row.T;
    }
}

TEST(PropertyTable, BuiltInTablesAreTheTypicalHandbookValues)
{
    EXPECT_EQ(BuiltInPropertyTableNames(), (std::vector<std::string>{"Cu", "steel", "aluminium"}));
    const struct {
        const char *name;
        std::size_t points;
        double emissivity, solidus;
        PropertyPoint first, last;
    } rows[] = {
        {"steel", 13, 0.8, 1450, {20, 1.42E-07, 59.5, 450}, {1200, 1.215E-06, 29.7, 660}},
        {"Cu", 6, 0.6, 1085, {20, 1.68E-08, 401, 385}, {1000, 9.16E-08, 331, 480}},
        {"aluminium", 4, 0.1, 660, {20, 2.65E-08, 237, 900}, {600, 1.0E-07, 213, 1150}},
    };
    for (const auto &row : rows) {
        const auto t = BuiltInPropertyTable(row.name);
        ASSERT_TRUE(t.has_value()) << row.name;
        EXPECT_EQ(t->source, PropertySource::BuiltIn);
        EXPECT_EQ(t->name, row.name);
        EXPECT_NE(t->note.find("Typical handbook values"), std::string::npos) << row.name;
        EXPECT_EQ(t->points.size(), row.points) << row.name;
        EXPECT_EQ(t->emissivity, row.emissivity) << row.name;
        EXPECT_EQ(t->solidus.value_or(0), row.solidus) << row.name;
        for (const auto &[got, want] : {std::pair{t->points.front(), row.first}, std::pair{t->points.back(), row.last}}) {
            EXPECT_EQ(got.temperature, want.temperature) << row.name;
            EXPECT_DOUBLE_EQ(got.resistivity, want.resistivity) << row.name;
            EXPECT_EQ(got.conductivity, want.conductivity) << row.name;
            EXPECT_EQ(got.specificHeat, want.specificHeat) << row.name;
        }
    }
    // The names are matched exactly, as the presets spell them.
    for (const char *other : {"Steel", "steel ", "copper", ""})
        EXPECT_FALSE(BuiltInPropertyTable(other).has_value()) << other;
    const auto constant = DefaultPropertyTable("Steel", 1.5E-7, 40, 500);
    EXPECT_EQ(constant.source, PropertySource::Constant);
    EXPECT_EQ(constant.name, "constant");
    EXPECT_EQ(constant.emissivity, 0.8);
    EXPECT_EQ(PropertiesAt(constant, 900).conductivity, 40);
    EXPECT_EQ(DefaultPropertyTable("steel", 1.5E-7, 40, 500).source, PropertySource::BuiltIn);
}
