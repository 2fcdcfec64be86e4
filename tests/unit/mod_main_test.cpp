#include "startup/mod_main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "test_support.h"

namespace gloam::modMain {
namespace {

using testing_support::MemorySettingsStore;

const std::wstring kSpeedEntry = L"GloamDriftSCR/Setting/Speed";
const std::wstring kSizeEntry = L"GloamDriftSCR/Setting/Size";

TEST(LoadSettings, NothingStoredGivesTheMiddleChoices) {
    MemorySettingsStore store;
    lngSpeed = lngSize = -9;
    LoadSettings(store);
    EXPECT_EQ(lngSpeed, 1);
    EXPECT_EQ(lngSize, 1);
    EXPECT_EQ(store.Log(), (std::vector<std::wstring>{L"R " + kSpeedEntry, L"R " + kSizeEntry}));
}

TEST(LoadSettings, ReadsEachKeyAsALeadingNumber) {
    struct Case {
        const wchar_t* speed;
        const wchar_t* size;
        int32_t lngSpeed, lngSize;
    };
    const Case cases[] = {
        {L"2", L"0", 2, 0},     {L"", L" 2", 0, 2},      {L"1.5", L"2.5", 2, 2},
        {L"0.5", L"2,9", 0, 2}, {L"abc", L"2abc", 0, 2}, {L"-1", L"3", -1, 3},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        store.Put(L"GloamDriftSCR", L"Setting", L"Speed", c.speed);
        store.Put(L"GloamDriftSCR", L"Setting", L"Size", c.size);
        // The install record's application is another one: a value there is not a setting.
        store.Put(L"Gloam Drift SCR", L"Setting", L"Speed", L"0");
        LoadSettings(store);
        EXPECT_EQ(lngSpeed, c.lngSpeed) << testing::PrintToString(std::wstring(c.speed));
        EXPECT_EQ(lngSize, c.lngSize) << testing::PrintToString(std::wstring(c.size));
    }
}

TEST(LoadSettings, AnAbsentKeyFallsBackAlone) {
    MemorySettingsStore store;
    store.Put(L"GloamDriftSCR", L"Setting", L"Size", L"0");
    LoadSettings(store);
    EXPECT_EQ(lngSpeed, 1);
    EXPECT_EQ(lngSize, 0);
}

TEST(LoadSettings, ASpeedBeyondThirtyTwoBitsStopsBeforeTheSizeIsRead) {
    MemorySettingsStore store;
    store.Put(L"GloamDriftSCR", L"Setting", L"Speed", L"1E10");
    EXPECT_THROW(LoadSettings(store), RuntimeError);
    EXPECT_EQ(store.Log(), (std::vector<std::wstring>{L"R " + kSpeedEntry}));

    MemorySettingsStore bad_size;
    bad_size.Put(L"GloamDriftSCR", L"Setting", L"Size", L"-2147483649");
    EXPECT_THROW(LoadSettings(bad_size), RuntimeError);
}

TEST(RegisterInstallInfo, WritesTheFolderThenTheVersion) {
    MemorySettingsStore store;
    RegisterInstallInfo(store, L"C:\\Windows\\System32\\GloamDrift.scr");
    EXPECT_EQ(store.Log(),
              (std::vector<std::wstring>{
                  L"W Gloam Drift SCR/UpdateInfo/ApplicationPath=C:\\Windows\\System32",
                  L"W Gloam Drift SCR/UpdateInfo/CurrentVersion=1.01.0000"}));

    MemorySettingsStore root;
    RegisterInstallInfo(root, L"D:\\GloamDrift.scr");
    EXPECT_EQ(root.Entries().at(L"Gloam Drift SCR/UpdateInfo/ApplicationPath"), L"D:\\");
}

TEST(RegisterInstallInfo, OverwritesWhatWasThere) {
    MemorySettingsStore store;
    store.Put(L"Gloam Drift SCR", L"UpdateInfo", L"CurrentVersion", L"0.99.0000");
    store.Put(L"Gloam Drift SCR", L"UpdateInfo", L"ApplicationPath", L"C:\\Old");
    RegisterInstallInfo(store, L"C:\\New\\GloamDrift.scr");
    EXPECT_EQ(store.Entries().at(L"Gloam Drift SCR/UpdateInfo/CurrentVersion"), L"1.01.0000");
    EXPECT_EQ(store.Entries().at(L"Gloam Drift SCR/UpdateInfo/ApplicationPath"), L"C:\\New");
    // Nothing is read first.
    EXPECT_EQ(store.Log().size(), 2u);
}

TEST(RegisterInstallInfo, AFailingWriteIsAnError) {
    MemorySettingsStore store;
    store.fail_writes = true;
    EXPECT_THROW(RegisterInstallInfo(store, L"C:\\GloamDrift.scr"), RuntimeError);
}

}  // namespace
}  // namespace gloam::modMain
