// Several monitors: the display runs the spot on the primary monitor exactly as on a single one,
// keeps every other monitor black for the whole run, also when a monitor comes or goes, and ends
// on input anywhere.
//
// The monitors are the outputs of the tests' own X server, arranged with xrandr (environment.h);
// only under Wine can a test arrange them.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "pattern.h"
#include "process_counts.h"

namespace e2e {
namespace {

constexpr Monitor kPrimary{0, 0, 1024, 768};
constexpr Monitor kLeft{-800, 0, 800, 600};
constexpr Monitor kRight{1024, 0, 1280, 720};

struct Layout {
    const char* name;
    std::vector<Monitor> monitors;  // the first is the primary
};

void PrintTo(const Layout& layout, std::ostream* out) {
    *out << layout.name;
}

// 800x600 left of the primary (negative coordinates) and 1280x720 right of it.
const Layout kThreeInARow{"ThreeInARow", {kPrimary, kLeft, kRight}};
// One above the primary, one below and to the right with a gap between it and the primary.
const Layout kAboveAndApart{"AboveAndApart",
                            {kPrimary, {112, -600, 800, 600}, {1124, 768, 640, 480}}};

std::string Describe(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

std::string Describe(std::vector<RECT> rects) {
    std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) {
        return std::pair(a.left, a.top) < std::pair(b.left, b.top);
    });
    std::string text;
    for (const RECT& r : rects) text += Describe(r) + " ";
    return text;
}

class SeveralMonitors : public PatternDisplayTest {
  protected:
    void Arrange(const std::vector<Monitor>& monitors) {
        if (!UnderWine()) GTEST_SKIP() << "only the tests' own X server can arrange monitors";
        layout_ = std::make_unique<MonitorLayout>(monitors);
        ASSERT_TRUE(layout_->Applied()) << layout_->Failure();
        monitors_ = monitors;
        MoveCursorTo(centre_.x, centre_.y);
    }

    // The display over a pattern that spans every monitor.
    void StartOverEveryMonitor() {
        ASSERT_NO_FATAL_FAILURE(StartDisplayOverPattern(L"1", L"1", VirtualScreen()));
    }

    void TearDown() override {
        PatternDisplayTest::TearDown();
        layout_.reset();
    }

    std::vector<RECT> OtherMonitors() const {
        std::vector<RECT> others;
        for (size_t i = 1; i < monitors_.size(); ++i) others.push_back(monitors_[i].Rect());
        return others;
    }

    // The program's visible covers, once they lie over the monitors other than the primary, or as
    // they are after 5 s.
    std::vector<WindowInfo> WaitForCovers() {
        std::vector<WindowInfo> covers;
        const std::string others = Describe(OtherMonitors());
        WaitUntil(
            [&] {
                covers.clear();
                std::vector<RECT> covered;
                for (const WindowInfo& w : scr_->Windows()) {
                    if (w.cls != kCoverClass || !w.visible) continue;
                    covers.push_back(w);
                    covered.push_back(w.rect);
                }
                return Describe(covered) == others;
            },
            5s);
        return covers;
    }

    // Describes where the covers are, once they lie over the other monitors or after 5 s.
    std::string WaitForCovered() {
        std::vector<RECT> covered;
        for (const WindowInfo& w : WaitForCovers()) covered.push_back(w.rect);
        return Describe(covered);
    }

    // True once every pixel of every monitor but the primary is black; `where` says what is not.
    // Three frames with a spot on the primary, every lit pixel the copy's.
    void ExpectSpotOverTheCopy(const std::string& when) {
        int frames = 0;
        EXPECT_TRUE(SampleFrames(
            [&](const TimedShot& frame) {
                const FrameScan scan = ScanFrame(frame.shot);
                if (scan.lit > 0) {
                    ++frames;
                    EXPECT_EQ(scan.mismatched, 0) << when;
                }
                return frames >= 3 || HasFailure();
            },
            5s))
            << "no spot " << when;
    }

    bool WaitOthersBlack(std::string& where) {
        return WaitUntil(
            [&] {
                for (const RECT& r : OtherMonitors()) {
                    const double black = ShareOf(CaptureScreen(r), 0);
                    if (black != 1.0) {
                        where = "monitor " + Describe(r) + " is only " +
                                std::to_string(black * 100) + "% black";
                        return false;
                    }
                }
                return true;
            },
            5s, 50ms);
    }

    std::unique_ptr<MonitorLayout> layout_;
    std::vector<Monitor> monitors_;
};

// ---- every monitor covered, the primary exact ---------------------------------------------------

class EveryMonitor : public SeveralMonitors, public ::testing::WithParamInterface<Layout> {};

TEST_P(EveryMonitor, OthersBlackPrimaryExact) {
    ASSERT_NO_FATAL_FAILURE(Arrange(GetParam().monitors));
    const RECT all = VirtualScreen();
    if (UnderEmulated32BitWine() && all.right - all.left > 2 * kPrimary.Rect().right) {
        GTEST_SKIP() << "under 32-bit Wine through qemu-i386 the test's own pattern window over "
                        "three monitors in a row never reaches the screen (cause not found yet; "
                        "the 64-bit suite runs this case)";
    }
    ASSERT_NO_FATAL_FAILURE(StartOverEveryMonitor());

    // The display window covers the primary monitor alone, as on a single monitor.
    EXPECT_EQ(Describe(display_->rect), Describe(kPrimary.Rect()));

    // Every other monitor is covered by a black window that looks like the display but carries no
    // title, so that no start can take it for an open display.
    const std::vector<WindowInfo> covers = WaitForCovers();
    std::vector<RECT> covered;
    for (const WindowInfo& w : covers) {
        covered.push_back(w.rect);
        EXPECT_TRUE(w.title.empty()) << "a cover carries the title \"" << Narrow(w.title) << "\"";
        EXPECT_TRUE(w.style & WS_POPUP);
        EXPECT_FALSE(w.style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
        EXPECT_TRUE(w.exStyle & WS_EX_TOPMOST) << "a cover is not topmost";
        EXPECT_TRUE(w.exStyle & WS_EX_TOOLWINDOW) << "a cover would show in the taskbar";
        EXPECT_EQ(ProbeClassCursor(w.hwnd), CursorLook::Invisible);
    }
    EXPECT_EQ(Describe(covered), Describe(OtherMonitors()));
    std::string where;
    EXPECT_TRUE(WaitOthersBlack(where)) << where;

    // On the primary, the spot over the captured pattern, pixel for pixel, and black elsewhere;
    // the other monitors stay black frame after frame.
    int frames = 0;
    const bool seen = SampleFrames(
        [&](const TimedShot& frame) {
            const FrameScan scan = ScanFrame(frame.shot);
            if (scan.lit == 0) return false;
            ++frames;
            EXPECT_EQ(scan.mismatched, 0)
                << "lit pixels that are not the desktop's:" << scan.examples;
            EXPECT_EQ(scan.bounds.Width(), 287);
            EXPECT_EQ(scan.bounds.Height(), 288);
            for (const RECT& r : OtherMonitors()) {
                EXPECT_EQ(ShareOf(CaptureScreen(r), 0), 1.0) << "monitor " << Describe(r) << " lit";
            }
            return frames >= 5 || HasFailure();
        },
        10s);
    EXPECT_TRUE(seen) << "no spot on the primary monitor";
    EXPECT_TRUE(scr_->Running());
}

INSTANTIATE_TEST_SUITE_P(Monitors, EveryMonitor, ::testing::Values(kThreeInARow, kAboveAndApart),
                         ByName());

// ---- input on another monitor -------------------------------------------------------------------

enum class Input { Rest, SmallMove, LargeMove, Click, KeyRelease };

struct InputCase {
    const char* name;
    Monitor where;  // the pointer rests in the middle of this monitor from before the start
    Input input;
};

void PrintTo(const InputCase& c, std::ostream* out) {
    *out << c.name;
}

class InputElsewhere : public SeveralMonitors, public ::testing::WithParamInterface<InputCase> {};

TEST_P(InputElsewhere, EndsAsOnThePrimary) {
    const InputCase c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Arrange(kThreeInARow.monitors));
    MoveCursorTo(c.where.left + c.where.width / 2, c.where.top + c.where.height / 2);
    ASSERT_NO_FATAL_FAILURE(StartDisplay(L"1", L"1"));
    ASSERT_EQ(WaitForCovered(), Describe(OtherMonitors()));
    // A pointer resting on another monitor at the start ends nothing.
    ExpectStillRunning("the start with the pointer on another monitor");
    switch (c.input) {
        case Input::Rest:
            // The watch compares positions there as anywhere: a jump beyond 10 pixels ends it.
            MoveCursorBy(0, 11);
            ExpectEndedNormally("an 11-pixel jump on another monitor");
            break;
        case Input::SmallMove:
            MoveCursorBy(-6, 8);
            ExpectStillRunning("a move of 10 pixels on another monitor");
            MoveCursorBy(-11, 0);
            ExpectEndedNormally("an 11-pixel jump on another monitor");
            break;
        case Input::LargeMove:
            MoveCursorBy(7, -8);
            ExpectEndedNormally("a move of 10.6 pixels on another monitor");
            break;
        case Input::Click:
            MouseButtonDown(MOUSEEVENTF_LEFTDOWN);
            ExpectStillRunning("a button press on another monitor");
            MouseButtonUp(MOUSEEVENTF_LEFTDOWN);
            ExpectEndedNormally("a click on another monitor");
            break;
        case Input::KeyRelease: {
            HeldKey key(VK_SPACE);
            ExpectStillRunning("a key press with the pointer on another monitor");
            key.Release();
            ExpectEndedNormally("a key release with the pointer on another monitor");
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Monitors, InputElsewhere,
                         ::testing::Values(InputCase{"RestingLeft", kLeft, Input::Rest},
                                           InputCase{"SmallMoveRight", kRight, Input::SmallMove},
                                           InputCase{"LargeMoveLeft", kLeft, Input::LargeMove},
                                           InputCase{"ClickLeft", kLeft, Input::Click},
                                           InputCase{"ClickRight", kRight, Input::Click},
                                           InputCase{"KeyReleaseRight", kRight, Input::KeyRelease}),
                         ByName());

// ---- high densities ----------------------------------------------------------------------------

struct DensityCase {
    int dpi;
    const wchar_t* size;  // the stored size index
    int spot;             // the spot's side in pixels that it chooses
};

void PrintTo(const DensityCase& c, std::ostream* out) {
    *out << c.dpi << " DPI, spot " << c.spot;
}

class AtDensity : public SeveralMonitors, public ::testing::WithParamInterface<DensityCase> {};

// At 125 %, 150 % and 200 % the display still covers every monitor exactly in physical pixels,
// copies the desktop one to one and draws the spot at the size the setting chooses in pixels.
TEST_P(AtDensity, CoversEveryMonitorAndKeepsThePixels) {
    const DensityCase c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Arrange({kPrimary, kRight}));
    const LogPixels density(static_cast<DWORD>(c.dpi));
    ASSERT_NO_FATAL_FAILURE(StartDisplayOverPattern(L"1", c.size, VirtualScreen()));

    EXPECT_EQ(Describe(display_->rect), Describe(kPrimary.Rect()));
    EXPECT_EQ(WaitForCovered(), Describe(std::vector<RECT>{kRight.Rect()}));
    std::string where;
    EXPECT_TRUE(WaitOthersBlack(where)) << where;

    // The mask's disc is 287 x 288 of its 300 x 300 square; stretched, it keeps that share, give or
    // take the rounding at each edge.
    const double wide = 287.0 * c.spot / 300;
    const double high = 288.0 * c.spot / 300;
    int frames = 0;
    EXPECT_TRUE(SampleFrames(
        [&](const TimedShot& frame) {
            const FrameScan scan = ScanFrame(frame.shot);
            if (scan.lit == 0) return false;
            ++frames;
            EXPECT_EQ(scan.mismatched, 0)
                << "lit pixels that are not the desktop's:" << scan.examples;
            EXPECT_NEAR(scan.bounds.Width(), wide, 3.0);
            EXPECT_NEAR(scan.bounds.Height(), high, 3.0);
            return frames >= 5 || HasFailure();
        },
        10s))
        << "no spot on the primary monitor";
}

INSTANTIATE_TEST_SUITE_P(Monitors, AtDensity,
                         ::testing::Values(DensityCase{120, L"0", 200}, DensityCase{144, L"1", 300},
                                           DensityCase{192, L"2", 400}),
                         [](const ::testing::TestParamInfo<DensityCase>& param) {
                             return "dpi" + std::to_string(param.param.dpi);
                         });

// ---- a monitor comes and goes while the display runs --------------------------------------------

// The monitors that come and go lie right of and below the primary: X has no negative coordinates,
// so a monitor coming or going left of or above the primary would shift the X position of every
// other one, and with it the pointer's position as Windows reports it, which rightly ends the
// display.
TEST_F(SeveralMonitors, AMonitorAddedOrRemovedWhileRunningIsCovered) {
    constexpr Monitor kBelow{0, 768, 800, 600};
    ASSERT_NO_FATAL_FAILURE(Arrange({kPrimary, kRight}));
    ASSERT_NO_FATAL_FAILURE(StartOverEveryMonitor());
    ASSERT_EQ(WaitForCovered(), Describe(OtherMonitors()));

    const auto expect_covered = [&](const std::vector<Monitor>& monitors, const char* when) {
        monitors_ = monitors;
        const std::optional<std::string> failure = ArrangeMonitors(monitors_);
        ASSERT_FALSE(failure.has_value()) << *failure;
        EXPECT_EQ(WaitForCovered(), Describe(OtherMonitors())) << when;
        std::string where;
        EXPECT_TRUE(WaitOthersBlack(where)) << when << ": " << where;
        ASSERT_TRUE(scr_->Running()) << "the display ended " << when;
        // The primary's frame keeps its size, and the spot goes on over the copy taken at the
        // start.
        EXPECT_EQ(Describe(DescribeWindow(display_->hwnd).rect), Describe(kPrimary.Rect()));
        ExpectSpotOverTheCopy(when);
    };
    expect_covered({kPrimary, kRight, kBelow}, "after a monitor was added below the primary");
    expect_covered({kPrimary, kBelow}, "after the monitor right of the primary was removed");
}

// ---- many changes leave nothing behind ---------------------------------------------------------

using SeveralMonitorsLong = SeveralMonitors;

// A laptop docked and undocked all night: after 40 times the second monitor went and came back,
// the process has one top-level window per monitor and holds what it held after the first time.
TEST_F(SeveralMonitorsLong, FortyUnplugsLeaveOneWindowPerMonitorAndFlatCounts) {
    constexpr int kCycles = 40;
    ASSERT_NO_FATAL_FAILURE(Arrange({kPrimary, kRight}));
    ASSERT_NO_FATAL_FAILURE(StartOverEveryMonitor());
    ASSERT_EQ(WaitForCovered(), Describe(OtherMonitors()));

    const std::vector<Monitor> docked = monitors_;
    const std::vector<Monitor> alone{kPrimary};
    // One window per monitor, once the display has looked at the monitors again.
    const auto expect_one_each = [&](const std::vector<Monitor>& monitors, int cycle) {
        monitors_ = monitors;
        const std::optional<std::string> failure = ArrangeMonitors(monitors_);
        ASSERT_FALSE(failure.has_value()) << *failure;
        std::optional<ProcessCounts> counts;
        const bool settled = WaitUntil(
            [&] {
                counts = CountProcess(scr_->pid());
                return counts && counts->visible_windows == static_cast<int>(monitors.size()) &&
                       WaitForCovered() == Describe(OtherMonitors());
            },
            10s, 100ms);
        ASSERT_TRUE(scr_->Running()) << "the display ended in cycle " << cycle;
        ASSERT_TRUE(settled) << "cycle " << cycle << ", " << monitors.size()
                             << " monitors: " << (counts ? Describe(*counts) : "no counts");
    };
    ASSERT_NO_FATAL_FAILURE(expect_one_each(alone, 0));
    ASSERT_NO_FATAL_FAILURE(expect_one_each(docked, 0));
    PumpFor(1500ms);
    const std::optional<ProcessCounts> before = CountProcess(scr_->pid());
    ASSERT_TRUE(before.has_value());

    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        ASSERT_NO_FATAL_FAILURE(expect_one_each(alone, cycle));
        ASSERT_NO_FATAL_FAILURE(expect_one_each(docked, cycle));
    }
    PumpFor(1500ms);
    const std::optional<ProcessCounts> after = CountProcess(scr_->pid());
    ASSERT_TRUE(after.has_value());
    std::printf("after the first cycle: %s\nafter %d more:       %s\n", Describe(*before).c_str(),
                kCycles, Describe(*after).c_str());

    EXPECT_EQ(after->visible_windows, 2);
    EXPECT_EQ(after->windows, before->windows) << "top-level windows left behind";
    // Each is compared where the system answers it (Wine 8 does not count GDI and USER objects).
    if (before->gdi_objects) {
        EXPECT_EQ(after->gdi_objects, before->gdi_objects) << "GDI objects";
    }
    if (before->user_objects) {
        EXPECT_EQ(after->user_objects, before->user_objects) << "USER objects";
    }
    if (before->handles) {
        ASSERT_TRUE(after->handles.has_value());
        EXPECT_LE(*after->handles, *before->handles + 2) << "handles";
    }
    // Private bytes where the system counts them, else the working set (Wine 8 answers only that;
    // it also counts pages of shared libraries touched late, hence the margin).
    const auto memory = [](const ProcessCounts& counts) {
        return counts.private_bytes ? counts.private_bytes : counts.working_set;
    };
    ASSERT_TRUE(memory(*before).has_value()) << "no memory counters";
    ASSERT_TRUE(memory(*after).has_value()) << "no memory counters";
    EXPECT_LE(*memory(*after), *memory(*before) + 4 * 1024 * 1024) << "memory grew by over 4 MiB";

    // And the primary still shows the spot over the copy taken at the start.
    ExpectSpotOverTheCopy("after the changes");
}

}  // namespace
}  // namespace e2e
