#include "icons.h"

#include <cmath>

namespace art {

namespace {

// Indices into iconPalette().
constexpr std::uint8_t kIndexBlack = 0, kIndexNavy = 4, kIndexSilver = 7, kIndexYellow = 11,
                       kIndexWhite = 15;

IconImage blankIcon(int size) {
    return {size, std::vector<std::uint8_t>(std::size_t(size) * size, kIndexBlack),
            std::vector<bool>(std::size_t(size) * size, false)};
}

// Measures scale with the icon: they are given for 32 x 32 and scaled to `size`.
bool insideDisc(int size, int x, int y, double cx, double cy, double r) {
    const double k = size / 32.0;
    return std::hypot(x + 0.5 - cx * k, y + 0.5 - cy * k) <= r * k;
}

}  // namespace

IconImage appIcon(int size) {
    IconImage icon = blankIcon(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (insideDisc(size, x, y, 16, 16, 13))
                icon.indices[std::size_t(y) * size + x] = kIndexWhite;
    return icon;
}

IconImage configIcon(int size) {
    IconImage icon = blankIcon(size);
    const double k = size / 32.0;
    const double corner = 6 * k;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const std::size_t i = std::size_t(y) * size + x;
            // Rounded tile: pixels beyond the corner arcs are transparent.
            const double qx =
                std::fmax(0.0, std::fabs(x + 0.5 - size / 2.0) - (size / 2.0 - corner));
            const double qy =
                std::fmax(0.0, std::fabs(y + 0.5 - size / 2.0) - (size / 2.0 - corner));
            if (std::hypot(qx, qy) > corner) {
                icon.transparent[i] = true;
                continue;
            }
            std::uint8_t index = kIndexNavy;
            if (insideDisc(size, x, y, 14, 17, 10.5) && !insideDisc(size, x, y, 19, 13, 9))
                index = kIndexYellow;
            icon.indices[i] = index;
        }
    // Two stars: a plus of white with a silver glow at 32 pixels, a single white pixel at 16.
    const int stars[2][2] = {{24, 22}, {25, 7}};
    for (const auto& s : stars) {
        const int x = int(s[0] * k), y = int(s[1] * k);
        icon.indices[std::size_t(y) * size + x] = kIndexWhite;
        if (size >= 32)
            for (const auto& d :
                 {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}})
                icon.indices[std::size_t(y + d.second) * size + x + d.first] = kIndexSilver;
    }
    return icon;
}

}  // namespace art
