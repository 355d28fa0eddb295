// resheat-calc's command line: one options struct filled by one parse
// function, kept apart from main() so that tests and the fuzz harness reach
// it.  A new option is a field here and a branch in ParseArguments.
//
// Rules: each option at most once; an option's value is the next argument,
// and never one that starts with -- unless "--" stands before it
// (--history -- --odd.csv); after a "--" that is no option's value, the
// arguments are the case file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/CalcOutput.h"

namespace resheat {

enum ExitCode {
    kCalculated = 0,
    kRejected = 1,     // by the power density limit; what was computed is printed
    kUnreadable = 2,   // the case file was not read
    kFault = 3,        // an arithmetic fault ended the calculation
    kNotComputed = 5,  // finish temperature not reached, or a case the calculation refuses
    kUsage = 64,
    kOutputFailed = 74, // standard output or an output file could not be written
};

extern const char *const kUsageText;
extern const char *const kRefinedUsageText; // --refined --help

struct CalcOptions {
    Geometry geometry = Geometry::XY; // from --xy/--rz, else the case file's extension
    std::optional<double> heatingTime; // --time: instead of the computed one, > 0
    bool classic = false; // --classic: the classic formulas instead of the series
    bool json = false;    // also set for a refused command line, which then prints JSON
    bool help = false;    // --help: print the usage text and nothing else
    bool version = false; // --version: print the version and nothing else
    // --refined: the temperature-dependent calculation instead, with an
    // optional property table file and emissivity.
    bool refined = false;
    std::string materialsFile;
    std::optional<double> emissivity; // 0 to 1
    // Alternating current (with --refined): the frequency [Hz], 0 for
    // direct current; the loop reactance [ohm]; a magnetisation curve file.
    double frequency = 0;
    double loopReactance = 0;
    std::string bhFile;
    std::string resultsFile;
    std::string historyFile;
    std::string caseFile;
};

struct ParsedArguments {
    CalcOptions options;
    std::string error;      // empty when the arguments were accepted; one line
    bool showUsage = false; // print the usage text after the error line
    const char *usage = kUsageText; // the one that fits the command line
};

// The arguments after the program's name.
ParsedArguments ParseArguments(const std::vector<std::string> &args);

} // namespace resheat
