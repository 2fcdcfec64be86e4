// The hidden cats: three clock minutes into the run, two cat pictures are stamped into the
// desktop copy at random places, so that they show only where the spot passes.
#pragma once

#include <array>

#include "display/display_state.h"
#include "platform/bitmap_loader.h"
#include "platform/random.h"
#include "platform/surface.h"

namespace gloam {

inline constexpr int32_t kCatCount = 2;
inline constexpr int32_t kCatPictureId = 101;  // picture of cat i is 101 + i
inline constexpr int32_t kCatMaskId = 201;     // its mask is 201 + i
inline constexpr int64_t kCatsAfterMinutes = 3;

// Where a cat of the given size may land: x = marginX + floor(r * rangeX), y likewise.
struct CatRanges {
    int32_t marginX = 0;
    int32_t rangeX = 0;
    int32_t marginY = 0;
    int32_t rangeY = 0;
    friend bool operator==(const CatRanges&, const CatRanges&) = default;
};

CatRanges CatRangesFor(double W, double H, double cat_width, double cat_height);
Point CatPosition(const CatRanges& ranges, float rx, float ry);

// The cats check that starts every frame: true once, at the first frame at least three minute
// boundaries of the clock after the start. The caller stamps the cats and then sets
// blnCatsShown.
bool CatsDue(const DisplayState& state, const LocalDateTime& now);

// Mask with OR, then picture with AND: the desktop keeps its pixels where the mask is black and
// shows the cat where it is white.
void StampCat(PixelView desktop, Point at, PixelView mask, PixelView picture);

// Draws both positions (x then y, cat 0 then cat 1) and stamps the cats into `desktop`.
std::array<Point, kCatCount> PlaceCats(PixelView desktop, double W, double H, RandomSource& random,
                                       BitmapLoader& bitmaps);

}  // namespace gloam
