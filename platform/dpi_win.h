// Pixel densities as the program meets them. The manifest makes the process per-monitor aware, so
// every size the system reports is in physical pixels; a window has the density of the monitor it
// is on. Newer calls are looked up at run time: on a system without them (before Windows 10
// 1607) the system-wide density serves.
#pragma once

#include <windows.h>

namespace gloam {

// The density the system reports for the screen as a whole (LOGPIXELSY; 96 if unknown).
UINT SystemDpi();

// The density of the monitor a window is on.
UINT WindowDpi(HWND window);

// The window rectangle, at the origin, of a window with the given styles whose client area is
// `width` x `height` pixels at `dpi`.
RECT WindowRectForClient(int width, int height, DWORD style, DWORD ex_style, UINT dpi);

}  // namespace gloam
