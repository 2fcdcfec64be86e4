// gloam_e2e_probe.dll: a window hook that the harness places on a thread of the program under
// test. Another process cannot read a window's class cursor (Wine refuses it outright), so this
// code, loaded into the program by the hook, draws the class cursor there and leaves its verdict
// as a window property that the test can read.
#include <windows.h>

#include <cstdint>

#include "../top_down_dib.h"
#include "probe.h"

namespace {

// Draws the cursor over a plain background and reports whether any pixel changed.
bool ChangesPixels(HCURSOR cursor, std::uint32_t background) {
    constexpr int kSize = 64;
    const BITMAPINFO info = e2e::TopDown32(kSize, kSize);
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool changed = true;
    if (dc && bitmap && bits) {
        auto* pixels = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < kSize * kSize; ++i) pixels[i] = background;
        HGDIOBJ previous = SelectObject(dc, bitmap);
        DrawIconEx(dc, 0, 0, cursor, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
        GdiFlush();
        changed = false;
        for (int i = 0; i < kSize * kSize; ++i) {
            if ((pixels[i] & 0x00FFFFFFu) != background) changed = true;
        }
        SelectObject(dc, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return changed;
}

LONG_PTR Verdict(HWND hwnd) {
    auto cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(hwnd, GCLP_HCURSOR));
    if (!cursor) return gloam_probe::kNoClassCursor;
    ICONINFO icon{};
    if (!GetIconInfo(cursor, &icon)) return gloam_probe::kUnreadable;
    if (icon.hbmColor) DeleteObject(icon.hbmColor);
    if (icon.hbmMask) DeleteObject(icon.hbmMask);
    if (ChangesPixels(cursor, 0x000000) || ChangesPixels(cursor, 0xFFFFFF)) {
        return gloam_probe::kVisible;
    }
    return gloam_probe::kInvisible;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GloamProbeCallWndProc(int code, WPARAM wparam, LPARAM lparam) {
    static const UINT probe = RegisterWindowMessageW(gloam_probe::kMessage);
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
        if (call->message == probe) {
            SetPropW(call->hwnd, gloam_probe::kProperty,
                     reinterpret_cast<HANDLE>(Verdict(call->hwnd)));
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
