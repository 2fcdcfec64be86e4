// The host's preview pane, played by a window of the test process: "/P <number>" puts the
// preview inside it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "harness.h"
#include "no_copy.h"
#include "platform/handles_win.h"

namespace e2e {

inline constexpr COLORREF kHostColour = RGB(0x20, 0xC0, 0x40);  // appears nowhere in the picture
inline constexpr std::uint32_t kHostPixel = 0x20C040u;

// The decimal number of a window as a host writes it on the command line.
std::wstring NumberOf(HWND hwnd);

// A plain window of this process, painted green, that never takes the activation. Destroyed with
// the test.
class PreviewHost : NoCopy {
  public:
    PreviewHost(int width, int height);
    ~PreviewHost() { Destroy(); }

    HWND hwnd() const { return hwnd_.get(); }
    std::wstring Number() const { return NumberOf(hwnd()); }
    void Destroy();
    POINT ClientOrigin() const;
    // The preview window once it is a visible child of the host; nullptr when none shows in time.
    HWND WaitForPreview(ScrProcess& scr) const;

  private:
    gloam::unique_hwnd hwnd_;
};

// A window of this process on a desktop of its own, made by a thread of its own: a window that
// exists, and that a program on the test's desktop cannot make its child's parent, as a host in
// another session or of higher integrity would be.
class OtherDesktopWindow : NoCopy {
  public:
    OtherDesktopWindow();
    ~OtherDesktopWindow();

    // Nullptr when the desktop or the window could not be made.
    HWND hwnd() const { return hwnd_; }

  private:
    static DWORD WINAPI Run(void* self);

    HDESK desktop_ = nullptr;
    gloam::unique_handle ready_;
    gloam::unique_handle thread_;
    DWORD thread_id_ = 0;
    HWND hwnd_ = nullptr;
};

}  // namespace e2e
