// Numbers in messages and reports written the same under every regional
// setting: the C library's printf family follows the process locale, which
// the desktop program takes from the environment.
#pragma once

#include <charconv>
#include <string>

namespace resheat {

// `v` with `precision` significant digits, as printf's "%.<precision>g"
// writes it in the C locale.
inline std::string GeneralText(double v, int precision = 6)
{
    char buf[64]; // the longest is a sign, 17 digits, a point and "e-308"
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    return std::string(buf, res.ptr);
}

} // namespace resheat
