// Pixel surfaces and the block transfers the display composes its frames with.
//
// A pixel is a 32-bit value 0x00RRGGBB: in memory the bytes are blue, green, red, unused, which is
// the layout of a top-down 32-bpp DIB section. Rows run top to bottom; `stride` counts pixels from
// one row to the next (>= width). Colour operations work on whole pixels: AND and OR per channel
// are AND and OR of the 32-bit values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gloam {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

// A Windows COLORREF (0x00BBGGRR) as a pixel.
constexpr uint32_t PixelOfColorRef(uint32_t colorref) {
    return ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;   // exclusive
    int32_t bottom = 0;  // exclusive

    bool Empty() const { return right <= left || bottom <= top; }
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

Rect Intersect(const Rect& a, const Rect& b);
// Smallest rectangle holding both; an empty rectangle adds nothing.
Rect Union(const Rect& a, const Rect& b);

// A window onto pixels owned elsewhere (a Surface, a DIB section).
struct PixelView {
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;

    uint32_t* Row(int32_t y) const { return pixels + static_cast<int64_t>(y) * stride; }
    uint32_t& At(int32_t x, int32_t y) const { return Row(y)[x]; }
    Rect Bounds() const { return Rect{0, 0, width, height}; }
};

// A surface that owns its pixels.
class Surface {
  public:
    Surface() = default;
    Surface(int32_t width, int32_t height, uint32_t fill = kBlack);

    PixelView View() { return PixelView{pixels_.data(), width_, height_, width_}; }
    // Read-only users take a PixelView too; the surface is not changed through it.
    PixelView View() const {
        return PixelView{const_cast<uint32_t*>(pixels_.data()), width_, height_, width_};
    }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint32_t At(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    friend bool operator==(const Surface&, const Surface&) = default;

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> pixels_;
};

// Raster operations of the block transfers: destination = source, source AND destination,
// source OR destination.
enum class Rop { Copy, And, Paint };

// Transfers the w x h block at (sx, sy) of `src` to (x, y) of `dst`. Whatever falls outside
// either surface is clipped away; the rest of the block is transferred as if nothing were clipped.
// A block with no width or height transfers nothing.
void BitBlt(PixelView dst, int32_t x, int32_t y, int32_t w, int32_t h, PixelView src, int32_t sx,
            int32_t sy, Rop rop);

// Copies the sw x sh block at (sx, sy) of `src` scaled to w x h at (x, y) of `dst`. Each
// destination pixel takes the source pixel under its centre (nearest neighbour), so a two-colour
// source stays two-colour: the edge stays hard. Clipped like BitBlt.
void StretchBlt(PixelView dst, int32_t x, int32_t y, int32_t w, int32_t h, PixelView src,
                int32_t sx, int32_t sy, int32_t sw, int32_t sh);

// Fills the part of `area` that lies on the surface.
void Fill(PixelView dst, const Rect& area, uint32_t color);

// Row kernels for callers that work run by run, on pixels they have already clipped:
// `count` pixels set to black; `count` pixels of `src` ANDed with `value` into `dst`.
void ClearRow(uint32_t* dst, int32_t count);
void CopyAnd(uint32_t* dst, const uint32_t* src, int32_t count, uint32_t value);

}  // namespace gloam
