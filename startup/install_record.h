// The install record: at every start the program writes its folder and version under
// "Gloam Drift SCR"/"UpdateInfo" (note the blanks; the two settings live under "GloamDriftSCR").
#pragma once

#include <string>
#include <string_view>

namespace gloam {

// Folder of a file path without its trailing separator; a drive root keeps it ("C:\"): what the
// record keeps as the program's folder.
std::wstring FolderOf(std::wstring_view file_path);

inline constexpr std::wstring_view kInstallApp = L"Gloam Drift SCR";
inline constexpr std::wstring_view kInstallSection = L"UpdateInfo";
inline constexpr std::wstring_view kPathKey = L"ApplicationPath";
inline constexpr std::wstring_view kVersionKey = L"CurrentVersion";

}  // namespace gloam
