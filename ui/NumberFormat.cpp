#include "ui/NumberFormat.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "files/FixedNumber.h"

namespace resheat::ui {

namespace {

// The 18 leading decimal digits of |value| (correctly rounded) and the
// decimal exponent of the first one: value = 0.d1d2... * 10^(exponent + 1).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

constexpr int kMaxDigits = 18;

Decimal ToDecimal(double value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, kMaxDigits - 1).ptr;
    const std::string text(buffer, end); // the same under every regional setting
    Decimal d;
    const auto ePos = text.find('e');
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] != '.')
            d.digits.push_back(text[i]);
    d.exponent = std::stoi(text.substr(ePos + 1));
    return d;
}

// Keeps the first `count` digits (1 <= count), rounding half away from zero;
// a carry out of the first digit raises the exponent.
void RoundTo(Decimal &d, int count)
{
    if (count >= static_cast<int>(d.digits.size()))
        return;
    const bool up = d.digits[count] >= '5';
    d.digits.resize(count);
    if (!up)
        return;
    int i = count - 1;
    while (i >= 0 && d.digits[i] == '9') {
        d.digits[i] = '0';
        --i;
    }
    if (i >= 0) {
        ++d.digits[i];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        d.digits.pop_back();
        ++d.exponent;
    }
}

// Whether the decimal lies beyond the largest double (1.7976931348623157E308).
bool BeyondLargestDouble(const Decimal &d)
{
    if (d.exponent < 308)
        return false;
    const std::string text = d.digits.substr(0, 1) + "." + d.digits.substr(1) + "e" + std::to_string(d.exponent);
    double v = 0;
    return std::from_chars(text.data(), text.data() + text.size(), v).ec == std::errc::result_out_of_range;
}

QString DecimalSeparator()
{
    return QLocale().decimalPoint();
}

QString NonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

} // namespace

QString FormatGeneral(double value, int significantDigits)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    if (value == 0)
        return QStringLiteral("0");
    const int count = std::clamp(significantDigits, 1, kMaxDigits);
    Decimal d = ToDecimal(value);
    const Decimal exact = d;
    RoundTo(d, count);
    if (BeyondLargestDouble(d)) {
        // Rounded up past the largest double, the box would show a number
        // it refuses on OK: cut toward zero instead.
        d = exact;
        d.digits.resize(count);
    }
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();

    const QString separator = DecimalSeparator();
    QString out = value < 0 ? QStringLiteral("-") : QString();
    const QString digits = QString::fromLatin1(d.digits);
    if (d.exponent >= -4 && d.exponent < count) {
        if (d.exponent >= 0) {
            const int intLength = d.exponent + 1;
            if (digits.size() <= intLength) {
                out += digits + QString(intLength - digits.size(), QLatin1Char('0'));
            } else {
                out += digits.left(intLength) + separator + digits.mid(intLength);
            }
        } else {
            out += QLatin1Char('0') + separator + QString(-d.exponent - 1, QLatin1Char('0')) + digits;
        }
    } else {
        out += digits.left(1);
        if (digits.size() > 1)
            out += separator + digits.mid(1);
        out += QLatin1Char('E') + QString::number(d.exponent);
    }
    return out;
}

namespace {

// The digits of |d| rounded to `decimals` places after the point, as the
// integer |d| * 10^decimals (a final 5 rounds away from zero); at least
// decimals + 1 digits, so that there is one before the point.
std::string FixedDigits(Decimal d, int decimals)
{
    std::string m;
    const int keep = d.exponent + 1 + decimals;
    if (keep > 0) {
        RoundTo(d, keep);
        m = d.digits;
        const int length = d.exponent + 1 + decimals;
        if (static_cast<int>(m.size()) < length)
            m.append(length - m.size(), '0');
    } else if (keep == 0 && d.digits[0] >= '5') {
        m = "1";
    }
    if (m.empty())
        m = "0";
    if (static_cast<int>(m.size()) <= decimals)
        m.insert(0, decimals + 1 - m.size(), '0');
    return m;
}

QString FixedText(const std::string &m, bool negative, int decimals)
{
    const bool zero = m.find_first_not_of('0') == std::string::npos;
    QString out = negative && !zero ? QStringLiteral("-") : QString();
    const auto intLength = static_cast<qsizetype>(m.size()) - decimals;
    out += QString::fromLatin1(m.data(), intLength);
    if (decimals > 0)
        out += DecimalSeparator() + QString::fromLatin1(m.data() + intLength, decimals);
    return out;
}

} // namespace

QString FormatFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    decimals = std::clamp(decimals, 0, 30);
    const std::string m = value != 0 ? FixedDigits(ToDecimal(value), decimals) : FixedDigits({"0", 0}, decimals);
    return FixedText(m, value < 0, decimals);
}

QString FormatFixedSignificant(double value, int significantDigits, int decimals)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    const int count = std::clamp(significantDigits, 1, kMaxDigits);
    decimals = std::clamp(decimals, 0, 30);
    if (value == 0)
        return FixedText(FixedDigits({"0", 0}, decimals), false, decimals);
    Decimal d = ToDecimal(value);
    RoundTo(d, count);
    // More digits before the point than significant ones: no fixed form.
    if (d.exponent >= count)
        return FormatGeneral(value, count);
    return FixedText(FixedDigits(d, decimals), value < 0, decimals);
}

bool ParseRegionalNumber(const QString &text, double &value)
{
    // Blanks around the number are allowed, nothing else.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    const QString body = text.mid(begin, end - begin);

    const QString separator = QRegularExpression::escape(DecimalSeparator());
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("([+-]?)([0-9]*)(?:%1([0-9]*))?(?:[eE]([+-]?[0-9]+))?").arg(separator)));
    const auto match = pattern.match(body);
    if (!match.hasMatch())
        return false;
    const QString intDigits = match.captured(2);
    const QString fracDigits = match.captured(3);
    if (intDigits.isEmpty() && fracDigits.isEmpty())
        return false;

    // Only ASCII digits are left in the parts: their Latin-1 bytes are the text.
    const QByteArray intPart = intDigits.toLatin1();
    const QByteArray fracPart = fracDigits.toLatin1();
    QByteArray exponent = match.captured(4).toLatin1();
    const bool negativeExponent = exponent.startsWith('-');
    if (exponent.startsWith('-') || exponent.startsWith('+'))
        exponent.remove(0, 1);
    return resheat::DecimalToDouble(match.captured(1) == QLatin1String("-"),
                           std::string_view(intPart.constData(), intPart.size()),
                           std::string_view(fracPart.constData(), fracPart.size()), negativeExponent,
                           std::string_view(exponent.constData(), exponent.size()), value);
}

} // namespace resheat::ui
