#include "display/frm_main_win.h"

#include <algorithm>

#include "display/cover_layout.h"
#include "display/desktop_stand_in_win.h"
#include "platform/app_win.h"
#include "platform/monitors_win.h"
#include "platform/numeric.h"
#include "platform/random.h"
#include "resource.h"

namespace gloam {
namespace {

constexpr wchar_t kClassName[] = L"GloamDriftMain";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 20;
constexpr UINT_PTR kMonitorWatch = 2;
constexpr UINT kMonitorWatchInterval = 1000;

// txtDummy's design rectangle in twips; only its top changes at load.
constexpr double kDummyLeft = 1185, kDummyTop = 60, kDummyWidth = 795, kDummyHeight = 255;

Point CursorPosition() {
    POINT cursor{0, 0};
    ::GetCursorPos(&cursor);
    return Point{cursor.x, cursor.y};
}

}  // namespace

FrmMain& frmMain() {
    return OnlyInstance<FrmMain>();
}

void FrmMain::Load(int32_t speed_index, int32_t size_index) {
    if (Window()) return;
    screen_ = ReadScreen();
    RegisterWindowClass(kClassName, 0, LoadIconResource(IDI_APP, 32), LoadIconResource(IDI_APP, 16),
                        LoadCursorResource(IDC_INVISIBLE),
                        static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    CreateFormWindow(kClassName, kTitle, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, 0, 0,
                     screen_.width_pixels, screen_.height_pixels, nullptr);
    txtDummy = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"DUMMY", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
        screen_.PixelsX(kDummyLeft), screen_.PixelsY(kDummyTop), screen_.PixelsX(kDummyWidth),
        screen_.PixelsY(kDummyHeight), Window(), nullptr, app::Instance(), nullptr);
    picSpot = LoadBitmapResource(IDB_SPOT);
    app::SetMessageFilter(&FrmMain::FilterMessage);
    Form_Load(speed_index, size_index);
}

void FrmMain::Show() {
    ::ShowWindow(Window(), SW_SHOWMAXIMIZED);
    ::SetForegroundWindow(Window());
    if (txtDummy) ::SetFocus(txtDummy);
    ::UpdateWindow(Window());
    ArrangeCovers();
    // Windows reports a change of the monitors with WM_DISPLAYCHANGE; not every system does (Wine
    // does not), so the arrangement is also looked at once a second, and so are the covers, which
    // a monitor change may move and another topmost window may rise above.
    ::SetTimer(Window(), kMonitorWatch, kMonitorWatchInterval, nullptr);
    power_reports_ = DisplayPowerRegistration(Window());
}

void FrmMain::Form_Load(int32_t speed_index, int32_t size_index) {
    const double W = screen_.W();
    const double H = screen_.H();
    picDesktop.Resize(Nearest(W), Nearest(H));
    picWork.Resize(Nearest(W), Nearest(H));

    // Half a screen below the window's bottom edge: never seen, but it holds the focus.
    const float dummy_top = static_cast<float>(1.5 * screen_.HeightTwips());
    ::MoveWindow(txtDummy, screen_.PixelsX(kDummyLeft), screen_.PixelsY(dummy_top),
                 screen_.PixelsX(kDummyWidth), screen_.PixelsY(kDummyHeight), FALSE);

    loop_.emplace(DisplayServices{clock_, ProcessRandom(), picCats, *this},
                  DisplayPictures{picDesktop.View(), picWork.View(), picSpot.View()}, W, H,
                  speed_index, size_index);

    if (OnScreenSaverDesktop()) {
        // Nothing of the user's desktop can be copied here; the copy stands in for it.
        DrawDesktopStandIn(picDesktop.View());
    } else {
        // A capture that fails leaves picDesktop's background, the system window colour.
        Fill(picDesktop.View(), picDesktop.View().Bounds(),
             PixelOfColorRef(::GetSysColor(COLOR_WINDOW)));
        // The window is still hidden, so the copy holds what the user saw.
        const unique_hdc_window desktop(::GetDesktopWindow());
        ::BitBlt(picDesktop.Dc(), 0, 0, Nearest(W), Nearest(H), desktop.get(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();

    const Point cursor = CursorPosition();
    ::SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    loop_->Start(cursor);
    ::SetTimer(Window(), kTimer1, kTimer1Interval, nullptr);
}

void FrmMain::Form_Click() {
    app::EndAtOnce();
}
void FrmMain::Form_KeyUp() {
    app::EndAtOnce();
}
void FrmMain::picDesktop_Click() {
    app::EndAtOnce();
}

void FrmMain::Timer1_Timer() {
    if (loop_->Timer1_Timer(CursorPosition()) == FrameLoop::Tick::End) app::EndAtOnce();
}

void FrmMain::BeforeCompose() {
    // GDI may still be reading picWork for the last present or paint.
    ::GdiFlush();
}

void FrmMain::Present(const FrameChange& change) {
    if (change.piece_count > 0) {
        // Piece by piece: the rectangles around the two crescents hold half the pixels of their
        // bounding rectangle, and every pixel copied costs.
        const unique_hdc_window window_dc(Window());
        for (const Rect& area : change) {
            ::BitBlt(window_dc.get(), area.left, area.top, area.Width(), area.Height(),
                     picWork.Dc(), area.left, area.top, SRCCOPY);
        }
    }
    app::LetPendingEventsRun();
}

std::vector<Rect> FrmMain::CoverAreas() const {
    RECT window{};
    ::GetWindowRect(Window(), &window);
    return CoverRects(MonitorRects(), Rect{window.left, window.top, window.right, window.bottom});
}

void FrmMain::ArrangeCovers() {
    cover_areas_ = CoverAreas();
    covers_.resize(std::min(covers_.size(), cover_areas_.size()));
    for (size_t i = 0; i < cover_areas_.size(); ++i) {
        if (i == covers_.size()) {
            covers_.push_back(std::make_unique<CoverWindow>(cover_areas_[i], &FrmMain::Form_Click));
        }
        covers_[i]->ShowOver(cover_areas_[i]);
    }
}

void FrmMain::WatchCovers() {
    if (CoverAreas() != cover_areas_) {
        ArrangeCovers();
        return;
    }
    for (size_t i = 0; i < covers_.size(); ++i) {
        if (covers_[i]->NeedsPuttingBack(cover_areas_[i])) covers_[i]->ShowOver(cover_areas_[i]);
    }
}

void FrmMain::OnPowerBroadcast(WPARAM wparam, LPARAM lparam) {
    if (const std::optional<DisplayPower> power = DisplayPowerOf(wparam, lparam); power && loop_) {
        loop_->SetDisplayPower(*power);
    }
}

void FrmMain::OnPaint() {
    const unique_hdc_paint dc(Window());
    PaintContent(dc.get(), dc.paint().rcPaint);
}

void FrmMain::PaintContent(HDC dc, const RECT& area) {
    ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, picWork.Dc(),
             area.left, area.top, SRCCOPY);
}

bool FrmMain::FilterMessage(MSG& message) {
    // The form sees every key release first, whichever control has the focus.
    if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP) {
        frmMain().Form_KeyUp();
    }
    return false;
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (IsScreenSaveCommand(message, wparam)) return 0;
    switch (message) {
        case WM_TIMER:
            if (wparam == kTimer1) {
                Timer1_Timer();
            } else if (wparam == kMonitorWatch) {
                WatchCovers();
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            if (clicks_.Completes(message)) Form_Click();
            return 0;
        case WM_DISPLAYCHANGE:
            ArrangeCovers();
            return 0;
        case WM_POWERBROADCAST:
            OnPowerBroadcast(wparam, lparam);
            return TRUE;
        case WM_DESTROY:
            power_reports_ = DisplayPowerRegistration();
            break;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // every pixel comes from picWork
        case WM_GETMINMAXINFO: {
            // Maximised means the whole screen, taskbar included.
            auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
            info->ptMaxPosition = POINT{0, 0};
            info->ptMaxSize = POINT{screen_.width_pixels, screen_.height_pixels};
            info->ptMaxTrackSize = info->ptMaxSize;
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(Window(), message, wparam, lparam);
}

}  // namespace gloam
