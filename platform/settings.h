// The two settings as the settings store keeps them: texts under "GloamDriftSCR"/"Setting", keys
// "Speed" and "Size", each the index of one of three choices. modMain reads them at start and
// hands the indexes to the form it shows; frmConfig writes them.
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

// The stored text of a setting as an index: leading number, rounded half to even. A value beyond
// 32 bits raises a RuntimeError naming the key and the text.
int32_t SettingIndexFromText(std::wstring_view key, std::wstring_view text);

// The decimal text SaveSettings writes for an index.
std::wstring SettingText(int32_t index);

}  // namespace gloam
