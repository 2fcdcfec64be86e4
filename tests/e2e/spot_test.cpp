// The light spot as a user sees it: a black screen with one disc through which the desktop that was
// on the screen at the start shows at its own place, sweeping from edge to edge.
//
// The screen shows the test's position-coded pattern when "/S" starts, and the pattern window
// stays open under the display window for the whole run.
#include <cmath>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "harness.h"
#include "pattern.h"
#include "tests/reference.h"

namespace e2e {
namespace {

constexpr int kNormalSpot = 300;

// To the nearest integer, halves to the even neighbour (tests/reference.h).
int Nearest(double v) {
    return gloam_tests::reference::Nearest(v).value();
}

// Corner of frame `k` of a sweep of `frames` frames from `from` to `to` (one coordinate).
int SweepCoordinate(int k, int frames, int from, int to) {
    return Nearest(static_cast<double>(k) / frames * (to - from) + from);
}

using SpotTest = PatternDisplayTest;

std::string Describe(const gloam::Rect& b) {
    std::ostringstream out;
    out << "[" << b.left << ".." << b.right << ") x [" << b.top << ".." << b.bottom << ")";
    return out.str();
}

// ---- the normal spot, pixel by pixel ------------------------------------------------------------

TEST_F(SpotTest, NormalSpotShowsTheCapturedDesktopThroughTheMaskAndNothingElse) {
    const std::optional<SpotMask> mask = LoadSpotMask();
    ASSERT_TRUE(mask.has_value()) << "no 24-bit square spot mask among the .scr's bitmaps";
    ASSERT_EQ(mask->size, kNormalSpot);
    const gloam::Rect disc = mask->Disc();
    ASSERT_EQ(disc.Width(), 287);
    ASSERT_EQ(disc.Height(), 288);
    int whiteCount = 0;
    for (bool w : mask->white) whiteCount += w ? 1 : 0;

    ASSERT_NO_FATAL_FAILURE(StartDisplayOverPattern(L"1", L"1"));
    const ScreenSize screen = PrimaryScreen();

    constexpr int kFrames = 12;
    int checked = 0;
    std::set<std::pair<int, int>> corners;
    bool done = SampleFrames(
        [&](const TimedShot& frame) {
            const Surface& shot = frame.shot;
            const FrameScan scan = ScanFrame(shot);
            if (scan.lit == 0) return false;  // before the first tick
            ++checked;
            EXPECT_EQ(scan.mismatched, 0)
                << "lit pixels that are not the desktop's:" << scan.examples;
            EXPECT_EQ(scan.bounds.Width(), disc.Width()) << Describe(scan.bounds);
            EXPECT_EQ(scan.bounds.Height(), disc.Height()) << Describe(scan.bounds);
            EXPECT_EQ(scan.lit, whiteCount) << "lit pixels in a frame";
            const int cx = scan.bounds.left - disc.left;
            const int cy = scan.bounds.top - disc.top;
            corners.insert({cx, cy});
            EXPECT_GE(cx, 0);
            EXPECT_LE(cx, screen.width - kNormalSpot);
            EXPECT_GE(cy, 0);
            EXPECT_LE(cy, screen.height - kNormalSpot);
            // Inside the square the lit pixels are exactly the mask's white ones; the bounding
            // box above already keeps every lit pixel inside the square.
            int wrongShape = 0;
            for (int y = 0; y < kNormalSpot; ++y) {
                for (int x = 0; x < kNormalSpot; ++x) {
                    const int sx = cx + x, sy = cy + y;
                    if (sx < 0 || sy < 0 || sx >= shot.Width() || sy >= shot.Height()) continue;
                    if ((shot.At(sx, sy) != 0) != mask->at(x, y)) ++wrongShape;
                }
            }
            EXPECT_EQ(wrongShape, 0) << "pixels of the square at (" << cx << ", " << cy
                                     << ") whose light differs from the mask";
            return checked >= kFrames || HasFailure();
        },
        10s);
    EXPECT_TRUE(done) << "only " << checked << " frames with a spot in 10 s";
    EXPECT_GE(corners.size(), 2u) << "the spot did not move between frames";
    EXPECT_TRUE(scr_->Running());
}

// ---- the three sizes ----------------------------------------------------------------------------

struct SizeCase {
    const wchar_t* setting;
    int spot;  // side of the spot's square in pixels
};

void PrintTo(const SizeCase& c, std::ostream* out) {
    *out << "Size \"" << Narrow(c.setting) << "\"";
}

class SpotSize : public SpotTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SpotSize, DiscSpansTheChosenSize) {
    const SizeCase c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartDisplayOverPattern(L"1", c.setting));
    const ScreenSize screen = PrimaryScreen();
    // The mask's disc is 287 x 288 of its 300 x 300 square; stretching keeps that share, give or
    // take the rounding at each edge.
    const double wide = 287.0 * c.spot / kNormalSpot;
    const double high = 288.0 * c.spot / kNormalSpot;
    constexpr double kEdge = 3.0;

    int checked = 0;
    bool done = SampleFrames(
        [&](const TimedShot& frame) {
            const FrameScan scan = ScanFrame(frame.shot);
            if (scan.lit == 0) return false;
            ++checked;
            const gloam::Rect& b = scan.bounds;
            EXPECT_EQ(scan.mismatched, 0)
                << "lit pixels that are not the desktop's:" << scan.examples;
            EXPECT_NEAR(b.Width(), wide, kEdge) << Describe(b);
            EXPECT_NEAR(b.Height(), high, kEdge) << Describe(b);
            // A disc fills pi/4 of its box; a square or a ring would not.
            const double fill = static_cast<double>(scan.lit) / (b.Width() * b.Height());
            EXPECT_NEAR(fill, 3.14159265 / 4, 0.01) << "share of the box that is lit";
            // The square lies on the screen, so the disc keeps its margin from every edge.
            const double margin = (c.spot - wide) / 2;
            EXPECT_GE(b.left, margin - kEdge);
            EXPECT_LE(b.right, screen.width - margin + kEdge);
            EXPECT_GE(b.top, (c.spot - high) / 2 - kEdge);
            EXPECT_LE(b.bottom, screen.height - (c.spot - high) / 2 + kEdge);
            return checked >= 8 || HasFailure();
        },
        10s);
    EXPECT_TRUE(done) << "only " << checked << " frames with a spot in 10 s";
}

INSTANTIATE_TEST_SUITE_P(Spot, SpotSize,
                         ::testing::Values(SizeCase{L"0", 200}, SizeCase{L"1", 300},
                                           SizeCase{L"2", 400}),
                         [](const ::testing::TestParamInfo<SizeCase>& p) {
                             return "size" + std::to_string(p.param.spot);
                         });

// ---- motion -------------------------------------------------------------------------------------

struct Seen {
    int x;
    int y;
};

// The corner of the normal spot's square in a frame, or nullopt when the frame shows no spot.
std::optional<Seen> NormalSpotCorner(const Surface& shot) {
    const FrameScan scan = ScanFrame(shot);
    if (scan.lit == 0) return std::nullopt;
    EXPECT_EQ(scan.mismatched, 0);
    EXPECT_EQ(scan.bounds.Width(), 287) << Describe(scan.bounds);
    EXPECT_EQ(scan.bounds.Height(), 288) << Describe(scan.bounds);
    return Seen{scan.bounds.left - 6, scan.bounds.top - 6};
}

// First sweep, normal speed (100 frames) at 1024 x 768: it starts at (0, 234), where the spot
// rests vertically centred at the left edge, and runs right to x = 724 at one random height, frame
// k at x = nearest(7.24 k). Every frame seen must be one of those, on one straight line.
TEST_F(SpotTest, FirstSweepRunsRightFromTheLeftEdgeAlongOneLine) {
    const ScreenSize screen = PrimaryScreen();
    ASSERT_EQ(screen.width, 1024);
    ASSERT_EQ(screen.height, 768);
    constexpr int kFrames = 100, kFromY = 234, kToX = 724, kMaxY = 468;

    ASSERT_NO_FATAL_FAILURE(StartDisplayOverPattern(L"1", L"1"));
    std::vector<Seen> seen;
    // Up to frame 50 (x = 362): the second sweep starts at x = 724, so nothing seen before that
    // can belong to it.
    bool halfway = SampleFrames(
        [&](const TimedShot& frame) {
            std::optional<Seen> at = NormalSpotCorner(frame.shot);
            if (!at) return false;
            if (seen.empty() || seen.back().x != at->x || seen.back().y != at->y) {
                seen.push_back(*at);
            }
            return at->x >= 362 || HasFailure();
        },
        15s);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(halfway) << "the spot did not get half way across in 15 s";
    ASSERT_GE(seen.size(), 5u) << "too few distinct frames seen";

    std::vector<int> steps;
    for (const Seen& s : seen) {
        int k = -1;
        for (int i = 0; i < kFrames; ++i) {
            if (SweepCoordinate(i, kFrames, 0, kToX) == s.x) k = i;
        }
        ASSERT_NE(k, -1) << "x = " << s.x << " is no frame of a sweep from 0 to " << kToX;
        if (!steps.empty()) {
            EXPECT_GT(k, steps.back()) << "the spot went back to the left at x = " << s.x;
        }
        steps.push_back(k);
    }
    EXPECT_LE(steps.front(), 20) << "the first frame seen is already far from the left edge";

    // One target height must explain every height seen.
    std::vector<int> targets;
    for (int to = 0; to <= kMaxY; ++to) {
        bool fits = true;
        for (size_t i = 0; i < seen.size() && fits; ++i) {
            fits = SweepCoordinate(steps[i], kFrames, kFromY, to) == seen[i].y;
        }
        if (fits) targets.push_back(to);
    }
    std::ostringstream path;
    for (const Seen& s : seen) path << " (" << s.x << ", " << s.y << ")";
    EXPECT_FALSE(targets.empty()) << "no straight sweep from (0, " << kFromY
                                  << ") to a height in 0.." << kMaxY << " passes" << path.str();
}

// Fast speed (50 frames a sweep): the spot's square reaches the right edge of the screen, flush
// with it, and comes back to the left edge; every frame lies on a sweep of 50 frames.
TEST_F(SpotTest, FastSpotReachesTheRightEdgeAndComesBack) {
    const ScreenSize screen = PrimaryScreen();
    const int rightmost = screen.width - kNormalSpot;
    const int lowest = screen.height - kNormalSpot;
    constexpr int kFrames = 50;
    std::set<int> frameXs;
    for (int k = 0; k < kFrames; ++k) {
        frameXs.insert(SweepCoordinate(k, kFrames, 0, rightmost));
        frameXs.insert(SweepCoordinate(k, kFrames, rightmost, 0));
    }

    ASSERT_NO_FATAL_FAILURE(StartDisplayOverPattern(L"2", L"1"));
    bool atRight = false, backAtLeft = false;
    int frames = 0, minX = screen.width, maxX = -1;
    bool both = SampleFrames(
        [&](const TimedShot& frame) {
            std::optional<Seen> at = NormalSpotCorner(frame.shot);
            if (!at) return false;
            ++frames;
            minX = std::min(minX, at->x);
            maxX = std::max(maxX, at->x);
            EXPECT_TRUE(frameXs.count(at->x))
                << "x = " << at->x << " is no frame of a 50-frame sweep";
            EXPECT_GE(at->x, 0);
            EXPECT_LE(at->x, rightmost);
            EXPECT_GE(at->y, 0);
            EXPECT_LE(at->y, lowest);
            if (at->x == rightmost) atRight = true;
            if (atRight && at->x == 0) backAtLeft = true;
            return backAtLeft || HasFailure();
        },
        40s);
    EXPECT_TRUE(both) << "in 40 s and " << frames << " frames: right edge "
                      << (atRight ? "" : "not ") << "reached, x seen from " << minX << " to "
                      << maxX;
    EXPECT_TRUE(scr_->Running());
}

}  // namespace
}  // namespace e2e
