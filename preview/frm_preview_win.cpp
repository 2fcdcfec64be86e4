#include "preview/frm_preview_win.h"

#include <cstdint>

#include "platform/dib_surface_win.h"
#include "platform/dpi_win.h"
#include "platform/handles_win.h"
#include "platform/resources_win.h"
#include "resource.h"

namespace gloam {
namespace {

constexpr wchar_t kClassName[] = L"GloamDriftPreview";

// Design values in twips. Left and top are replaced by 0 once the window has its host.
constexpr double kDesignLeft = 2760, kDesignTop = 2595;
constexpr double kClientWidth = 2205, kClientHeight = 1335;

}  // namespace

FrmPreview& frmPreview() {
    return OnlyInstance<FrmPreview>();
}

void FrmPreview::Load() {
    if (Window()) return;
    screen_ = ReadScreen();
    picture_ = LoadBitmapResource(IDB_PREVIEW);
    RegisterWindowClass(kClassName, 0, nullptr, nullptr, ::LoadCursorW(nullptr, IDC_ARROW),
                        static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    // No border, so the window's size is its client size.
    CreateFormWindow(kClassName, kTitle, WS_POPUP, WS_EX_TOOLWINDOW, screen_.PixelsX(kDesignLeft),
                     screen_.PixelsY(kDesignTop), screen_.PixelsX(kClientWidth),
                     screen_.PixelsY(kClientHeight), nullptr);
}

void FrmPreview::Show() {
    Load();
    ::ShowWindow(Window(), SW_SHOWNA);
    ::UpdateWindow(Window());
}

void FrmPreview::OnPaint() {
    const unique_hdc_paint dc(Window());
    PaintContent(dc.get());
}

// The picture at (0, 0), one pixel to one pixel; the window clips what exceeds it and the class
// brush has already painted the rest black.
void FrmPreview::PaintContent(HDC dc) {
    PaintPicture(dc, 0, 0, picture_.View());
}

LRESULT FrmPreview::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(Window(), message, wparam, lparam);
}

void ShowPreview(int32_t host_number) {
    // A window handle's number is sign-extended to a pointer, as LongToHandle does.
    HWND host = reinterpret_cast<HWND>(static_cast<intptr_t>(host_number));
    // Windows makes no window the child of one with another DPI awareness, and the host's pane
    // need not be per-monitor aware as this program is: the preview is made with the host's.
    const ThreadDpiAwareness awareness(::IsWindow(host) ? ThreadDpiAwareness::OfWindow(host)
                                                        : nullptr);

    FrmPreview& form = frmPreview();
    form.Load();
    HWND window = form.Window();
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    ::SetWindowLongW(window, GWL_STYLE, style | WS_CHILD);

    // Shown without a host the window would sit on the desktop with nothing to close it. A window
    // the preview cannot join (another desktop's or session's, a host of higher integrity) is no
    // host either.
    if (host == nullptr || !::IsWindow(host) || !::SetParent(window, host)) {
        ::DestroyWindow(window);
        return;
    }
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A host gone since took the preview with it; showing the form now would make it anew.
    if (!::IsWindow(host) || !::IsWindow(window)) {
        if (form.Window()) ::DestroyWindow(form.Window());
        return;
    }
    form.Show();
}

}  // namespace gloam
