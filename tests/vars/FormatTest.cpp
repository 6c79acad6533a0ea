#include "vars/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dotvane {
namespace {

struct GeneralCase {
    double value;
    int precision;
    const char* text;
};

class FormatGeneralTest : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(FormatGeneralTest, MatchesTheGeneralConversion)
{
    const GeneralCase& c = GetParam();
    EXPECT_EQ(FormatGeneral(c.value, c.precision), c.text) << c.value << " at precision " << c.precision;
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatGeneralTest,
    ::testing::Values(GeneralCase{1.648, 3, "1.65"}, GeneralCase{12.19, 3, "12.2"}, GeneralCase{5, 3, "5"},
                      GeneralCase{1234, 2, "1.2e+03"}, GeneralCase{1234, 4, "1234"}, GeneralCase{37, 3, "37"},
                      GeneralCase{18.5, 3, "18.5"}, GeneralCase{123456789, 0, "1.23457e+08"},
                      GeneralCase{3.14159265, 0, "3.14159"}, GeneralCase{0.0001, 3, "0.0001"},
                      GeneralCase{0.00001234, 3, "1.23e-05"}, GeneralCase{-3.7, 2, "-3.7"},
                      GeneralCase{0, 4, "0"}, GeneralCase{100, 1, "1e+02"}, GeneralCase{99.96, 3, "100"},
                      GeneralCase{1e100, 2, "1e+100"}, GeneralCase{0.5, -3, "0.5"},
                      GeneralCase{std::numeric_limits<double>::infinity(), 3, "inf"}));

TEST(Format, DecimalAndWidths)
{
    EXPECT_EQ(FormatSigned(-42), "-42");
    EXPECT_EQ(FormatSigned(0), "0");
    EXPECT_EQ(FormatUnsigned(18446744073709551615ull), "18446744073709551615");
    EXPECT_EQ(PadLeft("5", 4), "   5");
    EXPECT_EQ(PadLeft("12345", 4), "12345");
    EXPECT_EQ(PadRight("Sun", 11), "Sun        ");
    EXPECT_EQ(PadRight("Wednesday!!!", 11), "Wednesday!!!");
    EXPECT_EQ(ZeroFill("5", 2), "05");
    EXPECT_EQ(ZeroFill("123", 2), "123");
    EXPECT_EQ(PadLeft("", 2), "  ");
}

struct NumberCase {
    const char* text;
    int32_t value;
};

class WholeNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(WholeNumberTest, ReadsLikeAtol)
{
    EXPECT_EQ(ReadWholeNumber(GetParam().text), GetParam().value) << "'" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(Values, WholeNumberTest,
                         ::testing::Values(NumberCase{"57", 57}, NumberCase{"  -5", -5}, NumberCase{"+8x", 8},
                                           NumberCase{"250 KB", 250}, NumberCase{"", 0}, NumberCase{"words", 0},
                                           NumberCase{"- 5", 0}, NumberCase{"\t\n12", 12},
                                           NumberCase{"99999999999999", 2147483647},
                                           NumberCase{"-99999999999999", -2147483647 - 1}, NumberCase{"1.9", 1}));

TEST(Format, VariableArgument)
{
    EXPECT_EQ(VariableArgument("mbmtemp(3)"), "3");
    EXPECT_EQ(VariableArgument("diskfree(C:\\)"), "C:\\");
    EXPECT_EQ(VariableArgument("textfile(a(b),2)"), "a(b");
    EXPECT_EQ(VariableArgument("noparen)"), "noparen");
    EXPECT_EQ(VariableArgument("x()"), "");
    EXPECT_FALSE(VariableArgument("mbmtemp(3"));
    EXPECT_FALSE(VariableArgument("mbmmhz"));
}

}  // namespace
}  // namespace dotvane
