#include "display/spot_path.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/error.h"
#include "platform/numeric.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::kAlmostOne;
using testing_support::ScriptedRandom;

DisplayState LoadedState(int32_t steps, int32_t size, double H) {
    DisplayState state;
    state.lngStepsPerSweep = steps;
    state.lngSpotSize = size;
    ResetSpot(state, H);
    return state;
}

TEST(StartCorner, LeftEdgeCentredVertically) {
    struct Case {
        double H;
        int32_t size;
        int32_t y;
    };
    const Case cases[] = {
        {768, 300, 234},  {1025, 200, 412}, {480, 400, 40},   {768, 200, 284},
        {1080, 400, 340}, {2160, 400, 880}, {1023, 300, 362}, {300, 400, -50},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartCorner(c.H, c.size), (Point{0, c.y})) << c.H << " " << c.size;
    }
}

TEST(ResetSpot, WaitsAtTheStartCornerWithTheSweepDone) {
    const DisplayState state = LoadedState(100, 300, 768);
    EXPECT_EQ(state.ptFrom, (Point{0, 234}));
    EXPECT_EQ(state.ptTo, (Point{0, 234}));
    EXPECT_EQ(state.lngStep, 100);
}

TEST(AdvanceSpot, FirstRoundTripOn1024x768WithThe300Spot) {
    DisplayState state = LoadedState(100, 300, 768);
    ScriptedRandom random({0.5f, 0.25f, 0.75f});
    std::vector<Point> frames;
    for (int i = 0; i < 201; ++i) frames.push_back(AdvanceSpot(state, 1024, 768, random));

    // Sweep 1: from the start corner to x = 724 at height 468 * 0.5.
    EXPECT_EQ(frames[0], (Point{0, 234}));
    EXPECT_EQ(frames[1].x, 7);
    EXPECT_EQ(frames[50], (Point{362, 234}));
    EXPECT_EQ(frames[99].x, 717);
    for (int k = 0; k < 100; ++k) ASSERT_EQ(frames[k].y, 234) << k;
    // Sweep 2 starts exactly where sweep 1 was heading and goes back to x = 0 at 468 * 0.25.
    EXPECT_EQ(frames[100], (Point{724, 234}));
    EXPECT_EQ(frames[101], (Point{717, 233}));  // 724 - 7.24; 234 - 1.17
    EXPECT_EQ(frames[150], (Point{362, 176}));  // 234 - 117 / 2 = 175.5, to even
    EXPECT_EQ(frames[199], (Point{7, 118}));
    // Sweep 3 goes right again.
    EXPECT_EQ(frames[200], (Point{0, 117}));
    EXPECT_EQ(state.ptTo, (Point{724, 351}));
    EXPECT_EQ(random.Draws(), 3u);
    EXPECT_EQ(state.lngStep, 0);
}

TEST(AdvanceSpot, EveryFrameOfASweepAtTheSteadySpeed) {
    DisplayState state = LoadedState(100, 300, 768);
    ScriptedRandom random({0.0f});
    for (int32_t k = 0; k < 100; ++k) {
        const Point at = AdvanceSpot(state, 1024, 768, random);
        EXPECT_EQ(at.x, Nearest(7.24 * k)) << k;
        EXPECT_EQ(state.lngStep, k);
    }
}

TEST(AdvanceSpot, SlowSpeedTakesSmallerSteps) {
    DisplayState state = LoadedState(150, 300, 768);
    ScriptedRandom random({0.5f, 0.5f});
    EXPECT_EQ(AdvanceSpot(state, 1024, 768, random).x, 0);
    EXPECT_EQ(AdvanceSpot(state, 1024, 768, random).x, 5);
    for (int k = 2; k < 150; ++k) AdvanceSpot(state, 1024, 768, random);
    EXPECT_EQ(AdvanceSpot(state, 1024, 768, random).x, 724);
    EXPECT_EQ(random.Draws(), 2u);
}

TEST(AdvanceSpot, TargetHeightsSpanTheScreen) {
    struct Case {
        double W, H;
        int32_t size;
        float r;
        Point target;
    };
    const Case cases[] = {
        {1024, 768, 300, 0.0f, {724, 0}},
        {1024, 768, 300, kAlmostOne, {724, 468}},
        {1024, 768, 300, 0.5f, {724, 234}},
        {640, 480, 400, 0.0f, {240, 0}},
        {640, 480, 400, kAlmostOne, {240, 80}},
        {640, 480, 400, 0.3f, {240, 24}},
        {3840, 2160, 200, 0.75f, {3640, 1470}},
        {3840, 2160, 200, kAlmostOne, {3640, 1960}},
        // Lower than the spot: the heights lie between H - size and 0.
        {640, 300, 400, 0.0f, {240, 0}},
        {640, 300, 400, 0.5f, {240, -50}},
        {640, 300, 400, kAlmostOne, {240, -100}},
        // Narrower than the spot: the far edge is left of the screen.
        {150, 120, 200, 0.5f, {-50, -40}},
        // Exactly as wide as the spot: the sweep stays at x = 0.
        {300, 768, 300, 0.5f, {0, 234}},
    };
    for (const Case& c : cases) {
        DisplayState state = LoadedState(50, c.size, c.H);
        ScriptedRandom random({c.r});
        AdvanceSpot(state, c.W, c.H, random);
        EXPECT_EQ(state.ptTo, c.target) << c.W << "x" << c.H << " size " << c.size << " r " << c.r;
    }
}

TEST(AdvanceSpot, StaysOnAScreenAtLeastAsLargeAsTheSpot) {
    struct Case {
        double W, H;
        int32_t size;
    };
    for (const Case c :
         {Case{1024, 768, 300}, Case{640, 480, 400}, Case{400, 400, 400}, Case{3840, 2160, 200}}) {
        DisplayState state = LoadedState(50, c.size, c.H);
        SeededRandom random(7);
        int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
        for (int i = 0; i < 50 * 40; ++i) {
            const Point at = AdvanceSpot(state, c.W, c.H, random);
            left = std::min(left, at.x);
            right = std::max(right, at.x);
            top = std::min(top, at.y);
            bottom = std::max(bottom, at.y);
        }
        const int32_t max_x = static_cast<int32_t>(c.W) - c.size;
        const int32_t max_y = static_cast<int32_t>(c.H) - c.size;
        EXPECT_EQ(left, 0) << c.W << "x" << c.H;
        EXPECT_EQ(right, max_x) << c.W << "x" << c.H;
        EXPECT_GE(top, 0) << c.W << "x" << c.H;
        EXPECT_LE(bottom, max_y) << c.W << "x" << c.H;
    }
}

TEST(AdvanceSpot, ScreenAsWideAsTheSpotOnlyChangesHeight) {
    DisplayState state = LoadedState(50, 300, 768);
    ScriptedRandom random({0.0f, kAlmostOne, 0.5f});
    for (int i = 0; i < 150; ++i) {
        const Point at = AdvanceSpot(state, 300, 768, random);
        ASSERT_EQ(at.x, 0) << i;
        if (i == 49) {
            EXPECT_EQ(at.y, 5);  // from 234 down to 0: one step short
        }
        if (i == 99) {
            EXPECT_EQ(at.y, 459);  // from 0 to 468
        }
    }
    EXPECT_EQ(random.Draws(), 3u);
}

TEST(AdvanceSpot, ScreenSmallerThanTheSpotHangsOff) {
    DisplayState state = LoadedState(50, 400, 300);
    EXPECT_EQ(state.ptFrom, (Point{0, -50}));
    ScriptedRandom random({kAlmostOne, 0.0f});
    EXPECT_EQ(AdvanceSpot(state, 250, 300, random), (Point{0, -50}));
    EXPECT_EQ(state.ptTo, (Point{-150, -100}));
    for (int i = 1; i < 50; ++i) AdvanceSpot(state, 250, 300, random);
    // The second sweep starts off the left edge and comes back to 0, because only x = 0 turns
    // a sweep to the right.
    EXPECT_EQ(AdvanceSpot(state, 250, 300, random), (Point{-150, -100}));
    EXPECT_EQ(state.ptTo, (Point{0, 0}));
}

TEST(AdvanceSpot, ADistanceBeyondThirtyTwoBitsIsAnError) {
    DisplayState state;
    state.lngStepsPerSweep = 10;
    state.lngSpotSize = 300;
    state.lngStep = 10;
    // The next sweep goes from far left back to 0: the difference does not fit.
    state.ptTo = Point{-2147483647 - 1, 0};
    ScriptedRandom random({0.5f});
    EXPECT_THROW(AdvanceSpot(state, 1024, 768, random), RuntimeError);
}

}  // namespace
}  // namespace gloam
