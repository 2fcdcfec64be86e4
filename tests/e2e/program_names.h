// What the program under test names and the tests look for: its windows' titles and classes and
// its registry keys under HKEY_CURRENT_USER. Spelled out here, not taken from the program's
// headers, so that a renamed window or key fails the tests.
#pragma once

namespace e2e {

inline constexpr wchar_t kDisplayTitle[] = L"Gloam Drift Screen Saver";
inline constexpr wchar_t kConfigTitle[] = L"Gloam Drift Screen Saver - \u8a2d\u5b9a";
inline constexpr wchar_t kPreviewTitle[] = L"Gloam Drift Screen Saver - Preview";
inline constexpr wchar_t kDisplayClass[] = L"GloamDriftMain";
inline constexpr wchar_t kCoverClass[] = L"GloamDriftCover";
inline constexpr wchar_t kConfigClass[] = L"GloamDriftConfig";
inline constexpr wchar_t kPreviewClass[] = L"GloamDriftPreview";

inline constexpr wchar_t kSettingsRoot[] = L"Software\\GloamDriftSCR";
inline constexpr wchar_t kSettingsKey[] = L"Software\\GloamDriftSCR\\Setting";
inline constexpr wchar_t kInstallRoot[] = L"Software\\Gloam Drift SCR";
inline constexpr wchar_t kInstallKey[] = L"Software\\Gloam Drift SCR\\UpdateInfo";

}  // namespace e2e
