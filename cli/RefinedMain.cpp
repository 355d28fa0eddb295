#include "cli/RefinedMain.h"

#include <cctype>
#include <iostream>
#include <optional>
#include <string>

#include "cli/RefinedOutput.h"
#include "core/Errors.h"
#include "files/DataFiles.h"
#include "files/FixedNumber.h"
#include "files/PropertyTableFile.h"

namespace resheat {

namespace {

enum ExitCode {
    kReached = 0,
    kRejected = 1,
    kUnreadable = 2,
    kFault = 3,
    kNotComputed = 5,
    kUsage = 64,
    kOutputFailed = 74,
};

const char *const kRefinedUsage =
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
    "64 usage error, 74 output file not written.\n";

int Usage(const std::string &problem)
{
    std::cerr << "resheat-calc: " << problem << "\n" << kRefinedUsage;
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

std::string LowerExtension(const std::string &file)
{
    const auto dot = file.rfind('.');
    std::string ext = dot == std::string::npos ? "" : file.substr(dot);
    for (char &c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

int ExitFor(RefinedStatus status)
{
    switch (status) {
    case RefinedStatus::Reached:
        return kReached;
    case RefinedStatus::Rejected:
        return kRejected;
    case RefinedStatus::Refused:
    case RefinedStatus::NotReached:
    case RefinedStatus::Cancelled:
        break;
    }
    return kNotComputed;
}

} // namespace

bool IsRefinedCall(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--refined")
            return true;
    return false;
}

int RefinedMain(int argc, char **argv)
{
    std::optional<Geometry> geometry;
    std::optional<double> emissivity;
    bool json = false;
    std::string tableFile, historyFile, caseFile;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc)
                return std::nullopt;
            return std::string(argv[++i]);
        };
        if (arg == "--refined") {
            continue;
        } else if (arg == "--xy" || arg == "--rz") {
            const Geometry g = arg == "--xy" ? Geometry::XY : Geometry::RZ;
            if (geometry && *geometry != g)
                return Usage("--xy and --rz exclude each other");
            geometry = g;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--materials") {
            const auto v = value();
            if (!v || v->empty())
                return Usage("--materials needs a file name");
            tableFile = *v;
        } else if (arg == "--emissivity") {
            const auto v = value();
            double e = 0;
            if (!v || !ParseFileNumber(*v, e) || !(e >= 0 && e <= 1))
                return Usage("--emissivity needs a number from 0 to 1");
            emissivity = e;
        } else if (arg == "--history") {
            const auto v = value();
            if (!v || v->empty())
                return Usage("--history needs a file name");
            historyFile = *v;
        } else if (arg == "--time" || arg == "--results") {
            return Usage(arg + " cannot be used with --refined");
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kRefinedUsage;
            return kReached;
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
        const std::string ext = LowerExtension(caseFile);
        if (ext == ".dxy")
            geometry = Geometry::XY;
        else if (ext == ".drz")
            geometry = Geometry::RZ;
        else
            return Usage("cannot tell the geometry of " + caseFile +
                         " (extension .dxy or .drz, or --xy/--rz)");
    }

    StderrHost host;
    RefinedOutput out;
    out.geometry = *geometry;
    const bool bar = out.geometry == Geometry::XY;
    if (bar ? !LoadDataXY(caseFile, out.xy, host) : !LoadDataRZ(caseFile, out.rz, host))
        return kUnreadable;

    PropertyTable table;
    if (!tableFile.empty()) {
        const auto read = LoadPropertyTable(tableFile);
        if (!read.ok) {
            host.showMessage("Execution Error", tableFile + ": " + read.message);
            return kUnreadable;
        }
        table = read.table;
    } else if (bar) {
        table = DefaultPropertyTable(out.xy.name.str(), out.xy.resistivity, out.xy.conductivity,
                                     out.xy.specificHeat);
    } else {
        table = DefaultPropertyTable(out.rz.name.str(), out.rz.resistivity, out.rz.conductivity,
                                     out.rz.specificHeat);
    }

    RefinedOptions options;
    options.emissivity = emissivity;
    try {
        out.result = bar ? RefinedCalculationXY(out.xy, table, options)
                         : RefinedCalculationRZ(out.rz, table, options);
    } catch (const ArithmeticFault &e) {
        std::cerr << "Error: " << e.what() << "\n";
        return kFault;
    }
    out.messages = RefinedMessages(out.result);
    for (const auto &m : out.messages)
        std::cerr << m.caption << ": " << m.text << "\n";

    std::cout << (json ? FormatRefinedJson(out) : FormatRefinedText(out));
    std::cout.flush();

    if (!historyFile.empty() && out.result.status == RefinedStatus::Reached) {
        try {
            WriteRefinedHistoryCsv(historyFile, out);
        } catch (const IoError &e) {
            std::cerr << "Error: " << e.what() << "\n";
            return kOutputFailed;
        }
    }
    return ExitFor(out.result.status);
}

} // namespace resheat
