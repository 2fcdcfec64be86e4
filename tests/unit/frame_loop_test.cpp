#include "display/frame_loop.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/error.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::At;
using testing_support::CatLoader;
using testing_support::ExpectErrorNaming;
using testing_support::FakeBitmapLoader;
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
