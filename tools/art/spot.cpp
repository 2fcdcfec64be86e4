#include "spot.h"

#include <cmath>

namespace art {

namespace {

// The disc fills the rectangle left 6, top 6, right 293, bottom 294 (exclusive): 287 columns
// centred on column 149 and 288 rows split evenly about the line between rows 149 and 150. Each row
// is a run centred on column 149 whose half-width is the ellipse's half-width at that row's
// distance from the middle pair, rounded to the nearest column. The two radii were chosen so that
// the edge matches the mask the program was designed around, row for row (the unit tests hold the
// rows that tell).
constexpr int kCentreColumn = 149;
constexpr int kUpperMiddleRow = 149;
constexpr double kRadiusX = 142.8;
constexpr double kRadiusY = 143.306;

}  // namespace

int spotHalfWidth(int row) {
    const int dy = row <= kUpperMiddleRow ? kUpperMiddleRow - row : row - (kUpperMiddleRow + 1);
    const double t = 1.0 - (dy / kRadiusY) * (dy / kRadiusY);
    if (t < 0.0) return -1;
    return int(std::floor(kRadiusX * std::sqrt(t) + 0.5));
}

Image makeSpotMask() {
    Image img(kSpotSize, kSpotSize, kBlack);
    for (int y = 0; y < kSpotSize; ++y) {
        const int half = spotHalfWidth(y);
        for (int dx = -half; dx <= half; ++dx) img.at(kCentreColumn + dx, y) = kWhite;
    }
    return img;
}

}  // namespace art
