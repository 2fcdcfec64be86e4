// A picture box's persistent image: a top-down 32-bpp DIB section selected into a memory DC of
// its own. GDI captures into it and presents from it; the core reads and writes its pixels
// through View() (layout as in surface.h).
#pragma once

#include <windows.h>

#include <optional>

#include "platform/handles_win.h"
#include "platform/surface.h"

namespace gloam {

// The header of a top-down 32-bpp DIB of width x height pixels, the layout of surface.h.
BITMAPINFO TopDownDibInfo(int32_t width, int32_t height);

// Draws `picture` one to one with its top-left corner at (x, y) of `dc`.
void PaintPicture(HDC dc, int32_t x, int32_t y, PixelView picture);

class DibSurface {
  public:
    DibSurface() = default;
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    ~DibSurface();

    // Recreates the bitmap at the new size, all black. Raises a RuntimeError on failure.
    void Resize(int32_t width, int32_t height);

    HDC Dc() const { return dc_.get(); }
    PixelView View() const { return view_; }
    int32_t Width() const { return view_.width; }
    int32_t Height() const { return view_.height; }

  private:
    void Release();

    // Destroyed in reverse: the bitmap leaves the DC before either is deleted.
    unique_hdc dc_;
    unique_hbitmap bitmap_;
    std::optional<select_object_guard> selected_;
    PixelView view_{};
};

}  // namespace gloam
