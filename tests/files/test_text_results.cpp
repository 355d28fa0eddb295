#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "files/DataFiles.h"
#include "support/RecordingHost.h"

using namespace resheat;
using resheat::testing::WorkedBar;
using resheat::testing::WorkedRod;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> SavedLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string SaveAndRead(bool xy, const DataXY &dxy, const ResultsXY &rxy, const DataRZ &drz,
                        const ResultsRZ &rrz)
{
    const fs::path p = fs::temp_directory_path() / ("resheat-txt-" + std::to_string(::getpid()) + ".txt");
    if (xy)
        SaveTextResultsXY(p.string(), dxy, rxy);
    else
        SaveTextResultsRZ(p.string(), drz, rrz);
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    fs::remove(p);
    return s.str();
}

} // namespace

TEST(TextResults, XyFileLayout)
{
    ResultsXY r;
    r.contacts = 3;
    r.mass = 19.5;
    r.diffHeight = -1.5;
    const auto lines = SavedLines(SaveAndRead(true, WorkedBar(), r, {}, {}));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "Data for xy geometry");
    EXPECT_EQ(lines[1], " ");
    EXPECT_EQ(lines[2], "Material     steel");
    EXPECT_EQ(lines[3], "Length of charge       [m]      1.00000000000000E+0000");
    EXPECT_EQ(lines[15], "Max contact current    [A]      1.00000000000000E+0003");
    EXPECT_EQ(lines[16], " ");
    EXPECT_EQ(lines[17], " ");
    EXPECT_EQ(lines[18], "Text results for xy");
    EXPECT_EQ(lines[19], " ");
    EXPECT_EQ(lines[20], "Charge mass           [kg]      1.95000000000000E+0001");
    EXPECT_EQ(lines[23], "Current intesity       [A]      0.00000000000000E+0000");
    EXPECT_EQ(lines[27], "Number of contact      [-]      3.00000000000000E+0000");
    EXPECT_EQ(lines[28], "Biot number (width)             0.00000000000000E+0000");
    EXPECT_EQ(lines[29], "Biot number (height)            0.00000000000000E+0000");
    EXPECT_EQ(lines[30], "Temp. difference: centre - width   [K]      0.00000000000000E+0000");
    EXPECT_EQ(lines[31], "Temp. difference: centre - height  [K]     -1.50000000000000E+0000");
    for (int i : {3, 10, 20, 29})
        EXPECT_EQ(lines[i].size(), 54u) << i;
    EXPECT_EQ(lines[30].size(), 66u);
}

TEST(TextResults, RzFileLayout)
{
    ResultsRZ r;
    r.biot = 0.5;
    DataRZ d = WorkedRod();
    d.name.set("");
    const auto lines = SavedLines(SaveAndRead(false, {}, {}, d, r));
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[0], " Data for rz geometry");
    EXPECT_EQ(lines[2], "Material     ");
    EXPECT_EQ(lines[4], "Diameter of charge     [m]      5.00000000000000E-0002");
    EXPECT_EQ(lines[5], "Density            [kg/m3]      7.80000000000000E+0003");
    EXPECT_EQ(lines[14], "Max contact current    [A]      1.00000000000000E+0003");
    EXPECT_EQ(lines[15], " ");
    EXPECT_EQ(lines[16], " ");
    EXPECT_EQ(lines[17], "Text results for rz");
    EXPECT_EQ(lines[19], "Charge mass           [kg]      0.00000000000000E+0000");
    EXPECT_EQ(lines[26], "Number of contact      [-]      0.00000000000000E+0000");
    EXPECT_EQ(lines[27], "Biot number                     5.00000000000000E-0001");
    EXPECT_EQ(lines[28].size(), 68u);
    EXPECT_EQ(lines[28].substr(0, 40), "Temp. difference: centre - surface   [K]");
    EXPECT_EQ(lines[29], " ");
}
