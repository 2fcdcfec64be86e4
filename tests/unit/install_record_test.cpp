#include "startup/install_record.h"

#include <gtest/gtest.h>

#include "platform/numeric.h"
#include "platform/settings.h"
#include "platform/text.h"
#include "version.h"

namespace gloam {
namespace {

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
