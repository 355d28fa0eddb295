#include "cli/CalcOptions.h"

#include <algorithm>
#include <cctype>

#include "files/FixedNumber.h"

namespace resheat {

const char *const kUsageText =
    "usage: resheat-calc [--xy|--rz] [--time SECONDS] [--classic] [--json] [--results FILE] [--history FILE] CASEFILE\n"
    "       resheat-calc --refined [--xy|--rz] [--materials CSVFILE] [--emissivity E] [--json] [--history FILE] CASEFILE\n"
    "\n"
    "Reads a case data file (.dxy rectangular bar, .drz round rod), runs the\n"
    "calculation and prints the text results and the temperature history.\n"
    "  --xy, --rz        geometry, instead of taking it from the file extension\n"
    "  --time SECONDS    use this heating time instead of computing it\n"
    "  --classic         the classic formulas of earlier versions instead of the series\n"
    "  --json            print one JSON object instead of the text\n"
    "  --results FILE    also write the text results file\n"
    "  --history FILE    also write the temperature history as CSV\n"
    "  --refined         temperature-dependent calculation instead (resheat-calc --refined --help)\n"
    "  -h, --help        print this help and exit\n"
    "  --version         print the version and exit\n"
    "Exit status: 0 calculated, 1 rejected by the power density limit,\n"
    "2 case file not read, 3 arithmetic fault, 5 a case value refused or the finish\n"
    "temperature not reached, 64 usage error, 74 output not written.\n"
    "With --refined: 2 also for a table file not read.\n";

const char *const kRefinedUsageText =
    "usage: resheat-calc --refined [--xy|--rz] [--materials CSVFILE] [--emissivity E] [--json] [--history FILE] CASEFILE\n"
    "\n"
    "Runs the temperature-dependent calculation of a case data file: resistivity,\n"
    "heat conductivity and specific heat change with temperature, the surface\n"
    "also radiates.  The properties come from the built-in table of the case's\n"
    "material (\"steel\", \"Cu\", \"aluminium\"), otherwise from the case itself.\n"
    "  --xy, --rz          geometry, instead of taking it from the file extension\n"
    "  --materials CSVFILE property table (T_C,resistivity_Ohm_m,conductivity_W_mK,specific_heat_J_kgK)\n"
    "  --emissivity E      surface emissivity, 0 to 1, instead of the table's\n"
    "  --json              print one JSON object instead of the text\n"
    "  --history FILE      also write the history as CSV\n"
    "Exit status: 0 finish temperature reached, 1 rejected by the power density limit,\n"
    "2 case or table file not read, 3 arithmetic fault, 5 not computed,\n"
    "64 usage error, 74 output not written.\n";

namespace {

std::string Lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

ParsedArguments RefusedFor(bool refined, std::string problem, bool showUsage = true)
{
    ParsedArguments p;
    p.error = std::move(problem);
    p.showUsage = showUsage;
    p.options.refined = refined;
    p.usage = refined ? kRefinedUsageText : kUsageText;
    return p;
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string> &args)
{
    ParsedArguments parsed;
    CalcOptions &o = parsed.options;
    std::optional<Geometry> geometry;
    // --refined changes which options apply and which usage a refusal shows,
    // wherever it stands on the line.
    o.refined = std::find(args.begin(), args.end(), "--refined") != args.end();
    const auto Refused = [&o](std::string problem, bool showUsage = true) {
        return RefusedFor(o.refined, std::move(problem), showUsage);
    };
    // Options of only one of the two calculations.
    const auto OtherModel = [&o](const std::string &arg) {
        return o.refined ? arg + " cannot be used with --refined" : arg + " needs --refined";
    };
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
        } else if (arg == "--refined") {
            continue;
        } else if (arg == "--time") {
            if (o.refined)
                return Refused(OtherModel(arg));
            double t = 0;
            if (!value || !ParseFileNumber(*value, t))
                return Refused("--time needs a number of seconds");
            if (!(t > 0))
                return Refused("--time " + *value + ": Heating time must be greater than 0", false);
            o.heatingTime = t;
            ++i;
        } else if (arg == "--classic") {
            if (o.refined)
                return Refused(OtherModel(arg));
            o.classic = true;
        } else if (arg == "--materials") {
            if (!o.refined)
                return Refused(OtherModel(arg));
            if (!value || value->empty())
                return Refused("--materials needs a file name");
            o.materialsFile = *value;
            ++i;
        } else if (arg == "--emissivity") {
            if (!o.refined)
                return Refused(OtherModel(arg));
            double e = 0;
            if (!value || !ParseFileNumber(*value, e) || !(e >= 0 && e <= 1))
                return Refused("--emissivity needs a number from 0 to 1");
            o.emissivity = e;
            ++i;
        } else if (arg == "--results" && o.refined) {
            return Refused(OtherModel(arg));
        } else if (arg == "--results" || arg == "--history") {
            if (!value || value->empty())
                return Refused(arg + " needs a file name");
            (arg == "--results" ? o.resultsFile : o.historyFile) = *value;
            ++i;
        } else if (arg == "-h" || arg == "--help") {
            o.help = true;
            parsed.usage = o.refined ? kRefinedUsageText : kUsageText;
            return parsed;
        } else if (arg == "--version") {
            o.version = true;
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
