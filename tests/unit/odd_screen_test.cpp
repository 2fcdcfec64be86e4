// Motion, cat layout and composition on screens that real displays seldom have: a single pixel,
// a screen smaller than the spot or exactly its size, the widths and heights at which a cat's
// range is zero or negative, and an 8K screen.
//
// Every surface here sits inside a larger buffer whose border holds a sentinel that no transfer
// can produce (its unused top byte is set), so a write beside a surface, even one that the
// address sanitizer cannot see because it stays inside the buffer, shows as a changed sentinel,
// and a read beside it shows as a sentinel byte in the frame. Expected results are worked out here
// from the arithmetic the program is meant to do (nearest with halves to even, floor, the mask's
// disc), without the code under test.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "display/cats.h"
#include "display/display_state.h"
#include "display/frame_composer.h"
#include "display/frame_loop.h"
#include "display/spot_path.h"
#include "platform/error.h"
#include "platform/random.h"
#include "platform/surface.h"
#include "test_support.h"
#include "tests/reference.h"

namespace gloam {
namespace {

using testing_support::CatLoader;
using testing_support::FakeBitmapLoader;
using testing_support::FirstDifference;
using testing_support::kAlmostOne;
using testing_support::MakeCat;
using testing_support::PatternPixel;
using testing_support::SpotMask;

constexpr int32_t kSpotSizes[] = {200, 300, 400};
constexpr int32_t kStepsPerSweep[] = {150, 100, 50};

// The nearest integer, halves to the even one (tests/reference.h), of a value that fits.
int32_t Round(double value) {
    return gloam_tests::reference::Nearest(value).value();
}

testing::AssertionResult Same(Point got, Point want) {
    if (got == want) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "(" << got.x << ", " << got.y << "), expected (" << want.x << ", " << want.y << ")";
}

// ---- guarded surfaces ---------------------------------------------------------------------------

constexpr uint32_t kSentinel = 0xA5C3E1F7;
constexpr int32_t kGuard = 3;  // pixels of sentinel on every side

class GuardedSurface {
  public:
    GuardedSurface(int32_t width, int32_t height, uint32_t fill = kBlack)
        : width_(width),
          height_(height),
          stride_(width + 2 * kGuard),
          buffer_(static_cast<size_t>(stride_) * static_cast<size_t>(height + 2 * kGuard),
                  kSentinel) {
        for (int32_t y = 0; y < height_; ++y) std::fill_n(&Cell(0, y), width_, fill);
    }
    PixelView View() { return PixelView{&Cell(0, 0), width_, height_, stride_}; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint32_t At(int32_t x, int32_t y) const { return buffer_[Index(x, y)]; }
    const uint32_t* Row(int32_t y) const { return &buffer_[Index(0, y)]; }
    void Set(int32_t x, int32_t y, uint32_t value) { buffer_[Index(x, y)] = value; }

    // "" when every sentinel is as it was; else where the first one changed.
    std::string Breach() const {
        for (int32_t y = -kGuard; y < height_ + kGuard; ++y) {
            const bool guard_row = y < 0 || y >= height_;
            for (int32_t x = -kGuard; x < width_ + kGuard; ++x) {
                if (!guard_row && x == 0) x = width_;  // skip the surface itself
                if (buffer_[Index(x, y)] != kSentinel) {
                    std::ostringstream out;
                    out << "written beside the " << width_ << "x" << height_ << " surface at " << x
                        << "," << y;
                    return out.str();
                }
            }
        }
        return "";
    }
    bool operator==(const GuardedSurface& other) const { return buffer_ == other.buffer_; }

  private:
    size_t Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y + kGuard) * static_cast<size_t>(stride_) +
               static_cast<size_t>(x + kGuard);
    }
    uint32_t& Cell(int32_t x, int32_t y) { return buffer_[Index(x, y)]; }

    int32_t width_;
    int32_t height_;
    int32_t stride_;
    std::vector<uint32_t> buffer_;
};

GuardedSurface GuardedPattern(int32_t width, int32_t height) {
    GuardedSurface surface(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) surface.Set(x, y, PatternPixel(x, y));
    }
    return surface;
}

// ---- screens ------------------------------------------------------------------------------------

struct OddScreen {
    double W;
    double H;
    const char* name;
    // Places on the spot's path composed per spot size, beside the fixed places; 0 for the 8K
    // screen, which costs a million times the 1x1 and takes only a few.
    int32_t frames;
};

const OddScreen kScreens[] = {
    {1, 1, "1x1", 40},
    {100, 100, "100x100", 40},
    {200, 200, "200x200_small_spot", 40},
    {300, 300, "300x300_normal_spot", 40},
    {400, 400, "400x400_large_spot", 40},
    // Cat 0 (105 x 170): range X -1 / 0, range Y -1 / 0. Cat 1 (100 x 185) is negative in y.
    {116, 188, "116x188", 40},
    {117, 189, "117x189", 40},
    {116, 189, "116x189", 40},
    {117, 188, "117x188", 40},
    // Cat 1: range X -1 / 0 / 1 at widths 110 / 111 / 112, range Y -1 / 0 / 0 / 0 at heights
    // 204 / 205 / 206 (the margin of 205 rounds down to 20).
    {110, 204, "110x204", 40},
    {111, 205, "111x205", 40},
    {112, 206, "112x206", 40},
    // At 120 dots per inch a screen measures in twelfths of a twip per pixel: halves happen.
    {116.5, 188.5, "116.5x188.5", 40},
    {7680, 4320, "7680x4320", 0},
};

void PrintTo(const OddScreen& screen, std::ostream* out) {
    *out << screen.name;
}

std::string ScreenName(const testing::TestParamInfo<OddScreen>& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '.', '_');
    return name;
}

// A generator that hands out its scripted numbers first, then seeded ones, recording all.
class RecordingRandom final : public RandomSource {
  public:
    RecordingRandom(std::vector<float> first, uint64_t seed)
        : script_(std::move(first)), seeded_(seed) {}
    float Next() override {
        const float r = drawn_.size() < script_.size() ? script_[drawn_.size()] : seeded_.Next();
        drawn_.push_back(r);
        return r;
    }
    const std::vector<float>& Drawn() const { return drawn_; }

  private:
    std::vector<float> script_;
    SeededRandom seeded_;
    std::vector<float> drawn_;
};

// ---- motion -------------------------------------------------------------------------------------

class OddScreenMotion : public testing::TestWithParam<OddScreen> {};

// Two round trips at every speed and size: the start corner, every sweep's ends and every frame
// worked out independently; the spot inside the screen whenever the screen can hold it.
TEST_P(OddScreenMotion, EveryFrameWhereTheSweepPutsIt) {
    const double W = GetParam().W;
    const double H = GetParam().H;
    for (const int32_t size : kSpotSizes) {
        for (const int32_t steps : kStepsPerSweep) {
            SCOPED_TRACE(testing::Message() << "spot " << size << ", " << steps << " steps");
            DisplayState state;
            state.lngSpotSize = size;
            state.lngStepsPerSweep = steps;
            ResetSpot(state, H);
            const Point start{0, Round(Round(H / 2) - size / 2.0)};
            ASSERT_TRUE(Same(state.ptFrom, start));
            ASSERT_TRUE(Same(state.ptTo, start));

            // The extremes first: the top, the very bottom, the middle.
            RecordingRandom random({0.0f, kAlmostOne, 0.5f, kAlmostOne}, steps * 31 + size);
            Point from = start;
            Point to = start;
            const int32_t far_x = Round(W - size);
            const int32_t far_y = Round(H - size);
            for (int32_t frame = 0; frame < 4 * steps + 1; ++frame) {
                const int32_t k = frame % steps;
                if (k == 0) {
                    from = to;
                    to.x = from.x == 0 ? far_x : 0;
                }
                Point at;
                try {
                    at = AdvanceSpot(state, W, H, random);
                } catch (const RuntimeError& e) {
                    FAIL() << "frame " << frame << ": " << e.what();
                }
                if (k == 0) to.y = Round((H - size) * static_cast<double>(random.Drawn().back()));
                ASSERT_EQ(random.Drawn().size(), static_cast<size_t>(frame / steps + 1))
                    << "one draw per sweep, frame " << frame;
                ASSERT_TRUE(Same(state.ptFrom, from)) << "sweep start, frame " << frame;
                ASSERT_TRUE(Same(state.ptTo, to)) << "sweep end, frame " << frame;
                const double progress = static_cast<double>(k) / steps;
                const Point expected{Round(progress * (to.x - from.x) + from.x),
                                     Round(progress * (to.y - from.y) + from.y)};
                ASSERT_TRUE(Same(at, expected)) << "frame " << frame;
                // Between the sweep's ends, whatever the sign of the screen's room.
                ASSERT_GE(at.x, std::min(0, far_x));
                ASSERT_LE(at.x, std::max(0, far_x));
                ASSERT_GE(at.y, std::min({0, far_y, start.y}));
                ASSERT_LE(at.y, std::max({0, far_y, start.y}));
                if (W >= size && H >= size && frame > 0) {
                    ASSERT_GE(at.x, 0);
                    ASSERT_GE(at.y, 0);
                    ASSERT_LE(at.x + size, Round(W));
                    ASSERT_LE(at.y + size, Round(H));
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, OddScreenMotion, testing::ValuesIn(kScreens), ScreenName);

// A screen exactly the spot's size leaves it no room: it stays in the top-left corner.
TEST(OddScreenMotion, ScreenOfTheSpotsSizeKeepsItInTheCorner) {
    for (const int32_t size : kSpotSizes) {
        DisplayState state;
        state.lngSpotSize = size;
        state.lngStepsPerSweep = 50;
        ResetSpot(state, size);
        SeededRandom random(size);
        for (int32_t frame = 0; frame < 201; ++frame) {
            ASSERT_TRUE(Same(AdvanceSpot(state, size, size, random), Point{0, 0}))
                << "spot " << size << ", frame " << frame;
        }
    }
}

// ---- cat layout ---------------------------------------------------------------------------------

struct CatSize {
    int32_t width;
    int32_t height;
};
constexpr CatSize kCats[] = {{105, 170}, {100, 185}};

class OddScreenCats : public testing::TestWithParam<OddScreen> {};

// (D OR M) AND P for every pixel of a cat that lies on the desktop.
void StampByRule(GuardedSurface& desktop, Point at, const Surface& mask, const Surface& picture) {
    for (int32_t y = 0; y < mask.Height(); ++y) {
        for (int32_t x = 0; x < mask.Width(); ++x) {
            const int64_t dx = static_cast<int64_t>(at.x) + x;
            const int64_t dy = static_cast<int64_t>(at.y) + y;
            if (dx < 0 || dy < 0 || dx >= desktop.Width() || dy >= desktop.Height()) continue;
            const auto px = static_cast<int32_t>(dx);
            const auto py = static_cast<int32_t>(dy);
            desktop.Set(px, py, (desktop.At(px, py) | mask.At(x, y)) & picture.At(x, y));
        }
    }
}

TEST_P(OddScreenCats, RangesPlacesAndStampsWithinTheirBounds) {
    const double W = GetParam().W;
    const double H = GetParam().H;
    const int32_t width = Round(W);
    const int32_t height = Round(H);

    struct Expected {
        int32_t margin_x, range_x, margin_y, range_y;
    };
    Expected expected[2];
    for (int i = 0; i < 2; ++i) {
        Expected& e = expected[i];
        e.margin_x = Round(W * 0.1);
        e.range_x = width - e.margin_x - kCats[i].width;
        e.margin_y = Round(H * 0.1);
        e.range_y = height - e.margin_y - kCats[i].height;
        const CatRanges ranges = CatRangesFor(W, H, kCats[i].width, kCats[i].height);
        EXPECT_EQ(ranges, (CatRanges{e.margin_x, e.range_x, e.margin_y, e.range_y})) << "cat " << i;
    }

    const testing_support::CatBitmaps cat[2] = {MakeCat(105, 170, 1), MakeCat(100, 185, 2)};
    const std::vector<std::vector<float>> scripts = {
        {0.0f, 0.0f, 0.0f, 0.0f},
        {kAlmostOne, kAlmostOne, kAlmostOne, kAlmostOne},
        {0.5f, 0.25f, 0.75f, 0.125f},
        {0.1f, kAlmostOne, kAlmostOne, 0.0f},
    };
    const GuardedSurface original = GuardedPattern(width, height);
    // The scripts, then seeded draws; the 8K screen takes only the two extremes.
    const size_t runs = GetParam().frames == 0 ? 2 : scripts.size() + 4;
    for (size_t run = 0; run < runs; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run);
        RecordingRandom random(run < scripts.size() ? scripts[run] : std::vector<float>{},
                               1000 + run);
        FakeBitmapLoader loader = CatLoader();
        GuardedSurface desktop = original;
        GuardedSurface reference = original;

        std::array<Point, kCatCount> placed{};
        try {
            placed = PlaceCats(desktop.View(), W, H, random, loader);
        } catch (const RuntimeError& e) {
            FAIL() << e.what();
        }
        ASSERT_EQ(random.Drawn().size(), 4u);
        for (int i = 0; i < 2; ++i) {
            const Expected& e = expected[i];
            const double rx = random.Drawn()[2 * i];
            const double ry = random.Drawn()[2 * i + 1];
            const Point at{e.margin_x + static_cast<int32_t>(std::floor(rx * e.range_x)),
                           e.margin_y + static_cast<int32_t>(std::floor(ry * e.range_y))};
            EXPECT_TRUE(Same(placed[i], at)) << "cat " << i;
            // The bounds of a cat's place, for every sign of the range.
            for (const auto& [pos, margin, range] : {std::tuple{at.x, e.margin_x, e.range_x},
                                                     std::tuple{at.y, e.margin_y, e.range_y}}) {
                if (range > 0) {
                    EXPECT_GE(pos, margin);
                    EXPECT_LE(pos, margin + range - 1);
                } else {
                    EXPECT_LE(pos, margin);
                    EXPECT_GE(pos, margin + range);
                }
            }
            StampByRule(reference, at, cat[i].mask, cat[i].picture);
        }
        if (!(desktop == reference)) {
            EXPECT_EQ(desktop.Breach(), "");
            EXPECT_EQ(FirstDifference(desktop.View(), reference.View()), "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, OddScreenCats, testing::ValuesIn(kScreens), ScreenName);

// ---- composition --------------------------------------------------------------------------------

// Positions to compose at: the corners, the edges from outside, places no motion ever reaches,
// then `frames` places along the spot's own path.
std::vector<Point> Positions(double W, double H, int32_t size, int32_t frames) {
    const int32_t width = Round(W);
    const int32_t height = Round(H);
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    std::vector<Point> at = {
        {width - size / 2, height - size / 2},
        {0, 0},
        {width - 1, height - 1},
        {1 - size, 1 - size},
        {width, 0},
        {-size, 0},
        {0, height},
        {kMax, kMax},
        {kMin, kMin},
        {kMax - size / 2, -size / 2},
    };
    if (frames == 0) {  // the big screen: one corner and one place on the path
        at.resize(1);
        frames = 1;
    }
    DisplayState state;
    state.lngSpotSize = size;
    state.lngStepsPerSweep = 50;
    ResetSpot(state, H);
    SeededRandom random(static_cast<uint64_t>(size));
    // Spread over two round trips.
    const int32_t every = std::max(200 / frames, 1);
    for (int32_t frame = 0; frame < 200; ++frame) {
        const Point p = AdvanceSpot(state, W, H, random);
        if (frame % every == 0) at.push_back(p);
    }
    return at;
}

// Where the mask's disc lies in a spot of `size`: inside `inner` of its radius, surely white;
// beyond `outer`, surely black. The edge between is the stretch's business.
enum class Disc { White, Black, Edge };
Disc DiscAt(int32_t u, int32_t v, int32_t size) {
    const double scale = size / 300.0;
    const double cx = (6 + 293) / 2.0 * scale;
    const double cy = (6 + 294) / 2.0 * scale;
    const double rx = (293 - 6) / 2.0 * scale;
    const double ry = (294 - 6) / 2.0 * scale;
    const double du = (u + 0.5 - cx) / rx;
    const double dv = (v + 0.5 - cy) / ry;
    const double d = std::sqrt(du * du + dv * dv);
    if (d < 0.96) return Disc::White;
    if (d > 1.04) return Disc::Black;
    return Disc::Edge;
}

// Black outside the spot's square; inside it, the desktop where the disc is and black elsewhere;
// the 300 spot is the mask itself, pixel for pixel. Reads past a surface would bring in sentinel
// bytes, which no expected pixel has.
std::string CheckFrame(const GuardedSurface& frame, const GuardedSurface& desktop,
                       const Surface& mask, Point at, int32_t size) {
    const std::vector<uint32_t> black(static_cast<size_t>(frame.Width()), kBlack);
    const auto all_black = [&](const uint32_t* from, int64_t count) {
        return count <= 0 ||
               std::memcmp(from, black.data(), static_cast<size_t>(count) * sizeof(uint32_t)) == 0;
    };
    const auto failure = [&](int32_t x, int32_t y, bool inside) {
        std::ostringstream out;
        out << "spot at " << at.x << "," << at.y << ", pixel " << x << "," << y << " is "
            << std::hex << frame.At(x, y) << (inside ? " inside" : " outside") << " the square";
        return out.str();
    };
    const int64_t left = std::clamp<int64_t>(at.x, 0, frame.Width());
    const int64_t right = std::clamp<int64_t>(static_cast<int64_t>(at.x) + size, 0, frame.Width());
    for (int32_t y = 0; y < frame.Height(); ++y) {
        const uint32_t* row = frame.Row(y);
        const int64_t v = static_cast<int64_t>(y) - at.y;
        if (v < 0 || v >= size) {
            if (!all_black(row, frame.Width())) return failure(0, y, false);
            continue;
        }
        if (!all_black(row, left) || !all_black(row + right, frame.Width() - right)) {
            return failure(0, y, false);
        }
        for (auto x = static_cast<int32_t>(left); x < right; ++x) {
            const auto u = static_cast<int32_t>(x - static_cast<int64_t>(at.x));
            const uint32_t got = row[x];
            const uint32_t shown = desktop.At(x, y);
            bool ok;
            if (size == 300) {
                ok = got == (mask.At(u, static_cast<int32_t>(v)) & shown);
            } else {
                switch (DiscAt(u, static_cast<int32_t>(v), size)) {
                    case Disc::White:
                        ok = got == shown;
                        break;
                    case Disc::Black:
                        ok = got == kBlack;
                        break;
                    default:
                        ok = got == shown || got == kBlack;
                        break;
                }
            }
            if (!ok) return failure(x, y, true);
        }
    }
    return "";
}

// Each case starts from the screen's size, the spot mask and a desktop copy of the pattern, which
// no frame may change.
class OddScreenComposition : public testing::TestWithParam<OddScreen> {
  protected:
    const int32_t width_ = Round(GetParam().W);
    const int32_t height_ = Round(GetParam().H);
    const Surface mask_ = SpotMask();
    const GuardedSurface original_ = GuardedPattern(width_, height_);
    GuardedSurface desktop_ = original_;
};

TEST_P(OddScreenComposition, PlainRecipeLightsTheDiscOverTheDesktopOnly) {
    for (const int32_t size : kSpotSizes) {
        // Left-overs of an earlier frame: the clear must cover them all.
        GuardedSurface work(width_, height_, 0x123456);
        for (const Point at : Positions(GetParam().W, GetParam().H, size, GetParam().frames)) {
            ComposeFrame(work.View(), desktop_.View(), mask_.View(), at, size);
            ASSERT_EQ(work.Breach(), "") << "spot " << size << " at " << at.x << "," << at.y;
            ASSERT_EQ(CheckFrame(work, desktop_, mask_, at, size), "") << "spot " << size;
        }
    }
    EXPECT_TRUE(desktop_ == original_) << "the desktop copy changed";
}

// The incremental compositor publishes the same frames as the plain recipe on every odd screen,
// writing nowhere but its own back buffer.
TEST_P(OddScreenComposition, CompositorMatchesThePlainRecipe) {
    for (const auto method : {SpotCompositor::Method::Auto, SpotCompositor::Method::Squares}) {
        for (const int32_t size : kSpotSizes) {
            GuardedSurface back(width_, height_, kBlack);
            GuardedSurface work(width_, height_, kBlack);
            SpotCompositor compositor(mask_.View(), size, method);
            const char* path = compositor.UsesSpans() ? "spans" : "squares";
            for (const Point at : Positions(GetParam().W, GetParam().H, size, GetParam().frames)) {
                const Rect dirty = compositor.Compose(back.View(), desktop_.View(), at).bounds;
                ComposeFrame(work.View(), desktop_.View(), mask_.View(), at, size);
                ASSERT_EQ(back.Breach(), "")
                    << path << ", spot " << size << " at " << at.x << "," << at.y;
                ASSERT_EQ(FirstDifference(back.View(), work.View()), "")
                    << path << ", spot " << size << " at " << at.x << "," << at.y;
                ASSERT_TRUE(dirty.Empty() || Intersect(dirty, Rect{0, 0, width_, height_}) == dirty)
                    << "the changed area leaves the screen";
            }
        }
    }
    EXPECT_TRUE(desktop_ == original_) << "the desktop copy changed";
}

INSTANTIATE_TEST_SUITE_P(Screens, OddScreenComposition, testing::ValuesIn(kScreens), ScreenName);

// ---- the clock set back while the display runs --------------------------------------------------

// The display's frame loop on an odd screen, with the clock set back an hour two frames after the
// start: the cats wait until the clock has passed three minute boundaries after the start, then
// come once, and every frame shows the desktop copy as it is then, or black.
TEST(ClockSetBack, CatsWaitAndNothingFails) {
    const double W = 117;
    const double H = 189;
    const Surface mask = SpotMask();
    GuardedSurface desktop = GuardedPattern(117, 189);
    const GuardedSurface original = desktop;
    GuardedSurface work(117, 189, kBlack);
    GuardedSurface screen(117, 189, kBlack);
    FakeBitmapLoader loader = CatLoader();
    SeededRandom random(7);
    testing_support::ScriptedClock clock(testing_support::At(2024, 1, 1, 0, 0, 59));
    testing_support::ScreenPresenter presenter(work.View(), screen.View());
    FrameLoop loop({clock, random, loader, presenter}, {desktop.View(), work.View(), mask.View()},
                   W, H, /*speed*/ 1, /*size*/ 1);
    loop.Start(Point{50, 50});

    // Each frame moves the clock on by 20 seconds from 00:00:59 on new year's day; frame 2 sets it
    // back an hour, to 23:01:39 of the year before. The clock then reaches 00:03:00 at frame 187,
    // which shows 00:03:19.
    int64_t seconds = 59;  // of the clock, from 2024-01-01 00:00:00
    int32_t stamped_at = -1;
    for (int32_t frame = 0; frame < 400; ++frame) {
        if (frame == 2) seconds -= 3600;
        const int64_t s = seconds < 0 ? seconds + 86400 : seconds;
        const int32_t year = seconds < 0 ? 2023 : 2024;
        clock.Set(testing_support::At(
            year, year == 2023 ? 12 : 1, year == 2023 ? 31 : 1, static_cast<int32_t>(s / 3600),
            static_cast<int32_t>(s / 60 % 60), static_cast<int32_t>(s % 60)));
        const bool shown_before = loop.State().blnCatsShown;
        try {
            ASSERT_EQ(loop.Timer1_Timer(Point{50, 50}), FrameLoop::Tick::Drawn) << frame;
        } catch (const RuntimeError& e) {
            FAIL() << "frame " << frame << ": " << e.what();
        }
        if (!shown_before && loop.State().blnCatsShown) stamped_at = frame;
        if (stamped_at < 0) {
            ASSERT_TRUE(desktop == original) << "a cat before its time";
        }
        for (int32_t y = 0; y < 189; ++y) {
            for (int32_t x = 0; x < 117; ++x) {
                ASSERT_TRUE(work.At(x, y) == kBlack || work.At(x, y) == desktop.At(x, y))
                    << "frame " << frame << ": pixel " << x << "," << y
                    << " shows an old desktop copy";
            }
        }
        ASSERT_EQ(work.Breach(), "");
        ASSERT_EQ(desktop.Breach(), "");
        seconds += 20;
        // Set back once more, after the cats: nothing happens again.
        if (frame == 300) seconds -= 7200;
    }
    EXPECT_EQ(stamped_at, 187);
    EXPECT_EQ(presenter.Presents(), 400);
    EXPECT_FALSE(desktop == original);
}

}  // namespace
}  // namespace gloam
