#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

#include "files/FixedNumber.h"
#include "support/TestLocale.h"

using namespace resheat;

TEST(FixedNumber, Examples)
{
    EXPECT_EQ(FormatFixed23(1.5), " 1.50000000000000E+0000");
    EXPECT_EQ(FormatFixed23(7850), " 7.85000000000000E+0003");
    EXPECT_EQ(FormatFixed23(1.7E-8), " 1.70000000000000E-0008");
    EXPECT_EQ(FormatFixed23(0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatFixed23(-0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatFixed23(-20), "-2.00000000000000E+0001");
    EXPECT_EQ(FormatFixed23(3), " 3.00000000000000E+0000");
    EXPECT_EQ(FormatFixed23(1e-300), " 1.00000000000000E-0300");
    EXPECT_EQ(FormatFixed23(1.0 / 3), " 3.33333333333333E-0001");
    EXPECT_EQ(FormatFixed23(2.0 / 3), " 6.66666666666667E-0001");
}

TEST(FixedNumber, RoundingCarriesIntoANewLeadingDigit)
{
    EXPECT_EQ(FormatFixed23(9.999999999999999), " 1.00000000000000E+0001");
    EXPECT_EQ(FormatFixed23(-0.9999999999999999), "-1.00000000000000E+0000");
    // The dropped part starts with 5: rounds up.
    EXPECT_EQ(FormatFixed23(1.000000000000005), " 1.00000000000001E+0000");
}

TEST(FixedNumber, EveryWrittenNumberReadsBackToFifteenDigits)
{
    const double values[] = {1.5384E-7, 481.32, 87.88, 2.67E-8, -273.15, 1E10, 123456789012345.0,
                             0.1, 6.02214076E23, 4.9e-324};
    for (double v : values) {
        const std::string s = FormatFixed23(v);
        ASSERT_EQ(s.size(), 23u) << s;
        double back = 0;
        ASSERT_TRUE(ParseFileNumber(s, back)) << s;
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << s;
    }
}

TEST(FixedNumber, ValuesWhoseRoundedTextLeavesTheDoubleRangeAreCutTowardZero)
{
    // The largest double is 1.7976931348623157E308: rounded to 15 digits it
    // would read 1.79769313486232E308, beyond it.  Every value whose text
    // rounds up to that is written with its first 15 digits instead.
    const double max = std::numeric_limits<double>::max();
    struct Row { double value; const char *text; };
    const Row rows[] = {
        {max, " 1.79769313486231E+0308"},
        {-max, "-1.79769313486231E+0308"},
        {1.797693134862315E308, " 1.79769313486231E+0308"},
        {1.7976931348623149E308, " 1.79769313486231E+0308"}, // rounds down anyway
        {1.7976931348623049E308, " 1.79769313486230E+0308"},
        {9.999999999999999E307, " 1.00000000000000E+0308"},  // rounding up stays in range
    };
    for (const auto &r : rows) {
        EXPECT_EQ(FormatFixed23(r.value), r.text);
        double back = 0;
        EXPECT_TRUE(ParseFileNumber(r.text, back)) << r.text;
    }
}

TEST(FixedNumber, TheTextIsTheSameUnderAMultiByteDecimalSeparator)
{
    const auto locale = resheat::testing::MultiByteSeparatorLocale::name();
    if (!locale)
        GTEST_SKIP() << "no locale with a multi-byte decimal separator can be made here (localedef, locales)";
    const double values[] = {7850, -20, 1.7E-8, 0, 2.0 / 3, 9.999999999999999};
    std::vector<std::string> plain;
    for (double v : values)
        plain.push_back(FormatFixed23(v));
    resheat::testing::ScopedCLocale scope(*locale);
    ASSERT_TRUE(scope.ok());
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 7.5);
    ASSERT_GT(std::string(probe).size(), 3u) << "the locale does not use a multi-byte separator";
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(FormatFixed23(values[i]), plain[i]);
}

TEST(FileNumberConversion, AcceptsTheReaderSyntax)
{
    struct Row { const char *text; double value; };
    const Row rows[] = {
        {"   2.5", 2.5}, {"2.5", 2.5}, {"+2.5", 2.5}, {"-2.5", -2.5}, {"2.", 2}, {".5", 0.5},
        {"-.5e1", -5}, {"1E3", 1000}, {"1e+03", 1000}, {"25E-1", 2.5}, {" 1.50000000000000E+0000", 1.5},
        {"1e-400", 0},
    };
    for (const auto &r : rows) {
        double v = -999;
        EXPECT_TRUE(ParseFileNumber(r.text, v)) << r.text;
        EXPECT_EQ(v, r.value) << r.text;
    }
}

TEST(FileNumberConversion, RejectsEverythingElse)
{
    const char *bad[] = {"", "   ", "2,5", "2.5 ", "2.5x", ".", "+", "1e", "1e+", "e5", "1.2.3",
                         "\t2.5", "0x10", "nan", "inf", "1e400", "--1", "1 000"};
    for (const char *text : bad) {
        double v = 7;
        EXPECT_FALSE(ParseFileNumber(text, v)) << '"' << text << '"';
        EXPECT_EQ(v, 7) << text; // a failed conversion leaves the target alone
    }
}

TEST(FileNumberConversion, LongTextsConvertCorrectlyRounded)
{
    const std::string zeros(5000, '0');
    struct Row { std::string text; bool ok; double value; };
    const Row rows[] = {
        // 1E4999 written with 5001 digits: beyond the double range, as 1E4999 is.
        {"1" + zeros + "E-0001", false, 0},
        {"1" + zeros + "E-5000", true, 1},
        {"0." + zeros.substr(1) + "1E5000", true, 1},
        {"-0." + zeros + "1E-1", true, -0.0},                 // 1E-5002: below the range
        {"1E-99999999999999999999999", true, 0},
        {"1E+99999999999999999999999", false, 0},
        {"0E99999999999999999999999", true, 0},
        {"123" + zeros + "E-99999999999999999999999999", true, 0},
        // 2^53 + 1 lies halfway between two doubles: ties go to the even one,
        // any non-zero digit far behind tips it to the upper one.
        {"9007199254740993", true, 9007199254740992.0},
        {"9007199254740993." + zeros + "1", true, 9007199254740994.0},
        // Half the smallest subnormal is 2.4703282292062327208...E-324.
        {"2.4703282292062328E-324", true, std::numeric_limits<double>::denorm_min()},
        {"2.4703282292062327E-324", true, 0},
    };
    for (const auto &r : rows) {
        double v = 7;
        EXPECT_EQ(ParseFileNumber(r.text, v), r.ok) << r.text.substr(0, 40);
        EXPECT_EQ(v, r.ok ? r.value : 7) << r.text.substr(0, 40);
        if (r.ok && r.value == 0) {
            EXPECT_EQ(std::signbit(v), r.text[0] == '-');
        }
    }
}
