#include "display/cover_window_win.h"

#include <dwmapi.h>

#include <vector>

#include "display/cover_layout.h"
#include "platform/resources_win.h"
#include "resource.h"

namespace gloam {
namespace {

constexpr wchar_t kClassName[] = L"GloamDriftCover";

Rect RectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

// Visible, and not hidden by the system while it looks visible (cloaked, as the windows of apps
// that are not running are).
bool Shows(HWND window) {
    if (!::IsWindowVisible(window)) return false;
    DWORD cloaked = 0;
    return FAILED(::DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) ||
           cloaked == 0;
}

}  // namespace

bool ClickWatch::Completes(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            pressed_ = true;
            return false;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            return pressed_;
        default:
            return false;
    }
}

CoverWindow::CoverWindow(const Rect& area, ClickHandler on_click) : on_click_(on_click) {
    // Once per process, as the class keeps its cursor; a cover has no caption or taskbar button,
    // so no icon.
    static const bool registered =
        (RegisterWindowClass(kClassName, 0, nullptr, nullptr, LoadCursorResource(IDC_INVISIBLE),
                             static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))),
         true);
    (void)registered;
    CreateFormWindow(kClassName, L"", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, area.left,
                     area.top, area.Width(), area.Height(), nullptr);
}

CoverWindow::~CoverWindow() {
    if (Window()) ::DestroyWindow(Window());
}

void CoverWindow::ShowOver(const Rect& area) {
    ::SetWindowPos(Window(), HWND_TOPMOST, area.left, area.top, area.Width(), area.Height(),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool CoverWindow::NeedsPuttingBack(const Rect& area) const {
    const DWORD own_process = ::GetCurrentProcessId();
    std::vector<Rect> others_above;
    for (HWND above = ::GetWindow(Window(), GW_HWNDPREV); above;
         above = ::GetWindow(above, GW_HWNDPREV)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(above, &process);
        if (process != own_process && Shows(above)) others_above.push_back(RectOf(above));
    }
    return CoverNeedsPuttingBack(area, RectOf(Window()), ::IsWindowVisible(Window()) != FALSE,
                                 others_above);
}

LRESULT CoverWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (clicks_.Completes(message)) on_click_();
    if (IsScreenSaveCommand(message, wparam)) return 0;
    // The display window keeps the activation, and with it the keyboard.
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return ::DefWindowProcW(Window(), message, wparam, lparam);
}

}  // namespace gloam
