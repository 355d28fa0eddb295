#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/Errors.h"
#include "files/DataFiles.h"
#include "support/ChildProcess.h"
#include "support/RecordingHost.h"

using namespace resheat;
using resheat::testing::RecordingHost;
using resheat::testing::WorkedBar;
using resheat::testing::WorkedRod;
namespace fs = std::filesystem;

namespace {

class DataFilesTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("resheat-files-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    std::string path(const char *name) const { return (dir / name).string(); }
    static std::string Read(const std::string &p)
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Write(const std::string &p, const std::string &bytes)
    {
        std::ofstream(p, std::ios::binary) << bytes;
    }
};

} // namespace

TEST_F(DataFilesTest, BarFileByteForByte)
{
    SaveDataXY(path("bar.dxy"), WorkedBar());
    const std::string expected =
        "Dane dla wsadu prostopadlosciennego\r\n"
        " \r\n"
        "nazwa materialu                               steel\r\n"
        "dlugosc wsadu                           [m]    1.00000000000000E+0000\r\n"
        "szerokosc wsadu                         [m]    5.00000000000000E-0002\r\n"
        "wysokosc wsadu                          [m]    5.00000000000000E-0002\r\n"
        "gestosc                             [kg/m3]    7.80000000000000E+0003\r\n"
        "cieplo wlasciwe                  [Ws/(kgK)]    4.81320000000000E+0002\r\n"
        "przewodnosc cieplna wlasciwa       [W/(mK)]    8.78800000000000E+0001\r\n"
        "rezystywnosc                         [om*m]    1.53840000000000E-0007\r\n"
        "napiecie zasilania                      [V]    1.00000000000000E+0001\r\n"
        "spadek napiecia w torze zasilajacym     [%]    1.00000000000000E+0001\r\n"
        "temperatura poczatkowa                 [oC]    2.00000000000000E+0001\r\n"
        "temperatura koncowa                    [oC]    1.50000000000000E+0003\r\n"
        "wspolczynnik przejmowania ciepla  [W/(m2K)]    1.50000000000000E+0001\r\n"
        "maksymalny prad styku                   [A]    1.00000000000000E+0003\r\n";
    EXPECT_EQ(Read(path("bar.dxy")), expected);
}

TEST_F(DataFilesTest, RodFileHasFifteenLinesOfSixtyNine)
{
    SaveDataRZ(path("rod.drz"), WorkedRod());
    std::istringstream in(Read(path("rod.drz")));
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line)) {
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "Dane dla wsadu cylindrycznego");
    EXPECT_EQ(lines[4], "srednica wsadu                          [m]    5.00000000000000E-0002");
    EXPECT_EQ(lines[5].substr(0, 46), "gestosc                             [kg/m3]   ");
    for (std::size_t i = 3; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), 69u) << i;
}

TEST_F(DataFilesTest, ShippedExamplesAreWhatSaveWrites)
{
    const std::string examples = RESHEAT_SOURCE_DIR "/examples";
    SaveDataXY(path("bar.dxy"), WorkedBar());
    SaveDataRZ(path("rod.drz"), WorkedRod());
    EXPECT_EQ(Read(examples + "/steel-bar.dxy"), Read(path("bar.dxy")));
    EXPECT_EQ(Read(examples + "/steel-rod.drz"), Read(path("rod.drz")));
}

TEST_F(DataFilesTest, ClearedRecordWritesEmptyNameAndZeros)
{
    SaveDataXY(path("c.dxy"), DataXY{});
    std::istringstream in(Read(path("c.dxy")));
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    std::getline(in, line);
    EXPECT_EQ(line, "nazwa materialu                               \r");
    int numeric = 0;
    while (std::getline(in, line)) {
        EXPECT_EQ(line.substr(45), "  0.00000000000000E+0000\r");
        ++numeric;
    }
    EXPECT_EQ(numeric, 13);
}

TEST_F(DataFilesTest, RoundTripKeepsNameAndFifteenDigits)
{
    DataXY d = WorkedBar();
    d.name.set("twelve chars");
    d.resistivity = 1.23456789012345678e-7;
    d.startTemp = -40.25;
    SaveDataXY(path("r.dxy"), d);
    DataXY back;
    RecordingHost host;
    ASSERT_TRUE(LoadDataXY(path("r.dxy"), back, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(back.name.str(), "twelve chars");
    EXPECT_NEAR(back.resistivity, d.resistivity, 1e-21);
    EXPECT_EQ(back.startTemp, -40.25);
    EXPECT_EQ(back.length, 1);

    DataRZ rod = WorkedRod();
    SaveDataRZ(path("r.drz"), rod);
    DataRZ rback;
    ASSERT_TRUE(LoadDataRZ(path("r.drz"), rback, host));
    EXPECT_EQ(rback, rod);
}

TEST_F(DataFilesTest, ReaderChecksTheHeaderAndCutsLongNames)
{
    // An editor's byte order mark and blanks after the header are allowed.
    std::string text = "\xEF\xBB\xBF" "Dane dla wsadu prostopadlosciennego \t\r\nxx\r\n" + std::string(46, '-') +
                       "a twenty char name!!\r\n";
    for (int i = 0; i < 13; ++i)
        text += std::string(46, ' ') + "   2.5\n"; // LF alone is accepted too
    text += "trailing junk\r\n";
    Write(path("h.dxy"), text);
    DataXY d;
    RecordingHost host;
    ASSERT_TRUE(LoadDataXY(path("h.dxy"), d, host));
    EXPECT_EQ(d.name.str(), "a twenty cha");
    EXPECT_EQ(d.maxContactCurrent, 2.5);

    for (const std::string header : {"whatever header", "Dane dla wsadu prostopadlosciennego.",
                                     " Dane dla wsadu prostopadlosciennego", "Dane dla wsadu cylindrycznego"}) {
        Write(path("h.dxy"), header + text.substr(text.find('\n')));
        DataXY kept = WorkedBar();
        EXPECT_EQ(ReadDataXY(path("h.dxy"), kept).problem, "not a bar case file") << header;
        EXPECT_EQ(kept, WorkedBar()) << header;
    }
}

TEST_F(DataFilesTest, BadNumberLeavesTheRecordAsItWas)
{
    DataXY original = WorkedBar();
    const char *badValues[] = {"2,5", "2.5 ", "", "abc"};
    for (const char *bad : badValues) {
        SaveDataXY(path("b.dxy"), DataXY{});
        std::string text = Read(path("b.dxy"));
        // Replace the value of the fifth numeric line (density).
        const auto pos = text.find("gestosc");
        const auto end = text.find("\r\n", pos);
        text.replace(pos + 46, end - pos - 46, bad);
        Write(path("b.dxy"), text);
        DataXY d = original;
        RecordingHost host;
        EXPECT_FALSE(LoadDataXY(path("b.dxy"), d, host)) << bad;
        EXPECT_EQ(d, original) << bad;
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].first, "Execution Error");
        EXPECT_EQ(host.messages[0].second, "Incorrect data format");
    }
}

TEST_F(DataFilesTest, TheDesktopKeepsItsMessagesForEveryFileItCannotRead)
{
    // Cannot be opened: "Incorrect path" for xy, "Incorrect data format" for
    // rz; anything wrong inside: "Incorrect data format".  Never a wait.
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    SaveDataXY(path("bar.dxy"), WorkedBar());
    SaveDataRZ(path("rod.drz"), WorkedRod());
    const struct {
        std::string file;
        const char *xyMessage, *rzMessage; // nullptr: read
    } rows[] = {
        {path("none"), "Incorrect path", "Incorrect data format"},
        {dir.string(), "Incorrect path", "Incorrect data format"},
        {path("fifo"), "Incorrect path", "Incorrect data format"},
        {"/dev/zero", "Incorrect path", "Incorrect data format"},
        {path("rod.drz"), "Incorrect data format", nullptr},
        {path("bar.dxy"), nullptr, "Incorrect data format"},
    };
    ::alarm(60); // a read that waits for a writer ends the test here
    for (const auto &r : rows) {
        DataXY xy = WorkedBar();
        DataRZ rz = WorkedRod();
        RecordingHost host;
        EXPECT_EQ(LoadDataXY(r.file, xy, host), r.xyMessage == nullptr) << r.file;
        EXPECT_EQ(LoadDataRZ(r.file, rz, host), r.rzMessage == nullptr) << r.file;
        std::vector<std::pair<std::string, std::string>> expected;
        for (const char *m : {r.xyMessage, r.rzMessage})
            if (m)
                expected.emplace_back("Execution Error", m);
        EXPECT_EQ(host.messages, expected) << r.file;
        if (r.xyMessage) {
            EXPECT_EQ(xy, WorkedBar()) << r.file;
        }
        if (r.rzMessage) {
            EXPECT_EQ(rz, WorkedRod()) << r.file;
        }
    }
    ::alarm(0);
}

TEST_F(DataFilesTest, ReadingSaysWhatIsWrongWithTheFile)
{
    SaveDataXY(path("bar.dxy"), WorkedBar());
    SaveDataRZ(path("rod.drz"), WorkedRod());
    const std::string bar = Read(path("bar.dxy"));
    // The bar's file with line `line` (1-based) replaced by `text`.
    const auto edited = [&](const char *name, std::size_t line, const std::string &text) {
        std::string lines = bar;
        std::size_t start = 0;
        for (std::size_t i = 1; i < line; ++i)
            start = lines.find('\n', start) + 1;
        lines.replace(start, lines.find('\r', start) - start, text);
        Write(path(name), lines);
        return path(name);
    };
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = path("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    Write(path("empty.dxy"), "");
    Write(path("short.dxy"), bar.substr(0, bar.find("napiecie")));

    const struct {
        std::string file;
        std::string problem;
        bool opened;
    } rows[] = {
        {path("none.dxy"), "File not found", false},
        {path("no/such/folder.dxy"), "File not found", false},
        {path("bar.dxy/x"), "Invalid filename", false},
        {dir.string(), "not a regular file (a folder)", false},
        {path("fifo"), "not a regular file (a FIFO)", false},
        {socketPath, "not a regular file (a socket)", false},
        {"/dev/null", "not a regular file (a character device)", false},
        {path("empty.dxy"), "not a bar case file", true},
        {path("rod.drz"), "not a bar case file", true},
        {edited("bad.dxy", 7, std::string(46, ' ') + "7800 kg"), "Line 7: Incorrect data format", true},
        {edited("long.dxy", 5, std::string(46, ' ') + std::string(960, '5')), "Line 5: longer than 1000 bytes", true},
        {path("short.dxy"), "Line 11: missing", true},
    };
    ::alarm(60); // a read that waits for a writer ends the test here
    for (const auto &r : rows) {
        DataXY d = WorkedBar();
        const CaseFileRead read = ReadDataXY(r.file, d);
        EXPECT_FALSE(read.ok) << r.file;
        EXPECT_EQ(read.problem, r.problem) << r.file;
        EXPECT_EQ(read.opened, r.opened) << r.file;
        EXPECT_EQ(d, WorkedBar()) << r.file;
    }
    ::alarm(0);
    ::close(sock);

    DataRZ rz = WorkedRod();
    EXPECT_EQ(ReadDataRZ(path("bar.dxy"), rz).problem, "not a rod case file");
    EXPECT_EQ(rz, WorkedRod());
    EXPECT_TRUE(ReadDataRZ(path("rod.drz"), rz).ok);

    // Permissions bind only an unprivileged user.
    ::chmod(path("bar.dxy").c_str(), 0200);
    const auto report = resheat::testing::InChild(true, [&] {
        DataXY d;
        return ReadDataXY(path("bar.dxy"), d).problem;
    });
    if (report)
        EXPECT_EQ(*report, "File access denied");
    else
        std::printf("SKIPPED: running as root and cannot drop to an unprivileged user: no permission row\n");
}

TEST_F(DataFilesTest, ReaderRefusesLinesLongerThanAThousandBytes)
{
    // Each row puts a line of the given length at the given line (1-based)
    // of the bar's file; lines past the case are never looked at.
    std::vector<std::string> base;
    {
        std::istringstream in(Read(RESHEAT_SOURCE_DIR "/examples/steel-bar.dxy"));
        for (std::string line; std::getline(in, line);)
            base.push_back(line.substr(0, line.size() - 1));
    }
    struct Row { std::size_t line; std::string text; bool ok; };
    const Row rows[] = {
        {1, "Dane dla wsadu prostopadlosciennego" + std::string(965, ' '), true},
        {1, "Dane dla wsadu prostopadlosciennego" + std::string(966, ' '), false},
        {3, std::string(46, ' ') + std::string(955, 'n'), false},
        {4, std::string(46, ' ') + std::string(951, ' ') + "2.5", true}, // 1000 bytes
        {4, std::string(46, ' ') + std::string(952, ' ') + "2.5", false},
        {17, std::string(100000, 'x'), true},
    };
    for (const auto &r : rows) {
        auto lines = base;
        lines.resize(std::max(lines.size(), r.line));
        lines[r.line - 1] = r.text;
        std::string text;
        for (const auto &line : lines)
            text += line + "\r\n";
        Write(path("long.dxy"), text);
        DataXY d;
        RecordingHost host;
        EXPECT_EQ(LoadDataXY(path("long.dxy"), d, host), r.ok) << r.line << ": " << r.text.size();
        if (!r.ok) {
            EXPECT_EQ(host.messages, (decltype(host.messages){{"Execution Error", "Incorrect data format"}}));
        }
    }
}

TEST_F(DataFilesTest, ReaderTakesOnlyTheLinesACaseNeeds)
{
    const std::string bar = Read(RESHEAT_SOURCE_DIR "/examples/steel-bar.dxy");
    const std::string rod = Read(RESHEAT_SOURCE_DIR "/examples/steel-rod.drz");
    std::istringstream barStream(bar + std::string(1 << 20, 'x'));
    std::istringstream rodStream(rod + std::string(1 << 20, '\0'));
    DataXY xy;
    DataRZ rz;
    RecordingHost host;
    ASSERT_TRUE(LoadDataXY(barStream, xy, host));
    ASSERT_TRUE(LoadDataRZ(rodStream, rz, host));
    EXPECT_EQ(barStream.tellg(), static_cast<std::streamoff>(bar.size()));
    EXPECT_EQ(rodStream.tellg(), static_cast<std::streamoff>(rod.size()));
    EXPECT_EQ(xy, WorkedBar());
    EXPECT_EQ(rz, WorkedRod());
}

TEST_F(DataFilesTest, EmptyFileIsAFormatError)
{
    Write(path("e.dxy"), "");
    DataXY d = WorkedBar();
    RecordingHost host;
    EXPECT_FALSE(LoadDataXY(path("e.dxy"), d, host));
    EXPECT_EQ(host.messages.at(0).second, "Incorrect data format");
    EXPECT_EQ(d, WorkedBar());
}

TEST_F(DataFilesTest, FailedSaveKeepsTheOldFileAndLeavesNoPartialFile)
{
    SaveDataXY(path("keep.dxy"), WorkedBar());
    // A folder in place of the file.
    fs::create_directory(dir / "sub.dxy");
    EXPECT_THROW(SaveDataXY(path("sub.dxy"), WorkedBar()), IoError);
    // A folder that does not exist.
    EXPECT_THROW(SaveDataXY(path("no/such/dir.dxy"), WorkedBar()), IoError);
    // No temporary file is left behind.
    int files = 0;
    for (const auto &e : fs::directory_iterator(dir))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(DataFilesTest, FullDeviceReportsDiskFull)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    try {
        SaveDataXY("/dev/full", WorkedBar());
        FAIL() << "writing to a full device must fail";
    } catch (const IoError &e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
    EXPECT_TRUE(fs::is_character_file("/dev/full")); // still the device
}
