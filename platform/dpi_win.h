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

// A system metric (SM_CXICON, ...) at a density; on a system that cannot tell, the metric at the
// system's density scaled.
int SystemMetricAt(int index, UINT dpi);

// The calling thread runs with `context` as its DPI awareness while the object lives, and with
// what it had before afterwards. Windows made meanwhile keep that awareness for good. Does nothing
// when `context` is null or the system has no such call.
class ThreadDpiAwareness {
  public:
    explicit ThreadDpiAwareness(DPI_AWARENESS_CONTEXT context);
    ThreadDpiAwareness(const ThreadDpiAwareness&) = delete;
    ThreadDpiAwareness& operator=(const ThreadDpiAwareness&) = delete;
    ~ThreadDpiAwareness();

    // A window's awareness, of any process; null when the window is gone or the system cannot
    // tell.
    static DPI_AWARENESS_CONTEXT OfWindow(HWND window);

  private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

}  // namespace gloam
