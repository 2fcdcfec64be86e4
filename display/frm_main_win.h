// frmMain: the full-screen display. It copies the desktop when it loads, then every 20 ms watches
// the mouse and draws the next frame of the light spot over the darkened copy. A click, a key
// release or a mouse move of more than 10 pixels between two ticks ends the program at once.
//
// picDesktop holds the desktop copy (with the cats, once stamped) for the life of the process; on
// the desktop the system starts screen savers on, the copy is drawn instead (desktop_stand_in.h);
// picWork is the back buffer the window shows, black but for the spot's square.
//
// The window covers the primary monitor, where everything happens; every other monitor (and any
// part of the primary beyond the window, should the primary grow while the display runs) gets a
// black CoverWindow, re-arranged whenever the monitors change. All positions of the spot and the
// cats are relative to the primary's top-left corner.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "display/cover_window_win.h"
#include "display/display_state.h"
#include "display/frame_composer.h"
#include "platform/clock_win.h"
#include "platform/dib_surface_win.h"
#include "platform/resources_win.h"
#include "platform/screen_win.h"
#include "platform/window_win.h"

namespace gloam {

class FrmMain : public BaseWindow<FrmMain> {
  public:
    // Creates the hidden window with its controls and runs Form_Load.
    void Load();
    // Shows the window maximised; loads it first if needed.
    void Show();

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    void Form_Load();
    [[noreturn]] static void Form_Click();
    [[noreturn]] void Form_KeyUp();
    [[noreturn]] void picDesktop_Click();
    void Timer1_Timer();
    void MoveSpot();
    void PlaceCats();

    // What frmMain leaves of the monitors as they are now.
    std::vector<Rect> CoverAreas() const;
    // Shows a cover over each of those areas, above every other window.
    void ArrangeCovers();
    // Once a second: arranges the covers anew when the monitors changed, else puts back each one
    // that was moved, hidden or risen above.
    void WatchCovers();

    void OnPaint();
    void PaintContent(HDC dc, const RECT& area);
    void Present(const FrameChange& change);
    static bool FilterMessage(MSG& message);

    ScreenMetrics screen_;
    DisplayState state_;
    DibSurface picDesktop;
    DibSurface picWork;
    Surface picSpot;
    ResourceBitmapLoader picCats;
    HWND txtDummy = nullptr;
    std::optional<SpotCompositor> compositor_;
    SystemClock clock_;
    std::vector<std::unique_ptr<CoverWindow>> covers_;
    std::vector<Rect> cover_areas_;
    bool in_tick_ = false;
    ClickWatch clicks_;
};

FrmMain& frmMain();

}  // namespace gloam
