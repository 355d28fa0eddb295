#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>

#include "core/Heating.h"
#include "files/DataFiles.h"
#include "files/FixedNumber.h"
#include "support/RecordingHost.h"

using namespace resheat;
using resheat::testing::RecordingHost;
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

class CliTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("resheat-cli-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string &name) const { return (dir / name).string(); }

    // Runs the calculator (for at most `seconds`) with standard output to
    // `stdoutTo`, or to a file whose contents come back, in the folder `cwd`
    // (the test's own when empty).
    Outcome Run(const std::string &args, const std::string &stdoutTo = "", int seconds = 60,
                const std::string &stdinFrom = "/dev/null", const std::string &cwd = "") const
    {
        const std::string cmd = (cwd.empty() ? "" : "cd '" + cwd + "' && ") + "timeout " + std::to_string(seconds) +
                                " " + std::string(RESHEAT_CALC_PATH) + " " + args + " >" +
                                (stdoutTo.empty() ? path("out") : stdoutTo) + " 2>" + path("err") + " <" + stdinFrom;
        Outcome o;
        const int raw = std::system(cmd.c_str());
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.out = Slurp(path("out"));
        o.err = Slurp(path("err"));
        return o;
    }
};

std::vector<std::string> Lines(const std::string &s)
{
    std::vector<std::string> v;
    std::istringstream in(s);
    std::string line;
    while (std::getline(in, line))
        v.push_back(line);
    return v;
}

std::vector<double> JsonArray(const std::string &json, const std::string &key)
{
    const std::regex re("\"" + key + "\": \\[([^\\]]*)\\]");
    std::smatch m;
    std::vector<double> v;
    if (!std::regex_search(json, m, re))
        return v;
    std::istringstream in(m[1].str());
    std::string item;
    while (std::getline(in, item, ','))
        v.push_back(std::strtod(item.c_str(), nullptr));
    return v;
}

} // namespace

TEST_F(CliTest, TextOutputOfTheWorkedBarInBothFormulas)
{
    SaveDataXY(path("bar.dxy"), WorkedBar());
    // Series: 146 256 A at 1000 A a contact needs 147; the centre reaches
    // 1500 oC at 10.56009048899 s (an independent evaluation), before the
    // lumped 15.829 s, which stays the end of the history, where the centre
    // is at 2236.929 and the faces at 2232.869 oC.  Classic: the worked
    // figures of earlier versions.
    const struct {
        std::string args, contacts, last;
        double heatingTime, tolerance;
    } rows[] = {
        {"", " 1.47000000000000E+0002", "  15.829   2236.9   2232.9   2232.9", 10.56009048899, 1e-10},
        {"--classic ", " 1.46000000000000E+0002", "  15.829   2220.6   2172.2   2172.2", 10.764, 5e-4},
    };
    for (const auto &row : rows) {
        const auto o = Run(row.args + path("bar.dxy"));
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.err, "");
        const auto lines = Lines(o.out);
        ASSERT_EQ(lines.size(), 32u + 1 + 1 + 50);
        EXPECT_EQ(lines[0], "Data for xy geometry");
        ASSERT_EQ(lines[26].substr(0, 31), "Heating time           [s]     ");
        EXPECT_NEAR(std::strtod(lines[26].c_str() + 31, nullptr), row.heatingTime, row.tolerance) << row.args;
        EXPECT_EQ(lines[27], "Number of contact      [-]     " + row.contacts);
        EXPECT_EQ(lines[32], "");
        EXPECT_EQ(lines[33], "time [s]  To [oC]  Tw [oC]  Th [oC]");
        EXPECT_EQ(lines[34], "   0.317     64.4     64.4     64.4");
        EXPECT_EQ(lines[83], row.last);
        EXPECT_EQ(o.out.find('\r'), std::string::npos);
    }
}

TEST_F(CliTest, JsonReadsBackToTheSameDoubles)
{
    SaveDataRZ(path("rod.DRZ"), WorkedRod()); // extension in any letter case
    const auto o = Run("--json " + path("rod.DRZ"));
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("{\"geometry\": \"rz\", \"formulas\": \"series\","), std::string::npos);
    EXPECT_NE(o.out.find("\"material\": \"steel\""), std::string::npos);
    EXPECT_NE(o.out.find("\"messages\": []"), std::string::npos);

    ResultsRZ r;
    History h{};
    RecordingHost host;
    CalculationRZ(WorkedRod(), false, r, 0, h, host);
    const auto results = JsonArray(o.out, "results");
    ASSERT_EQ(results.size(), 10u);
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i], r.*kResultsRZNumbers[i]) << i;
    EXPECT_EQ(JsonArray(o.out, "data").size(), 12u);
    const std::regex row("\\[([-0-9.e+]+), ([-0-9.e+]+), ([-0-9.e+]+), 0\\]");
    const auto begin = std::sregex_iterator(o.out.begin(), o.out.end(), row);
    int n = 0;
    for (auto it = begin; it != std::sregex_iterator(); ++it, ++n) {
        EXPECT_EQ(std::strtod((*it)[1].str().c_str(), nullptr), h[n][0]);
        EXPECT_EQ(std::strtod((*it)[2].str().c_str(), nullptr), h[n][1]);
        EXPECT_EQ(std::strtod((*it)[3].str().c_str(), nullptr), h[n][2]);
    }
    EXPECT_EQ(n, 50);

    const auto classic = Run("--classic --json " + path("rod.DRZ"));
    ASSERT_EQ(classic.status, 0) << classic.err;
    EXPECT_NE(classic.out.find("{\"geometry\": \"rz\", \"formulas\": \"classic\","), std::string::npos);
    CalculationRZ(WorkedRod(), false, r, 0, h, host, Formulas::Classic);
    EXPECT_EQ(JsonArray(classic.out, "results")[9], r.diffSurface);
}

TEST_F(CliTest, FixedTimeResultsFileAndHistoryCsv)
{
    SaveDataXY(path("bar.dat"), WorkedBar());
    for (const Formulas formulas : {Formulas::Series, Formulas::Classic}) {
        const std::string classic = formulas == Formulas::Classic ? "--classic " : "";
        const auto o = Run(classic + "--xy --time 5 --results " + path("r.txt") + " --history " + path("h.csv") +
                           " " + path("bar.dat"));
        ASSERT_EQ(o.status, 0) << o.err;

        DataXY d = WorkedBar();
        ResultsXY r;
        History h{};
        RecordingHost host;
        CalculationXY(d, true, r, 5, h, host, formulas);
        EXPECT_EQ(r.heatingTime, 5);
        SaveTextResultsXY(path("expected.txt"), d, r);
        EXPECT_EQ(Slurp(path("r.txt")), Slurp(path("expected.txt"))) << classic;

        const auto csv = Lines(Slurp(path("h.csv")));
        ASSERT_EQ(csv.size(), 51u);
        EXPECT_EQ(csv[0], "time_s,To_C,Tw_C,Th_C");
        EXPECT_EQ(std::strtod(csv[50].c_str(), nullptr), h[49][0]);
        EXPECT_EQ(std::strtod(csv[50].c_str() + csv[50].find(',') + 1, nullptr), h[49][1]) << classic;
    }
}

// With --classic every output of the worked cases is byte for byte what
// earlier versions wrote (tests/data/classic holds their files), the JSON
// with its "formulas" and "status" members added.
TEST_F(CliTest, ClassicOutputsAreThoseOfEarlierVersions)
{
    const std::string examples = std::string(RESHEAT_SOURCE_DIR) + "/examples/";
    const std::string golden = std::string(RESHEAT_SOURCE_DIR) + "/tests/data/classic/";
    for (const std::string name : {"steel-bar", "steel-rod"}) {
        const std::string caseFile = examples + name + (name == "steel-bar" ? ".dxy" : ".drz");
        for (const std::string time : {"", "-5s"}) {
            SCOPED_TRACE(name + time);
            const auto o = Run("--classic " + std::string(time.empty() ? "" : "--time 5 ") + "--results " +
                               path("r.txt") + " --history " + path("h.csv") + " " + caseFile);
            ASSERT_EQ(o.status, 0) << o.err;
            EXPECT_EQ(o.out, Slurp(golden + name + time + ".out"));
            EXPECT_EQ(Slurp(path("r.txt")), Slurp(golden + name + time + ".txt"));
            EXPECT_EQ(Slurp(path("h.csv")), Slurp(golden + name + time + ".csv"));
        }
        std::string json = Run("--classic --json " + caseFile).out;
        for (const std::string member : {"\"formulas\": \"classic\", ", "\"status\": 0, "}) {
            ASSERT_NE(json.find(member), std::string::npos) << member;
            json.erase(json.find(member), member.size());
        }
        EXPECT_EQ(json, Slurp(golden + name + ".json"));
    }
}

TEST_F(CliTest, ExitStatusesAndMessages)
{
    DataXY hot = WorkedBar();
    hot.supplyVoltage = 100;
    SaveDataXY(path("hot.dxy"), hot);
    const auto rejected = Run(path("hot.dxy"));
    EXPECT_EQ(rejected.status, 1);
    EXPECT_EQ(rejected.err,
              "Calculation Error: Power density greatest then 1E10 ?!!!\nCalculation Error: Change input data\n");
    EXPECT_NE(rejected.out.find("Vol. power density"), std::string::npos); // still printed
    const auto rejectedJson = Run("--json " + path("hot.dxy"));
    EXPECT_NE(rejectedJson.out.find("{\"caption\": \"Calculation Error\", \"text\": \"Change input data\"}"),
              std::string::npos);

    const auto missing = Run(path("none.dxy"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "Execution Error: " + path("none.dxy") + ": File not found\n");
    EXPECT_EQ(missing.out, "");

    // The series refuse what the classic formulas divide by; a current the
    // doubles cannot hold is a fault in both.  A bar at 2 V losing 300 W/(m2K)
    // levels off at 947.258 oC (its steady double series); it is still shown.
    DataXY noContacts = WorkedBar();
    noContacts.maxContactCurrent = 0;
    SaveDataXY(path("nocontacts.dxy"), noContacts);
    DataXY huge = WorkedBar();
    huge.supplyVoltage = 1E308;
    SaveDataXY(path("huge.dxy"), huge);
    DataXY cooled = WorkedBar();
    cooled.supplyVoltage = 2;
    cooled.finishTemp = 1200;
    cooled.alfa = 300;
    SaveDataXY(path("cooled.dxy"), cooled);
    const struct {
        std::string args;
        int status;
        std::string err;
        std::size_t outLines;
    } rows[] = {
        {path("nocontacts.dxy"), 5, "Calculation Error: Max contact current must be positive.\n", 0},
        {"--classic " + path("nocontacts.dxy"), 3, "Error: Floating point division by zero\n", 0},
        {path("huge.dxy"), 3, "Error: Floating point overflow\n", 0},
        {path("cooled.dxy"), 5,
         "Calculation Error: The centre does not reach the finish temperature: it approaches 947.258 oC.\n", 84},
    };
    for (const auto &row : rows) {
        const auto o = Run(row.args);
        EXPECT_EQ(o.status, row.status) << row.args;
        EXPECT_EQ(o.err, row.err) << row.args;
        EXPECT_EQ(Lines(o.out).size(), row.outLines) << row.args;
    }

    for (const std::string &args : std::vector<std::string>{"", path("bar.txt"), "--time abc " + path("x.dxy"),
                                   "--frobnicate " + path("x.dxy"), "--xy --rz a.dxy", "a.dxy b.dxy",
                                   "--results", "--materials t.csv a.dxy", "--emissivity 0.5 a.dxy",
                                   "--refined --classic a.dxy"}) {
        const auto u = Run(args);
        EXPECT_EQ(u.status, 64) << args;
        EXPECT_NE(u.err.find("usage: resheat-calc"), std::string::npos) << args;
    }
}

TEST_F(CliTest, HostileUse)
{
    const std::string bar = std::string(RESHEAT_SOURCE_DIR) + "/examples/steel-bar.dxy";
    struct Row {
        std::string args;
        std::string stdoutTo;
        int status;
        std::string err;
    };
    const Row rows[] = {
        // A device: refused at once, never read (the short time limit keeps
        // a reader without limits from eating memory).
        {"--xy /dev/zero", "", 2, "Execution Error: /dev/zero: not a regular file (a character device)\n"},
        {"--rz /dev/zero", "", 2, "Execution Error: /dev/zero: not a regular file (a character device)\n"},
        {bar, "/dev/full", 74, "Error: standard output: Disk full\n"},
        {"--help", "/dev/full", 74, "Error: standard output: Disk full\n"},
        {"--time 0 " + bar, "", 64, "resheat-calc: --time 0: Heating time must be greater than 0\n"},
        {"--time -5 " + bar, "", 64, "resheat-calc: --time -5: Heating time must be greater than 0\n"},
        {"--time 1e-400 " + bar, "", 64, "resheat-calc: --time 1e-400: Heating time must be greater than 0\n"},
        {"--version", "/dev/full", 74, "Error: standard output: Disk full\n"},
        {"--results " + path("none/r.txt") + " --history " + path("h.csv") + " " + bar, "", 74,
         "Error: " + path("none/r.txt") + ": File not found\n"},
    };
    for (const auto &r : rows) {
        const auto o = Run(r.args, r.stdoutTo, 10);
        EXPECT_EQ(o.status, r.status) << r.args;
        EXPECT_EQ(o.err, r.err) << r.args;
    }
    // The history file is written although the results file was not.
    EXPECT_EQ(Lines(Slurp(path("h.csv"))).size(), 51u);
    // The temperature-dependent calculation checks its output the same way
    // (after the warnings the worked bar earns).
    const auto refined = Run("--refined " + bar, "/dev/full", 10);
    EXPECT_EQ(refined.status, 74);
    EXPECT_TRUE(refined.err.ends_with("\nError: standard output: Disk full\n")) << refined.err;
}

TEST_F(CliTest, LongNumbersNeverMergeHistoryRows)
{
    const auto o = Run("--time 1E120 " + std::string(RESHEAT_SOURCE_DIR) + "/examples/steel-bar.dxy");
    ASSERT_EQ(o.status, 0) << o.err;
    const auto lines = Lines(o.out);
    ASSERT_EQ(lines.size(), 32u + 1 + 1 + 50);
    for (std::size_t i = 34; i < lines.size(); ++i) {
        std::istringstream row(lines[i]);
        std::string time, to, tw, th, extra;
        row >> time >> to >> tw >> th;
        EXPECT_FALSE(th.empty() || (row >> extra)) << lines[i];
        // Row k is at k/50 of the heating time, in full with three decimals.
        EXPECT_TRUE(time.ends_with(".000")) << time;
        EXPECT_NEAR(std::strtod(time.c_str(), nullptr) / (static_cast<double>(i - 33) * 2E118), 1, 1e-12) << i;
    }
}

TEST_F(CliTest, EveryJsonValueAndTheRodsFilesCarryTheCalculatedNumbers)
{
    // Both geometries: every number of "data", "results" and "history".
    for (const bool rz : {false, true}) {
        const auto o = Run("--json " + std::string(RESHEAT_SOURCE_DIR) + (rz ? "/examples/steel-rod.drz" : "/examples/steel-bar.dxy"));
        ASSERT_EQ(o.status, 0) << o.err;
        std::vector<double> data, results;
        std::vector<std::array<double, 4>> rows;
        History h{};
        RecordingHost host;
        if (rz) {
            ResultsRZ r;
            CalculationRZ(WorkedRod(), false, r, 0, h, host);
            for (const auto f : kDataRZNumbers)
                data.push_back(WorkedRod().*f);
            for (const auto f : kResultsRZNumbers)
                results.push_back(r.*f);
        } else {
            ResultsXY r;
            CalculationXY(WorkedBar(), false, r, 0, h, host);
            for (const auto f : kDataXYNumbers)
                data.push_back(WorkedBar().*f);
            for (const auto f : kResultsXYNumbers)
                results.push_back(r.*f);
        }
        EXPECT_EQ(JsonArray(o.out, "data"), data) << rz;
        EXPECT_EQ(JsonArray(o.out, "results"), results) << rz;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(o.out, m, std::regex("\"history\": \\[(.*)\\], \"status\"")));
        const std::string history = m[1];
        const std::regex rowPattern("\\[([^\\[\\]]*)\\]");
        int n = 0;
        for (auto it = std::sregex_iterator(history.begin(), history.end(), rowPattern); it != std::sregex_iterator();
             ++it, ++n) {
            std::istringstream in((*it)[1].str());
            std::vector<double> values;
            for (std::string item; std::getline(in, item, ',');)
                values.push_back(std::strtod(item.c_str(), nullptr));
            EXPECT_EQ(values, std::vector<double>(h[n].begin(), h[n].end())) << rz << ", row " << n;
        }
        EXPECT_EQ(n, 50) << rz;
    }

    // The rod's history file and results file.
    const std::string rod = std::string(RESHEAT_SOURCE_DIR) + "/examples/steel-rod.drz";
    const auto o = Run("--history " + path("h.csv") + " --results " + path("r.txt") + " " + rod);
    ASSERT_EQ(o.status, 0) << o.err;
    ResultsRZ r;
    History h{};
    RecordingHost host;
    CalculationRZ(WorkedRod(), false, r, 0, h, host);
    const auto csv = Lines(Slurp(path("h.csv")));
    ASSERT_EQ(csv.size(), 51u);
    EXPECT_EQ(csv[0], "time_s,To_C,Tr_C");
    for (int i = 0; i < 50; ++i) {
        std::istringstream in(csv[i + 1]);
        std::vector<double> values;
        for (std::string item; std::getline(in, item, ',');)
            values.push_back(std::strtod(item.c_str(), nullptr));
        EXPECT_EQ(values, (std::vector<double>{h[i][0], h[i][1], h[i][2]})) << "row " << i;
    }
    const auto text = Lines(Slurp(path("r.txt")));
    ASSERT_EQ(text.size(), 30u);
    EXPECT_NE(r.diffSurface, 0);
    EXPECT_EQ(text[28], "Temp. difference: centre - surface   [K]     " + FormatFixed23(r.diffSurface) + "\r");
    EXPECT_EQ(text[29], " \r");
}
