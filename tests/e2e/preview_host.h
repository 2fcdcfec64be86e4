// The host's preview pane, played by a window of the test process: "/P <number>" puts the
// preview inside it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "harness.h"

namespace e2e {

inline constexpr COLORREF kHostColour = RGB(0x20, 0xC0, 0x40);  // appears nowhere in the picture
inline constexpr std::uint32_t kHostPixel = 0x20C040u;

// The decimal number of a window as a host writes it on the command line.
std::wstring NumberOf(HWND hwnd);

// A plain window of this process, painted green, that never takes the activation. Destroyed with
// the test.
class PreviewHost {
  public:
    PreviewHost(int width, int height);
    ~PreviewHost() { Destroy(); }
    PreviewHost(const PreviewHost&) = delete;
    PreviewHost& operator=(const PreviewHost&) = delete;

    HWND hwnd() const { return hwnd_; }
    std::wstring Number() const { return NumberOf(hwnd_); }
    void Destroy();
    POINT ClientOrigin() const;
    // The preview window once it is a visible child of the host; nullptr when none shows in time.
    HWND WaitForPreview(ScrProcess& scr) const;

  private:
    HWND hwnd_ = nullptr;
};

}  // namespace e2e
