// Cost of drawing a wallpaper into the desktop copy, the work the display adds to its start on the
// desktop the system starts screen savers on (the decoding by WIC comes on top).
//
//   BM_DrawWallpaper  the picture placed as the style says and drawn, scaled, into a copy of the
//                     screen's size, its rows pushed one by one as a decoder hands them out
//
// Arguments: picture width and height, screen width and height, style (0 Center, 1 Tile,
// 2 Stretch, 3 Fit, 4 Fill). Time is per drawing. Counters:
//   read     source pixels the drawing asks for (the rows and columns that reach the screen)
//   written  screen pixels it writes
//
// Run:  gloam_wallpaper_bench
#include <benchmark/benchmark.h>

#include <cstdint>

#include "display/desktop_stand_in.h"
#include "platform/resample.h"
#include "platform/surface.h"

namespace gloam {
namespace {

Surface Photo(int32_t width, int32_t height) {
    Surface photo(width, height);
    PixelView view = photo.View();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            view.At(x, y) = (static_cast<uint32_t>(x * 13 + y) & 0xFF) << 16 |
                            (static_cast<uint32_t>(y * 7) & 0xFF) << 8 |
                            (static_cast<uint32_t>(x ^ y) & 0xFF);
        }
    }
    return photo;
}

void BM_DrawWallpaper(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0));
    const auto height = static_cast<int32_t>(state.range(1));
    const Rect screen{0, 0, static_cast<int32_t>(state.range(2)),
                      static_cast<int32_t>(state.range(3))};
    const auto style = static_cast<WallpaperStyle>(state.range(4));
    const Surface photo = Photo(width, height);
    Surface copy(screen.Width(), screen.Height());
    const WallpaperPlacement placement = *PlaceWallpaper(style, width, height, screen, screen);
    int64_t read = 0;
    for (auto _ : state) {
        ScaledDraw draw(copy.View(), placement.image, width, height);
        const Rect area = draw.SourceArea();
        for (int32_t y = area.top; y < area.bottom; ++y) {
            draw.PushRow(photo.View().Row(y) + area.left);
        }
        if (placement.tiled) RepeatTile(copy.View(), placement.image);
        read = static_cast<int64_t>(area.Width()) * area.Height();
        benchmark::DoNotOptimize(copy.View().pixels);
    }
    state.counters["read"] = static_cast<double>(read);
    state.counters["written"] = static_cast<double>(screen.Width()) * screen.Height();
}

BENCHMARK(BM_DrawWallpaper)
    ->ArgNames({"w", "h", "W", "H", "style"})
    ->Unit(benchmark::kMillisecond)
    // A wallpaper of the screen's size; one of the next size up, filled; a smaller one, enlarged.
    ->Args({1920, 1080, 1920, 1080, 2})
    ->Args({2560, 1440, 1920, 1080, 4})
    ->Args({1280, 720, 1920, 1080, 4})
    // A 4K picture on a 1080p screen, and on a 4K one; a 24-megapixel photo filled and fitted.
    ->Args({3840, 2160, 1920, 1080, 4})
    ->Args({3840, 2160, 3840, 2160, 4})
    ->Args({6000, 4000, 3840, 2160, 4})
    ->Args({6000, 4000, 1920, 1080, 3})
    // Centred and tiled at their own size.
    ->Args({6000, 4000, 1920, 1080, 0})
    ->Args({256, 256, 1920, 1080, 1})
    // The largest picture allowed, filled into 1080p.
    ->Args({16384, 16384, 1920, 1080, 4});

}  // namespace
}  // namespace gloam

BENCHMARK_MAIN();
