#include "test_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture.h"
#include "environment.h"
#include "platform/dib_surface_win.h"
#include "platform/handles_win.h"
#include "text.h"

namespace e2e {
namespace {

// The pattern window's picture is owned by the window from WM_NCCREATE to WM_NCDESTROY.
LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* picture = reinterpret_cast<Surface*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
            break;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            const gloam::unique_hdc_paint dc(hwnd);
            if (picture) gloam::PaintPicture(dc.get(), 0, 0, picture->View());
            return 0;
        }
        case WM_NCDESTROY:
            delete picture;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Whether a few pixels spread over `area` show the pattern.
bool ShowsPattern(const RECT& area) {
    const Surface shot = CaptureScreen(area);
    if (shot.Width() == 0) return false;
    const int xs[] = {0, shot.Width() / 3, shot.Width() / 2, shot.Width() - 1};
    const int ys[] = {0, shot.Height() / 4, shot.Height() / 2, shot.Height() - 1};
    for (int y : ys) {
        for (int x : xs) {
            if (shot.At(x, y) != PatternColour(area.left + x, area.top + y)) return false;
        }
    }
    return true;
}

RECT PrimaryArea() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

const wchar_t* RegisterTestClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
    return name;
}

TitledWindow::TitledWindow(std::wstring_view title) {
    const wchar_t* cls = RegisterTestClass(L"GloamE2ETitled", DefWindowProcW);
    const std::wstring text(title);
    hwnd_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, cls, text.c_str(), WS_POPUP, 0, 0, 16, 16,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!hwnd_) ADD_FAILURE() << "cannot create a window titled " << Narrow(title);
}

PatternWindow::PatternWindow() : PatternWindow(PrimaryArea()) {}

PatternWindow::PatternWindow(const RECT& area) {
    const wchar_t* cls = RegisterTestClass(L"GloamE2EPattern", PatternProc);
    for (const RECT& monitor : MonitorRects()) {
        RECT piece{};
        if (!IntersectRect(&piece, &monitor, &area)) continue;
        const int width = piece.right - piece.left;
        const int height = piece.bottom - piece.top;
        auto* picture = new Surface(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                picture->View().At(x, y) = PatternColour(piece.left + x, piece.top + y);
            }
        }
        gloam::unique_hwnd window(CreateWindowExW(
            WS_EX_TOOLWINDOW, cls, L"GloamDrift e2e pattern", WS_POPUP, piece.left, piece.top,
            width, height, nullptr, nullptr, GetModuleHandleW(nullptr), picture));
        if (!window) {
            delete picture;
            ADD_FAILURE() << "cannot create the pattern window";
            return;
        }
        ShowWindow(window.get(), SW_SHOWNOACTIVATE);
        UpdateWindow(window.get());
        pieces_.push_back(piece);
        windows_.push_back(std::move(window));
    }
    if (windows_.empty()) ADD_FAILURE() << "the pattern's area meets no monitor";
}

PatternWindow::~PatternWindow() {
    windows_.clear();
    PumpMessages();
}

bool PatternWindow::WaitShown(Millis limit) const {
    return !pieces_.empty() && WaitUntil(
                                   [this] {
                                       for (const RECT& piece : pieces_) {
                                           if (!ShowsPattern(piece)) return false;
                                       }
                                       return true;
                                   },
                                   limit, 50ms);
}

}  // namespace e2e
