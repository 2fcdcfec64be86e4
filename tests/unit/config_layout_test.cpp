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

// The densities a monitor can have (100 % to 300 %, in the steps Windows offers): every control
// lies inside the client area, every option inside its frame below the frame's caption line, and
// no two controls overlap, except the options with the frame that holds them. The caption's font
// fits the height of a control.
class ConfigLayoutAtTest : public testing::TestWithParam<int32_t> {};

TEST_P(ConfigLayoutAtTest, NothingClippedOrOverlapping) {
    const int32_t dpi = GetParam();
    const ConfigLayout layout = ConfigLayoutAt(dpi);
    // The client area scales with the density, to the nearest pixel.
    EXPECT_NEAR(layout.client_width, 5055.0 * dpi / 1440, 0.5);
    EXPECT_NEAR(layout.client_height, 2520.0 * dpi / 1440, 0.5);
    EXPECT_NEAR(layout.font_pixels, 195.0 * dpi / 1440, 0.5);
    for (size_t i = 0; i < kConfigControls.size(); ++i) {
        const ControlDesign& design = kConfigControls[i];
        const PixelBox& a = layout.controls[i];
        SCOPED_TRACE(testing::Message() << design.name << "(" << design.index << ")");
        EXPECT_GE(a.left, 0);
        EXPECT_GE(a.top, 0);
        EXPECT_LE(a.left + a.width, layout.client_width);
        EXPECT_LE(a.top + a.height, layout.client_height);
        if (design.kind != ControlKind::Frame) {
            EXPECT_GE(a.height, layout.font_pixels);
        }
        if (design.frame >= 0) {
            const PixelBox& f = layout.controls[static_cast<size_t>(design.frame)];
            EXPECT_GT(a.left, f.left);
            EXPECT_GT(a.top, f.top + layout.font_pixels / 2);
            EXPECT_LT(a.left + a.width, f.left + f.width);
            EXPECT_LT(a.top + a.height, f.top + f.height);
        }
        for (size_t j = i + 1; j < kConfigControls.size(); ++j) {
            if (kConfigControls[j].frame == static_cast<int32_t>(i)) continue;
            const PixelBox& b = layout.controls[j];
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << "overlaps " << kConfigControls[j].name << "("
                               << kConfigControls[j].index << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, ConfigLayoutAtTest,
                         testing::Values(96, 120, 144, 168, 192, 216, 240, 288),
                         [](const testing::TestParamInfo<int32_t>& param) {
                             return "dpi" + std::to_string(param.param);
                         });

// The layout at a density is the design converted at 1440 / dpi twips per pixel.
TEST(ConfigLayoutAt, AgreesWithTheControlsConvertedOneByOne) {
    for (const int32_t dpi : {96, 144, 168}) {
        const ConfigLayout layout = ConfigLayoutAt(dpi);
        for (size_t i = 0; i < kConfigControls.size(); ++i) {
            EXPECT_EQ(layout.controls[i],
                      ControlPixels(static_cast<int32_t>(i), 1440.0 / dpi, 1440.0 / dpi))
                << kConfigControls[i].name << " at " << dpi;
        }
    }
    EXPECT_EQ(ConfigLayoutAt(96).client_width, 337);
    EXPECT_EQ(ConfigLayoutAt(96).client_height, 168);
    EXPECT_EQ(ConfigLayoutAt(96).font_pixels, 13);
    // 505.5 and 19.5 pixels at 144 DPI: halves go to the even pixel.
    EXPECT_EQ(ConfigLayoutAt(144).client_width, 506);
    EXPECT_EQ(ConfigLayoutAt(144).font_pixels, 20);
}

}  // namespace
}  // namespace gloam
