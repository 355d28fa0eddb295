// Running resheat-calc as a program from a test: a temporary folder of the
// test's own and the outcome of one run.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace resheat::testing {

struct CliOutcome {
    int status = -1;
    std::string out, err;
};

inline std::string Slurp(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::vector<std::string> LinesOf(const std::string &s)
{
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string line; std::getline(in, line);)
        v.push_back(line);
    return v;
}

// The shipped example cases.
inline std::string ExampleCase(const std::string &name) { return RESHEAT_SOURCE_DIR "/examples/" + name; }

class CliFolderTest : public ::testing::Test {
protected:
    std::filesystem::path dir;
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("resheat-calc-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string path(const std::string &name) const { return (dir / name).string(); }

    // One shell command line in the test's folder: `before` the program,
    // then the program with `args`, which may hold redirections of its own.
    // Otherwise standard output and error go to files and standard input is
    // empty, or the pipe when `before` ends in "|"; a run longer than 60 s
    // is ended.
    CliOutcome Shell(const std::string &args, const std::string &before = "") const
    {
        std::filesystem::remove(path("out"));
        const std::string cmd = "cd '" + dir.string() + "' && " + before + " timeout 60 " + std::string(RESHEAT_CALC_PATH) + " >" + path("out") +
                                " 2>" + path("err") + (before.ends_with("|") ? " " : " </dev/null ") + args;
        CliOutcome o;
        const int raw = std::system(("{ " + cmd + "; }").c_str());
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.out = Slurp(path("out"));
        o.err = Slurp(path("err"));
        return o;
    }
};

} // namespace resheat::testing
