#include "startup/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"
#include "platform/text.h"
#include "startup/settings.h"

namespace gloam {
namespace {

struct ModeCase {
    const wchar_t* arguments;
    Mode mode;
};

class ModeOfTest : public testing::TestWithParam<ModeCase> {};

TEST_P(ModeOfTest, FirstTwoCharactersUpperCasedChooseTheMode) {
    const std::wstring command_text = CommandTextOrDefault(GetParam().arguments);
    EXPECT_EQ(ModeOf(command_text), GetParam().mode) << Utf8Of(GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    HostCommandLines, ModeOfTest,
    testing::Values(ModeCase{L"", Mode::Screen}, ModeCase{L"/S", Mode::Screen},
                    ModeCase{L"/s", Mode::Screen}, ModeCase{L"/Sxyz", Mode::Screen},
                    ModeCase{L"/s 1234", Mode::Screen}, ModeCase{L"/C", Mode::Config},
                    ModeCase{L"/c", Mode::Config}, ModeCase{L"/c:1234", Mode::Config},
                    ModeCase{L"/C 5678", Mode::Config}, ModeCase{L"/P 1234", Mode::Preview},
                    ModeCase{L"/p 1234", Mode::Preview}, ModeCase{L"/P", Mode::Preview},
                    ModeCase{L"/P:1234", Mode::Preview}, ModeCase{L"-s", Mode::None},
                    ModeCase{L"s", Mode::None}, ModeCase{L"S", Mode::None},
                    ModeCase{L"/a", Mode::None}, ModeCase{L"/", Mode::None},
                    ModeCase{L" /S", Mode::None}, ModeCase{L"//S", Mode::None},
                    ModeCase{L"\\S", Mode::None}, ModeCase{L"/\xFF33", Mode::None}));

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
                    PreviewCase{L"/P 12.5", L"12.5", 12}));

TEST(PreviewHostHandle, BeyondThirtyTwoBitsIsAnError) {
    for (const wchar_t* text : {L"/P 2147483648", L"/P 4294967296", L"/P -2147483649", L"/P 1E20",
                                L"/P 99999999999999999999"}) {
        try {
            PreviewHostHandle(text);
            ADD_FAILURE() << "no error for " << Utf8Of(text);
        } catch (const RuntimeError& error) {
            const std::string number = Utf8Of(PreviewNumberText(text));
            EXPECT_NE(std::string(error.what()).find(number), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace gloam
