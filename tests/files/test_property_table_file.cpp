// Reading a property table file: what is refused before a byte is read.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "files/PropertyTableFile.h"
#include "files/TableFile.h"
#include "support/ChildProcess.h"

using namespace resheat;
namespace fs = std::filesystem;

namespace {

const std::string kTable = std::string(kPropertyTableHeader) + "\n20,1.42E-07,59.5,450\n1200,1.215E-06,29.7,660\n";

// Bytes this process has read through system calls so far.
long long BytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = -1;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

class PropertyTableFileTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("resheat-table-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char *name) const { return (dir / name).string(); }
};

} // namespace

TEST_F(PropertyTableFileTest, OnlyARegularFileOfATablesSizeIsRead)
{
    // Exactly the limit, padded with a note, is a table; a byte more is not.
    const std::string atLimit = kTable + "# " + std::string(kMaxTableFileBytes - kTable.size() - 3, 'n') + "\n";
    ASSERT_EQ(static_cast<long long>(atLimit.size()), kMaxTableFileBytes);
    std::ofstream(path("limit.csv"), std::ios::binary) << atLimit;
    std::ofstream(path("over.csv"), std::ios::binary) << atLimit << "\n";
    std::ofstream(path("steel.csv"), std::ios::binary) << kTable;
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);

    const struct {
        std::string file;
        std::string message; // "" when the table is read
    } rows[] = {
        {path("steel.csv"), ""},
        {path("limit.csv"), ""},
        {path("over.csv"), "The file is too large for a property table"},
        {path("none.csv"), "File not found"},
        {dir.string(), "not a regular file (a folder)"},
        {path("fifo"), "not a regular file (a FIFO)"},
        {"/dev/zero", "not a regular file (a character device)"},
    };
    ::alarm(60); // a read that waits for a writer ends the test here
    for (const auto &r : rows) {
        const PropertyTableRead read = LoadPropertyTable(r.file);
        EXPECT_EQ(read.ok, r.message.empty()) << r.file;
        EXPECT_EQ(read.message, r.message) << r.file;
        EXPECT_EQ(read.line, 0) << r.file;
        if (read.ok) {
            EXPECT_EQ(read.table.points.size(), 2u);
            EXPECT_EQ(read.table.points[1].conductivity, 29.7);
            EXPECT_EQ(read.table.name, r.file);
        }
    }
    ::alarm(0);
}

TEST_F(PropertyTableFileTest, AFileOverTheLimitIsRefusedUnread)
{
    // 100 MB without a byte on the disk: the refusal must come from its size.
    const std::string huge = path("huge.csv");
    std::ofstream(huge) << kTable;
    fs::resize_file(huge, 100'000'000);
    const long long before = BytesRead();
    if (before < 0)
        GTEST_SKIP() << "no /proc/self/io here to count the bytes read";
    const PropertyTableRead read = LoadPropertyTable(huge);
    const long long read_ = BytesRead() - before;
    EXPECT_EQ(read.message, "The file is too large for a property table");
    EXPECT_LT(read_, 4096) << "bytes read";
}

TEST_F(PropertyTableFileTest, TheStandardInputIsReadWhenAllowed)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], kTable.data(), kTable.size()), static_cast<ssize_t>(kTable.size()));
    ::close(fds[1]);
    const auto report = resheat::testing::InChild(false, [&]() -> std::string {
        ::dup2(fds[0], STDIN_FILENO);
        const auto refused = LoadPropertyTable("/dev/stdin");
        const auto allowed = LoadPropertyTable("/dev/stdin", StandardInput::Allowed);
        return refused.message + "|" + (allowed.ok ? std::to_string(allowed.table.points.size()) : allowed.message);
    });
    ::close(fds[0]);
    ASSERT_TRUE(report);
    EXPECT_EQ(*report, "not a regular file (a FIFO)|2");
}
