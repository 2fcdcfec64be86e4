// The floor of a display tick under Wine: a full-screen black window whose 20 ms timer does what
// every tick of the saver must do besides drawing (read the cursor, read the local clock for the
// cats check, let pending events run) and draws nothing. bench/cpu_vs_peer.sh measures it beside
// the saver, so that the share of the CPU that no compositing can remove shows.
#include <windows.h>

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_TIMER: {
            POINT cursor{0, 0};
            ::GetCursorPos(&cursor);
            SYSTEMTIME now;
            ::GetLocalTime(&now);
            MSG pending;
            while (::PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
                if (pending.message == WM_QUIT) {
                    ::PostQuitMessage(0);
                    break;
                }
                ::DispatchMessageW(&pending);
            }
            return 0;
        }
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"GloamDriftTickFloor";
    ::RegisterClassExW(&wc);
    HWND window =
        ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"tick floor",
                          WS_POPUP, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                          ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, SW_SHOW);
    ::SetTimer(window, 1, 20, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}
