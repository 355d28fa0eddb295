// Writes a whole file so that a failure never leaves a partial file:
// the lines go to a temporary file in the target's folder, which replaces
// the target only once every byte is on disk.  The save respects the file
// system:
// - a target the user may not write is refused ("File access denied") and
//   left as it was;
// - a target the user may write in a folder that does not let it be
//   replaced (no write permission, sticky bit), or a file with other hard
//   links, is written in place: writers of one such file take turns (an
//   advisory lock), and the space for the new contents is reserved before
//   the old are overwritten, so a full disk leaves the old file whole;
// - a character device, a pipe, a FIFO with a reader or a terminal is
//   written as it is, never replaced; a FIFO without a reader is refused at
//   once; the file the program's standard output or error goes to
//   (/dev/stdout, or that file by its own name) gets the bytes after what
//   was printed there;
// - symbolic links are followed to the file they name, which is created if
//   missing; a link is never replaced by a regular file;
// - a replaced file keeps its permissions (and its owner and group where
//   the user may set them); a new one gets 0666 less the umask;
// - the temporary file has a short name, so any name the file system takes
//   for the target works, and it is removed whatever fails, also when
//   SIGINT, SIGTERM, SIGHUP or SIGXFSZ ends the program meanwhile.
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
// Any contents, as they are (a printed page, an image).
void WriteBytes(const std::string &fileName, const std::string &bytes);

// The user-facing message for an errno value of a failed file operation.
std::string IoErrorMessage(int errnoValue);

} // namespace resheat
