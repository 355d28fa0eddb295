#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "files/FixedNumber.h"

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
    EXPECT_EQ(FormatFixed23(std::numeric_limits<double>::max()), " 1.79769313486232E+0308");
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
