#include "platform/surface.h"

#include <algorithm>
#include <cstring>

namespace gloam {

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.Empty()) return Rect{};
    return r;
}

Rect Union(const Rect& a, const Rect& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

Surface::Surface(int32_t width, int32_t height, uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

namespace {

// Clips a destination span [x, x + w) against [0, dst_size) and the mapped source span
// [x - s, x - s + src_size). Works in 64 bits so that no caller's coordinates can overflow.
bool ClipSpan(int32_t x, int32_t w, int32_t s, int32_t dst_size, int32_t src_size, int32_t& first,
              int32_t& last) {
    if (w <= 0) return false;
    const int64_t offset = static_cast<int64_t>(s) - x;  // source = destination + offset
    int64_t lo = std::max<int64_t>({x, 0, -offset});
    int64_t hi = std::min<int64_t>({static_cast<int64_t>(x) + w, dst_size, src_size - offset});
    if (hi <= lo) return false;
    first = static_cast<int32_t>(lo);
    last = static_cast<int32_t>(hi);
    return true;
}

// Eight pixels at a time with a fixed count, which the compiler turns into vector code, then the
// rest one by one.
template <typename Op>
void CombineRow(uint32_t* dst, const uint32_t* src, int32_t count, Op op) {
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint32_t block[8];
        for (int32_t k = 0; k < 8; ++k) block[k] = op(dst[i + k], src[i + k]);
        std::memcpy(dst + i, block, sizeof block);
    }
    for (; i < count; ++i) dst[i] = op(dst[i], src[i]);
}

}  // namespace

void ClearRow(uint32_t* dst, int32_t count) {
    if (count > 0) std::memset(dst, 0, static_cast<size_t>(count) * sizeof(uint32_t));
}

void CopyAnd(uint32_t* dst, const uint32_t* src, int32_t count, uint32_t value) {
    CombineRow(dst, src, count, [value](uint32_t, uint32_t s) { return s & value; });
}

void BitBlt(PixelView dst, int32_t x, int32_t y, int32_t w, int32_t h, PixelView src, int32_t sx,
            int32_t sy, Rop rop) {
    int32_t x0, x1, y0, y1;
    if (!ClipSpan(x, w, sx, dst.width, src.width, x0, x1)) return;
    if (!ClipSpan(y, h, sy, dst.height, src.height, y0, y1)) return;
    const int64_t dx_to_sx = static_cast<int64_t>(sx) - x;
    const int64_t dy_to_sy = static_cast<int64_t>(sy) - y;
    const int32_t count = x1 - x0;
    for (int32_t row = y0; row < y1; ++row) {
        uint32_t* d = dst.Row(row) + x0;
        const uint32_t* s = src.Row(static_cast<int32_t>(row + dy_to_sy)) + (x0 + dx_to_sx);
        switch (rop) {
            case Rop::Copy:
                std::copy(s, s + count, d);
                break;
            case Rop::And:
                CombineRow(d, s, count, [](uint32_t a, uint32_t b) { return a & b; });
                break;
            case Rop::Paint:
                CombineRow(d, s, count, [](uint32_t a, uint32_t b) { return a | b; });
                break;
        }
    }
}

void StretchBlt(PixelView dst, int32_t x, int32_t y, int32_t w, int32_t h, PixelView src,
                int32_t sx, int32_t sy, int32_t sw, int32_t sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    const Rect target = Intersect(
        Rect{x, y, static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(x) + w, INT32_MAX)),
             static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(y) + h, INT32_MAX))},
        dst.Bounds());
    if (target.Empty()) return;
    for (int32_t row = target.top; row < target.bottom; ++row) {
        const int64_t i = static_cast<int64_t>(row) - y;
        const int64_t src_y = sy + (2 * i + 1) * sh / (2 * static_cast<int64_t>(h));
        if (src_y < 0 || src_y >= src.height) continue;
        const uint32_t* s = src.Row(static_cast<int32_t>(src_y));
        uint32_t* d = dst.Row(row);
        for (int32_t col = target.left; col < target.right; ++col) {
            const int64_t j = static_cast<int64_t>(col) - x;
            const int64_t src_x = sx + (2 * j + 1) * sw / (2 * static_cast<int64_t>(w));
            if (src_x < 0 || src_x >= src.width) continue;
            d[col] = s[src_x];
        }
    }
}

void Fill(PixelView dst, const Rect& area, uint32_t color) {
    const Rect r = Intersect(area, dst.Bounds());
    for (int32_t row = r.top; row < r.bottom; ++row) {
        if (color == kBlack) {
            ClearRow(dst.Row(row) + r.left, r.Width());
        } else {
            std::fill(dst.Row(row) + r.left, dst.Row(row) + r.right, color);
        }
    }
}

}  // namespace gloam
