#include "display/frame_composer.h"

#include <algorithm>
#include <cstdint>

namespace gloam {
namespace {

Rect SquareAt(Point at, int32_t size) {
    const auto end = [size](int32_t start) {
        return static_cast<int32_t>(
            std::min<int64_t>(static_cast<int64_t>(start) + size, INT32_MAX));
    };
    return Rect{at.x, at.y, end(at.x), end(at.y)};
}

}  // namespace

void ComposeFrame(PixelView work, PixelView desktop, PixelView spot_mask, Point at,
                  int32_t spot_size) {
    Fill(work, work.Bounds(), kBlack);
    StretchBlt(work, at.x, at.y, spot_size, spot_size, spot_mask, 0, 0, spot_mask.width,
               spot_mask.height);
    BitBlt(work, 0, 0, work.width, work.height, desktop, 0, 0, Rop::And);
}

SpotCompositor::SpotCompositor(PixelView spot_mask, int32_t spot_size)
    : stretched_(spot_size, spot_size, kBlack) {
    StretchBlt(stretched_.View(), 0, 0, spot_size, spot_size, spot_mask, 0, 0, spot_mask.width,
               spot_mask.height);
}

Rect SpotCompositor::Compose(PixelView back, PixelView desktop, Point at) {
    const int32_t size = stretched_.Width();
    Fill(back, last_, kBlack);
    BitBlt(back, at.x, at.y, size, size, stretched_.View(), 0, 0, Rop::Copy);
    BitBlt(back, at.x, at.y, size, size, desktop, at.x, at.y, Rop::And);
    const Rect square = Intersect(SquareAt(at, size), back.Bounds());
    const Rect dirty = Union(last_, square);
    last_ = square;
    return dirty;
}

}  // namespace gloam
