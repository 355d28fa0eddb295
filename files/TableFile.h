// Reading a user's table file (property table, magnetisation curve) whole,
// refusing a file far larger than any table before it fills the memory.
#pragma once

#include <string>

namespace resheat {

// True with the file's bytes in `text`; otherwise false with the message:
// the platform's ("File not found", ...) or that the file is too large for
// `what` ("a property table").
bool ReadTableFile(const std::string &path, const std::string &what, std::string &text, std::string &message);

} // namespace resheat
