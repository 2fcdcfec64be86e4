#include "config/config_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace gloam {
namespace {

int32_t PositionOf(const std::string& name, int32_t index = -1) {
    for (size_t i = 0; i < kConfigControls.size(); ++i) {
        if (name == kConfigControls[i].name && kConfigControls[i].index == index) {
            return static_cast<int32_t>(i);
        }
    }
    ADD_FAILURE() << "no control " << name << "(" << index << ")";
    return 0;
}

struct PixelCase {
    const char* name;
    int32_t index;
    double twips_per_pixel;
    PixelBox expected;
};

class ControlPixelsTest : public testing::TestWithParam<PixelCase> {};

TEST_P(ControlPixelsTest, FramedControlsAreOffsetByTheirFrame) {
    const PixelCase& c = GetParam();
    EXPECT_EQ(ControlPixels(PositionOf(c.name, c.index), c.twips_per_pixel, c.twips_per_pixel),
              c.expected)
        << c.name << "(" << c.index << ") at " << c.twips_per_pixel << " twips per pixel";
}

INSTANTIATE_TEST_SUITE_P(
    Dpi, ControlPixelsTest,
    testing::Values(
        // 96 DPI.
        PixelCase{"fraSpeed", -1, 15, {9, 6, 206, 59}},
        PixelCase{"optSpeed", 0, 15, {9 + 17, 6 + 23, 51, 17}},
        PixelCase{"optSpeed", 2, 15, {9 + 143, 6 + 23, 51, 17}},
        PixelCase{"fraSize", -1, 15, {9, 75, 206, 59}},
        PixelCase{"optSize", 1, 15, {9 + 80, 75 + 26, 60, 17}},
        PixelCase{"cmdOK", -1, 15, {235, 12, 94, 25}},
        PixelCase{"cmdCancel", -1, 15, {235, 42, 94, 25}},
        PixelCase{"Label1", -1, 15, {2, 147, 332, 17}},
        // 120 DPI: the frame and the offset round on their own (135/12 = 11.25, 345/12 = 28.75).
        PixelCase{"optSpeed", 0, 12, {11 + 21, 8 + 29, 64, 21}},
        PixelCase{"optSize", 2, 12, {11 + 179, 94 + 32, 75, 21}},
        // 144 DPI: halves go to the even pixel (1125/10 = 112.5, 345/10 = 34.5).
        PixelCase{"fraSize", -1, 10, {14, 112, 309, 88}},
        PixelCase{"optSpeed", 1, 10, {14 + 120, 9 + 34, 76, 26}}));

// At the usual densities every option lies inside its frame, below the frame's caption line, and
// no two controls of the form overlap, except the options with the frame that holds them.
TEST(ControlPixels, OptionsStayInsideTheirFrameAndNothingElseOverlaps) {
    for (const double tpp : {15.0, 12.0, 10.0, 7.5}) {
        const int32_t client_w = static_cast<int32_t>(kConfigClientWidth / tpp);
        const int32_t client_h = static_cast<int32_t>(kConfigClientHeight / tpp);
        for (int32_t i = 0; i < static_cast<int32_t>(kConfigControls.size()); ++i) {
            const PixelBox a = ControlPixels(i, tpp, tpp);
            EXPECT_GE(a.left, 0);
            EXPECT_GE(a.top, 0);
            EXPECT_LE(a.left + a.width, client_w) << kConfigControls[i].name << " at " << tpp;
            EXPECT_LE(a.top + a.height, client_h) << kConfigControls[i].name << " at " << tpp;
            const int32_t frame_position = kConfigControls[i].frame;
            if (frame_position >= 0) {
                const PixelBox f = ControlPixels(frame_position, tpp, tpp);
                EXPECT_GT(a.left, f.left);
                EXPECT_GT(a.top, f.top + a.height / 2);
                EXPECT_LT(a.left + a.width, f.left + f.width);
                EXPECT_LT(a.top + a.height, f.top + f.height);
            }
            for (int32_t j = i + 1; j < static_cast<int32_t>(kConfigControls.size()); ++j) {
                if (kConfigControls[j].frame == i) continue;
                const PixelBox b = ControlPixels(j, tpp, tpp);
                const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                                   a.top + a.height <= b.top || b.top + b.height <= a.top;
                EXPECT_TRUE(apart)
                    << kConfigControls[i].name << "(" << kConfigControls[i].index << ") and "
                    << kConfigControls[j].name << "(" << kConfigControls[j].index << ") at " << tpp;
            }
        }
    }
}

}  // namespace
}  // namespace gloam
