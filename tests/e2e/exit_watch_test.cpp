// The display ends at once, with exit code 0, on a mouse move of more than 10 pixels between two
// ticks, a click, or a key release; nothing less ends it.
#include "display_run.h"
#include "harness.h"

namespace e2e {
namespace {

class ExitWatchTest : public DisplayRunTest {
  protected:
    // Proves the watch was alive all along: a plain 11-pixel jump must still end the display.
    void ExpectJumpEnds() {
        MoveCursorBy(0, 11);
        ExpectEndedNormally("an 11-pixel jump");
    }
};

struct Jump {
    int dx;
    int dy;
    bool ends;
};

void PrintTo(const Jump& j, std::ostream* os) {
    *os << "(" << j.dx << ", " << j.dy << ")";
}

std::string JumpName(const ::testing::TestParamInfo<Jump>& param) {
    auto n = [](int v) {
        std::string text = std::to_string(v < 0 ? -v : v);
        return v < 0 ? "m" + text : text;
    };
    const Jump& j = param.param;
    return n(j.dx) + "_" + n(j.dy) + (j.ends ? "_ends" : "_stays");
}

class PointerJump : public ExitWatchTest, public ::testing::WithParamInterface<Jump> {};

TEST_P(PointerJump, EndsOnlyBeyondTenPixels) {
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    const Jump jump = GetParam();
    MoveCursorBy(jump.dx, jump.dy);
    const std::string what =
        "a jump of (" + std::to_string(jump.dx) + ", " + std::to_string(jump.dy) + ")";
    if (jump.ends) {
        ExpectEndedNormally(what);
    } else {
        ExpectStillRunning(what);
        ExpectJumpEnds();
    }
}

INSTANTIATE_TEST_SUITE_P(ExitWatch, PointerJump,
                         ::testing::Values(Jump{6, 8, false}, Jump{-8, -6, false},
                                           Jump{10, 0, false}, Jump{0, -10, false},
                                           Jump{7, 8, true}, Jump{0, 11, true}, Jump{-11, 0, true},
                                           Jump{8, -7, true}, Jump{300, 200, true}),
                         JumpName);

std::string KeyName(const ::testing::TestParamInfo<WORD>& param) {
    return "vk" + std::to_string(param.param);
}

class KeyRelease : public ExitWatchTest, public ::testing::WithParamInterface<WORD> {};

TEST_P(KeyRelease, EndsOnReleaseNotOnPress) {
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    HeldKey key(GetParam());
    ExpectStillRunning("a key press");
    key.Release();
    ExpectEndedNormally("a key release");
}

INSTANTIATE_TEST_SUITE_P(ExitWatch, KeyRelease,
                         ::testing::Values(WORD{'A'}, WORD{VK_SPACE}, WORD{VK_SHIFT},
                                           WORD{VK_ESCAPE}, WORD{VK_F5}),
                         KeyName);

using HeldKeyTest = ExitWatchTest;

TEST_F(HeldKeyTest, KeyHeldBeforeTheStartEndsItWhenReleased) {
    HeldKeyboardKey key(VK_SHIFT, "Shift_L");
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    ExpectStillRunning("the start with a key held");
    key.Release();
    ExpectEndedNormally("releasing the held key");
}

std::string ButtonName(const ::testing::TestParamInfo<DWORD>& param) {
    switch (param.param) {
        case MOUSEEVENTF_LEFTDOWN:
            return "left";
        case MOUSEEVENTF_RIGHTDOWN:
            return "right";
        default:
            return "middle";
    }
}

class MouseClick : public ExitWatchTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(MouseClick, EndsOnTheReleaseOfTheButton) {
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    const POINT before = CursorPos();
    MouseButtonDown(GetParam());
    ExpectStillRunning("a button press");
    MouseButtonUp(GetParam());
    ExpectEndedNormally("a click");
    const POINT after = CursorPos();
    EXPECT_TRUE(before.x == after.x && before.y == after.y) << "the click moved the pointer";
}

INSTANTIATE_TEST_SUITE_P(ExitWatch, MouseClick,
                         ::testing::Values(DWORD{MOUSEEVENTF_LEFTDOWN},
                                           DWORD{MOUSEEVENTF_RIGHTDOWN},
                                           DWORD{MOUSEEVENTF_MIDDLEDOWN}),
                         ButtonName);

// Seconds of steady movement: labelled long.
using ExitWatchLong = ExitWatchTest;

TEST_F(ExitWatchLong, SteadyFivePixelMovesNeverEndIt) {
    ScreenSize screen = PrimaryScreen();
    MoveCursorTo(100, screen.height / 2);
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    const POINT start = CursorPos();
    // One 5-pixel step every ~25 ms: at most two steps fall between two 20 ms ticks, which is 10
    // pixels, never more. The whole path is far longer than 10 pixels.
    auto until = std::chrono::steady_clock::now() + 1500ms;
    int steps = 0;
    while (std::chrono::steady_clock::now() < until && scr_->Running()) {
        MoveCursorBy(5, 0);
        ++steps;
        PumpFor(25ms);
    }
    EXPECT_TRUE(scr_->Running()) << "ended after " << steps << " steps of 5 pixels";
    EXPECT_GE(CursorPos().x - start.x, 150) << "the pointer travelled too little to tell";
    ExpectJumpEnds();
}

}  // namespace
}  // namespace e2e
