#include "startup/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"
#include "platform/numeric.h"
#include "platform/text.h"
#include "res/version.h"

namespace gloam {
namespace {

struct IndexCase {
    const wchar_t* text;
    int32_t index;
};

class SettingIndexTest : public testing::TestWithParam<IndexCase> {};

TEST_P(SettingIndexTest, ReadsTheLeadingNumberRoundedHalfToEven) {
    EXPECT_EQ(SettingIndexFromText(kSpeedKey, GetParam().text), GetParam().index)
        << Utf8Of(GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    StoredTexts, SettingIndexTest,
    testing::Values(
        // The store's default for an absent entry.
        IndexCase{L"1", 1}, IndexCase{L"0", 0}, IndexCase{L"2", 2}, IndexCase{L"", 0},
        IndexCase{L" 2", 2}, IndexCase{L"2abc", 2}, IndexCase{L"abc", 0}, IndexCase{L"1.5", 2},
        IndexCase{L"2.5", 2}, IndexCase{L"0.5", 0}, IndexCase{L"2,9", 2}, IndexCase{L"-1", -1},
        IndexCase{L"3", 3}, IndexCase{L"-0.5", 0}, IndexCase{L"1.49", 1}, IndexCase{L"15e-1", 2},
        // Digits that are not ASCII are no digits.
        IndexCase{L"\xFF12", 0},
        IndexCase{L"\x8A2D"
                  L"2",
                  0},
        // The edges of 32 bits, and halves around them.
        IndexCase{L"2147483647", 2147483647}, IndexCase{L"2147483647.4", 2147483647},
        IndexCase{L"2147483646.5", 2147483646}, IndexCase{L"-2147483648", -2147483647 - 1},
        IndexCase{L"-2147483648.5", -2147483647 - 1}, IndexCase{L"-2147483647.5", -2147483647 - 1},
        IndexCase{L"2.147483647E9", 2147483647}));

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
        try {
            SettingIndexFromText(c.key, c.text);
            ADD_FAILURE() << "no error for " << c.shown;
        } catch (const RuntimeError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("\"" + Utf8Of(c.key) + "\""), std::string::npos) << message;
            EXPECT_NE(message.find(std::string("\"") + c.shown + "\""), std::string::npos)
                << message;
        }
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

TEST(SettingsStoreNames, TwoDifferentApplications) {
    EXPECT_EQ(kSettingsApp, L"GloamDriftSCR");
    EXPECT_EQ(kInstallApp, L"Gloam Drift SCR");
    EXPECT_NE(kSettingsApp, kInstallApp);
}

TEST(FolderOf, DropsTheFileNameAndTheSeparator) {
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"C:\\Windows\\System32\\GloamDrift.scr", L"C:\\Windows\\System32"},
        {L"C:\\GloamDrift.scr", L"C:\\"},
        {L"D:/GloamDrift.scr", L"D:/"},
        {L"C:\\Users\\\x6E21\x8FBA\\GloamDrift.scr", L"C:\\Users\\\x6E21\x8FBA"},
        {L"\\\\server\\share\\GloamDrift.scr", L"\\\\server\\share"},
        {L"C:\\Program Files\\Gloam Drift\\GloamDrift.scr", L"C:\\Program Files\\Gloam Drift"},
        {L"/home/user/.wine/drive_c/GloamDrift.scr", L"/home/user/.wine/drive_c"},
        {L"\\GloamDrift.scr", L"\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(FolderOf(c.path), c.folder) << Utf8Of(c.path);
}

TEST(VersionText, ThisProgramIsOnePointZeroOne) {
    EXPECT_EQ(VersionText(GLOAM_VERSION_MAJOR, GLOAM_VERSION_MINOR, GLOAM_VERSION_REVISION),
              "1.01.0000");
}

}  // namespace
}  // namespace gloam
