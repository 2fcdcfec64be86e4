// frmPreview: the still picture shown inside the host's preview pane. A borderless black window
// of 2205 x 1335 twips that draws the preview picture at its top-left corner, pixel for pixel;
// the "/P" start makes it a child of the host's window. It has no timer and no input: it lasts
// until the host destroys its window, which takes ours with it and so ends the process.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/screen_win.h"
#include "platform/surface.h"
#include "platform/window_win.h"

namespace gloam {

class FrmPreview : public BaseWindow<FrmPreview> {
  public:
    static constexpr wchar_t kTitle[] = L"Gloam Drift Screen Saver - Preview";

    // Creates the hidden window at its design place and size, with its picture.
    void Load();
    // Shows the window without taking the activation; loads it first if needed.
    void Show();

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    void OnPaint();
    void PaintContent(HDC dc);

    ScreenMetrics screen_;
    Surface picture_;
};

FrmPreview& frmPreview();

// The "/P" start: loads frmPreview with the DPI awareness of the host window whose handle has the
// number `host_number` (read from the command line by modMain), makes it a child of that window,
// puts it at the host's top-left corner and shows it. When the number names no window (0, a stale
// handle), one the preview cannot become a child of, or one that is gone before the preview shows,
// nothing is shown and the loaded window is destroyed, so the process ends once Main returns.
void ShowPreview(int32_t host_number);

}  // namespace gloam
