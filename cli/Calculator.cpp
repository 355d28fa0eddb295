#include "cli/Calculator.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "cli/RefinedMain.h"
#include "core/Errors.h"
#include "core/Heating.h"
#include "core/ShownText.h"
#include "files/DataFiles.h"
#include "files/SafeWriter.h"

namespace resheat {

void WriteToStandardError(const std::string &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // nowhere left to say it
        done += static_cast<std::size_t>(n);
    }
}

void StderrHost::showMessage(const std::string &caption, const std::string &text)
{
    WriteToStandardError(ShownText(caption + ": " + text) + "\n");
    messages.push_back({caption, text});
}

bool PrintToStandardOutput(const std::string &text, StderrHost &host)
{
    errno = 0;
    const bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
    if (!ok) {
        host.showMessage("Error", "standard output: " + IoErrorMessage(errno ? errno : EIO));
        std::clearerr(stdout);
    }
    return ok;
}

int Finish(const CalcOptions &o, StderrHost &host, int status)
{
    if (o.json && !PrintToStandardOutput(StatusJson(status, host.messages), host))
        return kOutputFailed;
    return status;
}

namespace {

// --help and --version: the text, or with --json one member holding it.
int PrintText(const CalcOptions &o, StderrHost &host, const std::string &text, const std::string &member)
{
    const std::string printed = o.json ? StatusJson(kCalculated, {}, "\"" + member + "\": " + JsonString(text)) : text;
    return PrintToStandardOutput(printed, host) ? kCalculated : kOutputFailed;
}

// The requested files; every one is attempted, so that one failure loses
// nothing else.
bool WriteFiles(const CalcOptions &o, const CalcOutput &out, StderrHost &host)
{
    bool written = WriteOutputFile(o.resultsFile, host, [&] {
        if (out.geometry == Geometry::XY)
            SaveTextResultsXY(o.resultsFile, out.xy, out.resultsXY);
        else
            SaveTextResultsRZ(o.resultsFile, out.rz, out.resultsRZ);
    });
    written &= WriteOutputFile(o.historyFile, host, [&] { WriteHistoryCsv(o.historyFile, out); });
    return written;
}

} // namespace

int RunCalculator(const CalcOptions &o)
{
    StderrHost host;
    if (o.help)
        return PrintText(o, host, o.refined ? kRefinedUsageText : kUsageText, "usage");
    if (o.version)
        return o.json ? PrintText(o, host, RESHEAT_VERSION, "version")
                      : PrintText(o, host, "resheat-calc (ResHeat) " RESHEAT_VERSION "\n", "version");
    if (o.refined)
        return RunRefined(o);

    CalcOutput out;
    out.geometry = o.geometry;
    out.formulas = o.classic ? Formulas::Classic : Formulas::Series;
    const bool fixedTime = o.heatingTime.has_value();
    const double time = o.heatingTime.value_or(0.0);
    const CaseFileRead read = out.geometry == Geometry::XY
                                  ? ReadDataXY(o.caseFile, out.xy, StandardInput::Allowed)
                                  : ReadDataRZ(o.caseFile, out.rz, StandardInput::Allowed);
    if (!read.ok) {
        host.showMessage("Execution Error", o.caseFile + ": " + read.problem);
        return Finish(o, host, kUnreadable);
    }
    std::string printed;
    RunOutcome outcome = RunOutcome::Completed;
    try {
        if (out.geometry == Geometry::XY)
            outcome = CalculationXY(out.xy, fixedTime, out.resultsXY, time, out.history, host, out.formulas);
        else
            outcome = CalculationRZ(out.rz, fixedTime, out.resultsRZ, time, out.history, host, out.formulas);
        // A refused case has nothing to print; its message is on stderr.
        if (outcome == RunOutcome::Refused)
            return Finish(o, host, kNotComputed);
        printed = FormatText(out); // refuses a value that is no number
    } catch (const ArithmeticFault &e) {
        host.showMessage("Error", e.what());
        return Finish(o, host, kFault);
    }
    const int status = outcome == RunOutcome::NotReached ? kNotComputed
                       : outcome == RunOutcome::Rejected ? kRejected
                                                         : kCalculated;
    if (!o.json) {
        bool written = PrintToStandardOutput(printed, host);
        written &= WriteFiles(o, out, host);
        return written ? status : kOutputFailed;
    }
    // The JSON object comes last, so that it tells how writing the files went.
    out.status = WriteFiles(o, out, host) ? status : kOutputFailed;
    out.messages = host.messages;
    return PrintToStandardOutput(FormatJson(out), host) ? out.status : kOutputFailed;
}

} // namespace resheat
