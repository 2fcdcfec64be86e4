#include "display/desktop_stand_in.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "test_support.h"

namespace gloam {

void PrintTo(const WallpaperPlacement& placement, std::ostream* out) {
    PrintTo(placement.image, out);
    if (placement.tiled) *out << " tiled";
}

namespace {

constexpr Rect kScreen{0, 0, 1024, 768};

TEST(IsScreenSaverDesktop, OnlyThatNameInAnyCase) {
    struct Case {
        const wchar_t* name;
        bool expected;
    };
    const Case cases[] = {
        {L"Screen-saver", true},   {L"SCREEN-SAVER", true},  {L"screen-Saver", true},
        {L"Default", false},       {L"Winlogon", false},     {L"", false},
        {L"Screen-saver ", false}, {L"Screen_saver", false}, {L"Screen-saver2", false},
        {L"Screensaver", false},   {L"Screen-save", false},  {L"\u017Fcreen-saver", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsScreenSaverDesktop(c.name), c.expected) << gloam_tests::CaseName(c.name);
    }
}

TEST(StyleFromRegistry, ReadsTheStyleNumberAndTheTileFlag) {
    struct Case {
        const wchar_t* style;
        const wchar_t* tile;
        WallpaperStyle expected;
    };
    constexpr auto kCenter = WallpaperStyle::Center;
    constexpr auto kTile = WallpaperStyle::Tile;
    const Case cases[] = {
        {L"0", L"0", kCenter},
        {L"0", L"1", kTile},
        {L"2", L"1", WallpaperStyle::Stretch},
        {L"6", L"0", WallpaperStyle::Fit},
        {L"10", L"1", WallpaperStyle::Fill},
        {L"22", L"0", WallpaperStyle::Span},
        // Absent values are empty texts, and read as 0.
        {L"", L"1", kTile},
        // The leading number counts, after blanks.
        {L"\t6px", L"", WallpaperStyle::Fit},
        {L"22.5", L"", WallpaperStyle::Span},
        // Numbers without a style of their own are taken as 0; only 1 tiles.
        {L"3", L"1", kTile},
        {L"-2", L"", kCenter},
        {L"99999999999999999999", L"", kCenter},
        {L"0", L"2", kCenter},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StyleFromRegistry(c.style, c.tile), c.expected)
            << "WallpaperStyle \"" << gloam_tests::CaseName(c.style) << "\", TileWallpaper \""
            << gloam_tests::CaseName(c.tile) << "\"";
    }
}

struct PlaceCase {
    const char* name;
    int32_t width, height;
    // Where the picture lands for Center, Fit and Fill on the 1024 x 768 screen. Stretch always
    // covers the screen, Tile starts at the corner at the picture's size, and Span on one monitor
    // is Fill.
    Rect center, fit, fill;
};

void PrintTo(const PlaceCase& c, std::ostream* out) {
    *out << c.name;
}

class PlaceWallpaperTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceWallpaperTest, OnOneMonitor) {
    const PlaceCase& c = GetParam();
    const auto place = [&c](WallpaperStyle style) {
        return PlaceWallpaper(style, c.width, c.height, kScreen, kScreen);
    };
    EXPECT_EQ(place(WallpaperStyle::Center), (WallpaperPlacement{c.center, false}));
    EXPECT_EQ(place(WallpaperStyle::Tile), (WallpaperPlacement{{0, 0, c.width, c.height}, true}));
    EXPECT_EQ(place(WallpaperStyle::Stretch), (WallpaperPlacement{kScreen, false}));
    EXPECT_EQ(place(WallpaperStyle::Fit), (WallpaperPlacement{c.fit, false}));
    EXPECT_EQ(place(WallpaperStyle::Fill), (WallpaperPlacement{c.fill, false}));
    EXPECT_EQ(place(WallpaperStyle::Span), (WallpaperPlacement{c.fill, false}));
    // Fit lies inside the screen and touches two opposite sides; Fill covers it.
    EXPECT_EQ(Intersect(c.fit, kScreen), c.fit);
    EXPECT_TRUE(c.fit.Width() == 1024 || c.fit.Height() == 768);
    EXPECT_EQ(Intersect(c.fill, kScreen), kScreen);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PlaceWallpaperTest,
    testing::Values(
        // center, fit, fill
        PlaceCase{
            "Wider", 2048, 512, {-512, 128, 1536, 640}, {0, 256, 1024, 512}, {-1024, 0, 2048, 768}},
        PlaceCase{
            "Taller", 600, 1200, {212, -216, 812, 984}, {320, 0, 704, 768}, {0, -640, 1024, 1408}},
        PlaceCase{"SmallerSameShape",
                  400,
                  300,
                  {312, 234, 712, 534},
                  {0, 0, 1024, 768},
                  {0, 0, 1024, 768}},
        PlaceCase{"ScreenSize", 1024, 768, kScreen, kScreen, kScreen},
        // An odd pixel more than the screen: cut on the left and top when centred; scaled, the
        // sides round back to the screen's.
        PlaceCase{
            "OnePixelLarger", 1025, 769, {-1, -1, 1024, 768}, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        // 1007.38 wide fitted, 780.67 high filled; odd margins go right and down.
        PlaceCase{
            "OddAndSmall", 101, 77, {461, 345, 562, 422}, {8, 0, 1015, 768}, {0, -7, 1024, 774}},
        PlaceCase{"OnePixel", 1, 1, {511, 383, 512, 384}, {128, 0, 896, 768}, {0, -128, 1024, 896}},
        // Scaled to less than half a pixel high, kept at one.
        PlaceCase{"Thread",
                  16384,
                  1,
                  {-7680, 383, 8704, 384},
                  {0, 383, 1024, 384},
                  {-6290944, 0, 6291968, 768}}),
    gloam_tests::ByName());

TEST(PlaceWallpaper, ScaledSidesRoundHalvesToEven) {
    // 1.5 rounds to 2, 2.5 to 2.
    EXPECT_EQ(PlaceWallpaper(WallpaperStyle::Fit, 2, 1, {0, 0, 3, 2}, {0, 0, 3, 2})->image,
              (Rect{0, 0, 3, 2}));
    EXPECT_EQ(PlaceWallpaper(WallpaperStyle::Fit, 2, 1, {0, 0, 5, 4}, {0, 0, 5, 4})->image,
              (Rect{0, 1, 5, 3}));
}

TEST(PlaceWallpaper, SpanFillsTheVirtualScreenAndEachMonitorShowsItsPart) {
    struct Case {
        const char* name;
        Rect monitor, virtual_screen;
        Rect image;
    };
    const Case cases[] = {
        // 512 x 256 over two screens side by side (2048 x 768): 2048 x 1024, 128 cut above.
        {"PrimaryLeft", {0, 0, 1024, 768}, {0, 0, 2048, 768}, {0, -128, 2048, 896}},
        {"SecondRight", {1024, 0, 2048, 768}, {0, 0, 2048, 768}, {-1024, -128, 1024, 896}},
        // An 800 x 600 monitor left of the primary: 1824 x 912 over 1824 x 768.
        {"PrimaryRightOfAnother", {0, 0, 1024, 768}, {-800, 0, 1024, 768}, {-800, -72, 1024, 840}},
        // One above the other: the primary shows the lower part.
        {"PrimaryBelow", {0, 0, 1024, 768}, {0, -768, 1024, 768}, {-1024, -768, 2048, 768}},
    };
    for (const Case& c : cases) {
        const auto placement =
            PlaceWallpaper(WallpaperStyle::Span, 512, 256, c.monitor, c.virtual_screen);
        ASSERT_TRUE(placement.has_value()) << c.name;
        EXPECT_EQ(placement->image, c.image) << c.name;
        EXPECT_FALSE(placement->tiled) << c.name;
        // The other styles keep to the monitor alone.
        EXPECT_EQ(
            PlaceWallpaper(WallpaperStyle::Stretch, 512, 256, c.monitor, c.virtual_screen)->image,
            (Rect{0, 0, c.monitor.Width(), c.monitor.Height()}))
            << c.name;
    }
}

TEST(PlaceWallpaper, NothingToPlace) {
    EXPECT_EQ(PlaceWallpaper(WallpaperStyle::Fill, 0, 10, kScreen, kScreen), std::nullopt);
    EXPECT_EQ(PlaceWallpaper(WallpaperStyle::Center, 10, -1, kScreen, kScreen), std::nullopt);
    EXPECT_EQ(PlaceWallpaper(WallpaperStyle::Fit, 10, 10, Rect{}, kScreen), std::nullopt);
    // 16384 times a 2^20 wide virtual screen does not fit 32 bits.
    EXPECT_EQ(PlaceWallpaper(WallpaperStyle::Span, 1, 16384, kScreen, {0, 0, 1 << 20, 768}),
              std::nullopt);
}

TEST(RepeatTile, FillsTheSurfaceWithCopiesOfTheCorner) {
    struct Case {
        int32_t tile_width, tile_height;
    };
    for (const Case c : {Case{3, 2}, Case{1, 1}, Case{8, 5}, Case{5, 1}, Case{9, 7}}) {
        Surface surface(8, 5);
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 8; ++x) {
                const bool corner = x < c.tile_width && y < c.tile_height;
                surface.View().At(x, y) = corner ? static_cast<uint32_t>(0x100 * y + x + 1) : 0;
            }
        }
        RepeatTile(surface.View(), Rect{0, 0, c.tile_width, c.tile_height});
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 8; ++x) {
                const int32_t tx = x % std::min(c.tile_width, 8);
                const int32_t ty = y % std::min(c.tile_height, 5);
                ASSERT_EQ(surface.At(x, y), static_cast<uint32_t>(0x100 * ty + tx + 1))
                    << c.tile_width << " x " << c.tile_height << " at " << x << ", " << y;
            }
        }
    }
}

TEST(PlaceOfPath, FromTheTextAlone) {
    struct Case {
        const wchar_t* path;
        PathPlace place;
        wchar_t drive;
    };
    const Case cases[] = {
        {L"", PathPlace::None, 0},
        {L"C:\\Windows\\Web\\Wallpaper\\img0.jpg", PathPlace::Drive, L'C'},
        {L"d:/pictures/sea.png", PathPlace::Drive, L'D'},
        {L"\\\\?\\E:\\long\\path.jpg", PathPlace::Drive, L'E'},
        {L"\\\\fileserver\\share\\sea.jpg", PathPlace::Network, 0},
        {L"//fileserver/share/sea.jpg", PathPlace::Network, 0},
        {L"\\\\?\\UNC\\fileserver\\share\\sea.jpg", PathPlace::Network, 0},
        {L"\\\\.\\pipe\\wallpaper", PathPlace::Other, 0},
        {L"\\\\.\\C:\\sea.jpg", PathPlace::Other, 0},
        {L"\\\\?\\Volume{12345678-1234-1234-1234-123456789abc}\\sea.jpg", PathPlace::Other, 0},
        {L"C:sea.jpg", PathPlace::Other, 0},
        {L"sea.jpg", PathPlace::Other, 0},
        {L"1:\\sea.jpg", PathPlace::Other, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceOfPath(c.path), c.place) << gloam_tests::CaseName(c.path);
        if (c.place == PathPlace::Drive) {
            EXPECT_EQ(DriveOfPath(c.path), c.drive) << gloam_tests::CaseName(c.path);
        }
    }
}

TEST(WallpaperFiles, TheChosenThenTheKeptCopyEachOnlyOnALocalDrive) {
    const auto local = [](wchar_t drive) { return drive != L'N'; };  // N: is a network drive
    struct Case {
        const char* name;
        const wchar_t* chosen;
        const wchar_t* kept;
        std::vector<std::wstring> files;
    };
    const std::wstring kKept =
        L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\"
        L"TranscodedWallpaper";
    const Case cases[] = {
        {"NoneChosen", L"", kKept.c_str(), {}},
        {"Local", L"C:\\sea.jpg", kKept.c_str(), {L"C:\\sea.jpg", kKept}},
        {"OnAShare", L"\\\\server\\share\\sea.jpg", kKept.c_str(), {kKept}},
        {"OnANetworkDrive", L"N:\\sea.jpg", kKept.c_str(), {kKept}},
        {"Relative", L"sea.jpg", kKept.c_str(), {kKept}},
        {"KeptCopyOnAShare",
         L"C:\\sea.jpg",
         L"\\\\server\\profiles\\u\\TranscodedWallpaper",
         {L"C:\\sea.jpg"}},
        {"NoKeptCopy", L"C:\\sea.jpg", L"", {L"C:\\sea.jpg"}},
        {"NothingLocal", L"N:\\sea.jpg", L"N:\\TranscodedWallpaper", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WallpaperFiles(c.chosen, c.kept, local), c.files) << c.name;
    }
}

}  // namespace
}  // namespace gloam
