#include "startup/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"
#include "platform/settings.h"
#include "platform/text.h"
#include "test_support.h"

namespace gloam {
namespace {

using ModeOfTest = testing_support::ExampleTest<const wchar_t*, Mode>;

TEST_P(ModeOfTest, FirstTwoCharactersUpperCasedChooseTheMode) {
    EXPECT_EQ(ModeOf(CommandTextOrDefault(GetParam().input)), GetParam().expected);
}

const ModeOfTest::ParamType kHostCommandLines[] = {
    {L"", Mode::Screen},         {L"/S", Mode::Screen},       {L"/s", Mode::Screen},
    {L"/Sxyz", Mode::Screen},    {L"/s 1234", Mode::Screen},  {L"/C", Mode::Config},
    {L"/c", Mode::Config},       {L"/c:1234", Mode::Config},  {L"/C 5678", Mode::Config},
    {L"/P 1234", Mode::Preview}, {L"/p 1234", Mode::Preview}, {L"/P", Mode::Preview},
    {L"/P:1234", Mode::Preview}, {L"-s", Mode::None},         {L"s", Mode::None},
    {L"S", Mode::None},          {L"/a", Mode::None},         {L"/", Mode::None},
    {L" /S", Mode::None},        {L"//S", Mode::None},        {L"\\S", Mode::None},
    {L"/\xFF33", Mode::None}};
INSTANTIATE_TEST_SUITE_P(HostCommandLines, ModeOfTest, testing::ValuesIn(kHostCommandLines),
                         testing_support::ByInput());

TEST(CommandTextOrDefault, OnlyTheEmptyTextBecomesS) {
    EXPECT_EQ(CommandTextOrDefault(L""), L"/S");
    EXPECT_EQ(CommandTextOrDefault(L" "), L" ");
    EXPECT_EQ(CommandTextOrDefault(L"/c"), L"/c");
    EXPECT_EQ(CommandTextOrDefault(L"/p 1234"), L"/p 1234");
}

TEST(ModeKey, IsAtMostTwoCharactersUpperCased) {
    EXPECT_EQ(ModeKey(L"/sxyz"), L"/S");
    EXPECT_EQ(ModeKey(L"/"), L"/");
    EXPECT_EQ(ModeKey(L""), L"");
    EXPECT_EQ(ModeKey(L"ab"), L"AB");
    EXPECT_EQ(ModeKey(L"/p 1234"), L"/P");
}

struct PreviewCase {
    const wchar_t* command_text;
    const wchar_t* number_text;
    int32_t handle;
};

class PreviewHandleTest : public testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewHandleTest, NumberAfterTheFirstBlank) {
    const PreviewCase& c = GetParam();
    EXPECT_EQ(PreviewNumberText(c.command_text), c.number_text) << Utf8Of(c.command_text);
    EXPECT_EQ(PreviewHostHandle(c.command_text), c.handle) << Utf8Of(c.command_text);
}

INSTANTIATE_TEST_SUITE_P(
    HostCommandLines, PreviewHandleTest,
    testing::Values(PreviewCase{L"/P 1234", L"1234", 1234}, PreviewCase{L"/p 1234", L"1234", 1234},
                    PreviewCase{L"/P  1234", L" 1234", 1234}, PreviewCase{L"/P", L"/P", 0},
                    PreviewCase{L"/P:1234", L"/P:1234", 0},
                    PreviewCase{L"/P 1234 5678", L"1234 5678", 1234},
                    PreviewCase{L"/P 0x1F", L"0x1F", 0}, PreviewCase{L"/P ", L"", 0},
                    PreviewCase{L"/P -65536", L"-65536", -65536},
                    PreviewCase{L"/P 2147483647", L"2147483647", 2147483647},
                    PreviewCase{L"/P -2147483648", L"-2147483648", -2147483647 - 1},
                    PreviewCase{L"/P 12.5", L"12.5", 12}),
    [](const testing::TestParamInfo<PreviewCase>& param) {
        return gloam_tests::CaseName(param.param.command_text);
    });

TEST(PreviewHostHandle, BeyondThirtyTwoBitsIsAnError) {
    for (const wchar_t* text : {L"/P 2147483648", L"/P 4294967296", L"/P -2147483649", L"/P 1E20",
                                L"/P 99999999999999999999"}) {
        testing_support::ExpectErrorNaming(Utf8Of(text), [&] { PreviewHostHandle(text); },
                                           {Utf8Of(PreviewNumberText(text))});
    }
}

}  // namespace
}  // namespace gloam
