#include "preview_host.h"

#include "platform/handles_win.h"

namespace e2e {
namespace {

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) {
        RECT r{};
        GetClientRect(hwnd, &r);
        const gloam::unique_hbrush brush(CreateSolidBrush(kHostColour));
        FillRect(reinterpret_cast<HDC>(wp), &r, brush.get());
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

std::wstring NumberOf(HWND hwnd) {
    return std::to_wstring(static_cast<long long>(HandleToLong(hwnd)));
}

PreviewHost::PreviewHost(int width, int height) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"GloamE2EPreviewHost";
    RegisterClassExW(&wc);  // a second registration fails harmlessly
    hwnd_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName,
                                L"GloamDrift e2e preview host", WS_POPUP | WS_CLIPCHILDREN, 200,
                                150, width, height, nullptr, nullptr, wc.hInstance, nullptr));
    if (!hwnd_) {
        ADD_FAILURE() << "cannot create the host window";
        return;
    }
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd());
}

void PreviewHost::Destroy() {
    hwnd_.reset();
    PumpMessages();
}

POINT PreviewHost::ClientOrigin() const {
    POINT p{0, 0};
    ClientToScreen(hwnd(), &p);
    return p;
}

HWND PreviewHost::WaitForPreview(ScrProcess& scr) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            scr.Observe();
            found = FindWindowExW(hwnd(), nullptr, kPreviewClass, nullptr);
            return (found && IsWindowVisible(found)) || !scr.Running();
        },
        kStartLimit);
    return found && IsWindowVisible(found) ? found : nullptr;
}

OtherDesktopWindow::OtherDesktopWindow() {
    desktop_ = CreateDesktopW(L"GloamE2EOtherDesktop", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop_) {
        ADD_FAILURE() << "cannot create a desktop, error " << GetLastError();
        return;
    }
    ready_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(CreateThread(nullptr, 0, &OtherDesktopWindow::Run, this, 0, &thread_id_));
    // A loaded machine can take its time to set up a desktop.
    if (!thread_ || WaitForSingleObject(ready_.get(), 15000) != WAIT_OBJECT_0 || !hwnd_) {
        ADD_FAILURE() << "no window on the other desktop";
    }
}

OtherDesktopWindow::~OtherDesktopWindow() {
    if (thread_) {
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_.get(), 5000);
    }
    if (desktop_) CloseDesktop(desktop_);
}

DWORD WINAPI OtherDesktopWindow::Run(void* param) {
    auto* self = static_cast<OtherDesktopWindow*>(param);
    if (SetThreadDesktop(self->desktop_)) {
        const wchar_t* cls = RegisterTestClass(L"GloamE2EOtherDesktopHost", DefWindowProcW);
        self->hwnd_ =
            CreateWindowExW(0, cls, L"GloamDrift e2e host on another desktop", WS_POPUP, 0, 0, 320,
                            200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    SetEvent(self->ready_.get());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (self->hwnd_) DestroyWindow(self->hwnd_);
    return 0;
}

}  // namespace e2e
