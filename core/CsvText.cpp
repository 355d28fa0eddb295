#include "core/CsvText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/ShownText.h"

namespace resheat::csv {

std::string Quoted(std::string_view field)
{
    constexpr std::size_t kShown = 40;
    const bool cut = field.size() > kShown;
    return "\"" + ShownText(field.substr(0, kShown)) + (cut ? "...\"" : "\"");
}

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> Split(std::string_view s, char sep)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto pos = s.find(sep, start);
        parts.push_back(Trim(s.substr(start, pos == std::string_view::npos ? pos : pos - start)));
        if (pos == std::string_view::npos)
            return parts;
        start = pos + 1;
    }
}

NumberKind ParseNumber(std::string_view field, double &value)
{
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);
        if (!field.empty() && field.front() == '-')
            return NumberKind::NotANumber;
    }
    if (field.empty())
        return NumberKind::NotANumber;
    const auto res = std::from_chars(field.data(), field.data() + field.size(), value);
    if (res.ptr != field.data() + field.size())
        return NumberKind::NotANumber;
    if (res.ec == std::errc::result_out_of_range)
        return NumberKind::OutOfRange;
    if (res.ec != std::errc())
        return NumberKind::NotANumber;
    return std::isfinite(value) ? NumberKind::Ok : NumberKind::NotFinite;
}

bool IsIdentifier(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

int ForEachLine(std::string_view text, const std::function<bool(int, std::string_view)> &line)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF") // byte order mark of a UTF-8 file
        text.remove_prefix(3);
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view s = text.substr(start, end - start);
        if (!s.empty() && s.back() == '\r')
            s.remove_suffix(1);
        ++number;
        if (!line(number, Trim(s)))
            return number;
        start = end + 1;
    }
    return number;
}

} // namespace resheat::csv
