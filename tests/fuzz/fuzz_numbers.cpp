// Fuzz harness: the number conversions of the case file reader and of the
// dialogs, and the two number formats, against independent references.
// - The reader's conversion accepts exactly its syntax (checked here part
//   by part) within the double range, and gives the value the C
//   library's strtod gives, correctly rounded, sign of zero included.
// - The dialogs' conversion agrees with it under a point, a comma and a
//   two-byte separator, blanks around the number allowed.
// - The first 8 bytes taken as a double: its fixed 23-character text reads
//   back and writes again unchanged, and its display text with 15 digits
//   reads back to a value that displays the same.
#include <QLocale>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "files/FixedNumber.h"
#include "ui/NumberFormat.h"

namespace {

using namespace resheat;

bool SameDouble(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

bool AllDigits(const std::string &s) { return s.find_first_not_of("0123456789") == std::string::npos; }

// Blanks, [+-], digits with at most one point and at least one digit,
// optionally E or e, [+-] and at least one digit.
bool ReaderSyntax(const std::string &text)
{
    std::string s = text.substr(std::min(text.size(), text.find_first_not_of(' ')));
    if (!s.empty() && (s[0] == '+' || s[0] == '-'))
        s.erase(0, 1);
    const auto e = s.find_first_of("eE");
    std::string mantissa = s.substr(0, e);
    const auto point = mantissa.find('.');
    if (point != std::string::npos)
        mantissa.erase(point, 1);
    if (mantissa.empty() || !AllDigits(mantissa))
        return false;
    if (e == std::string::npos)
        return true;
    std::string exponent = s.substr(e + 1);
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-'))
        exponent.erase(0, 1);
    return !exponent.empty() && AllDigits(exponent);
}

void CheckFileConversion(const std::string &text)
{
    double value = 7;
    const bool ok = ParseFileNumber(text, value);
    if (!ReaderSyntax(text)) {
        FUZZ_CHECK(!ok && value == 7);
        return;
    }
    errno = 0;
    char *end = nullptr;
    const double reference = std::strtod(text.c_str(), &end); // the C locale: a point
    FUZZ_CHECK(end == text.c_str() + text.size());
    if (std::isinf(reference)) {
        FUZZ_CHECK(!ok && value == 7);
        return;
    }
    FUZZ_CHECK(ok);
    FUZZ_CHECK(SameDouble(value, reference));
}

void CheckRegionalConversion(const std::string &text)
{
    if (text.find(',') != std::string::npos || text.ends_with(' '))
        return;
    double expected = 7;
    const bool ok = ParseFileNumber(text, expected);
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::Pashto, QLocale::Afghanistan)}) {
        QLocale::setDefault(locale);
        QString regional = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
        regional.replace(QLatin1Char('.'), locale.decimalPoint());
        double value = 7;
        FUZZ_CHECK(ui::ParseRegionalNumber(regional + QLatin1Char(' '), value) == ok);
        FUZZ_CHECK(SameDouble(value, expected));
    }
    QLocale::setDefault(QLocale::c());
}

void CheckFormats(double v)
{
    if (!std::isfinite(v))
        return;
    const std::string fixed = FormatFixed23(v);
    FUZZ_CHECK(fixed.size() == 23);
    double back = 0;
    FUZZ_CHECK(ParseFileNumber(fixed, back));
    FUZZ_CHECK(FormatFixed23(back) == fixed);

    QLocale::setDefault(QLocale::c());
    const QString shown = ui::FormatGeneral(v, 15);
    double typed = 0;
    FUZZ_CHECK(ui::ParseRegionalNumber(shown, typed));
    FUZZ_CHECK(ui::FormatGeneral(typed, 15) == shown);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (text.find('\0') == std::string::npos) {
        CheckFileConversion(text);
        CheckRegionalConversion(text);
    }
    if (size >= sizeof(double)) {
        double v = 0;
        std::memcpy(&v, data, sizeof v);
        CheckFormats(v);
    }
    return 0;
}
