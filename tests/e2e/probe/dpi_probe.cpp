// The DPI part of gloam_e2e_probe.dll. Wine 8 gives every monitor one density and never tells a
// window that its density changed, so this hook, placed in the window's thread by the harness, does
// what Windows does when a window is dragged to a monitor of another density: it asks the window
// for its size there (WM_GETDPISCALEDSIZE), then tells it the density changed (WM_DPICHANGED)
// with a place of that size. It leaves what the window answered and the sizes of the icons it then
// carries as window properties.
//
// And a hook that notes the DPI awareness each window is made with, which Wine does not keep:
// under Wine a child window takes its parent's.
#include <windows.h>

#include <cstdint>

#include "hook.h"
#include "probe.h"

namespace {

void Leave(HWND hwnd, const wchar_t* name, LONG value) {
    SetPropW(hwnd, name, reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)));
}

LONG IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return -1;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

void MoveToDensity(HWND hwnd, UINT dpi) {
    SIZE size{};
    if (!SendMessageW(hwnd, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size))) {
        size = SIZE{-1, -1};
    }
    Leave(hwnd, gloam_probe::kScaledWidth, size.cx);
    Leave(hwnd, gloam_probe::kScaledHeight, size.cy);
    RECT place{};
    GetWindowRect(hwnd, &place);
    if (size.cx > 0 && size.cy > 0) {
        place.right = place.left + size.cx;
        place.bottom = place.top + size.cy;
    }
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
    Leave(hwnd, gloam_probe::kBigIcon,
          IconWidth(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0))));
    Leave(hwnd, gloam_probe::kSmallIcon,
          IconWidth(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0))));
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GloamProbeDpiCallWndProc(int code, WPARAM wparam, LPARAM lparam) {
    static const UINT probe = RegisterWindowMessageW(gloam_probe::kDpiMessage);
    return gloam_probe::OnProbeMessage(probe, code, wparam, lparam, [](const CWPSTRUCT& call) {
        MoveToDensity(call.hwnd, static_cast<UINT>(call.wParam));
    });
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GloamProbeCreationCbtProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
        const DPI_AWARENESS awareness =
            GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext());
        Leave(reinterpret_cast<HWND>(wparam), gloam_probe::kMadeWithAwareness,
              static_cast<LONG>(awareness) + 1);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GloamProbeAwarenessCallWndProc(int code, WPARAM wparam, LPARAM lparam) {
    static const UINT probe = RegisterWindowMessageW(gloam_probe::kAwarenessMessage);
    return gloam_probe::OnProbeMessage(probe, code, wparam, lparam, [](const CWPSTRUCT& call) {
        const bool v2 = AreDpiAwarenessContextsEqual(GetThreadDpiAwarenessContext(),
                                                     DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
        Leave(call.hwnd, gloam_probe::kContextIsPerMonitorV2, v2 ? 2 : 1);
    });
}
