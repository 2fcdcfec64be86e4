#include "startup/mod_main.h"

#include "platform/numeric.h"
#include "platform/settings.h"
#include "startup/install_record.h"
#include "version.h"

namespace gloam::modMain {

int32_t lngSpeed = 0;
int32_t lngSize = 0;

void LoadSettings(SettingsStore& store) {
    lngSpeed = SettingIndexFromText(
        kSpeedKey, store.Read(kSettingsApp, kSettingsSection, kSpeedKey, kSettingDefault));
    lngSize = SettingIndexFromText(
        kSizeKey, store.Read(kSettingsApp, kSettingsSection, kSizeKey, kSettingDefault));
}

void RegisterInstallInfo(SettingsStore& store, std::wstring_view executable_path) {
    store.Write(kInstallApp, kInstallSection, kPathKey, FolderOf(executable_path));
    const std::string version =
        VersionText(GLOAM_VERSION_MAJOR, GLOAM_VERSION_MINOR, GLOAM_VERSION_REVISION);
    store.Write(kInstallApp, kInstallSection, kVersionKey,
                std::wstring(version.begin(), version.end()));
}

}  // namespace gloam::modMain
