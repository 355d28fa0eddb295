#include "files/FixedNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "core/Errors.h"

namespace resheat {

namespace {

// 15 significant digits of |value| and the decimal exponent of the first.
struct Digits15 {
    std::string digits;
    int exponent = 0;
};

// |value| to 18 significant digits, correctly rounded and the same under
// every regional setting, then that digit string cut to 15: rounded to
// nearest (a dropped part beginning with 5 to 9 rounds up) or toward zero.
Digits15 To15Digits(double value, bool towardZero)
{
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17);
    const std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf)); // d.ddd...de[+-]xx
    const auto e = s.find('e');
    Digits15 d;
    d.digits.assign(1, s[0]);
    d.digits.append(s.substr(2, e - 2)); // 18 digits
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), d.exponent);
    const bool roundUp = !towardZero && d.digits[15] >= '5';
    d.digits.resize(15);
    if (roundUp) {
        int i = 14;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits = "1" + std::string(14, '0');
            ++d.exponent;
        }
    }
    return d;
}

std::string Compose(bool negative, const Digits15 &d)
{
    const int absExponent = d.exponent < 0 ? -d.exponent : d.exponent;
    std::string exp = std::to_string(absExponent);
    if (exp.size() < 4)
        exp.insert(0, 4 - exp.size(), '0');
    std::string out;
    out.reserve(23);
    out += negative ? '-' : ' ';
    out += d.digits[0];
    out += '.';
    out.append(d.digits, 1, 14);
    out += 'E';
    out += d.exponent < 0 ? '-' : '+';
    out += exp;
    return out;
}

} // namespace

std::string FormatFixed23(double value)
{
    if (!std::isfinite(value))
        throw ArithmeticFault(kInvalidOperation); // no record ever holds one
    if (value == 0)
        return Compose(false, {std::string(15, '0'), 0});
    const bool negative = value < 0;
    std::string text = Compose(negative, To15Digits(value, false));
    // Near the largest double, rounding to nearest can give a text above
    // it, which no reader accepts; those values are written rounded toward
    // zero instead, so that every saved file reads back.
    double back = 0;
    if (!ParseFileNumber(text, back))
        text = Compose(negative, To15Digits(value, true));
    return text;
}
bool DecimalToDouble(bool negative, std::string_view intDigits, std::string_view fracDigits,
                     bool negativeExponent, std::string_view exponentDigits, double &value)
{
    std::string text = negative ? "-" : "";
    text += intDigits.empty() ? std::string_view("0") : intDigits;
    if (!fracDigits.empty()) {
        text += '.';
        text += fracDigits;
    }
    if (!exponentDigits.empty()) {
        text += negativeExponent ? "e-" : "e";
        text += exponentDigits;
    }
    const char *last = text.data() + text.size();
    double v = 0;
    const auto res = std::from_chars(text.data(), last, v);
    if (res.ptr != last)
        return false;
    if (res.ec == std::errc::result_out_of_range) {
        // Beyond the largest double or below the smallest one: the decimal
        // exponent of the first significant digit tells which.  It is
        // formed with saturation, so that no exponent text can overflow it.
        constexpr long long kSaturated = 1'000'000'000'000'000LL;
        long long exponent = 0;
        for (char c : exponentDigits)
            exponent = std::min(kSaturated, exponent * 10 + (c - '0'));
        long long magnitude = negativeExponent ? -exponent : exponent;
        const auto firstInt = intDigits.find_first_not_of('0');
        if (firstInt != std::string_view::npos)
            magnitude += static_cast<long long>(intDigits.size() - 1 - firstInt);
        else
            magnitude -= static_cast<long long>(fracDigits.find_first_not_of('0')) + 1;
        if (magnitude >= 0)
            return false;
        v = negative ? -0.0 : 0.0;
    } else if (res.ec != std::errc() || !std::isfinite(v)) {
        return false;
    }
    value = v;
    return true;
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
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        negative = text[p++] == '-';
    std::size_t q = digitsFrom(p);
    const std::string_view intDigits = text.substr(p, q - p);
    p = q;
    std::string_view fracDigits;
    if (p < text.size() && text[p] == '.') {
        q = digitsFrom(p + 1);
        fracDigits = text.substr(p + 1, q - p - 1);
        p = q;
    }
    if (intDigits.empty() && fracDigits.empty())
        return false;
    bool negativeExponent = false;
    std::string_view exponentDigits;
    if (p < text.size() && (text[p] == 'E' || text[p] == 'e')) {
        ++p;
        if (p < text.size() && (text[p] == '+' || text[p] == '-'))
            negativeExponent = text[p++] == '-';
        q = digitsFrom(p);
        if (q == p)
            return false;
        exponentDigits = text.substr(p, q - p);
        p = q;
    }
    if (p != text.size())
        return false;
    return DecimalToDouble(negative, intDigits, fracDigits, negativeExponent, exponentDigits, value);
}

} // namespace resheat
