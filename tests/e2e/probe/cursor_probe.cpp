// gloam_e2e_probe.dll: a window hook that the harness places on a thread of the program under
// test. Another process cannot read a window's class cursor (Wine refuses it outright), so this
// code, loaded into the program by the hook, draws the class cursor there and leaves its verdict
// as a window property that the test can read.
#include <windows.h>

#include <cstdint>

#include "hook.h"
#include "platform/dib_surface_win.h"
#include "platform/handles_win.h"
#include "probe.h"

namespace {

// Draws the cursor over a plain background and reports whether any pixel changed; true when it
// cannot tell.
bool ChangesPixels(HCURSOR cursor, std::uint32_t background) {
    constexpr int kSize = 64;
    gloam::DibSurface picture;
    try {
        picture.Resize(kSize, kSize);
    } catch (...) {  // nothing may leave a hook
        return true;
    }
    const gloam::PixelView pixels = picture.View();
    gloam::Fill(pixels, pixels.Bounds(), background);
    DrawIconEx(picture.Dc(), 0, 0, cursor, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    GdiFlush();
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if ((pixels.At(x, y) & 0x00FFFFFFu) != background) return true;
        }
    }
    return false;
}

LONG_PTR Verdict(HWND hwnd) {
    auto cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(hwnd, GCLP_HCURSOR));
    if (!cursor) return gloam_probe::kNoClassCursor;
    ICONINFO icon{};
    if (!GetIconInfo(cursor, &icon)) return gloam_probe::kUnreadable;
    const gloam::unique_hbitmap colour(icon.hbmColor);
    const gloam::unique_hbitmap mask(icon.hbmMask);
    if (ChangesPixels(cursor, 0x000000) || ChangesPixels(cursor, 0xFFFFFF)) {
        return gloam_probe::kVisible;
    }
    return gloam_probe::kInvisible;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GloamProbeCallWndProc(int code, WPARAM wparam, LPARAM lparam) {
    static const UINT probe = RegisterWindowMessageW(gloam_probe::kMessage);
    return gloam_probe::OnProbeMessage(probe, code, wparam, lparam, [](const CWPSTRUCT& call) {
        SetPropW(call.hwnd, gloam_probe::kProperty, reinterpret_cast<HANDLE>(Verdict(call.hwnd)));
    });
}
