// What the harness and gloam_e2e_probe.dll agree on.
#pragma once

namespace gloam_probe {

inline constexpr wchar_t kDllName[] = L"gloam_e2e_probe.dll";
inline constexpr char kHookProc[] = "GloamProbeCallWndProc";
inline constexpr wchar_t kMessage[] = L"GloamE2EProbeClassCursor";
inline constexpr wchar_t kProperty[] = L"GloamE2EClassCursorVerdict";

// Verdicts; 0 (no property) means the probe never ran.
inline constexpr long kNoClassCursor = 1;
inline constexpr long kUnreadable = 2;
inline constexpr long kVisible = 3;
inline constexpr long kInvisible = 4;

}  // namespace gloam_probe
