// resheat-calc --refined, run as a program.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>

#include "core/NumberText.h"
#include "core/Refined.h"
#include "files/DataFiles.h"
#include "files/PropertyTableFile.h"
#include "support/RecordingHost.h"

using namespace resheat;
using resheat::testing::WorkedBar;
using resheat::testing::WorkedRod;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string &s)
{
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string line; std::getline(in, line);)
        v.push_back(line);
    return v;
}

// The number after "key": in a JSON text.
double JsonNumber(const std::string &json, const std::string &key)
{
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\": ([-0-9.e+]+)")))
        return std::nan("");
    return std::strtod(m[1].str().c_str(), nullptr);
}

class RefinedCli : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("resheat-refined-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string &name) const { return (dir / name).string(); }

    Outcome Run(const std::string &args) const
    {
        const std::string cmd = std::string(RESHEAT_CALC_PATH) + " " + args + " >" + path("out") + " 2>" +
                                path("err") + " </dev/null";
        Outcome o;
        const int raw = std::system(cmd.c_str());
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.out = Slurp(path("out"));
        o.err = Slurp(path("err"));
        return o;
    }
};

// The worked cases as the repository ships them.
std::string Example(const std::string &name) { return RESHEAT_SOURCE_DIR "/examples/" + name; }

} // namespace

TEST_F(RefinedCli, JsonOfTheWorkedRodCarriesTheSolversNumbers)
{
    const auto o = Run("--refined --json " + Example("steel-rod.drz"));
    ASSERT_EQ(o.status, 0) << o.err;
    const auto r = RefinedCalculationRZ(WorkedRod(), *BuiltInPropertyTable("steel"));
    for (const char *fragment : {"{\"geometry\": \"rz\", \"model\": \"temperature-dependent\", \"material\": \"steel\", "
                                 "\"properties\": \"steel\", \"emissivity\": 0.8, \"data\": [1, 0.05, 7800,",
                                 "\"surface_C\": ", "{\"caption\": \"Warning\", \"text\": \"The finish temperature (1500 oC) is at"})
        EXPECT_NE(o.out.find(fragment), std::string::npos) << fragment;
    EXPECT_EQ(o.out.find("\"Tw_C\""), std::string::npos);
    EXPECT_EQ(JsonNumber(o.out, "heating_time_s"), r.heatingTime);
    EXPECT_EQ(JsonNumber(o.out, "dT_K"), r.differenceK);
    EXPECT_EQ(JsonNumber(o.out, "stored_J"), r.stored);
    EXPECT_EQ(JsonNumber(o.out, "contacts"), r.contacts);
    // The estimate after the history, read back to the same doubles.
    const auto estimate = o.out.find("], \"error_estimate\": {\"heating_time_s\": ");
    ASSERT_NE(estimate, std::string::npos);
    EXPECT_EQ(JsonNumber(o.out.substr(estimate), "heating_time_s"), r.errorEstimate.heatingTime);
    EXPECT_EQ(JsonNumber(o.out.substr(estimate), "temperature_K"), r.errorEstimate.temperature);
    EXPECT_GT(r.errorEstimate.temperature, 0);
    EXPECT_NE(o.out.find("}, \"status\": 0, \"messages\": [{", estimate), std::string::npos);
    // 50 rows of time, To, Tr, I, P.
    const std::regex row("\\[([-0-9.e+]+), [-0-9.e+]+, [-0-9.e+]+, ([-0-9.e+]+), [-0-9.e+]+\\]");
    int n = 0;
    for (auto it = std::sregex_iterator(o.out.begin(), o.out.end(), row); it != std::sregex_iterator(); ++it, ++n) {
        EXPECT_EQ(std::strtod((*it)[1].str().c_str(), nullptr), r.history[n].temperatures[0]);
        EXPECT_EQ(std::strtod((*it)[2].str().c_str(), nullptr), r.history[n].current);
    }
    EXPECT_EQ(n, 50);
    EXPECT_EQ(Lines(o.err).size(), r.warnings.size());
    EXPECT_EQ(o.err.rfind("Warning: ", 0), 0u);
}

TEST_F(RefinedCli, TextAndHistoryCsvOfTheWorkedBar)
{
    const auto o = Run("--refined --history " + path("h.csv") + " " + Example("steel-bar.dxy"));
    ASSERT_EQ(o.status, 0) << o.err;
    const auto r = RefinedCalculationXY(WorkedBar(), *BuiltInPropertyTable("steel"));
    const auto lines = Lines(o.out);
    ASSERT_EQ(lines.size(), 22u + 1 + 1 + 50);
    EXPECT_EQ(lines[0], "Temperature-dependent calculation, xy geometry");
    EXPECT_EQ(lines[2], "Properties                    steel (built-in table, typical values)");
    EXPECT_EQ(lines[4], "Heating time             [s]  " + [&] {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.6g", r.heatingTime);
        return std::string(buf);
    }());
    EXPECT_EQ(lines[10].substr(0, 30), "Centre - corner          [K]  ");
    EXPECT_NEAR(std::strtod(lines[10].c_str() + 30, nullptr), r.differenceK, 1E-5 * r.differenceK);
    EXPECT_EQ(lines[19].substr(0, 30), "Number of contacts       [-]  ");
    // 146 256 A at 1000 A a contact, rounded up.
    EXPECT_NE(lines[19].find("(constant properties: 147)"), std::string::npos) << lines[19];
    // The estimates rounded up to two digits: 0.0123 is shown as 0.013.
    EXPECT_EQ(lines[20], "Heating time accuracy    [s]  about +-" +
                             GeneralText(RoundedEstimate(r.errorEstimate.heatingTime), 2));
    EXPECT_EQ(lines[21], "Temperature accuracy     [K]  about +-" +
                             GeneralText(RoundedEstimate(r.errorEstimate.temperature), 2));
    EXPECT_GE(std::strtod(lines[21].c_str() + 38, nullptr), r.errorEstimate.temperature);
    EXPECT_EQ(lines[23], "time [s]  To [oC]  Tw [oC]  Th [oC]       I [A]         P [W]");
    EXPECT_EQ(lines[73].substr(8, 9), "   1500.0");

    const auto csv = Lines(Slurp(path("h.csv")));
    ASSERT_EQ(csv.size(), 51u);
    EXPECT_EQ(csv[0], "time_s,To_C,Tw_C,Th_C,I_A,P_W");
    EXPECT_EQ(std::strtod(csv[50].c_str(), nullptr), r.heatingTime);
    EXPECT_EQ(std::count(csv[1].begin(), csv[1].end(), ','), 5);
}

TEST_F(RefinedCli, UserTableAndEmissivity)
{
    SaveDataRZ(path("rod.drz"), WorkedRod());
    std::ofstream(path("my.csv")) << "# emissivity=0.3\n"
                                  << kPropertyTableHeader << "\n"
                                  << "20,1.5E-07,50,480\n1000,1.1E-06,30,650\n";
    const auto o = Run("--refined --json --materials " + path("my.csv") + " --emissivity 0.5 " + path("rod.drz"));
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("\"properties\": \"" + path("my.csv") + "\", \"emissivity\": 0.5,"), std::string::npos);
    RefinedOptions options;
    options.emissivity = 0.5;
    const auto r = RefinedCalculationRZ(WorkedRod(), LoadPropertyTable(path("my.csv")).table, options);
    EXPECT_EQ(JsonNumber(o.out, "heating_time_s"), r.heatingTime);

    const auto csv = Run("--refined --history " + path("h.csv") + " --materials " + path("my.csv") + " " + path("rod.drz"));
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(Lines(Slurp(path("h.csv")))[0], "time_s,To_C,Tr_C,I_A,P_W");
    EXPECT_NE(csv.out.find("Properties                    " + path("my.csv") + " (user table)"), std::string::npos);
}

TEST_F(RefinedCli, ExitStatusesAndMessages)
{
    SaveDataRZ(path("rod.drz"), WorkedRod());
    DataRZ hot = WorkedRod();
    hot.supplyVoltage = 100;
    SaveDataRZ(path("hot.drz"), hot);
    DataXY cold = WorkedBar();
    cold.finishTemp = cold.startTemp;
    SaveDataXY(path("cold.dxy"), cold);
    DataRZ weak = WorkedRod();
    weak.supplyVoltage = 3;
    SaveDataRZ(path("weak.drz"), weak);
    std::ofstream(path("bad.csv")) << kPropertyTableHeader << "\n20,1.5E-07,50,480\n10,1.6E-07,50,480\n";

    const struct {
        std::string args;
        int status;
        std::string err; // the whole of stderr, or its start when it ends in "..."
    } rows[] = {
        {"--json " + path("hot.drz"), 1,
         "Calculation Error: Power density greatest then 1E10 ?!!!\nCalculation Error: Change input data\n"},
        {path("cold.dxy"), 5, "Calculation Error: Finish temperature must be above the start temperature.\n"},
        {"--history " + path("weak.csv") + " " + path("weak.drz"), 5, "Warning: ..."},
        {"--materials " + path("bad.csv") + " " + path("rod.drz"), 2,
         "Execution Error: " + path("bad.csv") + ": Line 3: T_C must be higher than on line 2 (20)\n"},
        {"--materials " + path("none.csv") + " " + path("rod.drz"), 2,
         "Execution Error: " + path("none.csv") + ": File not found\n"},
        {path("none.dxy"), 2, "Execution Error: " + path("none.dxy") + ": File not found\n"},
        {"--emissivity 1.5 " + path("rod.drz"), 64, "resheat-calc: --emissivity needs a number from 0 to 1\n..."},
        {"--emissivity " + path("rod.drz"), 64, "resheat-calc: --emissivity needs a number from 0 to 1\n..."},
        {"--time 5 " + path("rod.drz"), 64, "resheat-calc: --time cannot be used with --refined\n..."},
        {"--materials", 64, "resheat-calc: --materials needs a file name\n..."},
        {path("rod.txt"), 64, "resheat-calc: cannot tell the geometry of ..."},
        {"", 64, "resheat-calc: no case file given\nusage: resheat-calc --refined ..."},
    };
    for (const auto &row : rows) {
        const auto o = Run("--refined " + row.args);
        EXPECT_EQ(o.status, row.status) << row.args << "\n" << o.err;
        if (row.err.size() > 3 && row.err.substr(row.err.size() - 3) == "...") {
            EXPECT_EQ(o.err.substr(0, row.err.size() - 3), row.err.substr(0, row.err.size() - 3)) << row.args;
        } else {
            EXPECT_EQ(o.err, row.err) << row.args;
        }
    }
    // Not reached: the reason is said, nothing is written, JSON has no results.
    const auto weakRun = Run("--refined --json --history " + path("weak.csv") + " " + path("weak.drz"));
    EXPECT_NE(weakRun.err.find("Calculation Error: The centre cannot reach the finish temperature"), std::string::npos);
    EXPECT_NE(weakRun.out.find("\"results\": null, \"history\": [], \"error_estimate\": null, "), std::string::npos);
    EXPECT_FALSE(fs::exists(path("weak.csv")));
    // The plain calculation's usage names the option.
    EXPECT_NE(Run("--help").out.find("--refined"), std::string::npos);
}

TEST_F(RefinedCli, EveryJsonValueIsTheSolversNumber)
{
    // Every member of "results" with the solver's own value, for both
    // geometries; the keys are exactly these.
    using Field = std::pair<const char *, double RefinedResult::*>;
    const std::vector<Field> common{
        {"heating_time_s", &RefinedResult::heatingTime}, {"centre_C", &RefinedResult::centre},
        {"mean_C", &RefinedResult::mean}};
    const std::vector<Field> tail{
        {"dT_K", &RefinedResult::differenceK},          {"current_start_A", &RefinedResult::currentStart},
        {"current_end_A", &RefinedResult::currentEnd},  {"power_start_W", &RefinedResult::powerStart},
        {"power_end_W", &RefinedResult::powerEnd},      {"energy_J", &RefinedResult::energy},
        {"loss_J", &RefinedResult::loss},               {"stored_J", &RefinedResult::stored},
        {"efficiency", &RefinedResult::efficiency},     {"contacts", &RefinedResult::contacts},
        {"contacts_constant", &RefinedResult::contactsConstant}};
    const struct {
        bool bar;
        std::vector<Field> own;
    } rows[] = {
        {false, {{"surface_C", &RefinedResult::surface}}},
        {true, {{"Tw_C", &RefinedResult::tw}, {"Th_C", &RefinedResult::th}, {"corner_C", &RefinedResult::corner}}},
    };
    for (const auto &row : rows) {
        const auto o = Run("--refined --json " + Example(row.bar ? "steel-bar.dxy" : "steel-rod.drz"));
        ASSERT_EQ(o.status, 0) << o.err;
        const auto steel = *BuiltInPropertyTable("steel");
        const RefinedResult r = row.bar ? RefinedCalculationXY(WorkedBar(), steel) : RefinedCalculationRZ(WorkedRod(), steel);
        std::vector<Field> fields = common;
        fields.insert(fields.end(), row.own.begin(), row.own.end());
        fields.insert(fields.end(), tail.begin(), tail.end());

        std::smatch m;
        ASSERT_TRUE(std::regex_search(o.out, m, std::regex("\"results\": \\{([^}]*)\\}")));
        const std::string results = m[1];
        std::vector<std::string> keys;
        const std::regex key("\"([A-Za-z_]+)\": ");
        for (auto it = std::sregex_iterator(results.begin(), results.end(), key);
             it != std::sregex_iterator(); ++it)
            keys.push_back((*it)[1]);
        std::vector<std::string> expectedKeys;
        for (const auto &[key, member] : fields) {
            expectedKeys.push_back(key);
            EXPECT_EQ(JsonNumber(results, key), r.*member) << key;
        }
        EXPECT_EQ(keys, expectedKeys);
        EXPECT_NE(r.differenceK, 0);

        // The history: every row, every column (time, temperatures, I, P).
        const std::regex number("[-0-9.e+]+");
        const std::regex rowPattern("\\[([^\\[\\]]*)\\]");
        ASSERT_TRUE(std::regex_search(o.out, m, std::regex("\"history\": \\[(.*)\\], \"error_estimate\"")));
        const std::string history = m[1];
        int n = 0;
        for (auto it = std::sregex_iterator(history.begin(), history.end(), rowPattern);
             it != std::sregex_iterator(); ++it, ++n) {
            const std::string text = (*it)[1];
            std::vector<double> values;
            for (auto v = std::sregex_iterator(text.begin(), text.end(), number); v != std::sregex_iterator(); ++v)
                values.push_back(std::strtod(v->str().c_str(), nullptr));
            const RefinedRow &h = r.history.at(n);
            std::vector<double> expected{h.temperatures[0], h.temperatures[1], h.temperatures[2]};
            if (row.bar)
                expected.push_back(h.temperatures[3]);
            expected.insert(expected.end(), {h.current, h.power});
            EXPECT_EQ(values, expected) << "row " << n;
        }
        EXPECT_EQ(n, 50);
    }
}

TEST_F(RefinedCli, TheEndsOfTheEmissivityRangeAreAccepted)
{
    // --emissivity 0: no radiation; a table's "# emissivity=1": a black body.
    std::ofstream(path("black.csv")) << "# emissivity=1\n" << kPropertyTableHeader << "\n20,1.5E-07,50,480\n1000,1.1E-06,30,650\n";
    const auto table = LoadPropertyTable(path("black.csv"));
    ASSERT_TRUE(table.ok) << table.message;
    const struct {
        std::string args;
        double emissivity;
        PropertyTable table;
    } rows[] = {
        {"--emissivity 0", 0, *BuiltInPropertyTable("steel")},
        {"--materials " + path("black.csv"), 1, table.table},
    };
    for (const auto &row : rows) {
        const auto o = Run("--refined --json " + row.args + " " + Example("steel-rod.drz"));
        ASSERT_EQ(o.status, 0) << row.args << o.err;
        EXPECT_EQ(JsonNumber(o.out, "emissivity"), row.emissivity) << row.args;
        RefinedOptions options;
        options.emissivity = row.emissivity;
        const auto r = RefinedCalculationRZ(WorkedRod(), row.table, options);
        EXPECT_EQ(JsonNumber(o.out, "heating_time_s"), r.heatingTime) << row.args;
    }
    // Radiation takes heat away: the black body heats longest.
    EXPECT_GT(JsonNumber(Run("--refined --json --materials " + path("black.csv") + " " + Example("steel-rod.drz")).out,
                         "heating_time_s"),
              JsonNumber(Run("--refined --json --emissivity 0 --materials " + path("black.csv") + " " +
                             Example("steel-rod.drz")).out,
                         "heating_time_s"));
}

// Tables and fields that once ran for minutes: each ends at once and says
// how (their speed is measured in bench/bench_refined).
TEST_F(RefinedCli, HostileTablesAndWeakFieldsEndWithTheirReason)
{
    std::string steel = Slurp(RESHEAT_SOURCE_DIR "/data/materials/steel.csv");
    const std::string row = "200,2.63E-07,53.2,520";
    ASSERT_NE(steel.find(row), std::string::npos);
    std::ofstream(path("typo.csv")) << steel.replace(steel.find(row), row.size(), "200,2.63E06,29.7,660");
    std::ofstream(path("swing.csv")) << kPropertyTableHeader << "\n"
                                     << "20,1.42E-07,1E-6,450\n500,5.84E-07,1E9,680\n1000,1.163E-06,1E-6,650\n";
    SaveDataRZ(path("rod.drz"), WorkedRod());
    SaveDataXY(path("bar.dxy"), WorkedBar());
    // Properties that flip every kelvin: steps too short to end in the bound of work.
    std::ofstream zigzag(path("zigzag.csv"));
    zigzag << kPropertyTableHeader << "\n";
    for (int i = 0; i < 600; ++i)
        zigzag << 20 + i << (i % 2 ? ",1.5E-06,0.5,4500\n" : ",1.5E-07,50,450\n");
    zigzag.close();
    for (const double volts : {1E-8, 3E-8, 1E-12}) {
        DataRZ weak = WorkedRod();
        weak.supplyVoltage = volts;
        SaveDataRZ(path(GeneralText(volts) + ".drz"), weak);
    }
    const std::string balance = "Calculation Error: The centre cannot reach the finish temperature: the surface "
                                "losses balance the heating at a centre temperature of ";
    const struct {
        std::string args;
        int status;
        std::string message; // the last line of stderr, or its start when it ends in "..."
    } rows[] = {
        // Above 100 oC the resistivity leaps to ohms: nothing heats beyond it.
        {"--materials " + path("typo.csv") + " " + path("rod.drz"), 5, balance + "100 oC."},
        {"--materials " + path("typo.csv") + " " + path("bar.dxy"), 5, balance + "100 oC."},
        // Conduction a trillion times apart from one row to the next: the
        // section heats as one body (the core test checks the time).
        {"--materials " + path("swing.csv") + " " + path("rod.drz"), 0,
         "Warning: The finish temperature (1500 oC) lies beyond the table's last point (1000 oC); above it the "
         "last values are used."},
        {"--materials " + path("swing.csv") + " " + path("bar.dxy"), 0,
         "Warning: The finish temperature (1500 oC) lies beyond the table's last point (1000 oC); above it the "
         "last values are used."},
        {"--materials " + path("zigzag.csv") + " " + path("bar.dxy"), 5,
         "Calculation Error: the calculation did not converge: it needs too many time steps (at ..."},
        // A field so weak that the centre stays at the start temperature.
        {path("1e-08.drz"), 5, balance + "20 oC."},
        {path("3e-08.drz"), 5, balance + "20 oC."},
        {path("1e-12.drz"), 5, balance + "20 oC."},
    };
    for (const auto &r : rows) {
        const auto o = Run("--refined " + r.args);
        EXPECT_EQ(o.status, r.status) << r.args << "\n" << o.err;
        const auto lines = Lines(o.err);
        ASSERT_FALSE(lines.empty()) << r.args;
        if (r.message.ends_with("..."))
            EXPECT_EQ(lines.back().substr(0, r.message.size() - 3), r.message.substr(0, r.message.size() - 3));
        else
            EXPECT_EQ(lines.back(), r.message) << r.args;
        // Only the warnings of the table come before it.
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            EXPECT_EQ(lines[i].rfind("Warning: ", 0), 0u) << lines[i];
    }
    // Not converged: no results, no estimate, the reason in the messages.
    const auto json = Run("--refined --json --materials " + path("zigzag.csv") + " " + path("bar.dxy"));
    EXPECT_EQ(json.status, 5);
    EXPECT_NE(json.out.find("\"results\": null, \"history\": [], \"error_estimate\": null, \"status\": 5, \"messages\": ["),
              std::string::npos);
    EXPECT_NE(json.out.find("{\"caption\": \"Calculation Error\", \"text\": \"the calculation did not converge: "),
              std::string::npos);
}

// ---------------------------------------------------------------------------
// Alternating current

TEST_F(RefinedCli, ZeroHertzPrintsAndWritesExactlyWhatDirectCurrentDoes)
{
    for (const std::string example : {"steel-rod.drz", "steel-bar.dxy"}) {
        const auto plain = Run("--refined --json --history " + path("dc.csv") + " " + Example(example));
        const auto zero =
            Run("--refined --frequency 0 --json --history " + path("zero.csv") + " " + Example(example));
        ASSERT_EQ(plain.status, 0) << plain.err;
        EXPECT_EQ(zero.status, 0) << zero.err;
        EXPECT_EQ(zero.out, plain.out) << example;
        EXPECT_EQ(zero.err, plain.err) << example;
        EXPECT_EQ(Slurp(path("zero.csv")), Slurp(path("dc.csv"))) << example;
        EXPECT_EQ(plain.out.find("frequency_Hz"), std::string::npos);
        EXPECT_EQ(Run("--refined --frequency 0 " + Example(example)).out, Run("--refined " + Example(example)).out);
    }
}

TEST_F(RefinedCli, FiftyHertzCarriesTheSupplyInJsonTextAndHistory)
{
    const auto o = Run("--refined --frequency 50 --loop-reactance 1e-4 --json --history " + path("h.csv") + " " +
                       Example("steel-rod.drz"));
    ASSERT_EQ(o.status, 0) << o.err;
    RefinedOptions options;
    options.frequency = 50;
    options.loopReactance = 1E-4;
    options.magnetic = BuiltInMagneticTable("steel");
    const auto r = RefinedCalculationRZ(WorkedRod(), *BuiltInPropertyTable("steel"), options);
    EXPECT_NE(o.out.find("\"emissivity\": 0.8, \"frequency_Hz\": 50, \"loop_reactance_ohm\": 1e-04, "
                         "\"magnetic\": \"steel\", \"data\": ["),
              std::string::npos)
        << o.out.substr(0, 300);
    const std::pair<const char *, double> keys[] = {
        {"heating_time_s", r.heatingTime},          {"rac_rdc_start", r.ratioStart},
        {"rac_rdc_end", r.ratioEnd},                {"power_factor_start", r.powerFactorStart},
        {"power_factor_end", r.powerFactorEnd},     {"supply_kVA_max", r.apparentPowerMax / 1000},
        {"supply_voltage_max_V", r.supplyVoltageMax}, {"surface_lead_max_K", r.surfaceLeadMax},
    };
    for (const auto &[key, v] : keys)
        EXPECT_EQ(JsonNumber(o.out, key), v) << key;
    // 50 rows of time, To, Tr, I, P, Rac/Rdc.
    const std::regex row("\\[[-0-9.e+]+, [-0-9.e+]+, [-0-9.e+]+, [-0-9.e+]+, [-0-9.e+]+, ([-0-9.e+]+)\\]");
    int n = 0;
    for (auto it = std::sregex_iterator(o.out.begin(), o.out.end(), row); it != std::sregex_iterator(); ++it, ++n)
        EXPECT_EQ(std::strtod((*it)[1].str().c_str(), nullptr), r.history[n].resistanceRatio) << n;
    EXPECT_EQ(n, 50);
    const auto csv = Lines(Slurp(path("h.csv")));
    ASSERT_EQ(csv.size(), 51u);
    EXPECT_EQ(csv[0], "time_s,To_C,Tr_C,I_A,P_W,Rac_Rdc");
    EXPECT_EQ(std::strtod(csv[1].substr(csv[1].rfind(',') + 1).c_str(), nullptr), r.history[0].resistanceRatio);

    const auto text = Run("--refined --frequency 50 " + Example("steel-bar.dxy"));
    ASSERT_EQ(text.status, 0) << text.err;
    for (const char *line : {"Frequency               [Hz]  50\n", "Loop reactance         [ohm]  0\n",
                             "Magnetisation curve           steel (built-in, typical values)\n",
                             "Rac/Rdc at start         [-]  1.", "Power factor at end      [-]  0.9",
                             "Largest supply voltage   [V]  9\n", "P [W]  Rac/Rdc\n"})
        EXPECT_NE(text.out.find(line), std::string::npos) << line;
}

TEST_F(RefinedCli, SupplyOptionsAreRefusedWithTheirReason)
{
    SaveDataRZ(path("rod.drz"), WorkedRod());
    std::ofstream(path("bh.csv")) << "# curie_C=768\nH_A_m,B_T\n400,0.8\n300,1.2\n";
    const struct {
        std::string args;
        int status;
        std::string err;
    } rows[] = {
        {"--refined --frequency -50 ", 64, "resheat-calc: --frequency needs a number of hertz from 0 to 1000000\n"},
        {"--refined --frequency nan ", 64, "resheat-calc: --frequency needs a number of hertz from 0 to 1000000\n"},
        {"--refined --frequency inf ", 64, "resheat-calc: --frequency needs a number of hertz from 0 to 1000000\n"},
        {"--refined --frequency ", 64, "resheat-calc: --frequency needs a number of hertz from 0 to 1000000\n"},
        {"--frequency 50 ", 64, "resheat-calc: --frequency needs --refined\n"},
        {"--refined --loop-reactance 1 ", 64, "resheat-calc: --loop-reactance needs --frequency\n"},
        {"--refined --frequency 50 --loop-reactance -1 ", 64,
         "resheat-calc: --loop-reactance needs a number of ohms, 0 or more\n"},
        {"--refined --bh " + path("bh.csv") + " ", 64, "resheat-calc: --bh needs --frequency\n"},
        {"--refined --frequency 50 --bh " + path("bh.csv") + " ", 2,
         "Execution Error: " + path("bh.csv") + ": Line 4: H_A_m must be higher than on line 3 (400)\n"},
        {"--refined --frequency 50 --bh " + path("none.csv") + " ", 2,
         "Execution Error: " + path("none.csv") + ": File not found\n"},
    };
    for (const auto &row : rows) {
        const auto o = Run(row.args + path("rod.drz"));
        EXPECT_EQ(o.status, row.status) << row.args;
        EXPECT_EQ(o.err.substr(0, row.err.size()), row.err) << row.args;
        EXPECT_TRUE(o.out.empty()) << row.args;
    }
}
