// Bytes from a file or the command line as they may be shown on a terminal
// or in a message: control characters, which could move the cursor, change
// colours or cut a line in two, are written as escapes (\n, \r, \t, \xHH);
// text in UTF-8 stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace resheat {

// `keepLineEnds`: LF stays a line end (for whole texts of several lines).
std::string ShownText(std::string_view bytes, bool keepLineEnds = false);

} // namespace resheat
