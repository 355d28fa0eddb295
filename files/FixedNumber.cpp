#include "files/FixedNumber.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "core/Errors.h"

namespace resheat {

std::string FormatFixed23(double value)
{
    if (!std::isfinite(value))
        throw ArithmeticFault(kInvalidOperation); // no record ever holds one
    const bool negative = value < 0;
    std::string digits;
    int exponent = 0;
    if (value != 0) {
        // 18 significant digits, then the digit string rounded to 15.
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17e", std::fabs(value));
        const std::string s(buf);
        const auto e = s.find('e');
        digits = s.substr(0, 1) + s.substr(2, e - 2); // 18 digits
        exponent = std::atoi(s.c_str() + e + 1);
        const bool roundUp = digits[15] >= '5';
        digits.resize(15);
        if (roundUp) {
            int i = 14;
            while (i >= 0 && digits[i] == '9') {
                digits[i] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[i];
            } else {
                digits = "1" + std::string(14, '0');
                ++exponent;
            }
        }
    } else {
        digits = std::string(15, '0');
    }
    char exp[16];
    std::snprintf(exp, sizeof exp, "%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    std::string out;
    out.reserve(23);
    out += negative ? '-' : ' ';
    out += digits[0];
    out += '.';
    out.append(digits, 1, 14);
    out += 'E';
    out += exp;
    return out;
}

bool ParseFileNumber(std::string_view text, double &value)
{
    std::size_t p = 0;
    while (p < text.size() && text[p] == ' ')
        ++p;
    auto digitsFrom = [&](std::size_t from) {
        std::size_t q = from;
        while (q < text.size() && text[q] >= '0' && text[q] <= '9')
            ++q;
        return q;
    };
    std::string normal; // sign, mantissa with a digit before any point, exponent
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        if (text[p] == '-')
            normal += '-';
        ++p;
    }
    std::size_t q = digitsFrom(p);
    const std::size_t intDigits = q - p;
    normal += intDigits ? std::string(text.substr(p, intDigits)) : std::string("0");
    p = q;
    std::size_t fracDigits = 0;
    if (p < text.size() && text[p] == '.') {
        q = digitsFrom(p + 1);
        fracDigits = q - p - 1;
        if (fracDigits)
            normal.append(text.substr(p, q - p));
        p = q;
    }
    if (intDigits + fracDigits == 0)
        return false;
    bool negativeExponent = false;
    if (p < text.size() && (text[p] == 'E' || text[p] == 'e')) {
        normal += 'e';
        ++p;
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
            negativeExponent = text[p] == '-';
            if (negativeExponent)
                normal += '-';
            ++p;
        }
        q = digitsFrom(p);
        if (q == p)
            return false;
        normal.append(text.substr(p, q - p));
        p = q;
    }
    if (p != text.size())
        return false;

    const char *first = normal.data();
    const char *last = first + normal.size();
    double v = 0;
    const auto res = std::from_chars(first, last, v);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large does not convert; too small is zero or subnormal.
        long double wide = 0;
        const auto wres = std::from_chars(first, last, wide);
        if (wres.ec == std::errc()) {
            if (std::fabs(wide) > std::numeric_limits<double>::max())
                return false;
            v = static_cast<double>(wide);
        } else {
            if (!negativeExponent)
                return false;
            v = normal[0] == '-' ? -0.0 : 0.0;
        }
    } else if (res.ec != std::errc() || res.ptr != last) {
        return false;
    }
    if (!std::isfinite(v))
        return false;
    value = v;
    return true;
}

} // namespace resheat
