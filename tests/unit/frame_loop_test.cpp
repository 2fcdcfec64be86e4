#include "display/frame_loop.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/error.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::At;
using testing_support::ByName;
using testing_support::CatLoader;
using testing_support::ExpectErrorNaming;
using testing_support::FakeBitmapLoader;
using testing_support::FirstDifference;
using testing_support::PatternSurface;
using testing_support::ScreenPresenter;
using testing_support::ScriptedClock;
using testing_support::SpotMask;

// A screen the size of the normal spot: the disc never moves, so each frame after the first
// changes nothing unless the desktop copy does.
class FrameLoopTest : public testing::Test {
  protected:
    static constexpr int32_t kSide = 300;
    static constexpr Point kCursor{500, 400};

    void SetUp() override { loop_.Start(kCursor); }

    // Every pixel of picWork is black or the desktop copy's as it is now.
    bool ShowsTheDesktopAsItIs() const {
        for (int32_t y = 0; y < kSide; ++y) {
            for (int32_t x = 0; x < kSide; ++x) {
                if (work_.At(x, y) != kBlack && work_.At(x, y) != desktop_.At(x, y)) return false;
            }
        }
        return true;
    }

    Surface desktop_ = PatternSurface(kSide, kSide);
    Surface work_{kSide, kSide};
    Surface screen_{kSide, kSide};
    const Surface mask_ = SpotMask();
    FakeBitmapLoader cats_ = CatLoader();
    SeededRandom random_{3};
    ScriptedClock clock_{At(2024, 5, 1, 10, 0, 30)};
    ScreenPresenter presenter_{work_.View(), screen_.View()};
    FrameLoop loop_{{clock_, random_, cats_, presenter_},
                    {desktop_.View(), work_.View(), mask_.View()},
                    kSide,
                    kSide,
                    /*speed*/ 1,
                    /*size*/ 1};
};

TEST_F(FrameLoopTest, ACursorTenPixelsFromTheLastTickDrawsTheNextFrame) {
    EXPECT_EQ(loop_.Timer1_Timer(Point{kCursor.x + 6, kCursor.y + 8}), FrameLoop::Tick::Drawn);
    // Measured from the previous tick, not from the start.
    EXPECT_EQ(loop_.Timer1_Timer(Point{kCursor.x + 12, kCursor.y + 16}), FrameLoop::Tick::Drawn);
    EXPECT_EQ(presenter_.Presents(), 2);
    EXPECT_NE(work_.At(kSide / 2, kSide / 2), kBlack) << "no spot in the middle";
}

TEST_F(FrameLoopTest, ACursorMoreThanTenPixelsAwayEndsWithoutAFrame) {
    EXPECT_EQ(loop_.Timer1_Timer(Point{kCursor.x + 7, kCursor.y + 8}), FrameLoop::Tick::End);
    EXPECT_EQ(presenter_.Presents(), 0);
    EXPECT_TRUE(work_ == Surface(kSide, kSide)) << "a frame was drawn";
}

TEST_F(FrameLoopTest, ATickWhileTheFrameIsShownIsDroppedAndLeavesTheCursorMark) {
    std::optional<FrameLoop::Tick> nested;
    presenter_.while_shown = [&] { nested = loop_.Timer1_Timer(Point{0, 0}); };
    EXPECT_EQ(loop_.Timer1_Timer(kCursor), FrameLoop::Tick::Drawn);
    EXPECT_EQ(nested, FrameLoop::Tick::Dropped);
    EXPECT_EQ(presenter_.Presents(), 1);

    presenter_.while_shown = nullptr;
    EXPECT_EQ(loop_.Timer1_Timer(kCursor), FrameLoop::Tick::Drawn);
}

// The cats check comes first in a tick, and the frame of the stamping shows them even where the
// disc lit the desktop already.
TEST_F(FrameLoopTest, CatsStampedUnderTheSpotShowInTheFrameThatStampsThem) {
    const Surface before = desktop_;
    clock_.Set(At(2024, 5, 1, 10, 2, 59));
    ASSERT_EQ(loop_.Timer1_Timer(kCursor), FrameLoop::Tick::Drawn);
    EXPECT_TRUE(desktop_ == before) << "the cats came before the third minute boundary";

    clock_.Set(At(2024, 5, 1, 10, 3, 0));
    ASSERT_EQ(loop_.Timer1_Timer(kCursor), FrameLoop::Tick::Drawn);
    EXPECT_TRUE(loop_.State().blnCatsShown);
    EXPECT_EQ(cats_.Loads().size(), 4u);
    EXPECT_TRUE(ShowsTheDesktopAsItIs()) << "the frame shows the desktop without the cats";
    bool cat_lit = false;
    for (int32_t y = 0; y < kSide && !cat_lit; ++y) {
        for (int32_t x = 0; x < kSide && !cat_lit; ++x) {
            cat_lit = desktop_.At(x, y) != before.At(x, y) && work_.At(x, y) == desktop_.At(x, y);
        }
    }
    EXPECT_TRUE(cat_lit) << "no cat under the spot";

    const Surface with_cats = desktop_;
    clock_.Set(At(2024, 5, 1, 10, 9, 0));
    ASSERT_EQ(loop_.Timer1_Timer(kCursor), FrameLoop::Tick::Drawn);
    EXPECT_TRUE(desktop_ == with_cats) << "the cats came twice";
}

// ---- the display's state -----------------------------------------------------------------------

// A screen wider than the small spot, which sweeps fast: the spot moves every tick.
class DisplayPowerLoopTest : public testing::Test {
  protected:
    static constexpr int32_t kWidth = 640;
    static constexpr int32_t kHeight = 400;
    static constexpr Point kCursor{320, 200};

    struct Run {
        explicit Run(uint64_t seed) : random{seed} { loop.Start(kCursor); }

        Surface desktop = PatternSurface(kWidth, kHeight);
        Surface work{kWidth, kHeight};
        Surface screen{kWidth, kHeight};
        const Surface mask = SpotMask();
        FakeBitmapLoader cats = CatLoader();
        SeededRandom random;
        ScriptedClock clock{At(2024, 5, 1, 10, 0, 30)};
        ScreenPresenter presenter{work.View(), screen.View()};
        FrameLoop loop{{clock, random, cats, presenter},
                       {desktop.View(), work.View(), mask.View()},
                       kWidth,
                       kHeight,
                       /*speed*/ 2,
                       /*size*/ 0};

        void Draw(int ticks) {
            for (int i = 0; i < ticks; ++i)
                ASSERT_EQ(loop.Timer1_Timer(kCursor), FrameLoop::Tick::Drawn);
        }
        void Skip(int ticks) {
            for (int i = 0; i < ticks; ++i) {
                ASSERT_EQ(loop.Timer1_Timer(kCursor), FrameLoop::Tick::Skipped);
            }
        }
    };

    // Every pixel of picWork is black or the desktop copy's as it is now, and some are lit.
    static bool ShowsTheDesktopAsItIs(const Run& run) {
        int64_t lit = 0;
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                if (run.work.At(x, y) == kBlack) continue;
                if (run.work.At(x, y) != run.desktop.At(x, y)) return false;
                ++lit;
            }
        }
        return lit > 0;
    }
};

struct PowerTickCase {
    const char* name;
    DisplayPower power;
    FrameLoop::Tick tick;
};

void PrintTo(const PowerTickCase& c, std::ostream* out) {
    *out << c.name;
}

class TickByDisplayPower : public DisplayPowerLoopTest,
                           public testing::WithParamInterface<PowerTickCase> {};

TEST_P(TickByDisplayPower, DrawsUnlessTheDisplayIsOff) {
    const PowerTickCase& c = GetParam();
    Run run(5);
    ASSERT_NO_FATAL_FAILURE(run.Draw(3));
    const Surface before = run.work;
    const DisplayState state = run.loop.State();

    run.loop.SetDisplayPower(c.power);
    ASSERT_EQ(run.loop.Timer1_Timer(kCursor), c.tick);
    const bool drawn = c.tick == FrameLoop::Tick::Drawn;
    EXPECT_EQ(run.presenter.Presents(), drawn ? 4 : 3);
    EXPECT_EQ(run.work == before, !drawn) << "picWork after the tick";
    EXPECT_EQ(run.loop.State().lngStep == state.lngStep, !drawn) << "the spot's step";

    // The exit watch runs whatever the display shows.
    EXPECT_EQ(run.loop.Timer1_Timer(Point{kCursor.x, kCursor.y + 11}), FrameLoop::Tick::End);
    EXPECT_EQ(run.presenter.Presents(), drawn ? 4 : 3);
}

INSTANTIATE_TEST_SUITE_P(
    FrameLoop, TickByDisplayPower,
    testing::Values(PowerTickCase{"On", DisplayPower::On, FrameLoop::Tick::Drawn},
                    PowerTickCase{"Dimmed", DisplayPower::Dimmed, FrameLoop::Tick::Drawn},
                    PowerTickCase{"Off", DisplayPower::Off, FrameLoop::Tick::Skipped}),
    ByName());

// The spot stops where it was and goes on from there: after the display comes back, each frame is
// the one a run that never saw the display off draws after as many frames.
TEST_F(DisplayPowerLoopTest, TheSpotGoesOnFromWhereItStopped) {
    Run steady(9);
    Run paused(9);
    ASSERT_NO_FATAL_FAILURE(steady.Draw(70));
    ASSERT_NO_FATAL_FAILURE(paused.Draw(20));
    paused.loop.SetDisplayPower(DisplayPower::Off);
    ASSERT_NO_FATAL_FAILURE(paused.Skip(200));
    paused.loop.SetDisplayPower(DisplayPower::On);
    ASSERT_NO_FATAL_FAILURE(paused.Draw(50));
    EXPECT_EQ(FirstDifference(paused.work.View(), steady.work.View()), "");
    EXPECT_EQ(paused.loop.State().ptTo.x, steady.loop.State().ptTo.x);
    EXPECT_EQ(paused.loop.State().ptTo.y, steady.loop.State().ptTo.y);
}

struct WakeCase {
    const char* name;
    std::vector<DisplayPower> reports;  // while the screen lost its picture
};

void PrintTo(const WakeCase& c, std::ostream* out) {
    *out << c.name;
}

class WakeAfter : public DisplayPowerLoopTest, public testing::WithParamInterface<WakeCase> {};

// Whatever the screen showed while the display was off, the first frame after it presents the
// whole disc: the presenter checks that the screen then equals picWork.
TEST_P(WakeAfter, TheFirstFramePresentsTheWholeSpot) {
    Run run(2);
    ASSERT_NO_FATAL_FAILURE(run.Draw(10));
    run.loop.SetDisplayPower(DisplayPower::Off);
    ASSERT_NO_FATAL_FAILURE(run.Skip(5));
    run.presenter.LosePicture();
    for (DisplayPower power : GetParam().reports) run.loop.SetDisplayPower(power);
    ASSERT_NO_FATAL_FAILURE(run.Draw(1));
    EXPECT_EQ(FirstDifference(run.screen.View(), run.work.View()), "");
    EXPECT_TRUE(ShowsTheDesktopAsItIs(run));
}

INSTANTIATE_TEST_SUITE_P(
    FrameLoop, WakeAfter,
    testing::Values(WakeCase{"On", {DisplayPower::On}}, WakeCase{"Dimmed", {DisplayPower::Dimmed}},
                    WakeCase{"OffAgainThenOn", {DisplayPower::Off, DisplayPower::On}},
                    WakeCase{"DimmedThenOn", {DisplayPower::Dimmed, DisplayPower::On}}),
    ByName());

// The cats check runs in a tick with the display off; the first frame after shows them.
TEST_F(DisplayPowerLoopTest, CatsComeWhileTheDisplayIsOff) {
    Run run(6);
    ASSERT_NO_FATAL_FAILURE(run.Draw(5));
    run.loop.SetDisplayPower(DisplayPower::Off);
    const Surface before = run.desktop;
    run.clock.Set(At(2024, 5, 1, 10, 3, 0));
    ASSERT_NO_FATAL_FAILURE(run.Skip(1));
    EXPECT_TRUE(run.loop.State().blnCatsShown);
    EXPECT_EQ(run.cats.Loads().size(), 4u);
    EXPECT_FALSE(run.desktop == before) << "no cat stamped";
    EXPECT_EQ(run.presenter.Presents(), 5);

    run.loop.SetDisplayPower(DisplayPower::On);
    ASSERT_NO_FATAL_FAILURE(run.Draw(1));
    EXPECT_TRUE(ShowsTheDesktopAsItIs(run)) << "the frame shows the desktop without the cats";
}

TEST(FrameLoop, ASettingThatNamesNoChoiceIsAnError) {
    Surface picture(4, 4);
    FakeBitmapLoader cats;
    SeededRandom random(1);
    ScriptedClock clock(At(2024, 5, 1, 10, 0, 0));
    ScreenPresenter presenter(picture.View(), picture.View());
    const DisplayServices services{clock, random, cats, presenter};
    const DisplayPictures pictures{picture.View(), picture.View(), picture.View()};
    ExpectErrorNaming("speed 3", [&] { FrameLoop(services, pictures, 4, 4, 3, 1); },
                      {"\"Speed\"", "3"});
    ExpectErrorNaming("size -1", [&] { FrameLoop(services, pictures, 4, 4, 1, -1); },
                      {"\"Size\"", "-1"});
}

}  // namespace
}  // namespace gloam
