// Saves onto protected, linked and failing files, on real files in a
// temporary folder.  Permissions do not bind root: run as root, the
// scenarios about them run in a child process that has dropped to an
// unprivileged user.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/Errors.h"
#include "files/SafeWriter.h"

using namespace resheat;
namespace fs = std::filesystem;

namespace {

const std::string kOld = "old contents\r\n";
const std::string kNew = "new\r\nlines\r\n";

std::string Read(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return "(missing)";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const fs::path &p, const std::string &bytes) { std::ofstream(p, std::ios::binary) << bytes; }

mode_t Mode(const fs::path &p)
{
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// "" when the save succeeded, else its message.
std::string Save(const fs::path &p)
{
    try {
        WriteLinesCrLf(p.string(), {"new", "lines"});
        return "";
    } catch (const IoError &e) {
        return e.what();
    }
}

// Temporary files of a save left anywhere under `dir`.
int Leftovers(const fs::path &dir)
{
    int n = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec); it != fs::recursive_directory_iterator(); ++it)
        n += it->path().filename().string().starts_with(".resheat-");
    return n;
}

// Runs `scenario` in a child process, which drops to an unprivileged user
// first when `unprivileged` and the test runs as root, and returns what it
// reports ("" when everything went as expected); nothing when the child
// could not drop its privileges.
std::optional<std::string> InChild(bool unprivileged, const std::function<std::string()> &scenario)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string report = "\x01"; // could not drop privileges
        const bool drop = unprivileged && ::geteuid() == 0;
        if (!drop || (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0))
            report = scenario();
        const ssize_t written = ::write(fds[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    std::string report;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        report.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (report == "\x01")
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child process failed: " + report;
    return report;
}

class SafeWriterTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("resheat-save-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::permissions(dir, fs::perms::all); // the unprivileged child works in it
    }
    void TearDown() override
    {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(dir, ec); it != fs::recursive_directory_iterator(); ++it)
            if (it->symlink_status(ec).type() == fs::file_type::directory)
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
};

} // namespace

TEST_F(SafeWriterTest, PermissionsOfTheFileAndOfItsFolderDecide)
{
    struct Row {
        const char *name;
        mode_t folderMode;
        std::optional<mode_t> fileMode; // nothing: no file yet
        const char *message;            // "" when the save succeeds
    };
    const Row rows[] = {
        {"ordinary", 0755, 0640, ""},
        {"protected-file", 0755, 0444, "File access denied"},
        {"writable-file-in-read-only-folder", 0555, 0644, ""},
        {"protected-file-in-read-only-folder", 0555, 0444, "File access denied"},
        {"new-file-in-read-only-folder", 0555, std::nullopt, "File access denied"},
    };
    for (const auto &r : rows) {
        const auto report = InChild(true, [&]() -> std::string {
            const fs::path folder = dir / r.name;
            const fs::path file = folder / "case.dxy";
            fs::create_directory(folder);
            if (r.fileMode) {
                Write(file, kOld);
                ::chmod(file.c_str(), *r.fileMode);
            }
            ::chmod(folder.c_str(), r.folderMode);
            const std::string message = Save(file);
            std::string report;
            if (message != r.message)
                report += " message \"" + message + "\"";
            const std::string expected = !*r.message ? kNew : r.fileMode ? kOld : "(missing)";
            if (Read(file) != expected)
                report += " contents \"" + Read(file) + "\"";
            if (r.fileMode && Mode(file) != *r.fileMode)
                report += " mode " + std::to_string(Mode(file));
            if (Leftovers(folder))
                report += " temporary file left";
            ::chmod(folder.c_str(), 0755);
            return report;
        });
        if (!report)
            GTEST_SKIP() << "running as root and cannot drop to an unprivileged user: permissions do not bind here";
        EXPECT_EQ(*report, "") << r.name;
    }
}

TEST_F(SafeWriterTest, AnyNameTheFileSystemTakesIsSaved)
{
    for (std::size_t length : {248u, 255u}) {
        const fs::path file = dir / (std::string(length - 4, 'n') + ".dxy");
        EXPECT_EQ(Save(file), "") << length;
        EXPECT_EQ(Read(file), kNew) << length;
        EXPECT_EQ(Save(file), "") << length; // and replaced
    }
    EXPECT_EQ(Save(dir / std::string(256, 'n')), "Invalid filename");
    EXPECT_EQ(Leftovers(dir), 0);
}

TEST_F(SafeWriterTest, SymbolicLinksAreWrittenThroughNeverReplaced)
{
    fs::create_directory(dir / "sub");
    Write(dir / "sub" / "existing.dxy", kOld);
    ::chmod((dir / "sub" / "existing.dxy").c_str(), 0600);
    struct Row {
        const char *link;
        std::vector<std::pair<std::string, std::string>> links; // name -> what it names
        const char *file;                                           // where the bytes land
        const char *message;
    };
    const Row rows[] = {
        {"dangling", {{"dangling", "sub/new.dxy"}}, "sub/new.dxy", ""},
        {"existing", {{"existing", (dir / "sub/existing.dxy").string()}}, "sub/existing.dxy", ""},
        {"chain", {{"chain", "chain2"}, {"chain2", "sub/chained.dxy"}}, "sub/chained.dxy", ""},
        {"into-sub", {{"sub/rel", "../sub/relative.dxy"}}, "sub/relative.dxy", ""},
        {"nowhere", {{"nowhere", "missing/case.dxy"}}, nullptr, "File not found"},
        {"loop", {{"loop", "loop2"}, {"loop2", "loop"}}, nullptr, nullptr},
    };
    for (const auto &r : rows) {
        for (const auto &[name, to] : r.links)
            fs::create_symlink(to, dir / name);
        const std::string message = Save(dir / r.links.front().first);
        EXPECT_TRUE(r.message ? message == r.message : !message.empty()) << r.link << ": " << message;
        for (const auto &[name, to] : r.links) {
            EXPECT_TRUE(fs::is_symlink(dir / name)) << r.link << ": " << name;
            EXPECT_EQ(fs::read_symlink(dir / name), to) << r.link;
        }
        if (r.file) {
            EXPECT_EQ(Read(dir / r.file), kNew) << r.link;
        }
    }
    EXPECT_EQ(Mode(dir / "sub" / "existing.dxy"), 0600u);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_EQ(Leftovers(dir), 0);
}

TEST_F(SafeWriterTest, AReplacedFileKeepsItsPermissionsAndItsOtherNames)
{
    for (mode_t mode : {0600u, 0640u, 0604u, 0755u}) {
        const fs::path file = dir / ("m" + std::to_string(mode));
        Write(file, kOld);
        ::chmod(file.c_str(), mode);
        EXPECT_EQ(Save(file), "");
        EXPECT_EQ(Mode(file), mode);
        EXPECT_EQ(Read(file), kNew);
    }
    const mode_t saved = ::umask(027);
    EXPECT_EQ(Save(dir / "fresh"), "");
    ::umask(saved);
    EXPECT_EQ(Mode(dir / "fresh"), 0640u);

    Write(dir / "first", kOld);
    fs::create_hard_link(dir / "first", dir / "second");
    EXPECT_EQ(Save(dir / "first"), "");
    EXPECT_EQ(Read(dir / "second"), kNew);
    EXPECT_EQ(Leftovers(dir), 0);
}

TEST_F(SafeWriterTest, AFullDiskKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    // The file size limit makes every write beyond a few bytes fail as a
    // full disk would.
    const fs::path file = dir / "case.dxy";
    Write(file, kOld);
    const auto report = InChild(false, [&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4, 4};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string message = Save(file);
        const std::string fresh = Save(dir / "fresh.dxy");
        return message + "|" + fresh;
    });
    ASSERT_TRUE(report);
    EXPECT_EQ(*report, "Disk full|Disk full");
    EXPECT_EQ(Read(file), kOld);
    EXPECT_FALSE(fs::exists(dir / "fresh.dxy"));
    EXPECT_EQ(Leftovers(dir), 0);
}
