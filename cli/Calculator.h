// What resheat-calc does with accepted options: read the case, calculate,
// print to standard output and write the requested files.
#pragma once

#include <iostream>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/Host.h"

#include "cli/CalcOptions.h"

namespace resheat {

// The calculations' messages, on stderr as "Caption: text" and kept for the
// JSON output.
class StderrHost : public CalcHost {
public:
    std::vector<Message> messages;
    void showMessage(const std::string &caption, const std::string &text) override
    {
        std::cerr << caption << ": " << text << "\n";
        messages.push_back({caption, text});
    }
};

// Returns the exit status; messages go to stderr as "Caption: text".
int RunCalculator(const CalcOptions &options);

// Writes `text` to standard output and flushes it.  A failure (a full disk,
// a closed descriptor) is reported on stderr and gives false.
bool PrintToStandardOutput(const std::string &text);

// Writes one output file; false, with the message on stderr, on failure.
// An empty name asks for no file.
template <typename Writer>
bool WriteOutputFile(const std::string &fileName, Writer write)
{
    if (fileName.empty())
        return true;
    try {
        write();
        return true;
    } catch (const IoError &e) {
        std::cerr << "Error: " << fileName << ": " << e.what() << "\n";
        return false;
    }
}

} // namespace resheat
