#include "platform/dpi_win.h"

#include "platform/handles_win.h"

namespace gloam {
namespace {

template <typename Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT SystemDpi() {
    const unique_hdc_window screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto get_dpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = get_dpi ? get_dpi(window) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

int SystemMetricAt(int index, UINT dpi) {
    using GetMetricFunction = int(WINAPI*)(int, UINT);
    static const auto for_dpi = User32Function<GetMetricFunction>("GetSystemMetricsForDpi");
    if (for_dpi) return for_dpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi),
                    static_cast<int>(SystemDpi()));
}

namespace {

using SetThreadAwarenessFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

SetThreadAwarenessFunction SetThreadAwareness() {
    static const auto set =
        User32Function<SetThreadAwarenessFunction>("SetThreadDpiAwarenessContext");
    return set;
}

}  // namespace

ThreadDpiAwareness::ThreadDpiAwareness(DPI_AWARENESS_CONTEXT context) {
    if (context && SetThreadAwareness()) previous_ = SetThreadAwareness()(context);
}

ThreadDpiAwareness::~ThreadDpiAwareness() {
    if (previous_) SetThreadAwareness()(previous_);
}

DPI_AWARENESS_CONTEXT ThreadDpiAwareness::OfWindow(HWND window) {
    using GetWindowAwarenessFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    static const auto get =
        User32Function<GetWindowAwarenessFunction>("GetWindowDpiAwarenessContext");
    return get && window ? get(window) : nullptr;
}

RECT WindowRectForClient(int width, int height, DWORD style, DWORD ex_style, UINT dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust_for_dpi = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, width, height};
    if (!adjust_for_dpi || !adjust_for_dpi(&frame, style, FALSE, ex_style, dpi)) {
        ::AdjustWindowRectEx(&frame, style, FALSE, ex_style);
    }
    return frame;
}

}  // namespace gloam
