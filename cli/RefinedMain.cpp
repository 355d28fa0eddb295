#include "cli/RefinedMain.h"

#include <iostream>
#include <vector>
#include <string>

#include "cli/Calculator.h"
#include "cli/RefinedOutput.h"
#include "core/Errors.h"
#include "files/DataFiles.h"
#include "files/PropertyTableFile.h"

namespace resheat {

namespace {

int ExitFor(RefinedStatus status)
{
    switch (status) {
    case RefinedStatus::Reached:
        return kCalculated;
    case RefinedStatus::Rejected:
        return kRejected;
    case RefinedStatus::Refused:
    case RefinedStatus::NotReached:
    case RefinedStatus::NotConverged:
    case RefinedStatus::Cancelled:
        break;
    }
    return kNotComputed;
}

} // namespace

int RunRefined(const CalcOptions &o)
{
    const std::string &caseFile = o.caseFile;
    const std::string &tableFile = o.materialsFile;
    StderrHost host;
    RefinedOutput out;
    out.geometry = o.geometry;
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
    options.emissivity = o.emissivity;
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

    std::string printed;
    try {
        printed = o.json ? FormatRefinedJson(out) : FormatRefinedText(out);
    } catch (const ArithmeticFault &e) {
        std::cerr << "Error: " << e.what() << "\n";
        return kFault;
    }
    // Every output is attempted, so that one failure loses nothing else; the
    // history file is written only for a run that reached the finish.
    bool written = PrintToStandardOutput(printed);
    if (out.result.status == RefinedStatus::Reached)
        written &= WriteOutputFile(o.historyFile, [&] { WriteRefinedHistoryCsv(o.historyFile, out); });
    if (!written)
        return kOutputFailed;
    return ExitFor(out.result.status);
}

} // namespace resheat
