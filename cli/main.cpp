// resheat-calc: reads one case data file, runs the calculation of its
// geometry and prints or writes the results, for scripted and batch work.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/CalcOutput.h"
#include "cli/RefinedMain.h"
#include "core/Errors.h"
#include "core/Heating.h"
#include "files/DataFiles.h"
#include "files/FixedNumber.h"

namespace {

using namespace resheat;

enum ExitCode { kCalculated = 0, kRejected = 1, kUnreadable = 2, kFault = 3, kOutputFailed = 74, kUsage = 64 };

const char *const kUsageText =
    "usage: resheat-calc [--xy|--rz] [--time SECONDS] [--json] [--results FILE] [--history FILE] CASEFILE\n"
    "       resheat-calc --refined [--xy|--rz] [--materials CSVFILE] [--emissivity E] [--json] [--history FILE] CASEFILE\n"
    "\n"
    "Reads a case data file (.dxy rectangular bar, .drz round rod), runs the\n"
    "calculation and prints the text results and the temperature history.\n"
    "  --xy, --rz        geometry, instead of taking it from the file extension\n"
    "  --time SECONDS    use this heating time instead of computing it\n"
    "  --json            print one JSON object instead of the text\n"
    "  --results FILE    also write the text results file\n"
    "  --history FILE    also write the temperature history as CSV\n"
    "  --refined         temperature-dependent calculation instead (resheat-calc --refined --help)\n"
    "  -h, --help        print this help and exit\n"
    "  --version         print the version and exit\n"
    "Exit status: 0 calculated, 1 rejected by the power density limit,\n"
    "2 case file not read, 3 arithmetic fault, 64 usage error, 74 output file not written.\n"
    "With --refined: 2 also for a table file not read, 5 not computed.\n";

int Usage(const std::string &problem)
{
    std::cerr << "resheat-calc: " << problem << "\n" << kUsageText;
    return kUsage;
}

class StderrHost : public CalcHost {
public:
    std::vector<Message> messages;
    void showMessage(const std::string &caption, const std::string &text) override
    {
        std::cerr << caption << ": " << text << "\n";
        messages.push_back({caption, text});
    }
};

std::string Lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (IsRefinedCall(argc, argv))
        return RefinedMain(argc, argv);
    std::optional<Geometry> geometry;
    std::optional<double> userTime;
    bool json = false;
    std::string resultsFile, historyFile, caseFile;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char *name) -> std::optional<std::string> {
            if (i + 1 >= argc)
                return std::nullopt;
            (void)name;
            return std::string(argv[++i]);
        };
        if (arg == "--xy" || arg == "--rz") {
            const Geometry g = arg == "--xy" ? Geometry::XY : Geometry::RZ;
            if (geometry && *geometry != g)
                return Usage("--xy and --rz exclude each other");
            geometry = g;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--time") {
            const auto v = value("--time");
            double t = 0;
            if (!v || !ParseFileNumber(*v, t))
                return Usage("--time needs a number of seconds");
            userTime = t;
        } else if (arg == "--results") {
            const auto v = value("--results");
            if (!v || v->empty())
                return Usage("--results needs a file name");
            resultsFile = *v;
        } else if (arg == "--history") {
            const auto v = value("--history");
            if (!v || v->empty())
                return Usage("--history needs a file name");
            historyFile = *v;
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsageText;
            return kCalculated;
        } else if (arg == "--version") {
            std::cout << "resheat-calc (ResHeat) " RESHEAT_VERSION "\n";
            return kCalculated;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return Usage("unknown option " + arg);
        } else if (caseFile.empty()) {
            caseFile = arg;
        } else {
            return Usage("only one case file can be given");
        }
    }
    if (caseFile.empty())
        return Usage("no case file given");
    if (!geometry) {
        const auto dot = caseFile.rfind('.');
        const std::string ext = dot == std::string::npos ? "" : Lower(caseFile.substr(dot));
        if (ext == ".dxy")
            geometry = Geometry::XY;
        else if (ext == ".drz")
            geometry = Geometry::RZ;
        else
            return Usage("cannot tell the geometry of " + caseFile +
                         " (extension .dxy or .drz, or --xy/--rz)");
    }

    StderrHost host;
    CalcOutput out;
    out.geometry = *geometry;
    const bool fixedTime = userTime.has_value();
    const double time = userTime.value_or(0.0);
    try {
        if (out.geometry == Geometry::XY) {
            if (!LoadDataXY(caseFile, out.xy, host))
                return kUnreadable;
            CalculationXY(out.xy, fixedTime, out.resultsXY, time, out.history, host);
        } else {
            if (!LoadDataRZ(caseFile, out.rz, host))
                return kUnreadable;
            CalculationRZ(out.rz, fixedTime, out.resultsRZ, time, out.history, host);
        }
    } catch (const ArithmeticFault &e) {
        std::cerr << "Error: " << e.what() << "\n";
        return kFault;
    }
    out.messages = host.messages;

    if (json)
        std::cout << FormatJson(out);
    else
        std::cout << FormatText(out);
    std::cout.flush();

    try {
        if (!resultsFile.empty()) {
            if (out.geometry == Geometry::XY)
                SaveTextResultsXY(resultsFile, out.xy, out.resultsXY);
            else
                SaveTextResultsRZ(resultsFile, out.rz, out.resultsRZ);
        }
        if (!historyFile.empty())
            WriteHistoryCsv(historyFile, out);
    } catch (const IoError &e) {
        std::cerr << "Error: " << e.what() << "\n";
        return kOutputFailed;
    }
    return out.rejected() ? kRejected : kCalculated;
}
