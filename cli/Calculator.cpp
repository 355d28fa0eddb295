#include "cli/Calculator.h"

#include "cli/RefinedMain.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <vector>

#include "core/Errors.h"
#include "core/Heating.h"
#include "files/DataFiles.h"
#include "files/SafeWriter.h"

namespace resheat {

bool PrintToStandardOutput(const std::string &text)
{
    errno = 0;
    const bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
    if (!ok)
        std::cerr << "Error: standard output: " << IoErrorMessage(errno ? errno : EIO) << "\n";
    return ok;
}

int RunCalculator(const CalcOptions &o)
{
    if (o.help)
        return PrintToStandardOutput(o.refined ? kRefinedUsageText : kUsageText) ? kCalculated : kOutputFailed;
    if (o.version)
        return PrintToStandardOutput("resheat-calc (ResHeat) " RESHEAT_VERSION "\n") ? kCalculated : kOutputFailed;
    if (o.refined)
        return RunRefined(o);

    StderrHost host;
    CalcOutput out;
    out.geometry = o.geometry;
    out.formulas = o.classic ? Formulas::Classic : Formulas::Series;
    const bool fixedTime = o.heatingTime.has_value();
    const double time = o.heatingTime.value_or(0.0);
    std::string printed;
    RunOutcome outcome = RunOutcome::Completed;
    try {
        if (out.geometry == Geometry::XY) {
            if (!LoadDataXY(o.caseFile, out.xy, host))
                return kUnreadable;
            outcome = CalculationXY(out.xy, fixedTime, out.resultsXY, time, out.history, host, out.formulas);
        } else {
            if (!LoadDataRZ(o.caseFile, out.rz, host))
                return kUnreadable;
            outcome = CalculationRZ(out.rz, fixedTime, out.resultsRZ, time, out.history, host, out.formulas);
        }
        // A refused case has nothing to print; its message is on stderr.
        if (outcome == RunOutcome::Refused)
            return kNotComputed;
        out.messages = host.messages;
        printed = o.json ? FormatJson(out) : FormatText(out); // refuses a value that is no number
    } catch (const ArithmeticFault &e) {
        std::cerr << "Error: " << e.what() << "\n";
        return kFault;
    }

    // Every output is attempted, so that one failure loses nothing else.
    bool written = PrintToStandardOutput(printed);
    written &= WriteOutputFile(o.resultsFile, [&] {
        if (out.geometry == Geometry::XY)
            SaveTextResultsXY(o.resultsFile, out.xy, out.resultsXY);
        else
            SaveTextResultsRZ(o.resultsFile, out.rz, out.resultsRZ);
    });
    written &= WriteOutputFile(o.historyFile, [&] { WriteHistoryCsv(o.historyFile, out); });
    if (!written)
        return kOutputFailed;
    if (outcome == RunOutcome::NotReached)
        return kNotComputed;
    return outcome == RunOutcome::Rejected ? kRejected : kCalculated;
}

} // namespace resheat
