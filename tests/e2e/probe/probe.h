// What the harness and gloam_e2e_probe.dll agree on: the names of its hook procedures, the
// messages that set them to work and the window properties they leave.
#pragma once

namespace gloam_probe {

inline constexpr wchar_t kDllName[] = L"gloam_e2e_probe.dll";

// ---- the class cursor (cursor_probe.cpp) ----

inline constexpr char kHookProc[] = "GloamProbeCallWndProc";
inline constexpr wchar_t kMessage[] = L"GloamE2EProbeClassCursor";
inline constexpr wchar_t kProperty[] = L"GloamE2EClassCursorVerdict";

// Verdicts; 0 (no property) means the probe never ran.
inline constexpr long kNoClassCursor = 1;
inline constexpr long kUnreadable = 2;
inline constexpr long kVisible = 3;
inline constexpr long kInvisible = 4;

// ---- densities (dpi_probe.cpp) ----

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

// Sent to a window: it carries, as kContextIsPerMonitorV2, 2 when its thread's awareness (the one
// its windows are made with) is per-monitor version 2, else 1. Windows gives the window the same
// context; Wine 10 keeps only the awareness with a window and reports version 1 for it.
inline constexpr char kAwarenessHookProc[] = "GloamProbeAwarenessCallWndProc";
inline constexpr wchar_t kAwarenessMessage[] = L"GloamE2EProbeAwareness";
inline constexpr wchar_t kContextIsPerMonitorV2[] = L"GloamE2EContextIsPerMonitorV2";

// ---- the preview (preview_probe.cpp) ----

// A window hook placed on the program's thread before it runs. The first time the preview's window
// gets a message while a child of the test's host, it closes the host, as a host going away at
// that moment would; from then on it sets the event below when a preview window is shown.
inline constexpr char kHostGoneHookProc[] = "GloamProbeHostGoneCallWndProc";
inline constexpr wchar_t kPreviewShownEvent[] = L"Local\\GloamE2EPreviewShownAfterHostGone";
inline constexpr wchar_t kPreviewClass[] = L"GloamDriftPreview";
inline constexpr wchar_t kHostClass[] = L"GloamE2EPreviewHost";

}  // namespace gloam_probe
