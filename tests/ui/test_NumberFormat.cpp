// Display and parsing of numbers in the regional format.
#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>

#include "support/TestLocale.h"
#include "ui/NumberFormat.h"

using resheat::ui::FormatFixed;
using resheat::ui::FormatGeneral;
using resheat::ui::ParseRegionalNumber;

namespace {

class NumberFormat : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(saved_); }
    static void UseCommaLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

private:
    QLocale saved_;
};

struct GeneralRow {
    double value;
    int digits;
    const char *text;
};

TEST_F(NumberFormat, GeneralFormatRoundsAndChoosesNotation)
{
    const GeneralRow rows[] = {
        // the results windows' examples, 4 and 5 digits
        {1234.5, 4, "1235"},
        {12345, 4, "1.235E4"},
        {0.5, 4, "0.5"},
        {0.000001234, 4, "1.234E-6"},
        {12.3456, 5, "12.346"},
        // a final 5 rounds away from zero (these are exact binary values)
        {-1234.5, 4, "-1235"},
        {0.125, 2, "0.13"},
        {2.5, 1, "3"},
        // a carry into a new digit can push the value into the exponent form
        {9999.5, 4, "1E4"},
        {999.95, 4, "1000"},
        // 0.0001 is the smallest magnitude shown in fixed notation
        {0.0001, 4, "0.0001"},
        {0.00009999, 4, "9.999E-5"},
        {0.00009999999, 4, "0.0001"},
        // input dialogs: 15 digits
        {0.000000017, 15, "1.7E-8"},
        {2E20, 15, "2E20"},
        {1.5E-6, 15, "1.5E-6"},
        {0.1, 15, "0.1"},
        {1.0 / 3.0, 15, "0.333333333333333"},
        {2.0 / 3.0, 15, "0.666666666666667"},
        {123456789012345.0, 15, "123456789012345"},
        {1234567890123456.0, 15, "1.23456789012346E15"},
        {7800, 15, "7800"},
        {389.88, 15, "389.88"},
        {1.5384E-7, 15, "1.5384E-7"},
        {2.67E-8, 15, "2.67E-8"},
        {-2.5E-10, 15, "-2.5E-10"},
        {1E300, 15, "1E300"},
        {0, 15, "0"},
        {-0.0, 15, "0"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(FormatGeneral(row.value, row.digits), QString::fromLatin1(row.text))
            << row.value << " with " << row.digits << " digits";
}

TEST_F(NumberFormat, FixedFormatRoundsAwayFromZeroWithoutGrouping)
{
    EXPECT_EQ(FormatFixed(21.25, 1), "21.3");
    EXPECT_EQ(FormatFixed(-21.25, 1), "-21.3");
    EXPECT_EQ(FormatFixed(0.05, 1), "0.1");
    EXPECT_EQ(FormatFixed(20, 1), "20.0");
    EXPECT_EQ(FormatFixed(0, 1), "0.0");
    EXPECT_EQ(FormatFixed(-0.04, 1), "0.0");
    EXPECT_EQ(FormatFixed(999.96, 1), "1000.0");
    EXPECT_EQ(FormatFixed(1234567.84, 1), "1234567.8");
    EXPECT_EQ(FormatFixed(0.5, 0), "1");
    EXPECT_EQ(FormatFixed(0.04, 0), "0");
}

TEST_F(NumberFormat, CommaLocaleWritesItsSeparator)
{
    UseCommaLocale();
    EXPECT_EQ(FormatGeneral(12.3456, 5), "12,346");
    EXPECT_EQ(FormatGeneral(1.5E-6, 15), "1,5E-6");
    EXPECT_EQ(FormatGeneral(1234567, 15), "1234567");
    EXPECT_EQ(FormatFixed(1500.25, 1), "1500,3");
}

TEST_F(NumberFormat, ParsesWhatTheUserMayType)
{
    const std::pair<const char *, double> rows[] = {
        {"1", 1},
        {" 12.5 ", 12.5},
        {"-3", -3},
        {"+4.5e2", 450},
        {"1E-8", 1E-8},
        {".5", 0.5},
        {"5.", 5},
        {"1e+3", 1000},
        {"  -.5E-1  ", -0.05},
        {"007", 7},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"1e-310", 1e-310},
        // below the smallest double: stored as zero, as the arithmetic does
        {"1e-400", 0},
        {"0e999999999999999999999", 0},
    };
    for (const auto &[text, expected] : rows) {
        double value = -999;
        EXPECT_TRUE(ParseRegionalNumber(QString::fromLatin1(text), value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
}

TEST_F(NumberFormat, RejectsAnythingElseAndLeavesTheValue)
{
    const char *rows[] = {
        "", "   ", ".", "-", "e5", "1e", "1e+", "1,5", "1.2.3", "1 000", "1,000.5",
        "nan", "NaN", "inf", "-inf", "Infinity", "0x10", "1d", "12a", "--1", "+-1",
        "1e400", "-1e400", "1.8e308", "1e99999999999999999999999", "\t1", "1\n",
    };
    for (const char *text : rows) {
        double value = 42;
        EXPECT_FALSE(ParseRegionalNumber(QString::fromLatin1(text), value)) << '"' << text << '"';
        EXPECT_EQ(value, 42) << text;
    }
    double value = 42;
    EXPECT_FALSE(ParseRegionalNumber(QStringLiteral("\uFF11"), value)); // full-width digit one
}

TEST_F(NumberFormat, LongTextsConvertCorrectlyRoundedOrAreRefused)
{
    const QString zeros(5000, QLatin1Char('0'));
    struct Row { QString text; bool ok; double value; };
    const Row rows[] = {
        {"1" + zeros + "E-0001", false, 0},                    // 1E4999
        {"1" + zeros + "E-5000", true, 1},
        {"0." + zeros + "1E5001", true, 1},
        {"9007199254740993." + zeros + "1", true, 9007199254740994.0},
        // exponents beyond any machine integer, with digits that shift them
        {"1234567890E9223372036854775807", false, 0},
        {"0.0001E-9223372036854775808", true, 0},
        {"1" + zeros + "E-99999999999999999999999", true, 0},
    };
    for (const auto &r : rows) {
        double value = 42;
        EXPECT_EQ(ParseRegionalNumber(r.text, value), r.ok) << r.text.left(40).toStdString();
        EXPECT_EQ(value, r.ok ? r.value : 42) << r.text.left(40).toStdString();
    }
}

TEST_F(NumberFormat, AMultiByteSeparatorInTheCLocaleChangesNoDigit)
{
    // The desktop program runs under the environment's C locale; the digits
    // must not depend on it.
    const auto locale = resheat::testing::MultiByteSeparatorLocale::name();
    if (!locale)
        GTEST_SKIP() << "no locale with a multi-byte decimal separator can be made here (localedef, locales)";
    resheat::testing::ScopedCLocale scope(*locale);
    ASSERT_TRUE(scope.ok());
    EXPECT_EQ(FormatGeneral(7850.5, 15), "7850.5");
    EXPECT_EQ(FormatGeneral(1.5384E-7, 4), "1.538E-7");
    EXPECT_EQ(FormatFixed(21.25, 1), "21.3");
    QLocale::setDefault(QLocale(QLocale::Pashto, QLocale::Afghanistan));
    const QString separator = QLocale().decimalPoint();
    EXPECT_EQ(FormatGeneral(7850.5, 15), "7850" + separator + "5");
    double back = 0;
    ASSERT_TRUE(ParseRegionalNumber("-2" + separator + "5E-3", back));
    EXPECT_EQ(back, -0.0025);
}

TEST_F(NumberFormat, CommaLocaleReadsOnlyTheComma)
{
    UseCommaLocale();
    double value = 0;
    ASSERT_TRUE(ParseRegionalNumber(" 1,5 ", value));
    EXPECT_EQ(value, 1.5);
    ASSERT_TRUE(ParseRegionalNumber("-2,5E-3", value));
    EXPECT_EQ(value, -0.0025);
    value = 42;
    EXPECT_FALSE(ParseRegionalNumber("1.5", value));
    EXPECT_FALSE(ParseRegionalNumber("1.000", value)); // no thousands separators
    EXPECT_FALSE(ParseRegionalNumber("1,000,5", value));
    EXPECT_EQ(value, 42);
}

TEST_F(NumberFormat, DisplayedNumbersReadBackUnchanged)
{
    // The largest double rounded to 15 digits would lie beyond it: cut instead.
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::max(), 15), "1.79769313486231E308");
    EXPECT_EQ(FormatGeneral(-std::numeric_limits<double>::max(), 4), "-1.797E308");
    const double values[] = {0.000000017, 1.5384E-7, 389.88, 7800, -273.15, 1E10, 123456.789012345,
                             std::numeric_limits<double>::max(), 1.797693134862315E308};
    for (bool comma : {false, true}) {
        if (comma)
            UseCommaLocale();
        for (double v : values) {
            double back = 0;
            ASSERT_TRUE(ParseRegionalNumber(FormatGeneral(v, 15), back)) << v;
            EXPECT_NEAR(back, v, std::fabs(v) * 1e-14);
            EXPECT_EQ(FormatGeneral(back, 15), FormatGeneral(v, 15));
        }
    }
}

} // namespace
