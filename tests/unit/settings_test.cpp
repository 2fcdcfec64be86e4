#include "platform/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"
#include "platform/numeric.h"
#include "platform/text.h"
#include "test_support.h"

namespace gloam {
namespace {

using SettingIndexTest = testing_support::ExampleTest<const wchar_t*, int32_t>;

TEST_P(SettingIndexTest, ReadsTheLeadingNumberRoundedHalfToEven) {
    EXPECT_EQ(SettingIndexFromText(kSpeedKey, GetParam().input), GetParam().expected);
}

// "1" is the store's default for an absent entry.
const SettingIndexTest::ParamType kStoredTexts[] = {
    {L"1", 1},   {L"0", 0},    {L"2", 2},    {L"", 0},     {L" 2", 2},  {L"2abc", 2},
    {L"abc", 0}, {L"1.5", 2},  {L"2.5", 2},  {L"0.5", 0},  {L"2,9", 2}, {L"-1", -1},
    {L"3", 3},   {L"-0.5", 0}, {L"1.49", 1}, {L"15e-1", 2}};
INSTANTIATE_TEST_SUITE_P(StoredTexts, SettingIndexTest, testing::ValuesIn(kStoredTexts),
                         testing_support::ByInput());

// Digits that are not ASCII are no digits.
const SettingIndexTest::ParamType kNonAsciiDigits[] = {
    {L"\xFF12", 0}, {L"\x0662", 0}, {L"\u8A2D2", 0}, {L"2\x65E5", 2}};
INSTANTIATE_TEST_SUITE_P(NonAsciiDigits, SettingIndexTest, testing::ValuesIn(kNonAsciiDigits),
                         testing_support::ByInput());

// The edges of 32 bits, and halves around them.
const SettingIndexTest::ParamType kThirtyTwoBitEdges[] = {
    {L"2147483647", 2147483647},         {L"2147483647.4", 2147483647},
    {L"2147483646.5", 2147483646},       {L"-2147483648", -2147483647 - 1},
    {L"-2147483648.5", -2147483647 - 1}, {L"-2147483647.5", -2147483647 - 1},
    {L"2.147483647E9", 2147483647}};
INSTANTIATE_TEST_SUITE_P(ThirtyTwoBitEdges, SettingIndexTest, testing::ValuesIn(kThirtyTwoBitEdges),
                         testing_support::ByInput());

TEST(SettingIndexFromText, BeyondThirtyTwoBitsNamesTheKeyAndTheText) {
    struct Case {
        std::wstring_view key;
        const wchar_t* text;
        const char* shown;
    };
    const Case cases[] = {
        {kSpeedKey, L"1E10", "1E10"},
        {kSizeKey, L"2147483648", "2147483648"},
        {kSizeKey, L"2147483647.5", "2147483647.5"},
        {kSpeedKey, L"-2147483648.6", "-2147483648.6"},
        {kSpeedKey, L"-2147483649", "-2147483649"},
        {kSizeKey, L" 1E400 ", " 1E400 "},
    };
    for (const Case& c : cases) {
        testing_support::ExpectErrorNaming(
            c.shown, [&] { SettingIndexFromText(c.key, c.text); },
            {"\"" + Utf8Of(c.key) + "\"", std::string("\"") + c.shown + "\""});
    }
}

TEST(SettingIndexFromText, AVanishingNumberIsZeroNotAnError) {
    const std::wstring tiny = L"0." + std::wstring(400, L'0') + L"1";
    EXPECT_EQ(SettingIndexFromText(kSizeKey, tiny), 0);
    EXPECT_EQ(SettingIndexFromText(kSizeKey, L"-" + tiny + L"E5"), 0);
}

TEST(SettingText, IsPlainDecimal) {
    EXPECT_EQ(SettingText(0), L"0");
    EXPECT_EQ(SettingText(1), L"1");
    EXPECT_EQ(SettingText(2), L"2");
    EXPECT_EQ(SettingText(-1), L"-1");
    // What SaveSettings writes reads back as the same index.
    for (const int32_t index : {0, 1, 2, -7, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(SettingIndexFromText(kSizeKey, SettingText(index)), index);
    }
}

}  // namespace
}  // namespace gloam
