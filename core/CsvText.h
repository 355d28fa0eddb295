// The pieces the table readers share: lines of a CSV text, fields, numbers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace resheat::csv {

// Without leading and trailing blanks and tabs.
std::string_view Trim(std::string_view s);

// The fields between the separators, each trimmed.
std::vector<std::string_view> Split(std::string_view s, char sep);

enum class NumberKind { Ok, NotANumber, NotFinite, OutOfRange };

// The whole field must be one decimal number (a leading '+' is allowed).
NumberKind ParseNumber(std::string_view field, double &value);

// A field of the file as a message quotes it: in double quotes, control
// characters escaped, cut after 40 bytes ("...").
std::string Quoted(std::string_view field);

// Letters, digits and '_', at least one.
bool IsIdentifier(std::string_view s);

// Calls `line` with the 1-based number and the trimmed text of each line (LF
// or CR LF, a UTF-8 byte order mark skipped) until it returns false.
// Returns the number of the last line visited, 0 for an empty text.
int ForEachLine(std::string_view text, const std::function<bool(int, std::string_view)> &line);

} // namespace resheat::csv
