#include "display/frame_composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <tuple>

#include "display/cats.h"
#include "display/spot_path.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::At;
using testing_support::CatLoader;
using testing_support::FakeBitmapLoader;
using testing_support::PatternSurface;
using testing_support::SpotMask;

Rect Square(Point at, int32_t size) {
    return Rect{at.x, at.y, at.x + size, at.y + size};
}

// Where two frames differ first, for the failure message.
std::string FirstDifference(const Surface& a, const Surface& b) {
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            if (a.At(x, y) != b.At(x, y)) {
                std::ostringstream out;
                out << "first difference at " << x << "," << y << ": " << std::hex << a.At(x, y)
                    << " vs " << b.At(x, y);
                return out.str();
            }
        }
    }
    return "no difference";
}

// True when every pixel outside `dirty` is the same in both frames.
bool SameOutside(const Surface& a, const Surface& b, const Rect& dirty) {
    const PixelView va = a.View();
    const PixelView vb = b.View();
    for (int32_t y = 0; y < a.Height(); ++y) {
        const uint32_t* ra = va.Row(y);
        const uint32_t* rb = vb.Row(y);
        if (dirty.Empty() || y < dirty.top || y >= dirty.bottom) {
            if (!std::equal(ra, ra + a.Width(), rb)) return false;
        } else {
            const int32_t left = std::clamp(dirty.left, 0, a.Width());
            const int32_t right = std::clamp(dirty.right, 0, a.Width());
            if (!std::equal(ra, ra + left, rb) ||
                !std::equal(ra + right, ra + a.Width(), rb + right)) {
                return false;
            }
        }
    }
    return true;
}

TEST(ComposeFrame, DesktopInsideTheDiscBlackEverywhereElse) {
    const Surface mask = SpotMask();
    const Surface desktop = PatternSurface(640, 480);
    for (const int32_t size : {200, 300, 400}) {
        for (const Point at : {Point{0, 40}, Point{123, 45}, Point{-90, 300}, Point{500, -150}}) {
            Surface work(640, 480, 0x123456);  // whatever the last frame left
            ComposeFrame(work.View(), desktop.View(), mask.View(), at, size);
            // The disc's centre and radii scaled from the mask's box (6, 6) - (293, 294).
            const double scale = size / 300.0;
            const double cx = 149.5 * scale, cy = 150.0 * scale;
            const double rx = 143.5 * scale, ry = 144.0 * scale;
            int64_t lit = 0;
            for (int32_t y = 0; y < 480; ++y) {
                for (int32_t x = 0; x < 640; ++x) {
                    const double u = (x - at.x + 0.5 - cx) / rx;
                    const double v = (y - at.y + 0.5 - cy) / ry;
                    const double d = std::sqrt(u * u + v * v);
                    const uint32_t pixel = work.At(x, y);
                    if (size == 300) {
                        const bool in_square =
                            x >= at.x && x < at.x + 300 && y >= at.y && y < at.y + 300;
                        const bool white = in_square && mask.At(x - at.x, y - at.y) == kWhite;
                        ASSERT_EQ(pixel, white ? desktop.At(x, y) : kBlack) << x << "," << y;
                    } else if (d < 0.98) {
                        ASSERT_EQ(pixel, desktop.At(x, y)) << size << " " << x << "," << y;
                    } else if (d > 1.02) {
                        ASSERT_EQ(pixel, kBlack) << size << " " << x << "," << y;
                    } else {
                        ASSERT_TRUE(pixel == kBlack || pixel == desktop.At(x, y)) << x << "," << y;
                    }
                    if (pixel != kBlack) ++lit;
                }
            }
            EXPECT_GT(lit, 0) << size << " at " << at.x << "," << at.y;
        }
    }
}

TEST(SpotCompositor, StretchesTheMaskOnce) {
    const Surface mask = SpotMask();
    EXPECT_TRUE(SpotCompositor(mask.View(), 300).StretchedMask() == mask);
    Surface expected(400, 400);
    StretchBlt(expected.View(), 0, 0, 400, 400, mask.View(), 0, 0, 300, 300);
    EXPECT_TRUE(SpotCompositor(mask.View(), 400).StretchedMask() == expected);
}

TEST(SpotCompositor, ReportsTheOldAndTheNewSquareClipped) {
    const Surface mask = SpotMask();
    const Surface desktop = PatternSurface(640, 480);
    Surface back(640, 480, kBlack);
    SpotCompositor compositor(mask.View(), 200);
    EXPECT_EQ(compositor.Compose(back.View(), desktop.View(), Point{0, 140}),
              (Rect{0, 140, 200, 340}));
    EXPECT_EQ(compositor.Compose(back.View(), desktop.View(), Point{5, 150}),
              (Rect{0, 140, 205, 350}));
    EXPECT_EQ(compositor.Compose(back.View(), desktop.View(), Point{500, 400}),
              (Rect{5, 150, 640, 480}));
    // Wholly off the screen: only the old square needs clearing, and then nothing at all.
    EXPECT_EQ(compositor.Compose(back.View(), desktop.View(), Point{700, 0}),
              (Rect{500, 400, 640, 480}));
    EXPECT_TRUE(back == Surface(640, 480, kBlack));
    EXPECT_TRUE(compositor.Compose(back.View(), desktop.View(), Point{-300, 0}).Empty());
}

// The plain recipe and the incremental compositor, driven by the same motion, the same random
// draws and the same cats, must publish the same frames.
struct Screen {
    int32_t width;
    int32_t height;
};

class SideBySideTest : public testing::TestWithParam<std::tuple<Screen, int32_t>> {};

TEST_P(SideBySideTest, IncrementalFramesEqualThePlainRecipe) {
    const auto [screen, size] = GetParam();
    const int32_t W = screen.width;
    const int32_t H = screen.height;
    const Rect bounds{0, 0, W, H};
    const Surface mask = SpotMask();
    Surface desktop = PatternSurface(W, H);
    const Surface original = desktop;
    FakeBitmapLoader loader = CatLoader();
    SeededRandom random(static_cast<uint64_t>(W * 7919 + H * 31 + size));

    DisplayState state;
    state.lngStepsPerSweep = StepsPerSweepFor(2);
    state.lngSpotSize = size;
    state.dtStart = At(2024, 5, 1, 10, 0, 20);
    ResetSpot(state, H);

    Surface work(W, H, kBlack);
    Surface back(W, H, kBlack);
    Surface previous = back;
    SpotCompositor compositor(mask.View(), size);
    Point last_at{};
    bool first = true;
    int32_t stamped_at = -1;
    int64_t lit = 0;
    int32_t frames_with_cats = 0;

    // Two round trips and the first frame of the third.
    const int32_t frames = 4 * state.lngStepsPerSweep + 1;
    for (int32_t frame = 0; frame < frames; ++frame) {
        // The clock runs two seconds a frame: the cats come due at 10:03:00, frame 80.
        LocalDateTime now = state.dtStart;
        const int32_t seconds = 20 + 2 * frame;
        now.minute = seconds / 60;
        now.second = seconds % 60;
        if (CatsDue(state, now)) {
            PlaceCats(desktop.View(), W, H, random, loader);
            state.blnCatsShown = true;
            stamped_at = frame;
        }
        const Point at = AdvanceSpot(state, W, H, random);

        ComposeFrame(work.View(), desktop.View(), mask.View(), at, size);
        const Rect dirty = compositor.Compose(back.View(), desktop.View(), at);

        ASSERT_TRUE(work == back) << "frame " << frame << " at " << at.x << "," << at.y << ": "
                                  << FirstDifference(work, back);
        ASSERT_TRUE(dirty.Empty() || Intersect(dirty, bounds) == dirty)
            << "frame " << frame << " dirty rect leaves the screen";
        ASSERT_TRUE(SameOutside(previous, back, dirty))
            << "frame " << frame << ": a pixel changed outside the dirty rect";
        // The dirty rect holds no more than the two squares.
        const Rect squares =
            first ? Square(at, size) : Union(Square(last_at, size), Square(at, size));
        ASSERT_TRUE(dirty.Empty() || Union(squares, dirty) == squares) << "frame " << frame;

        // Whether a cat shows in this frame: the frame differs from one made with the desktop
        // as it was before the stamping.
        if (stamped_at >= 0) {
            const Surface& stretched = compositor.StretchedMask();
            const Rect seen = Intersect(Square(at, size), bounds);
            bool cat = false;
            for (int32_t y = seen.top; y < seen.bottom && !cat; ++y) {
                for (int32_t x = seen.left; x < seen.right; ++x) {
                    if (back.At(x, y) != (stretched.At(x - at.x, y - at.y) & original.At(x, y))) {
                        cat = true;
                        break;
                    }
                }
            }
            frames_with_cats += cat ? 1 : 0;
        }
        const Rect square = Intersect(Square(at, size), bounds);
        for (int32_t y = square.top; y < square.bottom; ++y) {
            for (int32_t x = square.left; x < square.right; ++x) lit += back.At(x, y) != kBlack;
        }
        previous = back;
        last_at = at;
        first = false;
    }
    EXPECT_EQ(stamped_at, 80);
    EXPECT_FALSE(desktop == original) << "the cats were not stamped";
    EXPECT_GT(lit, 0);
    RecordProperty("frames_with_cats", frames_with_cats);
    // The seed is fixed, and with it the places of the spot and the cats: the spot passes over
    // a cat in some of the compared frames on every screen.
    EXPECT_GT(frames_with_cats, 0);
}

std::string ScreenName(const testing::TestParamInfo<std::tuple<Screen, int32_t>>& info) {
    const auto [screen, size] = info.param;
    return std::to_string(screen.width) + "x" + std::to_string(screen.height) + "_spot" +
           std::to_string(size);
}

INSTANTIATE_TEST_SUITE_P(Screens, SideBySideTest,
                         testing::Combine(testing::Values(Screen{150, 120}, Screen{300, 300},
                                                          Screen{640, 480}, Screen{1024, 768}),
                                          testing::Values(200, 300, 400)),
                         ScreenName);

}  // namespace
}  // namespace gloam
