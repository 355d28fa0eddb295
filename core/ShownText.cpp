#include "core/ShownText.h"

namespace resheat {

namespace {

// Length of the well-formed UTF-8 sequence that starts at s[i], 0 for none.
// Overlong forms, surrogates and code points beyond U+10FFFF are none.
std::size_t Utf8Length(std::string_view s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + n > s.size() || byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return n;
}

void Escape(std::string &out, unsigned char c)
{
    const char *hex = "0123456789abcdef";
    switch (c) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        out += "\\x";
        out += hex[c >> 4];
        out += hex[c & 15];
    }
}

} // namespace

std::string ShownText(std::string_view bytes, bool keepLineEnds)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
            ++i;
        } else if (c == '\n' && keepLineEnds) {
            out += '\n';
            ++i;
        } else if (const std::size_t n = c >= 0x80 ? Utf8Length(bytes, i) : 0; n > 0) {
            // U+0080 to U+009F are control characters too.
            const bool c1 = n == 2 && c == 0xC2 && static_cast<unsigned char>(bytes[i + 1]) < 0xA0;
            for (std::size_t k = 0; k < n; ++k) {
                if (c1)
                    Escape(out, static_cast<unsigned char>(bytes[i + k]));
                else
                    out += bytes[i + k];
            }
            i += n;
        } else {
            Escape(out, c);
            ++i;
        }
    }
    return out;
}

} // namespace resheat
