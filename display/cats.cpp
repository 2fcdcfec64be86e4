#include "display/cats.h"

#include "platform/numeric.h"

namespace gloam {

CatRanges CatRangesFor(double W, double H, double cat_width, double cat_height) {
    CatRanges r;
    r.marginX = Nearest(W * 0.1);
    r.rangeX = CheckedSub(CheckedSub(Nearest(W), r.marginX), Nearest(cat_width));
    r.marginY = Nearest(H * 0.1);
    r.rangeY = CheckedSub(CheckedSub(Nearest(H), r.marginY), Nearest(cat_height));
    return r;
}

Point CatPosition(const CatRanges& ranges, float rx, float ry) {
    const int32_t x = CheckedAdd(ranges.marginX, Floor32(static_cast<double>(rx) * ranges.rangeX));
    const int32_t y = CheckedAdd(ranges.marginY, Floor32(static_cast<double>(ry) * ranges.rangeY));
    return Point{x, y};
}

bool CatsDue(const DisplayState& state, const LocalDateTime& now) {
    if (state.blnCatsShown) return false;
    return MinuteBoundariesBetween(state.dtStart, now) >= kCatsAfterMinutes;
}

void StampCat(PixelView desktop, Point at, PixelView mask, PixelView picture) {
    BitBlt(desktop, at.x, at.y, mask.width, mask.height, mask, 0, 0, Rop::Paint);
    BitBlt(desktop, at.x, at.y, picture.width, picture.height, picture, 0, 0, Rop::And);
}

std::array<Point, kCatCount> PlaceCats(PixelView desktop, double W, double H, RandomSource& random,
                                       BitmapLoader& bitmaps) {
    std::array<Point, kCatCount> positions{};
    for (int32_t i = 0; i < kCatCount; ++i) {
        // Each cat's own size bounds its place, so the taller cat 1 never loses rows off the
        // bottom edge.
        const PixelView mask = bitmaps.Load(kCatMaskId + i);
        const CatRanges ranges = CatRangesFor(W, H, mask.width, mask.height);
        const float rx = random.Next();
        const float ry = random.Next();
        positions[static_cast<size_t>(i)] = CatPosition(ranges, rx, ry);
        BitBlt(desktop, positions[i].x, positions[i].y, mask.width, mask.height, mask, 0, 0,
               Rop::Paint);
        const PixelView picture = bitmaps.Load(kCatPictureId + i);
        BitBlt(desktop, positions[i].x, positions[i].y, picture.width, picture.height, picture, 0,
               0, Rop::And);
    }
    return positions;
}

}  // namespace gloam
