#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

#include "test_support.h"

namespace gloam {
namespace {

using testing_support::ByName;
using testing_support::PatternSurface;
using testing_support::SpotMask;

// Source pixels that name their own position, so a transfer from the wrong place shows.
Surface NumberedSurface(int32_t width, int32_t height) {
    Surface surface(width, height);
    PixelView view = surface.View();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            view.At(x, y) = 0x00A00000u | static_cast<uint32_t>(y << 8) | static_cast<uint32_t>(x);
        }
    }
    return surface;
}

uint32_t Apply(Rop rop, uint32_t destination, uint32_t source) {
    switch (rop) {
        case Rop::Copy:
            return source;
        case Rop::And:
            return destination & source;
        case Rop::Paint:
            return destination | source;
    }
    return 0;
}

// What a block transfer must do, pixel by pixel: each destination pixel inside the block takes
// part when both it and its source pixel lie on their surfaces.
Surface ReferenceBlt(const Surface& before, int32_t x, int32_t y, int32_t w, int32_t h,
                     const Surface& src, int32_t sx, int32_t sy, Rop rop) {
    Surface after = before;
    PixelView out = after.View();
    for (int32_t dy = 0; dy < before.Height(); ++dy) {
        for (int32_t dx = 0; dx < before.Width(); ++dx) {
            const int64_t i = static_cast<int64_t>(dx) - x;
            const int64_t j = static_cast<int64_t>(dy) - y;
            if (i < 0 || i >= w || j < 0 || j >= h) continue;
            const int64_t src_x = sx + i;
            const int64_t src_y = sy + j;
            if (src_x < 0 || src_x >= src.Width() || src_y < 0 || src_y >= src.Height()) continue;
            out.At(dx, dy) =
                Apply(rop, before.At(dx, dy),
                      src.At(static_cast<int32_t>(src_x), static_cast<int32_t>(src_y)));
        }
    }
    return after;
}

TEST(BitBlt, WorksOnEveryChannel) {
    struct Case {
        Rop rop;
        uint32_t destination;
        uint32_t source;
        uint32_t expected;
    };
    const Case cases[] = {
        {Rop::Copy, 0x123456, 0xABCDEF, 0xABCDEF},  {Rop::And, 0xFF8001, 0x0F0F0F, 0x0F0001},
        {Rop::And, 0x123456, 0xFFFFFF, 0x123456},   {Rop::And, 0x123456, 0x000000, 0x000000},
        {Rop::And, 0xF0F0F0, 0x3C3C3C, 0x303030},   {Rop::Paint, 0xFF8001, 0x0F0F0F, 0xFF8F0F},
        {Rop::Paint, 0x123456, 0x000000, 0x123456}, {Rop::Paint, 0x123456, 0xFFFFFF, 0xFFFFFF},
        {Rop::Paint, 0x010203, 0x804020, 0x814223},
    };
    for (const Case& c : cases) {
        Surface dst(1, 1, c.destination);
        const Surface src(1, 1, c.source);
        BitBlt(dst.View(), 0, 0, 1, 1, src.View(), 0, 0, c.rop);
        EXPECT_EQ(dst.At(0, 0), c.expected) << std::hex << c.destination << " op " << c.source;
    }
}

TEST(BitBlt, MovesPixelsToTheirPlaces) {
    Surface dst(4, 3, kBlack);
    const Surface src = NumberedSurface(3, 3);
    BitBlt(dst.View(), 2, -1, 3, 3, src.View(), 0, 0, Rop::Copy);
    const uint32_t expected[3][4] = {
        {0, 0, src.At(0, 1), src.At(1, 1)}, {0, 0, src.At(0, 2), src.At(1, 2)}, {0, 0, 0, 0}};
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(dst.At(x, y), expected[y][x]) << x << "," << y;
    }
}

struct ClipCase {
    const char* name;
    int32_t x, y, w, h, sx, sy;
};

class BitBltClipTest : public testing::TestWithParam<ClipCase> {};

TEST_P(BitBltClipTest, TransfersExactlyTheVisiblePart) {
    const ClipCase& c = GetParam();
    const Surface src = NumberedSurface(10, 8);
    for (const Rop rop : {Rop::Copy, Rop::And, Rop::Paint}) {
        Surface dst = PatternSurface(16, 12);
        const Surface expected = ReferenceBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, rop);
        BitBlt(dst.View(), c.x, c.y, c.w, c.h, src.View(), c.sx, c.sy, rop);
        EXPECT_TRUE(dst == expected) << c.name << " rop " << static_cast<int>(rop);
    }
}

constexpr int32_t kMax = INT32_MAX;
constexpr int32_t kMin = INT32_MIN;

INSTANTIATE_TEST_SUITE_P(
    Edges, BitBltClipTest,
    testing::Values(
        ClipCase{"inside", 3, 2, 5, 4, 1, 1}, ClipCase{"off the left edge", -3, 2, 6, 4, 0, 0},
        ClipCase{"off the right edge", 13, 2, 6, 4, 0, 0},
        ClipCase{"off the top edge", 3, -2, 5, 5, 0, 0},
        ClipCase{"off the bottom edge", 3, 10, 5, 5, 0, 0},
        ClipCase{"larger than the destination", -4, -3, 30, 30, 0, 0},
        ClipCase{"source larger than needed", 0, 0, 16, 12, 0, 0},
        ClipCase{"negative source position", 2, 2, 6, 5, -2, -3},
        ClipCase{"source past its right and bottom", 1, 1, 8, 8, 7, 6},
        ClipCase{"both clipped at once", -2, 9, 8, 8, -1, 3},
        ClipCase{"zero width", 2, 2, 0, 4, 0, 0}, ClipCase{"zero height", 2, 2, 4, 0, 0, 0},
        ClipCase{"negative width", 8, 2, -4, 4, 0, 0},
        ClipCase{"negative height", 2, 8, 4, -4, 0, 0},
        ClipCase{"wholly left", -20, 2, 10, 4, 0, 0}, ClipCase{"wholly right", 16, 2, 10, 4, 0, 0},
        ClipCase{"wholly below", 2, 12, 4, 4, 0, 0},
        ClipCase{"source wholly outside", 2, 2, 4, 4, 10, 0},
        ClipCase{"source wholly above", 2, 2, 4, 4, 0, -4},
        ClipCase{"far coordinates", kMax - 2, kMin, 10, 10, kMin, kMax},
        ClipCase{"huge block", -5, -5, kMax, kMax, -5, -5},
        ClipCase{"huge negative offset", kMin, 0, kMax, 12, 0, 0}),
    [](const testing::TestParamInfo<ClipCase>& param_info) {
        std::string name = param_info.param.name;
        for (char& ch : name) {
            if (ch == ' ') ch = '_';
        }
        return name;
    });

TEST(BitBlt, StaysInsideAViewOntoALargerSurface) {
    // A 4 x 3 window at (2, 1) of a 10 x 6 surface: the stride is longer than the width.
    Surface whole(10, 6, 0x111111);
    PixelView window{whole.View().pixels + 1 * 10 + 2, 4, 3, 10};
    const Surface src(20, 20, 0xFFFFFF);
    BitBlt(window, -5, -5, 30, 30, src.View(), 0, 0, Rop::Copy);
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 1 && y < 4;
            EXPECT_EQ(whole.At(x, y), inside ? 0xFFFFFFu : 0x111111u) << x << "," << y;
        }
    }
}

TEST(Surface, NegativeSizesGiveAnEmptySurface) {
    const Surface surface(-5, 3);
    EXPECT_EQ(surface.Width(), 0);
    Surface target(4, 4, 0x123456);
    BitBlt(target.View(), 0, 0, 4, 4, surface.View(), 0, 0, Rop::Copy);
    StretchBlt(target.View(), 0, 0, 4, 4, surface.View(), 0, 0, 0, 3);
    EXPECT_TRUE(target == Surface(4, 4, 0x123456));
}

std::set<uint32_t> ColoursOf(const Surface& surface) {
    std::set<uint32_t> colours;
    for (int32_t y = 0; y < surface.Height(); ++y) {
        for (int32_t x = 0; x < surface.Width(); ++x) colours.insert(surface.At(x, y));
    }
    return colours;
}

Rect WhiteBounds(const Surface& surface, int64_t& count) {
    Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    count = 0;
    for (int32_t y = 0; y < surface.Height(); ++y) {
        for (int32_t x = 0; x < surface.Width(); ++x) {
            if (surface.At(x, y) != kWhite) continue;
            ++count;
            box = Rect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
        }
    }
    return box;
}

TEST(StretchBlt, CopiesAtTheSameSize) {
    const Surface mask = SpotMask();
    Surface out(300, 300, 0x123456);
    StretchBlt(out.View(), 0, 0, 300, 300, mask.View(), 0, 0, 300, 300);
    EXPECT_TRUE(out == mask);
}

TEST(StretchBlt, KeepsTheEdgeHardWhenScaling) {
    const Surface mask = SpotMask();
    int64_t mask_white = 0;
    const Rect mask_box = WhiteBounds(mask, mask_white);
    for (const int32_t size : {200, 400}) {
        Surface out(size, size, 0x123456);
        StretchBlt(out.View(), 0, 0, size, size, mask.View(), 0, 0, 300, 300);
        EXPECT_EQ(ColoursOf(out), (std::set<uint32_t>{kBlack, kWhite})) << size;

        const double scale = size / 300.0;
        int64_t white = 0;
        const Rect box = WhiteBounds(out, white);
        const double expected_white = static_cast<double>(mask_white) * scale * scale;
        EXPECT_NEAR(static_cast<double>(white), expected_white, expected_white * 0.01) << size;
        EXPECT_NEAR(box.left, mask_box.left * scale, 1.0) << size;
        EXPECT_NEAR(box.top, mask_box.top * scale, 1.0) << size;
        EXPECT_NEAR(box.right, mask_box.right * scale, 1.0) << size;
        EXPECT_NEAR(box.bottom, mask_box.bottom * scale, 1.0) << size;
    }
}

// A square stretched out of a block of the numbered surface. Each destination pixel takes the
// source pixel under its centre; a centre on the edge between two source pixels may take either.
// Doubling repeats each source pixel; halving takes one pixel of each 2 x 2 block.
struct StretchCase {
    const char* name;
    int32_t size;  // the destination square's side
    Rect block;    // where in the source
};

class StretchBltScaleTest : public testing::TestWithParam<StretchCase> {};

TEST_P(StretchBltScaleTest, TakesThePixelUnderEachCentre) {
    const StretchCase& c = GetParam();
    const Surface src = NumberedSurface(40, 30);
    Surface out(c.size, c.size, kBlack);
    StretchBlt(out.View(), 0, 0, c.size, c.size, src.View(), c.block.left, c.block.top,
               c.block.Width(), c.block.Height());
    // Whether source column or row `from` lies under the centre of destination pixel `i`.
    const auto under_centre = [&c](int32_t from, int32_t i, int32_t start, int32_t length) {
        const double centre = start + (i + 0.5) * length / c.size;
        const double below = std::floor(centre);
        return from == below || (centre == below && from == below - 1);
    };
    for (int32_t y = 0; y < c.size; ++y) {
        for (int32_t x = 0; x < c.size; ++x) {
            const uint32_t pixel = out.At(x, y);
            ASSERT_EQ(pixel >> 16, 0xA0u) << x << "," << y << " is no pixel of the source";
            const int32_t from_x = static_cast<int32_t>(pixel & 0xFF);
            const int32_t from_y = static_cast<int32_t>((pixel >> 8) & 0xFF);
            ASSERT_TRUE(under_centre(from_x, x, c.block.left, c.block.Width()) &&
                        under_centre(from_y, y, c.block.top, c.block.Height()))
                << x << "," << y << " took " << from_x << "," << from_y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, StretchBltScaleTest,
                         testing::Values(StretchCase{"Doubling", 40, Rect{10, 5, 30, 25}},
                                         StretchCase{"Halving", 10, Rect{4, 6, 24, 26}}),
                         ByName());

TEST(StretchBlt, ClippingKeepsThePixelsOfTheUnclippedStretch) {
    const Surface mask = SpotMask();
    for (const int32_t size : {200, 300, 400}) {
        Surface whole(size, size, kBlack);
        StretchBlt(whole.View(), 0, 0, size, size, mask.View(), 0, 0, 300, 300);
        struct Place {
            int32_t x, y;
        };
        for (const Place at : {Place{-57, -31}, Place{40, 70}, Place{-size + 3, 10},
                               Place{5, -size + 1}, Place{-size, 0}}) {
            Surface screen(150, 120, 0x123456);
            StretchBlt(screen.View(), at.x, at.y, size, size, mask.View(), 0, 0, 300, 300);
            for (int32_t y = 0; y < screen.Height(); ++y) {
                for (int32_t x = 0; x < screen.Width(); ++x) {
                    const int32_t u = x - at.x;
                    const int32_t v = y - at.y;
                    const bool covered = u >= 0 && u < size && v >= 0 && v < size;
                    ASSERT_EQ(screen.At(x, y), covered ? whole.At(u, v) : 0x123456u)
                        << "size " << size << " at " << at.x << "," << at.y << " pixel " << x << ","
                        << y;
                }
            }
        }
    }
}

TEST(StretchBlt, EmptySizesTransferNothing) {
    const Surface src = NumberedSurface(10, 10);
    struct Case {
        int32_t w, h, sw, sh;
    };
    for (const Case c : {Case{0, 5, 10, 10}, Case{5, 0, 10, 10}, Case{-5, 5, 10, 10},
                         Case{5, -5, 10, 10}, Case{5, 5, 0, 10}, Case{5, 5, 10, -1}}) {
        Surface dst(8, 8, 0x123456);
        StretchBlt(dst.View(), 1, 1, c.w, c.h, src.View(), 0, 0, c.sw, c.sh);
        EXPECT_TRUE(dst == Surface(8, 8, 0x123456))
            << c.w << " " << c.h << " " << c.sw << " " << c.sh;
    }
}

TEST(Fill, PaintsOnlyWhatLiesOnTheSurface) {
    const Rect areas[] = {{2, 3, 6, 5},    {-4, -4, 3, 2},    {7, 8, 20, 20},
                          {-10, 4, 30, 5}, {-20, -20, -1, 5}, {10, 0, 12, 10},
                          {4, 4, 4, 9},    {5, 5, 3, 9},      {kMin, kMin, kMax, kMax}};
    for (const Rect& area : areas) {
        Surface surface = PatternSurface(10, 10);
        const Surface before = surface;
        Fill(surface.View(), area, 0xABCDEF);
        for (int32_t y = 0; y < 10; ++y) {
            for (int32_t x = 0; x < 10; ++x) {
                const bool inside =
                    x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                ASSERT_EQ(surface.At(x, y), inside ? 0xABCDEFu : before.At(x, y))
                    << area.left << "," << area.top << "," << area.right << "," << area.bottom;
            }
        }
    }
}

TEST(Rect, IntersectAndUnion) {
    struct Case {
        Rect a, b, intersection, union_;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, {0, 0, 15, 15}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, {0, 0, 10, 10}},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {}, {0, 0, 20, 10}},
        {{-5, -5, 5, 5}, {20, 30, 40, 50}, {}, {-5, -5, 40, 50}},
        {{}, {3, 4, 5, 6}, {}, {3, 4, 5, 6}},
        {{7, 7, 7, 20}, {3, 4, 5, 6}, {}, {3, 4, 5, 6}},
        {{3, 4, 5, 6}, {9, 9, 1, 1}, {}, {3, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Intersect(c.a, c.b), c.intersection);
        EXPECT_EQ(Intersect(c.b, c.a), c.intersection);
        EXPECT_EQ(Union(c.a, c.b), c.union_);
        EXPECT_EQ(Union(c.b, c.a), c.union_);
    }
    EXPECT_TRUE(Rect{}.Empty());
    EXPECT_TRUE((Rect{5, 5, 4, 9}.Empty()));
    EXPECT_FALSE((Rect{5, 5, 6, 6}.Empty()));
}

}  // namespace
}  // namespace gloam
