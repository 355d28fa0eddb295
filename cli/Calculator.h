// What resheat-calc does with accepted options: read the case, calculate,
// print to standard output and write the requested files.
#pragma once

#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/Host.h"

#include "cli/CalcOptions.h"

namespace resheat {

// Everything resheat-calc has to say goes to stderr as "Caption: text", one
// line per message written in one piece (so that lines of programs running
// side by side never mix), control characters escaped.  The messages are
// kept for the JSON output, which lists the same lines.
class StderrHost : public CalcHost {
public:
    std::vector<Message> messages;
    void showMessage(const std::string &caption, const std::string &text) override;
};

// Writes `text` to stderr in one piece.
void WriteToStandardError(const std::string &text);

// Returns the exit status.
int RunCalculator(const CalcOptions &options);

// Writes `text` to standard output and flushes it.  A failure (a full disk,
// a closed descriptor) is reported through `host` and gives false.
bool PrintToStandardOutput(const std::string &text, StderrHost &host);

// The end of a run that has no results to print: with --json standard
// output still gets one object, {"status": N, "messages": [...]}.  Returns
// the exit status, 74 when that object could not be printed.
int Finish(const CalcOptions &options, StderrHost &host, int status);

// Writes one output file; false, with the message "Error: FILE: problem",
// on failure.  An empty name asks for no file.
template <typename Writer>
bool WriteOutputFile(const std::string &fileName, StderrHost &host, Writer write)
{
    if (fileName.empty())
        return true;
    try {
        write();
        return true;
    } catch (const IoError &e) {
        host.showMessage("Error", fileName + ": " + e.what());
        return false;
    }
}

} // namespace resheat
