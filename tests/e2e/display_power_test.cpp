// The display switched off and on by the system: the test sends the window the report the system
// sends (power_report.h). While the display is off no frame is drawn, yet input still ends the
// program; when it comes back the spot goes on from where it stopped, whole. A malformed report
// changes nothing.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "harness.h"
#include "pattern.h"
#include "power_report.h"

namespace e2e {
namespace {

constexpr uint32_t kOff = 0;
constexpr uint32_t kOn = 1;
constexpr uint32_t kDimmed = 2;

// Long enough for 50 ticks: frames that were going to change have changed.
constexpr Millis kStill = 1000ms;

class DisplayPowerTest : public PatternDisplayTest {
  protected:
    void SetUp() override {
        PatternDisplayTest::SetUp();
        mask_ = LoadSpotMask();
        ASSERT_TRUE(mask_.has_value()) << "no spot mask among the .scr's bitmaps";
        for (bool white : mask_->white) disc_pixels_ += white ? 1 : 0;
        // The slow sweep: about 5 pixels a tick across the screen.
        ASSERT_NO_FATAL_FAILURE(StartDisplayOverPattern(L"0", L"1"));
        if (!MemoryOfProcessReachable(scr_->pid())) {
            GTEST_SKIP() << "the display's memory cannot be written at its own addresses here "
                            "(32-bit Wine under qemu-i386), so no report can reach it";
        }
        ASSERT_NO_FATAL_FAILURE(WaitForWholeSpot("after the start"));
    }

    void Send(const std::vector<unsigned char>& record, RecordPlace place = RecordPlace::Readable) {
        const std::string failure = SendPowerSetting(display_->hwnd, scr_->pid(), record, place);
        ASSERT_EQ(failure, "");
    }

    // Waits for a frame that shows the whole disc over the pattern; returns its bounds.
    gloam::Rect WaitForWholeSpot(const std::string& when) {
        gloam::Rect bounds;
        const bool seen = SampleFrames(
            [&](const TimedShot& frame) {
                const FrameScan scan = ScanFrame(frame.shot);
                bounds = scan.bounds;
                return scan.lit == disc_pixels_ && scan.mismatched == 0;
            },
            5s);
        EXPECT_TRUE(seen) << "no whole spot " << when;
        return bounds;
    }

    // True when every screenshot over `span` equals the first.
    static bool ScreenStaysFor(Millis span) {
        const Surface first = CaptureScreen();
        bool same = true;
        WaitUntil(
            [&] {
                same = same && CaptureScreen() == first;
                return !same;
            },
            span, 50ms);
        return same;
    }

    std::optional<SpotMask> mask_;
    int disc_pixels_ = 0;
};

TEST_F(DisplayPowerTest, OffStopsTheFramesAndOnGoesOnFromThereWithTheWholeSpot) {
    ASSERT_FALSE(ScreenStaysFor(kStill)) << "the spot does not move before the display goes off";

    ASSERT_NO_FATAL_FAILURE(Send(DisplayStateRecord(kOff)));
    // The last frame presented may reach the screen a little later (under qemu, much later); at
    // 50 frames a second a running spot never holds still for 300 ms.
    ASSERT_TRUE(WaitUntil([] { return ScreenStaysFor(300ms); }, 5s))
        << "frames drawn while the display is off";
    const FrameScan stopped = ScanFrame(CaptureScreen());
    EXPECT_TRUE(ScreenStaysFor(3 * kStill)) << "frames drawn while the display is off";
    ASSERT_TRUE(scr_->Running());

    ASSERT_NO_FATAL_FAILURE(Send(DisplayStateRecord(kOn)));
    // The spot starts where it stopped: within a few ticks' steps, not the 150 ticks' worth of
    // sweep that passed while the display was off.
    const gloam::Rect back = WaitForWholeSpot("after the display came back");
    EXPECT_LE(std::abs(back.left - stopped.bounds.left), 40)
        << "from x " << stopped.bounds.left << " to " << back.left;
    EXPECT_LE(std::abs(back.top - stopped.bounds.top), 40)
        << "from y " << stopped.bounds.top << " to " << back.top;
    EXPECT_FALSE(ScreenStaysFor(kStill)) << "no frames after the display came back";
    // And whole frame after frame.
    for (int i = 0; i < 5; ++i) WaitForWholeSpot("frame " + std::to_string(i) + " after");
}

TEST_F(DisplayPowerTest, DimmedKeepsTheFramesGoing) {
    ASSERT_NO_FATAL_FAILURE(Send(DisplayStateRecord(kDimmed)));
    EXPECT_FALSE(ScreenStaysFor(kStill)) << "no frames while dimmed";
    WaitForWholeSpot("while dimmed");
}

struct InputWhileOff {
    const char* name;
    int dx;
    int dy;
    bool ends;
};

void PrintTo(const InputWhileOff& c, std::ostream* out) {
    *out << c.name;
}

class InputWhileOffTest : public DisplayPowerTest,
                          public ::testing::WithParamInterface<InputWhileOff> {};

TEST_P(InputWhileOffTest, TheExitWatchGoesOn) {
    const InputWhileOff c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Send(DisplayStateRecord(kOff)));
    ExpectStillRunning("the display went off");
    ASSERT_TRUE(WaitUntil([] { return ScreenStaysFor(300ms); }, 5s)) << "frames drawn while off";
    MoveCursorBy(c.dx, c.dy);
    if (c.ends) {
        ExpectEndedNormally("a pointer jump with the display off");
    } else {
        ExpectStillRunning("a 10-pixel move with the display off");
        EXPECT_TRUE(ScreenStaysFor(kStill)) << "the move drew a frame";
    }
}

INSTANTIATE_TEST_SUITE_P(DisplayPower, InputWhileOffTest,
                         ::testing::Values(InputWhileOff{"JumpEnds", 0, 11, true},
                                           InputWhileOff{"TenPixelsStay", 6, 8, false}),
                         ByName());

// Reports that say nothing about the display: the frames go on as before.
struct Malformed {
    const char* name;
    std::vector<unsigned char> record;
    RecordPlace place;
};

void PrintTo(const Malformed& c, std::ostream* out) {
    *out << c.name;
}

std::vector<unsigned char> OffWithData(DWORD length, std::vector<unsigned char> data) {
    return PowerSettingRecord(kConsoleDisplayState, length, data);
}

class MalformedReport : public DisplayPowerTest, public ::testing::WithParamInterface<Malformed> {};

TEST_P(MalformedReport, ChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Send(GetParam().record, GetParam().place));
    PumpFor(100ms);
    ASSERT_TRUE(scr_->Running()) << "the report ended the display";
    EXPECT_FALSE(ScreenStaysFor(kStill)) << "the frames stopped";
    WaitForWholeSpot("after the report");
}

INSTANTIATE_TEST_SUITE_P(
    DisplayPower, MalformedReport,
    ::testing::Values(
        Malformed{"LengthOne", OffWithData(1, {0}), RecordPlace::Readable},
        Malformed{"LengthEight", OffWithData(8, {0, 0, 0, 0, 0, 0, 0, 0}), RecordPlace::Readable},
        Malformed{"ValueThree", OffWithData(4, {3, 0, 0, 0}), RecordPlace::Readable},
        Malformed{"OtherSetting", PowerSettingRecord(kMonitorPowerOn, 4, {0, 0, 0, 0}),
                  RecordPlace::Readable},
        Malformed{"CutByUnreadablePage", OffWithData(4, {0, 0, 0, 0}), RecordPlace::CutByNoAccess},
        Malformed{"FreedMemory", OffWithData(4, {0, 0, 0, 0}), RecordPlace::Freed},
        Malformed{"NoRecord", OffWithData(4, {0, 0, 0, 0}), RecordPlace::Null}),
    ByName());

}  // namespace
}  // namespace e2e
