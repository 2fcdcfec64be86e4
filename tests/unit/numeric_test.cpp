#include "platform/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/error.h"
#include "test_support.h"

namespace gloam {
namespace {

using ParseLeadingNumberTest = testing_support::ExampleTest<const char*, double>;

TEST_P(ParseLeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_EQ(ParseLeadingNumber(GetParam().input), GetParam().expected);
}

const ParseLeadingNumberTest::ParamType kStoredTexts[] = {
    {"0", 0},       {"2", 2},       {"", 0},        {" 2", 2},      {"\t 2", 2},
    {"2abc", 2},    {"abc", 0},     {"1.5", 1.5},   {"2,9", 2},     {"-1", -1},
    {"+3", 3},      {"1E10", 1e10}, {"1e+2x", 100}, {"25e-1", 2.5}, {"1E", 1},
    {"1E+", 1},     {".5", 0.5},    {"5.", 5},      {".", 0},       {"-", 0},
    {"1.2.3", 1.2}, {"- 1", 0},     {"0x10", 0},    {"1E-400", 0},  {"007", 7}};
INSTANTIATE_TEST_SUITE_P(StoredTexts, ParseLeadingNumberTest, testing::ValuesIn(kStoredTexts),
                         testing_support::ByInput());

TEST(ParseLeadingNumber, HugeExponentsGiveInfinity) {
    EXPECT_EQ(ParseLeadingNumber("1E400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseLeadingNumber("-1E400"), -std::numeric_limits<double>::infinity());
}

TEST(ParseLeadingNumber, LongDigitRunsOverflowOrUnderflowByTheirSize) {
    const std::string zeros(400, '0');
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {"1" + zeros, infinity},
        {"-1" + zeros + ".5", -infinity},
        {"0." + zeros + "1", 0.0},
        {"-0." + zeros + "1", 0.0},
        {"0." + zeros + "1e5", 0.0},
        {"0." + zeros + "1e800", infinity},
        {"1" + zeros + "e-300", 1e100},
        {"1" + zeros + "e-800", 0.0},
        {"0.1e-99999999999999999999", 0.0},
        {"1e99999999999999999999", infinity},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLeadingNumber(c.text), c.expected) << c.text.substr(0, 12) << "...";
    }
}

using NearestTest = testing_support::ExampleTest<double, int32_t>;

TEST_P(NearestTest, RoundsHalvesToEven) {
    EXPECT_EQ(Nearest(GetParam().input), GetParam().expected);
}

// Halves go to the even neighbour, everything else to the nearest integer.
const NearestTest::ParamType kRoundings[] = {
    {0.5, 0},  {1.5, 2},   {2.5, 2},   {3.5, 4},
    {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {0.49999999999999994, 0},
    {4.83, 5}, {7.24, 7}};
INSTANTIATE_TEST_SUITE_P(Roundings, NearestTest, testing::ValuesIn(kRoundings),
                         testing_support::ByInput());

// The edges of 32 bits, and halves around them.
const NearestTest::ParamType kThirtyTwoBitEdges[] = {
    {2147483647.0, 2147483647}, {2147483647.4, 2147483647},       {-2147483648.0, -2147483647 - 1},
    {2147483646.5, 2147483646}, {-2147483647.5, -2147483647 - 1}, {-2147483648.5, -2147483647 - 1}};
INSTANTIATE_TEST_SUITE_P(ThirtyTwoBitEdges, NearestTest, testing::ValuesIn(kThirtyTwoBitEdges),
                         testing_support::ByInput());

TEST(Nearest, OverflowIsAnError) {
    for (const double value :
         {2147483647.5, 2147483648.0, -2147483648.6, -2147483649.0, 1e10,
          std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(TryNearest(value).has_value()) << value;
        EXPECT_THROW(Nearest(value), RuntimeError) << value;
    }
}

TEST(CheckedArithmetic, RaisesOnOverflowOnly) {
    EXPECT_EQ(CheckedSub(5, 7), -2);
    EXPECT_EQ(CheckedSub(-2147483647, 1), -2147483647 - 1);
    EXPECT_THROW(CheckedSub(-2147483647 - 1, 1), RuntimeError);
    EXPECT_THROW(CheckedSub(0, -2147483647 - 1), RuntimeError);
    EXPECT_THROW(CheckedAdd(2147483647, 1), RuntimeError);
    EXPECT_EQ(Floor32(-0.5), -1);
    EXPECT_EQ(Floor32(816.999), 816);
}

TEST(VersionText, PadsMinorAndRevision) {
    EXPECT_EQ(VersionText(1, 1, 0), "1.01.0000");
    EXPECT_EQ(VersionText(1, 5, 12), "1.05.0012");
    EXPECT_EQ(VersionText(1, 123, 0), "1.123.0000");
    EXPECT_EQ(VersionText(2, 10, 12345), "2.10.12345");
}

}  // namespace
}  // namespace gloam
