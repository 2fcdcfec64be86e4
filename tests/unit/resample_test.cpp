#include "platform/resample.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace gloam {
namespace {

constexpr uint32_t kUntouched = 0x00ABCDEF;

// Source pixels that name their own position, with the unused byte set, which must not reach the
// destination.
Surface NumberedSurface(int32_t width, int32_t height) {
    Surface surface(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            surface.View().At(x, y) = 0xFF000000u | static_cast<uint32_t>((x * 7) % 256 << 16) |
                                      static_cast<uint32_t>((y * 13) % 256 << 8) |
                                      static_cast<uint32_t>((x + y) % 256);
        }
    }
    return surface;
}

Surface Row(std::vector<uint32_t> pixels) {
    Surface surface(static_cast<int32_t>(pixels.size()), 1);
    for (size_t i = 0; i < pixels.size(); ++i) {
        surface.View().At(static_cast<int32_t>(i), 0) = pixels[i];
    }
    return surface;
}

std::vector<uint32_t> RowOf(const Surface& surface, int32_t y) {
    std::vector<uint32_t> row;
    for (int32_t x = 0; x < surface.Width(); ++x) row.push_back(surface.At(x, y));
    return row;
}

uint32_t Grey(uint32_t level) {
    return level << 16 | level << 8 | level;
}

TEST(DrawScaled, SameSizeCopiesExactlyWithoutTheUnusedByte) {
    const Surface source = NumberedSurface(37, 23);
    Surface target(37, 23, kUntouched);
    DrawScaled(target.View(), Rect{0, 0, 37, 23}, source.View());
    for (int32_t y = 0; y < 23; ++y) {
        for (int32_t x = 0; x < 37; ++x) {
            ASSERT_EQ(target.At(x, y), source.At(x, y) & 0x00FFFFFFu) << x << ", " << y;
        }
    }
}

// Flat colour in, exactly flat colour out over the place's part on the surface, and nothing
// written beside it, whatever the scale on either axis.
struct FlatCase {
    const char* name;
    int32_t source_width, source_height;
    Rect place;
};

void PrintTo(const FlatCase& c, std::ostream* out) {
    *out << c.name;
}

class FlatAreas : public testing::TestWithParam<FlatCase> {};

TEST_P(FlatAreas, StayExactlyTheirColour) {
    const FlatCase& c = GetParam();
    constexpr uint32_t kColour = 0x3C7DE1;
    const Surface source(c.source_width, c.source_height, kColour | 0xFF000000u);
    Surface target(64, 48, kUntouched);
    DrawScaled(target.View(), c.place, source.View());
    const Rect drawn = Intersect(c.place, target.View().Bounds());
    for (int32_t y = 0; y < 48; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            const bool inside =
                x >= drawn.left && x < drawn.right && y >= drawn.top && y < drawn.bottom;
            ASSERT_EQ(target.At(x, y), inside ? kColour : kUntouched) << x << ", " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, FlatAreas,
                         testing::Values(FlatCase{"ShrinkThreeTimes", 192, 144, {0, 0, 64, 48}},
                                         FlatCase{"ShrinkOddRatio", 97, 61, {3, 5, 43, 33}},
                                         FlatCase{"EnlargeOddRatio", 7, 5, {1, 2, 62, 41}},
                                         FlatCase{"WiderAndLower", 10, 400, {0, 0, 64, 48}},
                                         FlatCase{"OnePixelEverywhere", 1, 1, {0, 0, 64, 48}},
                                         FlatCase{
                                             "EverythingToOnePixel", 300, 200, {10, 10, 11, 11}},
                                         FlatCase{"CutOnEverySide", 50, 50, {-30, -40, 100, 90}},
                                         FlatCase{"CutLeftAndTop", 13, 11, {-7, -9, 20, 15}},
                                         FlatCase{"EntirelyBeside", 10, 10, {64, 0, 80, 48}},
                                         FlatCase{"NoWidth", 10, 10, {5, 5, 5, 20}}),
                         gloam_tests::ByName());

TEST(DrawScaled, ShrinkingByTwoAveragesEachBlockOfFour) {
    const Surface source = NumberedSurface(40, 30);
    Surface target(20, 15);
    DrawScaled(target.View(), Rect{0, 0, 20, 15}, source.View());
    for (int32_t y = 0; y < 15; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            uint32_t expected = 0;
            for (int shift : {16, 8, 0}) {
                uint32_t sum = 0;
                for (int32_t dy = 0; dy < 2; ++dy) {
                    for (int32_t dx = 0; dx < 2; ++dx) {
                        sum += source.At(2 * x + dx, 2 * y + dy) >> shift & 0xFFu;
                    }
                }
                expected |= ((sum + 2) / 4) << shift;  // the average, halves up
            }
            ASSERT_EQ(target.At(x, y), expected) << x << ", " << y;
        }
    }
}

// A destination pixel covering one and a half source pixels weighs them 2 to 1.
TEST(DrawScaled, ShrinkingWeighsWhatEachSourcePixelShares) {
    const Surface source = Row({Grey(0), Grey(90), Grey(210)});
    Surface target(2, 1);
    DrawScaled(target.View(), Rect{0, 0, 2, 1}, source.View());
    EXPECT_EQ(RowOf(target, 0), (std::vector<uint32_t>{Grey(30), Grey(170)}));
}

// Enlarging blends the two source pixels nearest to each destination pixel's centre; beyond the
// outer centres the edge pixels continue.
TEST(DrawScaled, EnlargingBlendsLinearlyBetweenCentres) {
    struct Case {
        std::vector<uint32_t> source;
        int32_t width;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {{Grey(0), Grey(200)}, 4, {Grey(0), Grey(50), Grey(150), Grey(200)}},
        {{Grey(0), Grey(240)}, 6, {Grey(0), Grey(0), Grey(80), Grey(160), Grey(240), Grey(240)}},
        {{Grey(100)}, 3, {Grey(100), Grey(100), Grey(100)}},
        {{0xFF0000, 0x0000FF}, 4, {0xFF0000, 0xBF0040, 0x4000BF, 0x0000FF}},
    };
    for (const Case& c : cases) {
        const Surface source = Row(c.source);
        Surface target(c.width, 1);
        DrawScaled(target.View(), Rect{0, 0, c.width, 1}, source.View());
        EXPECT_EQ(RowOf(target, 0), c.expected) << c.source.size() << " to " << c.width;
    }
}

// A hard edge enlarged eight times becomes a ramp, not two blocks.
TEST(DrawScaled, EnlargingMakesNoBlocks) {
    const Surface source = Row({Grey(0), Grey(255)});
    Surface target(16, 1);
    DrawScaled(target.View(), Rect{0, 0, 16, 1}, source.View());
    const std::vector<uint32_t> row = RowOf(target, 0);
    EXPECT_EQ(std::set<uint32_t>(row.begin(), row.end()).size(), 10u);
    for (size_t i = 1; i < row.size(); ++i) EXPECT_GE(row[i], row[i - 1]) << i;
}

// Shrinking keeps the picture's mean: no area counts twice or is left out.
TEST(DrawScaled, ShrinkingKeepsTheMean) {
    const Surface source = NumberedSurface(91, 67);
    Surface target(13, 9);
    DrawScaled(target.View(), Rect{0, 0, 13, 9}, source.View());
    const auto mean = [](const Surface& s, int shift) {
        double sum = 0;
        for (int32_t y = 0; y < s.Height(); ++y) {
            for (int32_t x = 0; x < s.Width(); ++x) sum += s.At(x, y) >> shift & 0xFFu;
        }
        return sum / (s.Width() * s.Height());
    };
    for (int shift : {16, 8, 0}) EXPECT_NEAR(mean(target, shift), mean(source, shift), 0.5);
}

// Drawing a place that runs off the surface writes exactly what drawing it on a surface large
// enough would put there, and reads only the source pixels that reach the surface.
struct CutCase {
    const char* name;
    int32_t source_width, source_height;
    Rect place;
    Rect source_area;
};

// The picture's size and where it goes, which is what a failure needs.
void PrintTo(const CutCase& c, std::ostream* out) {
    *out << c.source_width << " x " << c.source_height << " at ";
    PrintTo(c.place, out);
}

class CutPlaces : public testing::TestWithParam<CutCase> {};

TEST_P(CutPlaces, MatchTheWholeDrawing) {
    const CutCase& c = GetParam();
    const Surface source = NumberedSurface(c.source_width, c.source_height);
    constexpr int32_t kMargin = 200;
    Surface whole(48 + 2 * kMargin, 32 + 2 * kMargin);
    DrawScaled(whole.View(),
               Rect{c.place.left + kMargin, c.place.top + kMargin, c.place.right + kMargin,
                    c.place.bottom + kMargin},
               source.View());

    Surface target(48, 32, kUntouched);
    ScaledDraw draw(target.View(), c.place, c.source_width, c.source_height);
    EXPECT_EQ(draw.SourceArea(), c.source_area);
    // Only the rows of the source area are pushed, only its columns read.
    const Rect area = draw.SourceArea();
    std::vector<uint32_t> row(static_cast<size_t>(area.Width()));
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            row[static_cast<size_t>(x - area.left)] = source.At(x, y);
        }
        EXPECT_FALSE(draw.Done());
        draw.PushRow(row.data());
    }
    EXPECT_TRUE(draw.Done());
    const Rect drawn = Intersect(c.place, target.View().Bounds());
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 48; ++x) {
            const bool inside =
                x >= drawn.left && x < drawn.right && y >= drawn.top && y < drawn.bottom;
            ASSERT_EQ(target.At(x, y), inside ? whole.At(x + kMargin, y + kMargin) : kUntouched)
                << x << ", " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, CutPlaces,
    testing::Values(
        // At its own size, the middle of a larger picture: exactly the pixels shown.
        CutCase{"CentredLarger", 100, 60, {-26, -14, 74, 46}, {26, 14, 74, 46}},
        // Doubled and cut: the source pixels blended into the part shown.
        CutCase{"EnlargedCut", 40, 30, {-30, -20, 50, 40}, {14, 9, 40, 27}},
        // Halved and cut on the right: whole pairs of columns.
        CutCase{"ShrunkCut", 160, 40, {0, 6, 80, 26}, {0, 0, 96, 40}},
        CutCase{"Inside", 7, 9, {5, 5, 40, 30}, {0, 0, 7, 9}},
        CutCase{"Beside", 7, 9, {48, 0, 60, 32}, {0, 0, 0, 0}}),
    gloam_tests::ByName());

// For every pair of lengths up to 40 (and a few far apart): each destination pixel's weights add
// up to one, lie on the source and move on as the destination does.
TEST(AxisTaps, AddUpToOneAndStayOnTheSource) {
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (int32_t length = 1; length <= 40; ++length) {
        for (int32_t source = 1; source <= 40; ++source) pairs.emplace_back(length, source);
    }
    pairs.insert(pairs.end(), {{1, 16384}, {16384, 1}, {1920, 16384}, {3840, 7}, {3, 16383}});
    for (const auto& [length, source] : pairs) {
        const ScaledDraw::Taps taps = ScaledDraw::AxisTaps(0, length, length, source);
        ASSERT_EQ(taps.Count(), length);
        int32_t previous_start = 0;
        for (int32_t i = 0; i < taps.Count(); ++i) {
            const auto I = static_cast<size_t>(i);
            uint32_t sum = 0;
            for (uint32_t t = taps.offset[I]; t < taps.offset[I + 1]; ++t) sum += taps.weights[t];
            ASSERT_EQ(sum, 16384u) << length << " from " << source << ", pixel " << i;
            ASSERT_GE(taps.start[I], previous_start) << length << " from " << source;
            ASSERT_GE(taps.TapCount(i), 1);
            ASSERT_LE(taps.start[I] + taps.TapCount(i), source) << length << " from " << source;
            previous_start = taps.start[I];
        }
    }
}

TEST(AxisTaps, OnlyForTheCoordinatesOnTheSurface) {
    struct Case {
        int32_t place_start, length, dst_length;
        int32_t first_out, count;
    };
    const Case cases[] = {
        {0, 10, 10, 0, 10},  {-3, 10, 10, 0, 7}, {4, 10, 10, 4, 6},
        {-20, 10, 10, 0, 0}, {10, 10, 10, 0, 0}, {-5, 30, 10, 0, 10},
    };
    for (const Case& c : cases) {
        const ScaledDraw::Taps taps =
            ScaledDraw::AxisTaps(c.place_start, c.length, c.dst_length, 7);
        EXPECT_EQ(taps.Count(), c.count) << c.place_start << " + " << c.length;
        if (c.count > 0) {
            EXPECT_EQ(taps.first_out, c.first_out) << c.place_start;
        }
    }
}

}  // namespace
}  // namespace gloam
