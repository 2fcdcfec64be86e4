// frmMain: the full-screen display. It copies the desktop when it loads, then every 20 ms watches
// the mouse and draws the next frame of the light spot over the darkened copy. A click, a key
// release or a mouse move of more than 10 pixels between two ticks ends the program at once.
//
// picDesktop holds the desktop copy (with the cats, once stamped) for the life of the process; on
// the desktop the system starts screen savers on, the copy is drawn instead (desktop_stand_in.h);
// picWork is the back buffer the window shows, black but for the spot's square. What happens at
// each tick is the frame loop's (display/frame_loop.h); the form feeds it the cursor and presents
// what it draws.
//
// The window covers the primary monitor, where everything happens; every other monitor (and any
// part of the primary beyond the window, should the primary grow while the display runs) gets a
// black CoverWindow, re-arranged whenever the monitors change. All positions of the spot and the
// cats are relative to the primary's top-left corner.
//
// The window asks the system for the display's state; while the display is off, ticks go on (the
// exit watch and the cats check) but draw nothing.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "display/cover_window_win.h"
#include "display/display_power_win.h"
#include "display/frame_loop.h"
#include "platform/clock_win.h"
#include "platform/dib_surface_win.h"
#include "platform/resources_win.h"
#include "platform/screen_win.h"
#include "platform/window_win.h"

namespace gloam {

class FrmMain : public BaseWindow<FrmMain>, private Presenter {
  public:
    static constexpr wchar_t kTitle[] = L"Gloam Drift Screen Saver";

    // Creates the hidden window with its controls and runs Form_Load with the two settings.
    void Load(int32_t speed_index, int32_t size_index);
    // Shows the loaded window maximised.
    void Show();

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    void Form_Load(int32_t speed_index, int32_t size_index);
    [[noreturn]] static void Form_Click();
    [[noreturn]] void Form_KeyUp();
    [[noreturn]] void picDesktop_Click();
    void Timer1_Timer();

    // What frmMain leaves of the monitors as they are now.
    std::vector<Rect> CoverAreas() const;
    // Shows a cover over each of those areas, above every other window.
    void ArrangeCovers();
    // Once a second: arranges the covers anew when the monitors changed, else puts back each one
    // that was moved, hidden or risen above.
    void WatchCovers();

    void OnPowerBroadcast(WPARAM wparam, LPARAM lparam);
    void OnPaint();
    void PaintContent(HDC dc, const RECT& area);
    void BeforeCompose() override;
    void Present(const FrameChange& change) override;
    static bool FilterMessage(MSG& message);

    ScreenMetrics screen_;
    DibSurface picDesktop;
    DibSurface picWork;
    Surface picSpot;
    ResourceBitmapLoader picCats;
    HWND txtDummy = nullptr;
    SystemClock clock_;
    std::optional<FrameLoop> loop_;
    std::vector<std::unique_ptr<CoverWindow>> covers_;
    std::vector<Rect> cover_areas_;
    ClickWatch clicks_;
    DisplayPowerRegistration power_reports_;
};

FrmMain& frmMain();

}  // namespace gloam
