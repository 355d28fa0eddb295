#include "cli/CalcOptions.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <set>

#include "files/FixedNumber.h"

namespace resheat {

const char *const kUsageText =
    "usage: resheat-calc [--xy|--rz] [--time SECONDS] [--classic] [--json] [--results FILE] [--history FILE] CASEFILE\n"
    "       resheat-calc --refined [--xy|--rz] [--materials CSVFILE] [--emissivity E]\n"
    "                 [--frequency HZ [--loop-reactance OHM] [--bh CSVFILE]] [--json] [--history FILE] CASEFILE\n"
    "\n"
    "Reads a case data file (.dxy rectangular bar, .drz round rod), runs the\n"
    "calculation and prints the text results and the temperature history.\n"
    "  --xy, --rz        geometry, instead of taking it from the file extension\n"
    "  --time SECONDS    use this heating time instead of computing it\n"
    "  --classic         the classic formulas of earlier versions instead of the series\n"
    "  --json            print one JSON object instead of the text, also on failure\n"
    "  --results FILE    also write the text results file\n"
    "  --history FILE    also write the temperature history as CSV\n"
    "  --refined         temperature-dependent calculation instead (resheat-calc --refined --help)\n"
    "  -h, --help        print this help and exit\n"
    "  --version         print the version and exit\n"
    "Each option is given at most once.  A value or a case file name that starts\n"
    "with -- goes after --, as in --history -- --odd.csv.  CASEFILE /dev/stdin\n"
    "reads the standard input.\n"
    "Exit status: 0 calculated, 1 rejected by the power density limit,\n"
    "2 case file not read, 3 arithmetic fault, 5 a case value refused or the finish\n"
    "temperature not reached, 64 usage error, 74 output not written.\n"
    "With --refined: 2 also for a table file not read.\n";

const char *const kRefinedUsageText =
    "usage: resheat-calc --refined [--xy|--rz] [--materials CSVFILE] [--emissivity E]\n"
    "                 [--frequency HZ [--loop-reactance OHM] [--bh CSVFILE]] [--json] [--history FILE] CASEFILE\n"
    "\n"
    "Runs the temperature-dependent calculation of a case data file: resistivity,\n"
    "heat conductivity and specific heat change with temperature, the surface\n"
    "also radiates.  The properties come from the built-in table of the case's\n"
    "material (\"steel\", \"Cu\", \"aluminium\"), otherwise from the case itself.\n"
    "  --xy, --rz          geometry, instead of taking it from the file extension\n"
    "  --materials CSVFILE property table (T_C,resistivity_Ohm_m,conductivity_W_mK,specific_heat_J_kgK)\n"
    "  --emissivity E      surface emissivity, 0 to 1, instead of the table's\n"
    "  --frequency HZ      alternating current of this frequency, 0 to 1000000 Hz (0: direct\n"
    "                      current); skin effect, and magnetic steel below its Curie point\n"
    "  --loop-reactance OHM  reactance of busbars and transformer, 0 or more (default 0):\n"
    "                      the power factor, supply kVA and voltage the supply sees\n"
    "  --bh CSVFILE        magnetisation curve of the steel (H_A_m,B_T rows, # curie_C=)\n"
    "                      instead of the built-in one of \"steel\"\n"
    "                      (with --frequency; see the manual page for the format)\n"
    "  --json              print one JSON object instead of the text, also on failure\n"
    "  --history FILE      also write the history as CSV\n"
    "Each option is given at most once.  A value or a case file name that starts\n"
    "with -- goes after --, as in --history -- --odd.csv.\n"
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

} // namespace

// One walk over the arguments.  A refusal is kept and the walk goes on, so
// that --refined and --json count wherever they stand: they decide which
// usage a refusal shows and how it is printed.  A new option is a field in
// CalcOptions and a branch here.
ParsedArguments ParseArguments(const std::vector<std::string> &args)
{
    ParsedArguments parsed;
    CalcOptions &o = parsed.options;
    std::optional<Geometry> geometry;
    std::string problem;      // the first refusal
    bool problemUsage = true; // whether the usage follows it
    std::set<std::string> seen;
    std::vector<std::string> plainOnly, refinedOnly; // options of one calculation
    bool operandsOnly = false; // after "--"
    const auto Refuse = [&](std::string why, bool showUsage = true) {
        if (problem.empty() && !o.help && !o.version) {
            problem = std::move(why);
            problemUsage = showUsage;
        }
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        // An option's value is the next argument.  One that starts with --
        // is the next option, not a value, unless "--" stands before it.
        const auto Value = [&](const std::string &what) -> std::optional<std::string> {
            if (i + 2 < args.size() && args[i + 1] == "--") {
                i += 2;
                return args[i];
            }
            if (i + 1 < args.size() && !args[i + 1].starts_with("--"))
                return args[++i];
            if (i + 1 < args.size() && args[i + 1] != "--")
                Refuse(arg + " needs " + what + ", not the option " + args[i + 1] +
                       " (a value that starts with -- goes after --: " + arg + " -- " + args[i + 1] + ")");
            else
                Refuse(arg + " needs " + what);
            return std::nullopt;
        };
        if (operandsOnly || arg.empty() || arg[0] != '-' || arg == "-") {
            if (arg.empty())
                Refuse("an empty case file name");
            else if (!o.caseFile.empty())
                Refuse("only one case file can be given");
            else
                o.caseFile = arg;
            continue;
        }
        if (arg == "--") {
            operandsOnly = true;
            continue;
        }
        if (!seen.insert(arg == "-h" ? "--help" : arg).second)
            Refuse(arg + " is given twice");
        if (arg == "--xy" || arg == "--rz") {
            const Geometry g = arg == "--xy" ? Geometry::XY : Geometry::RZ;
            if (geometry && *geometry != g)
                Refuse("--xy and --rz exclude each other");
            geometry = g;
        } else if (arg == "--json") {
            o.json = true;
        } else if (arg == "--refined") {
            o.refined = true;
        } else if (arg == "--time") {
            plainOnly.push_back(arg);
            double t = 0;
            if (const auto v = Value("a number of seconds")) {
                if (!ParseFileNumber(*v, t))
                    Refuse("--time needs a number of seconds");
                else if (!(t > 0))
                    Refuse("--time " + *v + ": Heating time must be greater than 0", false);
                else
                    o.heatingTime = t;
            }
        } else if (arg == "--classic") {
            plainOnly.push_back(arg);
            o.classic = true;
        } else if (arg == "--materials") {
            refinedOnly.push_back(arg);
            if (const auto v = Value("a file name"); v && v->empty())
                Refuse("--materials needs a file name");
            else if (v)
                o.materialsFile = *v;
        } else if (arg == "--emissivity") {
            refinedOnly.push_back(arg);
            double e = 0;
            if (const auto v = Value("a number from 0 to 1")) {
                if (!ParseFileNumber(*v, e) || !(e >= 0 && e <= 1))
                    Refuse("--emissivity needs a number from 0 to 1");
                else
                    o.emissivity = e;
            }
        } else if (arg == "--frequency") {
            refinedOnly.push_back(arg);
            double f = 0;
            if (const auto v = Value("a number of hertz from 0 to 1000000")) {
                if (!ParseFileNumber(*v, f) || !(f >= 0 && f <= 1E6))
                    Refuse("--frequency needs a number of hertz from 0 to 1000000");
                else
                    o.frequency = f;
            }
        } else if (arg == "--loop-reactance") {
            refinedOnly.push_back(arg);
            double x = 0;
            if (const auto v = Value("a number of ohms, 0 or more")) {
                if (!ParseFileNumber(*v, x) || !(x >= 0 && std::isfinite(x)))
                    Refuse("--loop-reactance needs a number of ohms, 0 or more");
                else
                    o.loopReactance = x;
            }
        } else if (arg == "--bh") {
            refinedOnly.push_back(arg);
            if (const auto v = Value("a file name"); v && v->empty())
                Refuse("--bh needs a file name");
            else if (v)
                o.bhFile = *v;
        } else if (arg == "--results" || arg == "--history") {
            if (arg == "--results")
                plainOnly.push_back(arg);
            if (const auto v = Value("a file name"); v && v->empty())
                Refuse(arg + " needs a file name");
            else if (v)
                (arg == "--results" ? o.resultsFile : o.historyFile) = *v;
        } else if (arg == "-h" || arg == "--help") {
            if (problem.empty() && !o.version)
                o.help = true;
        } else if (arg == "--version") {
            if (problem.empty() && !o.help)
                o.version = true;
        } else {
            Refuse("unknown option " + arg);
        }
    }
    parsed.usage = o.refined ? kRefinedUsageText : kUsageText;
    if (o.help || o.version)
        return parsed;
    // An option of the other calculation is said before a value it refused.
    for (const auto &arg : o.refined ? plainOnly : refinedOnly) {
        problem.clear();
        Refuse(o.refined ? arg + " cannot be used with --refined" : arg + " needs --refined");
        break;
    }
    // The supply's other options describe an alternating current.
    for (const char *option : {"--loop-reactance", "--bh"}) {
        if (problem.empty() && seen.contains(option) && !seen.contains("--frequency"))
            Refuse(std::string(option) + " needs --frequency");
    }
    if (problem.empty() && o.caseFile.empty())
        Refuse("no case file given");
    if (problem.empty() && !geometry) {
        const auto dot = o.caseFile.rfind('.');
        const std::string ext = dot == std::string::npos ? "" : Lower(o.caseFile.substr(dot));
        if (ext == ".dxy")
            geometry = Geometry::XY;
        else if (ext == ".drz")
            geometry = Geometry::RZ;
        else
            Refuse("cannot tell the geometry of " + o.caseFile + " (extension .dxy or .drz, or --xy/--rz)");
    }
    if (!problem.empty()) {
        parsed.error = problem;
        parsed.showUsage = problemUsage;
        return parsed;
    }
    o.geometry = *geometry;
    return parsed;
}

} // namespace resheat
