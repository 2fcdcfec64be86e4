// The preview part of gloam_e2e_probe.dll: the host's window goes away while the program is
// between making the preview its child and showing it, a moment no test could hit from outside.
#include <windows.h>

#include "probe.h"

namespace {

bool HasClass(HWND hwnd, const wchar_t* name) {
    wchar_t found[64] = {};
    return hwnd && GetClassNameW(hwnd, found, 64) > 0 && lstrcmpW(found, name) == 0;
}

bool g_host_closed = false;

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GloamProbeHostGoneCallWndProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
        if (HasClass(call->hwnd, gloam_probe::kPreviewClass)) {
            HWND parent = GetAncestor(call->hwnd, GA_PARENT);
            if (!g_host_closed && HasClass(parent, gloam_probe::kHostClass)) {
                g_host_closed = true;
                SendMessageW(parent, WM_CLOSE, 0, 0);
            } else if (g_host_closed && call->message == WM_SHOWWINDOW && call->wParam) {
                if (HANDLE shown =
                        OpenEventW(EVENT_MODIFY_STATE, FALSE, gloam_probe::kPreviewShownEvent)) {
                    SetEvent(shown);
                    CloseHandle(shown);
                }
            }
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
