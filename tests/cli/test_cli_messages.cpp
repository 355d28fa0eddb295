// resheat-calc's command line and what it says: the option rules, one JSON
// object on standard output whatever ends a run, messages that name the file
// and the cause, escaped and each written in one piece, and the files that
// are no regular files.
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "core/PropertyTable.h"
#include "files/DataFiles.h"
#include "support/CliRun.h"
#include "support/RecordingHost.h"

using namespace resheat;
using namespace resheat::testing;
namespace fs = std::filesystem;

namespace {

// A JSON string of plain ASCII text.
std::string Json(const std::string &s)
{
    std::string r = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\')
            r += '\\';
        r += c;
    }
    return r + "\"";
}

// The "messages" array that lists these lines of standard error.
std::string MessagesOf(const std::vector<std::string> &lines)
{
    std::string s = "[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto colon = lines[i].find(": ");
        s += (i ? ", " : "") + std::string("{\"caption\": ") + Json(lines[i].substr(0, colon)) +
             ", \"text\": " + Json(lines[i].substr(colon + 2)) + "}";
    }
    return s + "]";
}

using CliMessages = CliFolderTest;

const std::string kBar = ExampleCase("steel-bar.dxy");
const std::string kRod = ExampleCase("steel-rod.drz");

} // namespace

TEST_F(CliMessages, OptionValuesNeverStartWithTwoDashesAndNoOptionComesTwice)
{
    const auto asValue = [](const std::string &option, const std::string &what, const std::string &next) {
        return "resheat-calc: " + option + " needs " + what + ", not the option " + next +
               " (a value that starts with -- goes after --: " + option + " -- " + next + ")";
    };
    const struct {
        std::string args;
        std::string line; // the first line of standard error
    } refused[] = {
        {"--history --json " + kBar, asValue("--history", "a file name", "--json")},
        {"--results --history h.csv " + kBar, asValue("--results", "a file name", "--history")},
        {"--time --5 " + kBar, asValue("--time", "a number of seconds", "--5")},
        {"--refined --materials --json " + kRod, asValue("--materials", "a file name", "--json")},
        {"--history a.csv --history b.csv " + kBar, "resheat-calc: --history is given twice"},
        {"--refined --materials a.csv --materials b.csv " + kRod, "resheat-calc: --materials is given twice"},
        {"--refined --emissivity 0.5 --emissivity 0.5 " + kRod, "resheat-calc: --emissivity is given twice"},
        {"--time 5 --time 5 " + kBar, "resheat-calc: --time is given twice"},
        {"--json --json " + kBar, "resheat-calc: --json is given twice"},
        {"--xy --xy " + kBar, "resheat-calc: --xy is given twice"},
        {"--refined --refined " + kRod, "resheat-calc: --refined is given twice"},
        {"--results r.txt --results r.txt " + kBar, "resheat-calc: --results is given twice"},
        {"--history --", "resheat-calc: --history needs a file name"},
    };
    for (const auto &r : refused) {
        const auto o = Shell(r.args);
        EXPECT_EQ(o.status, 64) << r.args;
        EXPECT_EQ(LinesOf(o.err).at(0), r.line) << r.args;
        // --json anywhere asks for the refusal as JSON.
        const bool json = r.args.find("--json") != std::string::npos;
        EXPECT_EQ(o.out.starts_with("{\"status\": 64, "), json) << r.args;
        EXPECT_EQ(o.out.empty(), !json) << r.args;
    }
    // Nothing was written, least of all a file named after an option.
    std::vector<std::string> written;
    for (const auto &entry : fs::directory_iterator(dir))
        if (entry.path().filename() != "out" && entry.path().filename() != "err")
            written.push_back(entry.path().filename());
    EXPECT_EQ(written, std::vector<std::string>{});

    // After "--" a value may start with --, and so may the case file.
    fs::copy_file(kBar, dir / "--odd.dxy");
    const auto named = Shell("--history -- --json -- --odd.dxy");
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(LinesOf(Slurp(dir / "--json")).at(0), "time_s,To_C,Tw_C,Th_C");
    EXPECT_EQ(LinesOf(named.out).at(0), "Data for xy geometry");
}

TEST_F(CliMessages, WithJsonEveryExitPrintsOneObjectWithTheStatusAndTheMessages)
{
    DataXY hot = WorkedBar();
    hot.supplyVoltage = 100;
    SaveDataXY(path("hot.dxy"), hot);
    DataXY fault = WorkedBar();
    fault.maxContactCurrent = 0;
    SaveDataXY(path("fault.dxy"), fault);
    DataRZ weak = WorkedRod();
    weak.supplyVoltage = 3;
    SaveDataRZ(path("weak.drz"), weak);

    const struct {
        std::string args;
        int status;
        bool results; // the object holds results, else only status and messages
    } rows[] = {
        {"--frobnicate " + kBar, 64, false},
        {"--history --json " + kBar, 64, false},
        {path("none.dxy"), 2, false},
        {"--rz " + kBar, 2, false},
        {path("fault.dxy"), 5, false},              // refused by the series
        {"--classic " + path("fault.dxy"), 3, false}, // an arithmetic fault of the classic formulas
        {path("hot.dxy"), 1, true},
        {"--results " + path("no/r.txt") + " " + kBar, 74, true},
        {kBar, 0, true},
        {"--refined " + path("weak.drz"), 5, true},
        {"--refined --materials " + path("none.csv") + " " + kRod, 2, false},
        {"--refined --history " + path("no/h.csv") + " " + kRod, 74, true},
        {"--refined " + kRod, 0, true},
    };
    for (const auto &r : rows) {
        const auto o = Shell("--json " + r.args);
        EXPECT_EQ(o.status, r.status) << r.args;
        // One object on one line, ending in the exit status and the lines of
        // standard error (a refused command line: its first, the usage follows).
        auto errLines = LinesOf(o.err);
        if (r.status == 64)
            errLines.resize(1);
        const std::string tail = "\"status\": " + std::to_string(r.status) + ", \"messages\": " + MessagesOf(errLines) + "}\n";
        EXPECT_EQ(LinesOf(o.out).size(), 1u) << r.args;
        if (r.results) {
            EXPECT_TRUE(o.out.starts_with("{\"geometry\": ")) << r.args << "\n" << o.out.substr(0, 80);
            EXPECT_TRUE(o.out.ends_with(", " + tail)) << r.args << "\n" << o.out.substr(o.out.size() - std::min<std::size_t>(o.out.size(), 300));
        } else {
            EXPECT_EQ(o.out, "{" + tail) << r.args;
        }
    }
    // --help and --version too.
    EXPECT_EQ(Shell("--json --version").out, "{\"version\": \"" RESHEAT_VERSION_TEXT "\", \"status\": 0, \"messages\": []}\n");
    const auto help = Shell("--help --json");
    EXPECT_TRUE(help.out.starts_with("{\"usage\": \"usage: resheat-calc [--xy|--rz]")) << help.out;
    EXPECT_TRUE(help.out.ends_with("\\u000a\", \"status\": 0, \"messages\": []}\n")) << help.out;
}

TEST_F(CliMessages, ControlCharactersFromFilesAreShownEscaped)
{
    // A material name that would clear the screen and turn the text red.
    DataXY d = WorkedBar();
    d.name.set("\x1b[2J\x1b[31m");
    SaveDataXY(path("esc.dxy"), d);
    const auto o = Shell("--results " + path("r.txt") + " " + path("esc.dxy"));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(LinesOf(o.out).at(2), "Material     \\x1b[2J\\x1b[31m");
    EXPECT_EQ(o.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(LinesOf(Slurp(path("r.txt"))).at(2), "Material     \x1b[2J\x1b[31m\r"); // the file keeps its bytes

    // A table with a title-changing sequence and a NUL byte in its numbers.
    std::ofstream(path("esc.csv"), std::ios::binary)
        << kPropertyTableHeader << "\n20,1.4E-07\x1b]0;owned\x07,59.5,450\n"
        << std::string("1000,1.1E-06,30,4\0" "50\n", 21);
    const auto table = Shell("--refined --materials " + path("esc.csv") + " " + kRod);
    EXPECT_EQ(table.status, 2);
    EXPECT_EQ(table.err, "Execution Error: " + path("esc.csv") +
                             ": Line 2: \"1.4E-07\\x1b]0;owned\\x07\" is not a number (resistivity_Ohm_m)\n");
    std::ofstream(path("nul.csv"), std::ios::binary)
        << kPropertyTableHeader << std::string("\n1000,1.1E-06,30,4\0" "50\n", 22);
    EXPECT_EQ(Shell("--refined --materials " + path("nul.csv") + " " + kRod).err,
              "Execution Error: " + path("nul.csv") + ": Line 2: \"4\\x0050\" is not a number (specific_heat_J_kgK)\n");

    // A file name with a line end stays on one line.
    EXPECT_EQ(Shell("--xy '" + path("two\nlines") + "'").err,
              "Execution Error: " + dir.string() + "/two\\nlines: File not found\n");
}

TEST_F(CliMessages, EachMessageLineIsWrittenInOnePiece)
{
    // Standard error is a packet socket: each write arrives as one packet.
    const auto Packets = [](std::vector<const char *> argv) {
        int sv[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, sv), 0);
        argv.insert(argv.begin(), "resheat-calc");
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(sv[1], STDERR_FILENO);
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, STDIN_FILENO);
            ::dup2(null, STDOUT_FILENO);
            ::close(sv[0]);
            ::execv(RESHEAT_CALC_PATH, const_cast<char *const *>(argv.data()));
            ::_exit(127);
        }
        ::close(sv[1]);
        std::vector<std::string> packets;
        char buf[8192];
        for (ssize_t n; (n = ::recv(sv[0], buf, sizeof buf, 0)) > 0;)
            packets.emplace_back(buf, static_cast<std::size_t>(n));
        ::close(sv[0]);
        ::waitpid(pid, nullptr, 0);
        return packets;
    };
    // The worked bar's warnings, then a history file that cannot be written.
    const std::string history = path("no/h.csv");
    const auto run = Packets({"--refined", "--history", history.c_str(), kBar.c_str()});
    ASSERT_GE(run.size(), 2u);
    for (const auto &p : run) {
        EXPECT_TRUE(p.ends_with("\n") && p.find('\n') == p.size() - 1) << p;
        EXPECT_TRUE(p.starts_with("Warning: ") || p.starts_with("Error: ")) << p;
    }
    EXPECT_EQ(run.back(), "Error: " + history + ": File not found\n");
    // A refused command line: its line, then the usage.
    const auto usage = Packets({"--frobnicate", kBar.c_str()});
    ASSERT_EQ(usage.size(), 2u);
    EXPECT_EQ(usage[0], "resheat-calc: unknown option --frobnicate\n");
    EXPECT_TRUE(usage[1].starts_with("usage: resheat-calc")) << usage[1];
}

TEST_F(CliMessages, StandardStreamsAndFifos)
{
    // The case from the standard input: a file or a pipe.
    for (const auto &[args, before] : {std::pair<std::string, std::string>{"--xy /dev/stdin <" + kBar, ""},
                                       {"--xy /dev/stdin", "cat " + kBar + " |"}}) {
        const auto o = Shell(args, before);
        EXPECT_EQ(o.status, 0) << args << o.err;
        EXPECT_EQ(LinesOf(o.out).size(), 84u) << args;
    }
    // The history to the standard output: into a pipe, and into a file after
    // the printed text.
    const std::string calc = RESHEAT_CALC_PATH;
    EXPECT_EQ(std::system((calc + " --history /dev/stdout " + kRod + " | cat >" + path("piped") + " 2>" + path("err")).c_str()), 0)
        << Slurp(path("err"));
    EXPECT_EQ(std::system((calc + " --history /dev/stdout " + kRod + " >" + path("file") + " 2>" + path("err")).c_str()), 0)
        << Slurp(path("err"));
    for (const char *name : {"piped", "file"}) {
        const auto lines = LinesOf(Slurp(path(name)));
        ASSERT_EQ(lines.size(), 30u + 2 + 50 + 51) << name;
        EXPECT_EQ(lines[0], " Data for rz geometry") << name;
        EXPECT_EQ(lines[82], "time_s,To_C,Tr_C") << name;
    }
    // A FIFO as the case or the table is refused at once, never waited on.
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    const auto asCase = Shell("--xy " + path("fifo"));
    EXPECT_EQ(asCase.status, 2);
    EXPECT_EQ(asCase.err, "Execution Error: " + path("fifo") + ": not a regular file (a FIFO)\n");
    const auto asTable = Shell("--refined --materials " + path("fifo") + " " + kRod);
    EXPECT_EQ(asTable.status, 2);
    EXPECT_EQ(asTable.err, "Execution Error: " + path("fifo") + ": not a regular file (a FIFO)\n");
}
