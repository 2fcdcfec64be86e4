// The per-user settings store as the program sees it, the two settings and the install record.
//
// Entries are texts addressed by application, section and key. The settings live under
// "GloamDriftSCR"/"Setting"; the install record under "Gloam Drift SCR"/"UpdateInfo" (two
// different applications: note the blanks).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace gloam {

inline constexpr std::wstring_view kSettingsApp = L"GloamDriftSCR";
inline constexpr std::wstring_view kSettingsSection = L"Setting";
inline constexpr std::wstring_view kSpeedKey = L"Speed";
inline constexpr std::wstring_view kSizeKey = L"Size";
inline constexpr std::wstring_view kSettingDefault = L"1";
inline constexpr std::wstring_view kInstallApp = L"Gloam Drift SCR";
inline constexpr std::wstring_view kInstallSection = L"UpdateInfo";
inline constexpr std::wstring_view kPathKey = L"ApplicationPath";
inline constexpr std::wstring_view kVersionKey = L"CurrentVersion";

// The stored text of a setting as an index: leading number, rounded half to even. A value beyond
// 32 bits raises a RuntimeError naming the key and the text.
int32_t SettingIndexFromText(std::wstring_view key, std::wstring_view text);

// The decimal text SaveSettings writes for an index.
std::wstring SettingText(int32_t index);

// Folder of a file path without its trailing separator; a drive root keeps it ("C:\").
std::wstring FolderOf(std::wstring_view file_path);

}  // namespace gloam
