// What the harness and the DPI part of gloam_e2e_probe.dll agree on.
#pragma once

namespace gloam_probe {

inline constexpr char kDpiHookProc[] = "GloamProbeDpiCallWndProc";
// Sent with the new density as wParam.
inline constexpr wchar_t kDpiMessage[] = L"GloamE2EProbeDpiChange";
// What the window answered and the widths of its icons, as window properties; a property the probe
// did not set reads as 0.
inline constexpr wchar_t kScaledWidth[] = L"GloamE2EDpiScaledWidth";
inline constexpr wchar_t kScaledHeight[] = L"GloamE2EDpiScaledHeight";
inline constexpr wchar_t kBigIcon[] = L"GloamE2EDpiBigIcon";
inline constexpr wchar_t kSmallIcon[] = L"GloamE2EDpiSmallIcon";

// A CBT hook placed on the program's thread before it runs: every window the thread makes carries
// the thread's DPI awareness at that moment, plus one (DPI_AWARENESS_UNAWARE is 0).
inline constexpr char kCreationHookProc[] = "GloamProbeCreationCbtProc";
inline constexpr wchar_t kMadeWithAwareness[] = L"GloamE2EMadeWithAwareness";

}  // namespace gloam_probe
