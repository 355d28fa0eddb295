// A guarded temporary file and the signals that end a program, each tried
// in a child process of its own.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/TemporaryFiles.h"
#include "support/ChildProcess.h"

using namespace resheat;
using resheat::testing::InChild;
namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t g_handled = 0;
void OwnHandler(int) { g_handled = 1; }

enum class Before { Default, Ignored, OwnHandler };

struct Outcome {
    int status = 0;         // the child's wait status
    std::string report;     // what it said, when it lived on
    bool fileLeft = false;
};

// The child guards a file (or guarded it, when `released`), then raises
// `signal` with the action `before` set up first.
Outcome Raise(const fs::path &file, int signal, Before before, bool released)
{
    std::ofstream(file) << "partial";
    Outcome o;
    const auto report = InChild(false, [&]() -> std::string {
        if (before == Before::Ignored)
            std::signal(signal, SIG_IGN);
        if (before == Before::OwnHandler)
            std::signal(signal, OwnHandler);
        {
            TemporaryFileGuard guard(file.string());
            if (!released)
                ::raise(signal);
        }
        if (released)
            ::raise(signal);
        return g_handled ? "lived on, handled" : "lived on";
    }, &o.status);
    o.report = report.value_or("");
    o.fileLeft = fs::exists(file);
    return o;
}

} // namespace

TEST(TemporaryFileGuard, TheSignalsThatEndAProgramRemoveTheFileFirst)
{
    const fs::path dir = fs::temp_directory_path() / ("resheat-temporary-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const struct {
        int signal;
        Before before;
        bool released;
        bool killed;       // the signal still ends the program
        const char *report; // what the program says when it lives on
        bool fileLeft;
    } rows[] = {
        {SIGINT, Before::Default, false, true, "", false},
        {SIGTERM, Before::Default, false, true, "", false},
        {SIGHUP, Before::Default, false, true, "", false},
        {SIGXFSZ, Before::Default, false, true, "", false},
        // The program's own handler still runs, after the file is gone.
        {SIGTERM, Before::OwnHandler, false, false, "lived on, handled", false},
        // An ignored signal stays ignored (nohup): the save goes on.
        {SIGHUP, Before::Ignored, false, false, "lived on", true},
        // Once the guard is gone the file is a kept one.
        {SIGINT, Before::Default, true, true, "", true},
    };
    for (const auto &r : rows) {
        const std::string what = std::string(strsignal(r.signal)) + " " + std::to_string(static_cast<int>(r.before)) +
                                 (r.released ? " released" : "");
        const Outcome o = Raise(dir / "temporary", r.signal, r.before, r.released);
        if (r.killed) {
            EXPECT_TRUE(WIFSIGNALED(o.status) && WTERMSIG(o.status) == r.signal) << what << ": status " << o.status;
        } else {
            EXPECT_TRUE(WIFEXITED(o.status)) << what;
            EXPECT_EQ(o.report, r.report) << what;
        }
        EXPECT_EQ(o.fileLeft, r.fileLeft) << what;
    }
    fs::remove_all(dir);
}

TEST(HoldSignals, ASignalWaitsUntilTheStepEnds)
{
    const fs::path dir = fs::temp_directory_path() / ("resheat-hold-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "step";
    int status = 0;
    InChild(false, [&]() -> std::string {
        HoldSignals hold;
        ::raise(SIGTERM);
        std::ofstream(file) << "step done"; // still runs
        return "";
    }, &status);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_TRUE(fs::exists(file));
    fs::remove_all(dir);
}
