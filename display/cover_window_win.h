// A black cover over a part of a monitor that frmMain does not cover, so that every monitor stays
// dark while the spot runs on the primary one. It behaves like frmMain: topmost, no border, no
// taskbar button, the invisible pointer, and a click on it ends the program. It carries no title,
// so no later start can take it for an open display window.
#pragma once

#include <windows.h>

#include "platform/surface.h"
#include "platform/window_win.h"

namespace gloam {

// A click is the press and release of any mouse button on one window.
class ClickWatch {
  public:
    // Feeds a mouse message; true when it completes a click.
    bool Completes(UINT message);

  private:
    bool pressed_ = false;
};

// The system asks the foreground window to start the screen saver; the windows of the display,
// the screen saver already running, refuse.
inline bool IsScreenSaveCommand(UINT message, WPARAM wparam) {
    return message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_SCREENSAVE;
}

class CoverWindow : public BaseWindow<CoverWindow> {
  public:
    using ClickHandler = void (*)();

    // Creates the cover hidden over `area`.
    CoverWindow(const Rect& area, ClickHandler on_click);
    ~CoverWindow();

    // Moves the cover over `area`, above every other window, and shows it.
    void ShowOver(const Rect& area);
    // Whether it is no longer shown over `area` above every other program's window
    // (CoverNeedsPuttingBack).
    bool NeedsPuttingBack(const Rect& area) const;

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    ClickHandler on_click_;
    ClickWatch clicks_;
};

}  // namespace gloam
