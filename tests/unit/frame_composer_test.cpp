#include "display/frame_composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/cats.h"
#include "display/spot_path.h"
#include "platform/dib.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::CatBitmaps;
using testing_support::FirstDifference;
using testing_support::MakeCat;
using testing_support::PatternSurface;
using testing_support::SpotMask;

Rect Square(Point at, int32_t size) {
    return Rect{at.x, at.y, at.x + size, at.y + size};
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

// ---- row spans ----------------------------------------------------------------------------------

struct SpanCase {
    const char* name;
    std::vector<uint32_t> row;  // one mask row
    std::optional<Span> span;   // its white run; nullopt when the mask is not one run per row
};

const SpanCase kSpanCases[] = {
    {"AllBlack", {0, 0, 0, 0}, Span{}},
    {"RunInTheMiddle", {0, kWhite, kWhite, 0}, Span{1, 3}},
    {"RunFromTheLeftEdge", {kWhite, kWhite, 0, 0}, Span{0, 2}},
    {"RunToTheRightEdge", {0, 0, 0, kWhite}, Span{3, 4}},
    {"AllWhite", {kWhite, kWhite, kWhite, kWhite}, Span{0, 4}},
    {"TwoRuns", {kWhite, 0, 0, kWhite}, std::nullopt},
    {"GreyPixel", {0, kWhite, 0x808080, 0}, std::nullopt},
    {"WhiteWithTheTopByteSet", {0, 0xFFFFFFFF, kWhite, 0}, std::nullopt},
    {"NearBlack", {0x000001, kWhite, 0, 0}, std::nullopt},
};

class RowSpansTest : public testing::TestWithParam<SpanCase> {};

// The row goes between two plain rows (a run, and all black), so that the case decides.
TEST_P(RowSpansTest, FindsTheOneWhiteRunOrRefuses) {
    const SpanCase& c = GetParam();
    const auto width = static_cast<int32_t>(c.row.size());
    Surface mask(width, 3, kBlack);
    mask.View().At(1, 0) = kWhite;
    std::copy(c.row.begin(), c.row.end(), mask.View().Row(1));
    const std::optional<std::vector<Span>> spans = RowSpans(mask.View());
    if (!c.span) {
        EXPECT_FALSE(spans.has_value());
        return;
    }
    ASSERT_TRUE(spans.has_value());
    EXPECT_EQ(*spans, (std::vector<Span>{Span{1, 2}, *c.span, Span{}}));
}

std::string SpanCaseName(const testing::TestParamInfo<SpanCase>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(Rows, RowSpansTest, testing::ValuesIn(kSpanCases), SpanCaseName);

// The spot's disc takes the span path at every size; a ring (two runs in its middle rows) and a
// mask with a grey edge keep the square path.
TEST(SpotCompositor, ChoosesThePathFromTheStretchedMask) {
    const Surface disc = SpotMask();
    for (const int32_t size : {1, 7, 200, 300, 400, 1001}) {
        EXPECT_TRUE(SpotCompositor(disc.View(), size).UsesSpans()) << size;
        EXPECT_FALSE(
            SpotCompositor(disc.View(), size, SpotCompositor::Method::Squares).UsesSpans());
    }
    Surface ring = SpotMask();
    Fill(ring.View(), Rect{100, 100, 200, 200}, kBlack);
    EXPECT_FALSE(SpotCompositor(ring.View(), 300).UsesSpans());
    Surface soft = SpotMask();
    soft.View().At(6, 149) = 0x7F7F7F;
    EXPECT_FALSE(SpotCompositor(soft.View(), 300).UsesSpans());
}

// The program's own mask, as the resource loader decodes it, must take the span path at every
// size of the table; otherwise the display would quietly fall back to whole squares.
TEST(SpotCompositor, TheProgramsMaskTakesTheSpanPathAtEverySize) {
    std::ifstream file(std::string(GLOAM_SOURCE_DIR) + "/res/spot.bmp", std::ios::binary);
    ASSERT_TRUE(file) << "res/spot.bmp";
    const std::vector<char> chars{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
    ASSERT_GT(chars.size(), 14u);
    const auto* bytes = reinterpret_cast<const std::byte*>(chars.data());
    // A resource holds the bitmap without the file's 14-byte header.
    const Surface mask = DecodeDib(std::span(bytes + 14, chars.size() - 14), "the spot mask");
    for (const int32_t size_index : {0, 1, 2}) {
        EXPECT_TRUE(SpotCompositor(mask.View(), SpotSizeFor(size_index)).UsesSpans())
            << "size " << SpotSizeFor(size_index);
    }
}

// ---- what a frame reports -----------------------------------------------------------------------

TEST(SpotCompositor, SquarePathReportsTheOldAndTheNewSquareClipped) {
    const Surface mask = SpotMask();
    const Surface desktop = PatternSurface(640, 480);
    Surface back(640, 480, kBlack);
    SpotCompositor compositor(mask.View(), 200, SpotCompositor::Method::Squares);
    const auto bounds = [&](Point at) {
        return compositor.Compose(back.View(), desktop.View(), at).bounds;
    };
    EXPECT_EQ(bounds(Point{0, 140}), (Rect{0, 140, 200, 340}));
    EXPECT_EQ(bounds(Point{5, 150}), (Rect{0, 140, 205, 350}));
    EXPECT_EQ(bounds(Point{500, 400}), (Rect{5, 150, 640, 480}));
    // Wholly off the screen: only the old square needs clearing, and then nothing at all.
    EXPECT_EQ(bounds(Point{700, 0}), (Rect{500, 400, 640, 480}));
    EXPECT_TRUE(back == Surface(640, 480, kBlack));
    EXPECT_TRUE(bounds(Point{-300, 0}).Empty());
}

// A sideways step of a few pixels changes two thin crescents; the pieces hug them, band by band,
// while the bounding rectangle spans the whole disc.
TEST(SpotCompositor, SidewaysStepReportsTwoCrescentsPerBand) {
    const Surface mask = SpotMask();
    const Surface desktop = PatternSurface(1920, 1080);
    Surface back(1920, 1080, kBlack);
    SpotCompositor compositor(mask.View(), 400);
    compositor.Compose(back.View(), desktop.View(), Point{600, 300});
    const FrameChange& change = compositor.Compose(back.View(), desktop.View(), Point{615, 300});
    EXPECT_EQ(change.piece_count, 2 * FrameChange::kBands);
    int64_t area = 0;
    for (const Rect& piece : change) {
        EXPECT_LE(piece.Height(), 400 / FrameChange::kBands + 1);
        area += static_cast<int64_t>(piece.Width()) * piece.Height();
    }
    const int64_t bounds = static_cast<int64_t>(change.bounds.Width()) * change.bounds.Height();
    EXPECT_EQ(change.bounds.Width(), 15 + 383);
    // One box per band would cover nearly all of the bounds.
    EXPECT_LT(area * 5, bounds * 3) << "pieces " << area << " of " << bounds;
    // Two crescents of 15 columns on each of the disc's 384 rows.
    EXPECT_EQ(change.pixels_written, 2 * 15 * 384);
}

// ---- side by side with the plain recipe ---------------------------------------------------------

// The plain recipe and the compositor, driven by the same motion and the same random draws, must
// give the same frames. Midway, a cat is stamped into the desktop copy under both the previous
// and the current disc, as PlaceCats may do while the spot is over it. Every frame is also
// published the way the window does it, piece by piece, into a model of the screen that must then
// equal the frame.
struct SideBySideCase {
    int32_t width;
    int32_t height;
    int32_t size_index;
    int32_t speed_index;
    SpotCompositor::Method method = SpotCompositor::Method::Auto;
};

void PrintTo(const SideBySideCase& c, std::ostream* out) {
    *out << c.width << "x" << c.height << ", size " << c.size_index << ", speed " << c.speed_index;
}

std::string CaseName(const testing::TestParamInfo<SideBySideCase>& info) {
    const SideBySideCase& c = info.param;
    return std::to_string(c.width) + "x" + std::to_string(c.height) + "_spot" +
           std::to_string(SpotSizeFor(c.size_index)) + "_speed" + std::to_string(c.speed_index) +
           (c.method == SpotCompositor::Method::Squares ? "_squares" : "");
}

// A desktop with no black pixel: every pixel the disc leaves or reaches changes.
Surface LitDesktop(int32_t width, int32_t height) {
    Surface desktop = PatternSurface(width, height);
    PixelView view = desktop.View();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) view.At(x, y) |= 0x010101;
    }
    return desktop;
}

int64_t DifferingPixels(const Surface& a, const Surface& b, const Rect& area) {
    int64_t count = 0;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) count += a.At(x, y) != b.At(x, y);
    }
    return count;
}

class SideBySideTest : public testing::TestWithParam<SideBySideCase> {};

TEST_P(SideBySideTest, FramesEqualThePlainRecipe) {
    const SideBySideCase& c = GetParam();
    const int32_t W = c.width;
    const int32_t H = c.height;
    const Rect screen{0, 0, W, H};
    const int32_t size = SpotSizeFor(c.size_index);
    const Surface mask = SpotMask();
    Surface desktop = LitDesktop(W, H);
    const CatBitmaps cat = MakeCat(105, 170, 3);
    SeededRandom random(static_cast<uint64_t>(W * 7919 + H * 31 + size + c.speed_index));

    DisplayState state;
    state.lngStepsPerSweep = StepsPerSweepFor(c.speed_index);
    state.lngSpotSize = size;
    ResetSpot(state, H);

    Surface work(W, H, kBlack);
    Surface back(W, H, kBlack);
    Surface shown(W, H, kBlack);  // what the window shows
    SpotCompositor compositor(mask.View(), size, c.method);
    ASSERT_EQ(compositor.UsesSpans(), c.method == SpotCompositor::Method::Auto);

    // One round trip, the turn into the next, and the cat a third of the way.
    const int32_t frames = 2 * state.lngStepsPerSweep + 2;
    const int32_t stamp_frame = state.lngStepsPerSweep / 3;
    Point last_at{};
    int64_t stale = 0;  // stamped pixels under both discs in the stamping frame
    bool overlap = false;
    int64_t lit = 0;
    for (int32_t frame = 0; frame < frames; ++frame) {
        const Point at = AdvanceSpot(state, W, H, random);
        bool rewrite = frame == 0;
        if (frame == stamp_frame) {
            // The cat goes over the middle of what both discs light, where the span path writes
            // nothing unless told that the desktop changed.
            const Surface& disc = compositor.StretchedMask();
            const auto lit_at = [&](Point p, int32_t x, int32_t y) {
                const int64_t u = static_cast<int64_t>(x) - p.x;
                const int64_t v = static_cast<int64_t>(y) - p.y;
                return u >= 0 && v >= 0 && u < size && v < size &&
                       disc.At(static_cast<int32_t>(u), static_cast<int32_t>(v)) == kWhite;
            };
            Rect both;
            for (int32_t y = 0; y < H; ++y) {
                for (int32_t x = 0; x < W; ++x) {
                    if (lit_at(at, x, y) && lit_at(last_at, x, y)) {
                        both = Union(both, Rect{x, y, x + 1, y + 1});
                    }
                }
            }
            const Surface before = desktop;
            const Point middle{(both.left + both.right) / 2, (both.top + both.bottom) / 2};
            StampCat(desktop.View(), Point{middle.x - 52, middle.y - 85}, cat.mask.View(),
                     cat.picture.View());
            compositor.Invalidate();
            rewrite = true;
            for (int32_t y = both.top; y < both.bottom; ++y) {
                for (int32_t x = both.left; x < both.right; ++x) {
                    stale += desktop.At(x, y) != before.At(x, y) && lit_at(at, x, y) &&
                             lit_at(last_at, x, y);
                }
            }
            overlap = !both.Empty();
        }

        ComposeFrame(work.View(), desktop.View(), mask.View(), at, size);
        const Surface previous = back;
        const FrameChange& change = compositor.Compose(back.View(), desktop.View(), at);
        ASSERT_TRUE(work == back) << "frame " << frame << " at " << at.x << "," << at.y << ": "
                                  << FirstDifference(work.View(), back.View());

        // Pieces: on the screen, disjoint, inside the bounds, within the two squares; published
        // one by one they bring the screen up to the frame.
        const Rect squares =
            frame == 0 ? Intersect(Square(at, size), screen)
                       : Intersect(Union(Square(last_at, size), Square(at, size)), screen);
        int64_t piece_area = 0;
        for (const Rect& piece : change) {
            ASSERT_FALSE(piece.Empty()) << "frame " << frame;
            ASSERT_EQ(Intersect(piece, screen), piece) << "frame " << frame;
            ASSERT_EQ(Union(change.bounds, piece), change.bounds) << "frame " << frame;
            ASSERT_EQ(Union(squares, piece), squares) << "frame " << frame;
            for (const Rect& other : change) {
                ASSERT_TRUE(&other == &piece || Intersect(piece, other).Empty())
                    << "frame " << frame << ": pieces overlap";
            }
            BitBlt(shown.View(), piece.left, piece.top, piece.Width(), piece.Height(), back.View(),
                   piece.left, piece.top, Rop::Copy);
            piece_area += static_cast<int64_t>(piece.Width()) * piece.Height();
        }
        ASSERT_TRUE(shown == back) << "frame " << frame << ": a change outside the pieces, "
                                   << FirstDifference(shown.View(), back.View());

        // The span path writes exactly the pixels that change, plus the whole disc when asked
        // to rewrite it.
        const int64_t changed = DifferingPixels(previous, back, change.bounds);
        if (c.method == SpotCompositor::Method::Auto && !rewrite) {
            ASSERT_EQ(change.pixels_written, changed) << "frame " << frame;
        } else {
            ASSERT_GE(change.pixels_written, changed) << "frame " << frame;
        }
        ASSERT_LE(changed, piece_area) << "frame " << frame;
        lit += changed;
        last_at = at;
    }
    EXPECT_GT(lit, 0);
    // The stamping frame has to test something: a compositor that skipped the pixels under both
    // discs would have shown the desktop as it was before the cat.
    if (overlap) {
        EXPECT_GT(stale, 0) << "the cat missed the pixels under both discs";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, SideBySideTest,
    testing::Values(
        // Every size at every speed.
        SideBySideCase{640, 480, 0, 0}, SideBySideCase{640, 480, 0, 1},
        SideBySideCase{640, 480, 0, 2}, SideBySideCase{640, 480, 1, 0},
        SideBySideCase{640, 480, 1, 1}, SideBySideCase{640, 480, 1, 2},
        SideBySideCase{640, 480, 2, 0}, SideBySideCase{640, 480, 2, 1},
        SideBySideCase{640, 480, 2, 2},
        // A real screen, odd sizes, and screens no larger than the spot.
        SideBySideCase{1024, 768, 2, 1}, SideBySideCase{1023, 767, 1, 1},
        SideBySideCase{641, 479, 2, 2}, SideBySideCase{401, 333, 2, 0},
        SideBySideCase{300, 300, 1, 2}, SideBySideCase{150, 120, 2, 2},
        SideBySideCase{150, 120, 0, 1},
        // Wide and low: at 50 frames a sweep the 200 spot moves 192 pixels a frame, more than its
        // disc is wide, so consecutive discs do not overlap; the 400 spot hangs over the bottom.
        SideBySideCase{9801, 97, 0, 2}, SideBySideCase{9801, 97, 2, 2},
        // The square path, which other masks take.
        SideBySideCase{640, 480, 0, 2, SpotCompositor::Method::Squares},
        SideBySideCase{641, 479, 2, 1, SpotCompositor::Method::Squares}),
    CaseName);

}  // namespace
}  // namespace gloam
