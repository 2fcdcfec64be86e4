#include "pointer_place.h"

#include <algorithm>
#include <chrono>

#include "platform/handles_win.h"

namespace e2e {

bool ShowPointerAt(POINT where, Millis limit) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"GloamE2EPointerPlace";
    RegisterClassExW(&wc);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    // The first window on a new desktop starts the desktop's own window, which Wine gives up on
    // after 10 s when the machine is loaded; a later attempt finds it running.
    gloam::unique_hwnd window;
    const bool made = WaitUntil(
        [&] {
            window.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST,
                                         wc.lpszClassName, L"", WS_POPUP, where.x - 1, where.y - 1,
                                         3, 3, nullptr, nullptr, wc.hInstance, nullptr));
            return static_cast<bool>(window);
        },
        limit, 100ms);
    if (!made) return false;
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    const auto left =
        std::chrono::duration_cast<Millis>(deadline - std::chrono::steady_clock::now());
    // Set again now and then: on a loaded machine an older motion may still arrive and move it.
    int polls = 0;
    return WaitUntil(
        [&] {
            if (polls++ % 50 == 0) SetCursorPos(where.x, where.y);
            POINT now{};
            GetCursorPos(&now);
            return now.x == where.x && now.y == where.y;
        },
        std::max(left, Millis(0)), 10ms);
}

}  // namespace e2e
