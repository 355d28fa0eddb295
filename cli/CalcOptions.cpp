#include "cli/CalcOptions.h"

#include <cctype>

#include "files/FixedNumber.h"

namespace resheat {

const char *const kUsageText =
    "usage: resheat-calc [--xy|--rz] [--time SECONDS] [--json] [--results FILE] [--history FILE] CASEFILE\n"
    "\n"
    "Reads a case data file (.dxy rectangular bar, .drz round rod), runs the\n"
    "calculation and prints the text results and the temperature history.\n"
    "  --xy, --rz        geometry, instead of taking it from the file extension\n"
    "  --time SECONDS    use this heating time instead of computing it\n"
    "  --json            print one JSON object instead of the text\n"
    "  --results FILE    also write the text results file\n"
    "  --history FILE    also write the temperature history as CSV\n"
    "Exit status: 0 calculated, 1 rejected by the power density limit,\n"
    "2 case file not read, 3 arithmetic fault, 64 usage error, 74 output not written.\n";

namespace {

std::string Lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

ParsedArguments Refused(std::string problem, bool showUsage = true)
{
    ParsedArguments p;
    p.error = std::move(problem);
    p.showUsage = showUsage;
    return p;
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string> &args)
{
    ParsedArguments parsed;
    CalcOptions &o = parsed.options;
    std::optional<Geometry> geometry;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const std::string *value = i + 1 < args.size() ? &args[i + 1] : nullptr;
        if (arg == "--xy" || arg == "--rz") {
            const Geometry g = arg == "--xy" ? Geometry::XY : Geometry::RZ;
            if (geometry && *geometry != g)
                return Refused("--xy and --rz exclude each other");
            geometry = g;
        } else if (arg == "--json") {
            o.json = true;
        } else if (arg == "--time") {
            double t = 0;
            if (!value || !ParseFileNumber(*value, t))
                return Refused("--time needs a number of seconds");
            if (!(t > 0))
                return Refused("--time " + *value + ": Heating time must be greater than 0", false);
            o.heatingTime = t;
            ++i;
        } else if (arg == "--results" || arg == "--history") {
            if (!value || value->empty())
                return Refused(arg + " needs a file name");
            (arg == "--results" ? o.resultsFile : o.historyFile) = *value;
            ++i;
        } else if (arg == "-h" || arg == "--help") {
            o.help = true;
            return parsed;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return Refused("unknown option " + arg);
        } else if (o.caseFile.empty() && !arg.empty()) {
            o.caseFile = arg;
        } else {
            return Refused(arg.empty() ? "an empty case file name" : "only one case file can be given");
        }
    }
    if (o.caseFile.empty())
        return Refused("no case file given");
    if (!geometry) {
        const auto dot = o.caseFile.rfind('.');
        const std::string ext = dot == std::string::npos ? "" : Lower(o.caseFile.substr(dot));
        if (ext == ".dxy")
            geometry = Geometry::XY;
        else if (ext == ".drz")
            geometry = Geometry::RZ;
        else
            return Refused("cannot tell the geometry of " + o.caseFile +
                           " (extension .dxy or .drz, or --xy/--rz)");
    }
    o.geometry = *geometry;
    return parsed;
}

} // namespace resheat
