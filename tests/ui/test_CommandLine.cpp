// The desktop program's command line, decided before Qt starts.
#include <gtest/gtest.h>

#include "ui/CommandLine.h"

using namespace resheat::ui;
using Action = CommandLine::Action;

namespace {

struct Row {
    std::vector<std::string> args;
    Action action;
    std::string caseFile;
    CaseGeometry geometry;
    std::string platform;
    std::string problem; // UsageError only
    std::string caseProblem = {};
};

class CommandLineRows : public ::testing::TestWithParam<Row> {};

TEST_P(CommandLineRows, Parse)
{
    const Row &row = GetParam();
    const CommandLine line = ParseCommandLine(row.args);
    EXPECT_EQ(line.action, row.action);
    EXPECT_EQ(line.problem, row.problem);
    if (row.action == Action::Start) {
        EXPECT_EQ(line.caseFile, row.caseFile);
        if (!row.caseFile.empty()) {
            EXPECT_EQ(line.geometry, row.geometry);
        }
        EXPECT_EQ(line.platform, row.platform);
        EXPECT_EQ(line.caseProblem, row.caseProblem);
    }
}

constexpr auto XY = CaseGeometry::XY;
constexpr auto RZ = CaseGeometry::RZ;
constexpr auto Unknown = CaseGeometry::Unknown;

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineRows,
    ::testing::Values(
        Row{{}, Action::Start, "", XY, "", ""},
        // The geometry follows the extension, in any letter case.
        Row{{"bar.dxy"}, Action::Start, "bar.dxy", XY, "", ""},
        Row{{"/data/My Rod.DRZ"}, Action::Start, "/data/My Rod.DRZ", RZ, "", ""},
        // Any other file starts the program, which says why it reads nothing
        // (a file manager shows no terminal).
        Row{{"case.txt"}, Action::Start, "case.txt", Unknown, "", "",
            "Cannot tell the geometry of case.txt: a case file ends in .dxy (rectangular bar) or .drz (round rod)"},
        Row{{".dxy"}, Action::Start, ".dxy", Unknown, "", "",
            "Cannot tell the geometry of .dxy: a case file ends in .dxy (rectangular bar) or .drz (round rod)"},
        Row{{"a.dxy", "b.drz"}, Action::UsageError, "", XY, "", "only one case file can be given"},
        // Help and version win wherever they stand.
        Row{{"--help"}, Action::Help, "", XY, "", ""},
        Row{{"bar.dxy", "-h"}, Action::Help, "", XY, "", ""},
        Row{{"--version", "--bogus"}, Action::Version, "", XY, "", ""},
        Row{{"--bogus"}, Action::UsageError, "", XY, "", "unknown option --bogus"},
        Row{{"-version"}, Action::UsageError, "", XY, "", "unknown option -version"},
        // Qt's own options and their values are left for QApplication.
        Row{{"-platform", "offscreen", "bar.dxy"}, Action::Start, "bar.dxy", XY, "offscreen", ""},
        Row{{"--platform", "xcb"}, Action::Start, "", XY, "xcb", ""},
        Row{{"-style", "Fusion", "-reverse", "-style=Windows", "rod.drz"}, Action::Start, "rod.drz", RZ, "", ""},
        Row{{"-qwindowgeometry", "700x500+0+0", "-display", ":1"}, Action::Start, "", XY, "", ""},
        Row{{"-platform"}, Action::UsageError, "", XY, "", "option -platform needs a value"},
        // After -- a name starting with a dash is a file.
        Row{{"--", "-odd.drz"}, Action::Start, "-odd.drz", RZ, "", ""},
        Row{{"--", "--help"}, Action::Start, "--help", Unknown, "", "",
            "Cannot tell the geometry of --help: a case file ends in .dxy (rectangular bar) or .drz (round rod)"}));

TEST(CommandLineUsage, NamesEveryOptionAndTheExitStatus)
{
    const std::string usage = UsageText();
    for (const char *word : {"--help", "--version", "CASEFILE", ".dxy", ".drz", "-platform", "64"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

} // namespace
