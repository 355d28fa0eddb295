// Writes a whole text file so that a failure never leaves a partial file:
// the lines go to a temporary file in the target's folder, which replaces
// the target only once every byte is on disk.
#pragma once

#include <string>
#include <vector>

namespace resheat {

// Each line is written followed by CR LF.  Throws IoError with the
// platform's message ("File access denied", "Disk full", ...).
void WriteLinesCrLf(const std::string &fileName, const std::vector<std::string> &lines);
// The same with another line end ("\n" for files meant for Unix tools).
void WriteLines(const std::string &fileName, const std::vector<std::string> &lines,
                const char *lineEnd);

// The user-facing message for an errno value of a failed file operation.
std::string IoErrorMessage(int errnoValue);

} // namespace resheat
