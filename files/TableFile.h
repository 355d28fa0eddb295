// Reading a user's table file (property table, magnetisation curve) whole,
// refusing a file far larger than any table before it fills the memory, and
// anything that is not a regular file before it can make the read wait.
#pragma once

#include <string>

#include "files/InputFile.h"

namespace resheat {

// A table has a few hundred lines at most; a file far larger is not one.
inline constexpr long long kMaxTableFileBytes = 1 << 20;

// True with the file's bytes in `text`; otherwise false with the message:
// the platform's ("File not found", ...), what the path is instead of a
// regular file ("not a regular file (a FIFO)"), or that the file is too
// large for `what` ("a property table"), said from its size without reading
// it.
bool ReadTableFile(const std::string &path, const std::string &what, std::string &text, std::string &message,
                   StandardInput standardInput = StandardInput::Refused);

} // namespace resheat
