#include "display/cover_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace gloam {
namespace {

constexpr Rect kPrimary{0, 0, 1024, 768};

struct LayoutCase {
    const char* name;
    std::vector<Rect> monitors;
    Rect display;
    std::vector<Rect> covers;
};

class CoverRectsTest : public testing::TestWithParam<LayoutCase> {};

// Every pixel of every monitor is covered exactly once, by the display or by one cover, and no
// cover reaches outside the monitors.
void ExpectEveryMonitorPixelCoveredOnce(const LayoutCase& c, const std::vector<Rect>& covers) {
    Rect all{};
    for (const Rect& m : c.monitors) all = Union(all, m);
    for (int32_t y = all.top; y < all.bottom; y += 7) {
        for (int32_t x = all.left; x < all.right; x += 7) {
            const auto inside = [x, y](const Rect& r) {
                return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            };
            const bool on_monitor = std::any_of(c.monitors.begin(), c.monitors.end(), inside);
            const auto count =
                std::count_if(covers.begin(), covers.end(), inside) + (inside(c.display) ? 1 : 0);
            if (on_monitor) {
                ASSERT_EQ(count, 1) << "(" << x << ", " << y << ")";
            } else {
                ASSERT_FALSE(std::any_of(covers.begin(), covers.end(), inside))
                    << "a cover over (" << x << ", " << y << "), where no monitor is";
            }
        }
    }
}

TEST_P(CoverRectsTest, CoverWhatTheDisplayLeavesOfEachMonitor) {
    const LayoutCase& c = GetParam();
    const std::vector<Rect> covers = CoverRects(c.monitors, c.display);
    EXPECT_EQ(covers, c.covers);
    ExpectEveryMonitorPixelCoveredOnce(c, covers);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CoverRectsTest,
    testing::Values(
        LayoutCase{"PrimaryAlone", {kPrimary}, kPrimary, {}},
        // 800x600 left of the primary, 1280x720 right of it.
        LayoutCase{"ThreeInARow",
                   {kPrimary, {-800, 0, 0, 600}, {1024, 0, 2304, 720}},
                   kPrimary,
                   {{-800, 0, 0, 600}, {1024, 0, 2304, 720}}},
        // Above, below and apart from the primary, with gaps between them.
        LayoutCase{"AboveBelowAndAGap",
                   {{0, -600, 800, 0}, kPrimary, {100, 768, 740, 1248}, {1200, 200, 2000, 800}},
                   kPrimary,
                   {{0, -600, 800, 0}, {100, 768, 740, 1248}, {1200, 200, 2000, 800}}},
        // The primary grew after the display sized itself: the strips right of and below it.
        LayoutCase{"PrimaryGrewUnderTheDisplay",
                   {{0, 0, 1280, 1024}},
                   kPrimary,
                   {{0, 768, 1280, 1024}, {1024, 0, 1280, 768}}},
        // The primary shrank: the display covers more than the monitor, nothing is left.
        LayoutCase{"PrimaryShrankUnderTheDisplay", {{0, 0, 800, 600}}, kPrimary, {}},
        // A monitor that mirrors another needs no second cover.
        LayoutCase{"MirroredMonitors",
                   {kPrimary, {1024, 0, 1824, 600}, {1024, 0, 1824, 600}},
                   kPrimary,
                   {{1024, 0, 1824, 600}}},
        // Overlapping the display's right part: only what lies beyond it, in one band.
        LayoutCase{"OverlapsTheDisplay",
                   {kPrimary, {900, 100, 1500, 500}},
                   kPrimary,
                   {{1024, 100, 1500, 500}}},
        LayoutCase{"EmptyMonitorIgnored", {kPrimary, {5, 5, 5, 900}}, kPrimary, {}},
        LayoutCase{"NoMonitors", {}, kPrimary, {}}),
    [](const testing::TestParamInfo<LayoutCase>& param) { return param.param.name; });

TEST(CoverNeedsPuttingBack, OnlyWhenMovedHiddenOrRisenAbove) {
    constexpr Rect kArea{1024, 0, 2048, 768};
    struct Case {
        const char* name;
        Rect actual;
        bool visible;
        std::vector<Rect> others_above;
        bool expected;
    };
    const Case cases[] = {
        {"InPlace", kArea, true, {}, false},
        {"Moved", {1024, 100, 2048, 868}, true, {}, true},
        {"Shrunk", {1024, 0, 2047, 768}, true, {}, true},
        {"Hidden", kArea, false, {}, true},
        {"WindowAboveOverIt", kArea, true, {{1500, 300, 1700, 400}}, true},
        {"WindowAboveOverOneCornerPixel", kArea, true, {{2047, 767, 2100, 800}}, true},
        {"WindowAboveBesideIt", kArea, true, {{0, 0, 1024, 768}}, false},
        {"WindowAboveBelowIt", kArea, true, {{1024, 768, 2048, 900}}, false},
        {"EmptyWindowAbove", kArea, true, {{1500, 300, 1500, 400}}, false},
        {"SeveralAboveOneOverIt", kArea, true, {{0, 0, 10, 10}, {2000, 700, 2100, 800}}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CoverNeedsPuttingBack(kArea, c.actual, c.visible, c.others_above), c.expected)
            << c.name;
    }
}

}  // namespace
}  // namespace gloam
