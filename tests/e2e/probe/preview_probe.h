// What the harness and the preview part of gloam_e2e_probe.dll agree on.
#pragma once

namespace gloam_probe {

// A window hook placed on the program's thread before it runs. The first time the preview's window
// gets a message while a child of the test's host, it closes the host, as a host going away at
// that moment would; from then on it sets the event below when a preview window is shown.
inline constexpr char kHostGoneHookProc[] = "GloamProbeHostGoneCallWndProc";
inline constexpr wchar_t kPreviewShownEvent[] = L"Local\\GloamE2EPreviewShownAfterHostGone";
inline constexpr wchar_t kPreviewClass[] = L"GloamDriftPreview";
inline constexpr wchar_t kHostClass[] = L"GloamE2EPreviewHost";

}  // namespace gloam_probe
