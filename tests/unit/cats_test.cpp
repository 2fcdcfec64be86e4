#include "display/cats.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/error.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::At;
using testing_support::CatLoader;
using testing_support::FakeBitmapLoader;
using testing_support::kAlmostOne;
using testing_support::MakeCat;
using testing_support::PatternSurface;
using testing_support::ScriptedClock;
using testing_support::ScriptedRandom;

constexpr double kCat0Width = 105, kCat0Height = 170;
constexpr double kCat1Width = 100, kCat1Height = 185;

TEST(CatRangesFor, MarginsAreATenthAndRangesWhatIsLeft) {
    struct Case {
        double W, H, w, h;
        CatRanges ranges;
    };
    const Case cases[] = {
        {1024, 768, kCat0Width, kCat0Height, {102, 817, 77, 521}},
        {1024, 768, kCat1Width, kCat1Height, {102, 822, 77, 506}},
        {800, 600, kCat0Width, kCat0Height, {80, 615, 60, 370}},
        {800, 600, kCat1Width, kCat1Height, {80, 620, 60, 355}},
        {640, 480, kCat0Width, kCat0Height, {64, 471, 48, 262}},
        {640, 480, kCat1Width, kCat1Height, {64, 476, 48, 247}},
        {1920, 1080, kCat0Width, kCat0Height, {192, 1623, 108, 802}},
        // Halves of the margin go to the even neighbour.
        {1025, 765, kCat0Width, kCat0Height, {102, 818, 76, 519}},
        {1035, 775, kCat0Width, kCat0Height, {104, 826, 78, 527}},
        // Nothing left, and less than nothing.
        {117, 189, kCat0Width, kCat0Height, {12, 0, 19, 0}},
        {111, 206, kCat1Width, kCat1Height, {11, 0, 21, 0}},
        {100, 150, kCat0Width, kCat0Height, {10, -15, 15, -35}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CatRangesFor(c.W, c.H, c.w, c.h), c.ranges)
            << c.W << "x" << c.H << " cat " << c.w << "x" << c.h;
    }
}

TEST(CatPosition, FloorOfTheDrawWithinTheRange) {
    struct Case {
        CatRanges ranges;
        float rx, ry;
        Point at;
    };
    const CatRanges screen1024{102, 817, 77, 521};
    const CatRanges none{12, 0, 19, 0};
    const CatRanges negative{10, -15, 15, -35};
    const Case cases[] = {
        {screen1024, 0.0f, 0.0f, {102, 77}},
        {screen1024, kAlmostOne, kAlmostOne, {918, 597}},
        {screen1024, 0.5f, 0.5f, {510, 337}},
        {{80, 615, 60, 370}, kAlmostOne, kAlmostOne, {694, 429}},
        {{64, 471, 48, 262}, kAlmostOne, kAlmostOne, {534, 309}},
        {none, 0.0f, 0.0f, {12, 19}},
        {none, kAlmostOne, 0.5f, {12, 19}},
        // A negative range reaches down to margin + range; floor goes toward minus infinity.
        {negative, 0.0f, 0.0f, {10, 15}},
        {negative, 0.5f, 0.5f, {2, -3}},
        {negative, kAlmostOne, kAlmostOne, {-5, -20}},
        {negative, 0.1f, 0.01f, {8, 14}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CatPosition(c.ranges, c.rx, c.ry), c.at)
            << c.ranges.rangeX << "," << c.ranges.rangeY << " r " << c.rx << "," << c.ry;
    }
}

// (D OR M) AND P for every pixel of one cat at `at`, clipped to the desktop.
void StampByHand(Surface& desktop, Point at, const Surface& mask, const Surface& picture) {
    PixelView view = desktop.View();
    for (int32_t y = 0; y < mask.Height(); ++y) {
        for (int32_t x = 0; x < mask.Width(); ++x) {
            const int32_t dx = at.x + x;
            const int32_t dy = at.y + y;
            if (dx < 0 || dy < 0 || dx >= desktop.Width() || dy >= desktop.Height()) continue;
            view.At(dx, dy) = (view.At(dx, dy) | mask.At(x, y)) & picture.At(x, y);
        }
    }
}

struct TwoCats {
    testing_support::CatBitmaps cat0 = MakeCat(105, 170, 1);
    testing_support::CatBitmaps cat1 = MakeCat(100, 185, 2);

    FakeBitmapLoader Loader() const {
        FakeBitmapLoader loader;
        loader.Add(kCatMaskId, cat0.mask);
        loader.Add(kCatPictureId, cat0.picture);
        loader.Add(kCatMaskId + 1, cat1.mask);
        loader.Add(kCatPictureId + 1, cat1.picture);
        return loader;
    }
};

TEST(PlaceCats, DrawsXThenYForEachCatAndLoadsMaskThenPicture) {
    Surface desktop = PatternSurface(1024, 768);
    FakeBitmapLoader loader = CatLoader();
    ScriptedRandom random({0.5f, 0.25f, 0.75f, 0.125f});
    const auto positions = PlaceCats(desktop.View(), 1024, 768, random, loader);
    EXPECT_EQ(positions[0], (Point{102 + 408, 77 + 130}));  // floor(0.5 * 817), floor(0.25 * 521)
    EXPECT_EQ(positions[1], (Point{102 + 616, 77 + 63}));   // floor(0.75 * 822), floor(0.125 * 506)
    EXPECT_EQ(random.Draws(), 4u);
    EXPECT_EQ(loader.Loads(), (std::vector<int32_t>{201, 101, 202, 102}));
}

TEST(PlaceCats, EachPixelBecomesDesktopOrMaskAndPicture) {
    TwoCats cats;
    // A fringe pixel under black in the mask but not quite white in the picture, as real
    // photographs have along the outline: it darkens the desktop a little.
    cats.cat1.picture.View().At(0, 0) = 0xF3F8FE;
    ASSERT_EQ(cats.cat1.mask.At(0, 0), kBlack);
    FakeBitmapLoader loader = cats.Loader();
    // Overlapping places: cat 1 covers cat 0 inside its own outline only.
    ScriptedRandom random({0.1f, 0.2f, 0.12f, 0.22f});
    Surface desktop = PatternSurface(800, 600);
    Surface expected = desktop;
    const auto positions = PlaceCats(desktop.View(), 800, 600, random, loader);
    ASSERT_EQ(positions[0], (Point{80 + 61, 60 + 74}));
    ASSERT_EQ(positions[1], (Point{80 + 74, 60 + 78}));
    StampByHand(expected, positions[0], cats.cat0.mask, cats.cat0.picture);
    StampByHand(expected, positions[1], cats.cat1.mask, cats.cat1.picture);
    EXPECT_TRUE(desktop == expected);

    const Surface pattern = PatternSurface(800, 600);
    // Around the cats the desktop keeps its exact colour; the fringe pixel loses low bits only.
    EXPECT_EQ(desktop.At(positions[0].x, positions[0].y + 1),
              pattern.At(positions[0].x, positions[0].y + 1));
    EXPECT_EQ(desktop.At(positions[1].x, positions[1].y),
              pattern.At(positions[1].x, positions[1].y) & 0xF3F8FE);
    // Inside an outline the cat replaces the desktop.
    EXPECT_EQ(desktop.At(positions[1].x + 50, positions[1].y + 90), cats.cat1.picture.At(50, 90));
}

TEST(PlaceCats, TheTallerCatStaysWhollyOnTheScreen) {
    TwoCats cats;
    FakeBitmapLoader loader = cats.Loader();
    ScriptedRandom random({kAlmostOne, kAlmostOne, kAlmostOne, kAlmostOne});
    Surface desktop = PatternSurface(1024, 768);
    Surface expected = desktop;
    const auto positions = PlaceCats(desktop.View(), 1024, 768, random, loader);
    EXPECT_EQ(positions[0], (Point{918, 597}));
    EXPECT_EQ(positions[1], (Point{923, 582}));
    EXPECT_LE(positions[1].x + 100, 1024);
    EXPECT_LE(positions[1].y + 185, 768);
    StampByHand(expected, positions[0], cats.cat0.mask, cats.cat0.picture);
    StampByHand(expected, positions[1], cats.cat1.mask, cats.cat1.picture);
    EXPECT_TRUE(desktop == expected);
    // The cat's bottom row made it into the copy.
    EXPECT_EQ(desktop.At(positions[1].x + 50, positions[1].y + 184), cats.cat1.picture.At(50, 184));
}

TEST(PlaceCats, NoRoomLeftStampsPartlyOutsideWithoutError) {
    struct Case {
        int32_t W, H;
        std::vector<float> draws;
        Point cat0, cat1;
    };
    const Case cases[] = {
        // 100 x 150: ranges (-15, -35) for cat 0 and (-10, -50) for cat 1.
        {100, 150, {0.5f, 0.5f, 0.5f, 0.5f}, {2, -3}, {5, -10}},
        {100, 150, {kAlmostOne, kAlmostOne, 0.0f, kAlmostOne}, {-5, -20}, {10, -35}},
        // 117 x 189: no room for cat 0; cat 1 has five columns and lacks 15 rows.
        {117, 189, {0.9f, 0.9f, 0.9f, 0.9f}, {12, 19}, {16, 5}},
        {40, 30, {0.0f, 0.0f, 0.0f, 0.0f}, {4, 3}, {4, 3}},
    };
    for (const Case& c : cases) {
        TwoCats cats;
        FakeBitmapLoader loader = cats.Loader();
        ScriptedRandom random(c.draws);
        Surface desktop = PatternSurface(c.W, c.H);
        Surface expected = desktop;
        const auto positions = PlaceCats(desktop.View(), c.W, c.H, random, loader);
        EXPECT_EQ(positions[0], c.cat0) << c.W << "x" << c.H;
        EXPECT_EQ(positions[1], c.cat1) << c.W << "x" << c.H;
        StampByHand(expected, positions[0], cats.cat0.mask, cats.cat0.picture);
        StampByHand(expected, positions[1], cats.cat1.mask, cats.cat1.picture);
        EXPECT_TRUE(desktop == expected) << c.W << "x" << c.H;
    }
}

TEST(StampCat, MaskWithOrThenPictureWithAnd) {
    const testing_support::CatBitmaps cat = MakeCat(105, 170, 3);
    for (const Point at : {Point{10, 20}, Point{-30, -40}, Point{150, 100}, Point{-200, 0}}) {
        Surface desktop = PatternSurface(200, 180);
        Surface expected = desktop;
        StampCat(desktop.View(), at, cat.mask.View(), cat.picture.View());
        StampByHand(expected, at, cat.mask, cat.picture);
        EXPECT_TRUE(desktop == expected) << at.x << "," << at.y;
    }
}

// Ticks once a second from `start` and returns the time of the tick at which the cats come due.
LocalDateTime FirstDueTick(LocalDateTime start) {
    DisplayState state;
    state.dtStart = start;
    ScriptedClock clock(start);
    LocalDateTime now = start;
    for (int tick = 0; tick < 400; ++tick) {
        clock.Set(now);
        if (CatsDue(state, clock.Now())) return now;
        if (++now.second == 60) {
            now.second = 0;
            if (++now.minute == 60) {
                now.minute = 0;
                ++now.hour;
            }
        }
    }
    ADD_FAILURE() << "the cats never came due";
    return now;
}

TEST(CatsDue, AtTheFirstTickOnOrAfterTheThirdMinuteBoundary) {
    EXPECT_EQ(FirstDueTick(At(2024, 5, 1, 10, 0, 59)), At(2024, 5, 1, 10, 3, 0));
    EXPECT_EQ(FirstDueTick(At(2024, 5, 1, 10, 0, 0)), At(2024, 5, 1, 10, 3, 0));
    EXPECT_EQ(FirstDueTick(At(2024, 5, 1, 10, 58, 30)), At(2024, 5, 1, 11, 1, 0));
}

TEST(CatsDue, FollowsTheClockAcrossDayMonthAndYearEnds) {
    struct Case {
        LocalDateTime start, before, due;
    };
    const Case cases[] = {
        {At(2024, 5, 1, 23, 58, 40), At(2024, 5, 2, 0, 0, 59), At(2024, 5, 2, 0, 1, 0)},
        {At(2024, 2, 29, 23, 59, 1), At(2024, 3, 1, 0, 1, 59), At(2024, 3, 1, 0, 2, 0)},
        {At(2023, 12, 31, 23, 57, 30), At(2023, 12, 31, 23, 59, 59), At(2024, 1, 1, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        DisplayState state;
        state.dtStart = c.start;
        EXPECT_FALSE(CatsDue(state, c.before)) << c.start.year << "-" << c.start.month;
        EXPECT_TRUE(CatsDue(state, c.due)) << c.start.year << "-" << c.start.month;
    }
}

TEST(CatsDue, AClockSetBackWaitsForTheCountToReachThree) {
    DisplayState state;
    state.dtStart = At(2024, 5, 1, 10, 0, 30);
    // Set back an hour, then running on: 09:00 to 10:02 counts below three.
    EXPECT_FALSE(CatsDue(state, At(2024, 5, 1, 9, 0, 10)));
    EXPECT_FALSE(CatsDue(state, At(2024, 5, 1, 9, 59, 59)));
    EXPECT_FALSE(CatsDue(state, At(2024, 5, 1, 10, 2, 59)));
    EXPECT_TRUE(CatsDue(state, At(2024, 5, 1, 10, 3, 0)));
    // Set back a day: nothing until the start's own minute plus three comes round again.
    EXPECT_FALSE(CatsDue(state, At(2024, 4, 30, 10, 3, 0)));
}

TEST(CatsDue, OnceShownNeverAgain) {
    DisplayState state;
    state.dtStart = At(2024, 5, 1, 10, 0, 0);
    ASSERT_TRUE(CatsDue(state, At(2024, 5, 1, 10, 3, 0)));
    state.blnCatsShown = true;
    for (const LocalDateTime now : {At(2024, 5, 1, 10, 3, 0), At(2024, 5, 1, 10, 30, 0),
                                    At(2025, 5, 1, 10, 0, 0), At(2024, 5, 1, 9, 0, 0)}) {
        EXPECT_FALSE(CatsDue(state, now)) << now.year << " " << now.hour << ":" << now.minute;
    }
}

}  // namespace
}  // namespace gloam
