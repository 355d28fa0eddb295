#include "cli/RefinedMain.h"

#include <string>
#include <vector>

#include "cli/Calculator.h"
#include "cli/RefinedOutput.h"
#include "core/Errors.h"
#include "files/DataFiles.h"
#include "files/MagneticTableFile.h"
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
    const CaseFileRead read = bar ? ReadDataXY(caseFile, out.xy, StandardInput::Allowed)
                                  : ReadDataRZ(caseFile, out.rz, StandardInput::Allowed);
    if (!read.ok) {
        host.showMessage("Execution Error", caseFile + ": " + read.problem);
        return Finish(o, host, kUnreadable);
    }

    PropertyTable table;
    if (!tableFile.empty()) {
        const auto loaded = LoadPropertyTable(tableFile, StandardInput::Allowed);
        if (!loaded.ok) {
            host.showMessage("Execution Error", tableFile + ": " + loaded.message);
            return Finish(o, host, kUnreadable);
        }
        table = loaded.table;
    } else if (bar) {
        table = DefaultPropertyTable(out.xy.name.str(), out.xy.resistivity, out.xy.conductivity,
                                     out.xy.specificHeat);
    } else {
        table = DefaultPropertyTable(out.rz.name.str(), out.rz.resistivity, out.rz.conductivity,
                                     out.rz.specificHeat);
    }

    RefinedOptions options;
    options.emissivity = o.emissivity;
    options.frequency = o.frequency;
    options.loopReactance = o.loopReactance;
    // Alternating current: the user's magnetisation curve, else the built-in
    // one of a magnetic material.
    if (o.frequency > 0 && !o.bhFile.empty()) {
        const auto read = LoadMagneticTable(o.bhFile);
        if (!read.ok) {
            host.showMessage("Execution Error", o.bhFile + ": " + read.message);
            return Finish(o, host, kUnreadable);
        }
        options.magnetic = read.table;
    } else if (o.frequency > 0) {
        options.magnetic = BuiltInMagneticTable(bar ? out.xy.name.str() : out.rz.name.str());
    }
    std::string printed;
    try {
        out.result = bar ? RefinedCalculationXY(out.xy, table, options)
                         : RefinedCalculationRZ(out.rz, table, options);
        for (const auto &m : RefinedMessages(out.result))
            host.showMessage(m.caption, m.text);
        printed = FormatRefinedText(out); // refuses a value that is no number
    } catch (const ArithmeticFault &e) {
        host.showMessage("Error", e.what());
        return Finish(o, host, kFault);
    }
    const int status = ExitFor(out.result.status);
    // The history file is written only for a run that reached the finish.
    const auto WriteHistory = [&] {
        return out.result.status != RefinedStatus::Reached ||
               WriteOutputFile(o.historyFile, host, [&] { WriteRefinedHistoryCsv(o.historyFile, out); });
    };
    if (!o.json) {
        // Every output is attempted, so that one failure loses nothing else.
        bool written = PrintToStandardOutput(printed, host);
        written &= WriteHistory();
        return written ? status : kOutputFailed;
    }
    // The JSON object comes last, so that it tells how writing the file went.
    out.status = WriteHistory() ? status : kOutputFailed;
    out.messages = host.messages;
    return PrintToStandardOutput(FormatRefinedJson(out), host) ? out.status : kOutputFailed;
}

} // namespace resheat
