// Windows of the test process itself, playing what a user's desktop would show. Each is destroyed
// with the test, pass or fail.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "no_copy.h"
#include "platform/handles_win.h"
#include "wait.h"

namespace e2e {

// A hidden top-level window with the given title (for the single-instance test, which looks
// windows up by title whatever their class).
class TitledWindow {
  public:
    explicit TitledWindow(std::wstring_view title);
    HWND hwnd() const { return hwnd_.get(); }

  private:
    gloam::unique_hwnd hwnd_;
};

// Windows over `area` (screen coordinates; by default the primary monitor) painted with
// PatternColour of each screen pixel, so that what the program captures and shows can be told
// apart from black. One window per monitor the area meets: a window manager may fit a window to
// one monitor (Wine 10 does), as Windows fits a maximised one. Shown without activation, not
// topmost.
class PatternWindow : NoCopy {
  public:
    PatternWindow();
    explicit PatternWindow(const RECT& area);
    ~PatternWindow();
    const std::vector<gloam::unique_hwnd>& windows() const { return windows_; }
    // Waits until the screen shows the pattern.
    bool WaitShown(Millis limit = 5s) const;

  private:
    std::vector<RECT> pieces_;
    std::vector<gloam::unique_hwnd> windows_;
};

// A plain window class of the test process with the given procedure; registering it again
// keeps the first registration.
const wchar_t* RegisterTestClass(const wchar_t* name, WNDPROC proc);

}  // namespace e2e
