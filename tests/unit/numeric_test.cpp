#include "platform/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/error.h"

namespace gloam {
namespace {

struct ParseCase {
    const char* text;
    double expected;
};

class ParseLeadingNumberTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseLeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_EQ(ParseLeadingNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    StoredTexts, ParseLeadingNumberTest,
    testing::Values(ParseCase{"0", 0}, ParseCase{"2", 2}, ParseCase{"", 0}, ParseCase{" 2", 2},
                    ParseCase{"\t 2", 2}, ParseCase{"2abc", 2}, ParseCase{"abc", 0},
                    ParseCase{"1.5", 1.5}, ParseCase{"2,9", 2}, ParseCase{"-1", -1},
                    ParseCase{"+3", 3}, ParseCase{"1E10", 1e10}, ParseCase{"1e+2x", 100},
                    ParseCase{"25e-1", 2.5}, ParseCase{"1E", 1}, ParseCase{"1E+", 1},
                    ParseCase{".5", 0.5}, ParseCase{"5.", 5}, ParseCase{".", 0}, ParseCase{"-", 0},
                    ParseCase{"1.2.3", 1.2}, ParseCase{"- 1", 0}, ParseCase{"0x10", 0},
                    ParseCase{"1E-400", 0}, ParseCase{"007", 7}));

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

struct RoundCase {
    double value;
    int32_t expected;
};

class NearestTest : public testing::TestWithParam<RoundCase> {};

TEST_P(NearestTest, RoundsHalvesToEven) {
    EXPECT_EQ(Nearest(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, NearestTest,
    testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2}, RoundCase{3.5, 4},
                    RoundCase{-0.5, 0}, RoundCase{-1.5, -2}, RoundCase{-2.5, -2},
                    RoundCase{0.49999999999999994, 0}, RoundCase{4.83, 5}, RoundCase{7.24, 7},
                    RoundCase{2147483647.0, 2147483647}, RoundCase{2147483647.4, 2147483647},
                    RoundCase{-2147483648.0, -2147483647 - 1}, RoundCase{2147483646.5, 2147483646},
                    RoundCase{-2147483647.5, -2147483647 - 1},
                    RoundCase{-2147483648.5, -2147483647 - 1}));

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
