// Fuzz target: a wallpaper placed and drawn onto a small monitor, for every placement, picture
// size and monitor the bytes choose, and pictures made of the bytes themselves.
//
// It aborts when a placement breaks its own rule (Stretch is the monitor, Fit lies inside it and
// meets two opposite sides, Fill and Span cover it, Center and Tile keep the picture's size), when
// the draw writes a pixel outside the place or leaves one inside it unwritten, when a flat picture
// comes out other than exactly flat, or when a drawn pixel is not within the range of the
// picture's pixels, channel by channel.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/desktop_stand_in.h"
#include "fuzz_support.h"
#include "platform/resample.h"

namespace {

using fuzz_support::Expect;
using gloam::Rect;

constexpr uint32_t kUntouched = 0x01000000u;  // a value no drawn pixel has

// Reads the next byte, 0 once they run out.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint32_t Next() { return at < size ? data[at++] : 0u; }
    int32_t Between(int32_t low, int32_t high) {
        const uint32_t value = Next() | (Next() << 8);
        return low + static_cast<int32_t>(value % static_cast<uint32_t>(high - low + 1));
    }
};

void CheckPlacement(gloam::WallpaperStyle style, const gloam::WallpaperPlacement& placement,
                    int32_t w, int32_t h, const Rect& own) {
    const Rect& image = placement.image;
    const Rect on = gloam::Intersect(image, own);
    switch (style) {
        case gloam::WallpaperStyle::Stretch:
            Expect(image == own, "Stretch is not the monitor");
            break;
        case gloam::WallpaperStyle::Fit:
            Expect(on == image, "Fit reaches beyond the monitor");
            Expect((image.left == 0 && image.right == own.right) ||
                       (image.top == 0 && image.bottom == own.bottom),
                   "Fit meets neither pair of sides");
            break;
        case gloam::WallpaperStyle::Fill:
        case gloam::WallpaperStyle::Span:
            Expect(on == own, "Fill leaves part of the monitor bare");
            break;
        case gloam::WallpaperStyle::Center:
        case gloam::WallpaperStyle::Tile:
            Expect(image.Width() == w && image.Height() == h, "the picture changed its size");
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in{data, size};
    const auto style = static_cast<gloam::WallpaperStyle>(in.Next() % 6);
    const int32_t w = in.Between(1, 128);
    const int32_t h = in.Between(1, 128);
    const Rect monitor{0, 0, in.Between(1, 64), in.Between(1, 64)};
    // The virtual screen holds the monitor.
    const int32_t grow_left = in.Between(0, 64), grow_right = in.Between(0, 64);
    const Rect virtual_screen{-grow_left, 0, monitor.right + grow_right, monitor.bottom};
    const bool flat = (in.Next() & 1) != 0;

    const auto placement = gloam::PlaceWallpaper(style, w, h, monitor, virtual_screen);
    Expect(placement.has_value(), "no placement for a picture that fits");
    Expect(placement->tiled == (style == gloam::WallpaperStyle::Tile), "tiled when not Tile");
    CheckPlacement(style, *placement, w, h, monitor);

    // The picture: flat, or the rest of the bytes over and over.
    gloam::Surface picture(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t pixel =
                flat ? 0x00C08040u : (in.Next() << 16 | in.Next() << 8 | in.Next() | 0xFF000000u);
            picture.View().At(x, y) = pixel;
        }
    }
    uint32_t channel_low[3] = {0xFF, 0xFF, 0xFF}, channel_high[3] = {0, 0, 0};
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                const uint32_t value = picture.At(x, y) >> (8 * c) & 0xFFu;
                channel_low[c] = std::min(channel_low[c], value);
                channel_high[c] = std::max(channel_high[c], value);
            }
        }
    }

    gloam::Surface screen(monitor.Width(), monitor.Height(), kUntouched);
    gloam::DrawScaled(screen.View(), placement->image, picture.View());
    if (placement->tiled) gloam::RepeatTile(screen.View(), placement->image);
    const Rect drawn = placement->tiled ? monitor : gloam::Intersect(placement->image, monitor);
    for (int32_t y = 0; y < monitor.bottom; ++y) {
        for (int32_t x = 0; x < monitor.right; ++x) {
            const bool inside =
                x >= drawn.left && x < drawn.right && y >= drawn.top && y < drawn.bottom;
            const uint32_t pixel = screen.At(x, y);
            if (!inside) {
                Expect(pixel == kUntouched, "a pixel outside the place was written");
                continue;
            }
            Expect(pixel != kUntouched, "a pixel inside the place was left");
            if (flat) Expect(pixel == 0x00C08040u, "a flat picture did not stay flat");
            for (int c = 0; c < 3; ++c) {
                const uint32_t value = pixel >> (8 * c) & 0xFFu;
                Expect(value >= channel_low[c] && value <= channel_high[c],
                       "a drawn channel outside the picture's range");
            }
        }
    }
    return 0;
}
