// Saves onto protected, linked and failing files, on real files in a
// temporary folder.  Permissions do not bind root: run as root, the
// scenarios about them run in a child process that has dropped to an
// unprivileged user.
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <thread>
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
#include "support/ChildProcess.h"

using namespace resheat;
using resheat::testing::InChild;
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

namespace {

// New contents of `bytes` bytes, distinct for each `writer`, as lines.
std::vector<std::string> ContentsOf(int writer, std::size_t bytes)
{
    const std::string line = "writer " + std::to_string(writer) + std::string(40, '.');
    return std::vector<std::string>(bytes / (line.size() + 2), line);
}

std::string Joined(const std::vector<std::string> &lines)
{
    std::string s;
    for (const auto &line : lines)
        s += line + "\r\n";
    return s;
}

std::string SaveLines(const fs::path &p, const std::vector<std::string> &lines)
{
    try {
        WriteLinesCrLf(p.string(), lines);
        return "";
    } catch (const IoError &e) {
        return e.what();
    }
}

// Where a file is written in place rather than replaced.
struct InPlaceCase {
    const char *name;
    bool readOnlyFolder; // else a second hard link
};
const InPlaceCase kInPlaceCases[] = {{"second-hard-link", false}, {"read-only-folder", true}};

// Makes folder/name.csv with the old contents, written in place by a save.
fs::path MakeInPlaceFile(const fs::path &dir, const InPlaceCase &c)
{
    const fs::path folder = dir / c.name;
    fs::create_directory(folder);
    const fs::path file = folder / "history.csv";
    Write(file, kOld);
    if (c.readOnlyFolder)
        ::chmod(folder.c_str(), 0555);
    else
        fs::create_hard_link(file, folder / "other-name.csv");
    return file;
}

} // namespace

TEST_F(SafeWriterTest, InPlaceWritesSecureTheSpaceFirstSoAFullDiskKeepsTheOldFile)
{
    // The file size limit makes the disk full beyond 100 bytes; the new
    // contents need 4000.
    for (const auto &c : kInPlaceCases) {
        const auto report = InChild(c.readOnlyFolder, [&]() -> std::string {
            const fs::path file = MakeInPlaceFile(dir, c);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{100, 100};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::string report;
            if (const auto message = SaveLines(file, ContentsOf(1, 4000)); message != "Disk full")
                report += " message \"" + message + "\"";
            if (Read(file) != kOld)
                report += " contents of " + std::to_string(Read(file).size()) + " bytes";
            if (Leftovers(file.parent_path()))
                report += " temporary file left";
            // Contents that fit are written in place.
            if (const auto message = SaveLines(file, {"new"}); !message.empty() || Read(file) != "new\r\n")
                report += " small save: \"" + message + "\", \"" + Read(file) + "\"";
            ::chmod(file.parent_path().c_str(), 0755);
            return report;
        });
        if (!report)
            GTEST_SKIP() << "running as root and cannot drop to an unprivileged user: permissions do not bind here";
        EXPECT_EQ(*report, "") << c.name;
    }
}

TEST_F(SafeWriterTest, ARunKilledAtTheFileSizeLimitLeavesTheOldFileAndNoTemporaryFile)
{
    // As `ulimit -f` ends a program that writes past it: SIGXFSZ, default action.
    struct Row {
        const char *name;
        bool hardLink; // written in place, else replaced through a temporary file
    };
    for (const Row &r : {Row{"replaced", false}, Row{"in-place", true}}) {
        const fs::path folder = dir / r.name;
        fs::create_directory(folder);
        const fs::path file = folder / "history.csv";
        Write(file, kOld);
        if (r.hardLink)
            fs::create_hard_link(file, folder / "other-name.csv");
        int status = 0;
        InChild(false, [&]() -> std::string {
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{100, 100};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return "survived: " + SaveLines(file, ContentsOf(1, 4000));
        }, &status);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << r.name << ": status " << status;
        EXPECT_EQ(Read(file), kOld) << r.name;
        EXPECT_EQ(Leftovers(folder), 0) << r.name;
    }
}

TEST_F(SafeWriterTest, WritersOfAFileWrittenInPlaceTakeTurns)
{
    const fs::path file = MakeInPlaceFile(dir, kInPlaceCases[0]);
    // While another writer holds the file's lock, a save waits for it and
    // leaves the file alone.  The save's process is seen waiting in flock().
    const int held = ::open(file.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(Save(file).empty() ? 0 : 1);
    const std::string syscallFile = "/proc/" + std::to_string(pid) + "/syscall";
    bool waiting = false, ended = false, readable = true;
    for (int i = 0; i < 6000 && !waiting && !ended && readable; ++i) {
        std::ifstream in(syscallFile);
        long number = -1;
        readable = static_cast<bool>(in >> number) || ::waitpid(pid, nullptr, WNOHANG) == 0;
        waiting = number == SYS_flock;
        int status = 0;
        ended = !waiting && ::waitpid(pid, &status, WNOHANG) == pid;
        if (!waiting && !ended)
            ::usleep(10000);
    }
    EXPECT_FALSE(ended) << "the save did not wait for the lock";
    EXPECT_EQ(Read(file), kOld);
    ::flock(held, LOCK_UN);
    ::close(held);
    if (!ended) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(Read(file), kNew);
    if (!readable)
        std::printf("SKIPPED: %s is not readable here; the lock was checked by the parallel writers only\n",
                    syscallFile.c_str());

    // Thirty writers at once: the file is one writer's contents, whole.
    std::vector<pid_t> writers;
    for (int k = 0; k < 30; ++k) {
        const pid_t w = ::fork();
        if (w == 0)
            ::_exit(SaveLines(file, ContentsOf(k, 20000 + 9000 * (k % 4))).empty() ? 0 : 1);
        writers.push_back(w);
    }
    int failed = 0;
    for (const pid_t w : writers) {
        int status = 0;
        ::waitpid(w, &status, 0);
        failed += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    EXPECT_EQ(failed, 0);
    const std::string contents = Read(file);
    bool whole = false;
    for (int k = 0; k < 30 && !whole; ++k)
        whole = contents == Joined(ContentsOf(k, 20000 + 9000 * (k % 4)));
    EXPECT_TRUE(whole) << contents.size() << " bytes, starting " << contents.substr(0, 60);
    EXPECT_EQ(Read(dir / kInPlaceCases[0].name / "other-name.csv"), contents);
}

TEST_F(SafeWriterTest, DevicesPipesAndTheStandardOutputAreWrittenAsTheyAre)
{
    // The null device takes the bytes and stays the device.
    EXPECT_EQ(Save("/dev/null"), "");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    // A FIFO with a reader gets the bytes; without one the save fails at
    // once instead of waiting for a reader.
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Read(fifo); });
    std::string message;
    for (int i = 0; i < 10000; ++i) { // until the reader is there
        message = Save(fifo);
        if (message.empty())
            break;
        ::usleep(1000);
    }
    if (!message.empty()) // let the reader go
        ::close(::open(fifo.c_str(), O_WRONLY));
    reader.join();
    EXPECT_EQ(message, "");
    EXPECT_EQ(received, kNew);
    EXPECT_TRUE(fs::is_fifo(fifo));
    const auto noReader = InChild(false, [&]() -> std::string {
        ::alarm(60); // a save that waits for a reader ends here, failing the test
        return Save(fifo);
    });
    ASSERT_TRUE(noReader);
    EXPECT_EQ(*noReader, "Nothing reads from the FIFO");
    EXPECT_TRUE(fs::is_fifo(fifo));

    // Standard output going to a file: the save goes after what was printed,
    // by the device's name or by the file's own.
    for (const std::string &name : {std::string("/dev/stdout"), (dir / "out.txt").string()}) {
        const fs::path out = dir / "out.txt";
        Write(out, "");
        const auto report = InChild(false, [&]() -> std::string {
            const int fd = ::open(out.c_str(), O_WRONLY);
            ::dup2(fd, STDOUT_FILENO);
            std::printf("printed\n");
            return Save(name);
        });
        ASSERT_TRUE(report);
        EXPECT_EQ(*report, "") << name;
        EXPECT_EQ(Read(out), "printed\n" + kNew) << name;
    }
    // Standard output going to a pipe.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const auto piped = InChild(false, [&]() -> std::string {
        ::dup2(fds[1], STDOUT_FILENO);
        return Save("/dev/stdout");
    });
    ::close(fds[1]);
    std::string fromPipe;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        fromPipe.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    ASSERT_TRUE(piped);
    EXPECT_EQ(*piped, "");
    EXPECT_EQ(fromPipe, kNew);
    EXPECT_EQ(Leftovers(dir), 0);
}
