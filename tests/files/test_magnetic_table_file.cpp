#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "files/MagneticTableFile.h"
#include "files/PropertyTableFile.h"

using namespace resheat;
namespace fs = std::filesystem;

namespace {

class MagneticTableFileTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("resheat-bh-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Write(const char *name, const std::string &text) const
    {
        const auto p = (dir / name).string();
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
};

} // namespace

TEST_F(MagneticTableFileTest, TheShippedCurveReadsAsTheBuiltInOne)
{
    const auto r = LoadMagneticTable(RESHEAT_SOURCE_DIR "/data/magnetic/steel.csv");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.table.source, PropertySource::User);
    EXPECT_EQ(r.table.name, RESHEAT_SOURCE_DIR "/data/magnetic/steel.csv");
    const auto builtIn = *BuiltInMagneticTable("steel");
    ASSERT_EQ(r.table.points.size(), builtIn.points.size());
    for (std::size_t i = 0; i < builtIn.points.size(); ++i) {
        EXPECT_EQ(r.table.points[i].field, builtIn.points[i].field);
        EXPECT_EQ(r.table.points[i].flux, builtIn.points[i].flux);
    }
    EXPECT_EQ(r.table.curie, builtIn.curie);
}

TEST_F(MagneticTableFileTest, RefusesWhatItCannotRead)
{
    const auto missing = LoadMagneticTable((dir / "none.csv").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.line, 0);
    EXPECT_EQ(missing.message, "File not found");

    const auto line = LoadMagneticTable(Write("bad.csv", "# curie_C=768\nH_A_m,B_T\n100,0.2\n50,0.3\n"));
    EXPECT_FALSE(line.ok);
    EXPECT_EQ(line.message, "Line 4: H_A_m must be higher than on line 3 (100)");

    const auto big = LoadMagneticTable(Write("big.csv", std::string(2 << 20, '#')));
    EXPECT_FALSE(big.ok);
    EXPECT_EQ(big.message, "The file is too large for a magnetisation curve");
    EXPECT_EQ(LoadPropertyTable((dir / "big.csv").string()).message, "The file is too large for a property table");
}
