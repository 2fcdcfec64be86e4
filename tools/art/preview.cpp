#include "preview.h"

#include "desktop.h"

namespace art {

namespace {

// The desktop is drawn at this many of its pixels per preview pixel, then averaged down.
constexpr int kReduction = 6;

}  // namespace

Image makePreview() {
    const int full = kPreviewDiscSize * kReduction;
    const Image desktop = drawDesktop(classicDesktop(full, full));
    Image out(kPreviewWidth, kPreviewHeight, kBlack);
    const double radius = kPreviewDiscSize / 2.0;
    for (int y = 0; y < kPreviewDiscSize; ++y)
        for (int x = 0; x < kPreviewDiscSize; ++x) {
            const double dx = x + 0.5 - radius, dy = y + 0.5 - radius;
            if (dx * dx + dy * dy > radius * radius) continue;
            int r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kReduction; ++sy)
                for (int sx = 0; sx < kReduction; ++sx) {
                    const Rgb& p = desktop.at(x * kReduction + sx, y * kReduction + sy);
                    r += p.r, g += p.g, b += p.b;
                }
            constexpr int n = kReduction * kReduction;
            out.at(kPreviewDiscLeft + x, kPreviewDiscTop + y) =
                Rgb{std::uint8_t((r + n / 2) / n), std::uint8_t((g + n / 2) / n),
                    std::uint8_t((b + n / 2) / n)};
        }
    return out;
}

}  // namespace art
