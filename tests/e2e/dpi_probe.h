// A window moved to a monitor of another density, as Windows would move it, judged inside the
// window's own process (gloam_e2e_probe.dll, probe/dpi_probe.cpp): Wine 8 has one density for
// every monitor and sends neither WM_GETDPISCALEDSIZE nor WM_DPICHANGED.
#pragma once

#include <windows.h>

#include <optional>

namespace e2e {

struct DensityChange {
    SIZE scaled{};        // the window's answer to WM_GETDPISCALEDSIZE; -1 x -1 when it gave none
    LONG big_icon = 0;    // the width of its ICON_BIG then; -1 when it has none
    LONG small_icon = 0;  // of its ICON_SMALL
};

// Nullopt (and a test failure) when the probe could not run.
std::optional<DensityChange> MoveToDensity(HWND hwnd, UINT dpi);

// Whether the window's thread is per-monitor aware, version 2, as its own process sees it (Wine 10
// keeps only the awareness with a window). Nullopt (and a test failure) when the probe could not
// run.
std::optional<bool> IsPerMonitorV2(HWND hwnd);

}  // namespace e2e
