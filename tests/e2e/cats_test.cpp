// The hidden cats: at the first tick at or after the third clock-minute boundary since the start,
// two cats are stamped into the display's copy of the desktop. Before then every lit pixel is the
// desktop's; from then on the spot shows, wherever it passes over a cat, pixels that are not.
//
// Takes up to three minutes and a few seconds: the suite name ends in "Long".
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "harness.h"
#include "pattern.h"
#include "resource.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;
using HiddenCatsLong = PatternDisplayTest;

// The fewest pixels of a cat that count as having seen one. A cat has thousands.
constexpr int kCatPixels = 100;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A lit pixel that is not the desktop's is either a cat's picture pixel (under the white of its
// mask) or, along the outline, the desktop with a few bits cleared by a near-white picture pixel.
bool CouldBeCat(std::uint32_t colour, std::uint32_t desktop,
                const std::unordered_set<std::uint32_t>& catColours) {
    return catColours.count(colour) > 0 || (colour & ~desktop) == 0;
}

TEST_F(HiddenCatsLong, AppearUnderTheSpotOnlyFromTheThirdClockMinute) {
    std::unordered_set<std::uint32_t> catColours;
    for (int i = 0; i < 2; ++i) {
        const std::optional<Surface> picture = LoadBitmapResource(IDB_CAT0 + i);
        const std::optional<Surface> mask = LoadBitmapResource(IDB_CAT0_MASK + i);
        ASSERT_TRUE(picture && mask) << "cat " << i << " is missing among the .scr's bitmaps";
        ASSERT_EQ(picture->Width(), mask->Width());
        ASSERT_EQ(picture->Height(), mask->Height());
        for (int y = 0; y < picture->Height(); ++y) {
            for (int x = 0; x < picture->Width(); ++x) {
                if (mask->At(x, y) != 0) catColours.insert(picture->At(x, y));
            }
        }
    }

    // Started just before a minute boundary, the program's start minute could be either; wait
    // for the boundary so that it is known.
    if (UntilLocalMinute(LocalMinute() + 1) < 5s) {
        const std::int64_t minute = LocalMinute();
        ASSERT_TRUE(WaitUntil([&] { return LocalMinute() != minute; }, 7s, 50ms));
    }
    const std::int64_t minuteBefore = LocalMinute();
    // Large and fast: the spot passes over most of the screen within seconds.
    ASSERT_NO_FATAL_FAILURE(StartDisplayOverPattern(L"2", L"2"));
    const std::int64_t minuteAfter = LocalMinute();
    // The program took its start time between the two readings, so the cats come at the third
    // boundary after the first at the earliest and after the second at the latest.
    const Clock::time_point started = Clock::now();
    const Clock::time_point earliest = started + UntilLocalMinute(minuteBefore + 3);
    const Clock::time_point latest = started + UntilLocalMinute(minuteAfter + 3);

    // Before: every frame shows the spot and every lit pixel is the desktop's. A frame whose
    // capture was complete before the boundary was drawn before it.
    const Clock::time_point beforeEnds = earliest - 300ms;
    int framesBefore = 0;
    int spotFramesBefore = 0;
    const bool watched = SampleFrames(
        [&](const TimedShot& frame) {
            if (frame.taken >= beforeEnds) return true;
            const FrameScan scan = ScanFrame(frame.shot);
            ++framesBefore;
            if (scan.lit > 0) ++spotFramesBefore;
            EXPECT_EQ(scan.mismatched, 0)
                << "lit pixels that are not the desktop's, " << Seconds(frame.taken - started)
                << " s after the start, " << Seconds(earliest - frame.taken)
                << " s before the third minute boundary:" << scan.examples << " the spot at "
                << scan.bounds.left << ", " << scan.bounds.top << " - " << scan.bounds.right << ", "
                << scan.bounds.bottom;
            return HasFailure();
        },
        std::chrono::duration_cast<Millis>(beforeEnds - Clock::now()) + 5s);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(watched);
    EXPECT_GE(spotFramesBefore, framesBefore * 9 / 10) << "frames without a spot";
    EXPECT_GE(framesBefore, 200) << "too few frames looked at before the boundary";
    ASSERT_TRUE(scr_->Running()) << "the display ended before the cats were due";

    ASSERT_TRUE(WaitUntil([&] { return Clock::now() >= latest + 50ms; }, 70s));

    // After: within some seconds the spot passes over a cat.
    const ScreenSize screen = PrimaryScreen();
    std::vector<std::uint32_t> catAt(static_cast<size_t>(screen.width) * screen.height, 0);
    gloam::Rect firstSpot;
    int catPixelsSeen = 0;
    Clock::time_point seenAt{};
    const bool found = SampleFrames(
        [&](const TimedShot& frame) {
            const Surface& shot = frame.shot;
            const FrameScan scan = ScanFrame(shot);
            if (scan.mismatched < kCatPixels) return false;
            for (int y = scan.bounds.top; y < scan.bounds.bottom; ++y) {
                for (int x = scan.bounds.left; x < scan.bounds.right; ++x) {
                    const std::uint32_t c = shot.At(x, y);
                    if (c == 0 || c == PatternColour(x, y)) continue;
                    EXPECT_TRUE(CouldBeCat(c, PatternColour(x, y), catColours))
                        << "pixel (" << x << ", " << y << ") is 0x" << std::hex << c
                        << ", neither the desktop's nor a cat's";
                    catAt[static_cast<size_t>(y) * screen.width + x] = c;
                }
            }
            firstSpot = scan.bounds;
            catPixelsSeen = scan.mismatched;
            seenAt = frame.taken;
            return true;
        },
        60s);
    ASSERT_TRUE(found) << "no cat under the spot within 60 s after the third minute boundary";
    ASSERT_FALSE(HasFailure());
    RecordProperty("cat_pixels", catPixelsSeen);
    RecordProperty("seconds_after_boundary", std::to_string(Seconds(seenAt - latest)));

    // The cats are in the desktop copy, not in the spot: with the spot elsewhere, the same places
    // show the same cat pixels again.
    int matched = 0;
    const bool again = SampleFrames(
        [&](const TimedShot& frame) {
            const Surface& shot = frame.shot;
            const FrameScan scan = ScanFrame(shot);
            if (scan.lit == 0 ||
                (scan.bounds.left == firstSpot.left && scan.bounds.top == firstSpot.top)) {
                return false;
            }
            int same = 0;
            for (int y = scan.bounds.top; y < scan.bounds.bottom; ++y) {
                for (int x = scan.bounds.left; x < scan.bounds.right; ++x) {
                    const std::uint32_t cat = catAt[static_cast<size_t>(y) * screen.width + x];
                    const std::uint32_t c = shot.At(x, y);
                    if (cat == 0 || c == 0) continue;
                    EXPECT_EQ(c, cat) << "at (" << x << ", " << y << ") the cat changed";
                    if (c != cat) return true;
                    ++same;
                }
            }
            matched = same;
            return same >= kCatPixels;
        },
        60s);
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(again) << "the spot, moved on, did not show the cat's pixels at their places again";
    EXPECT_GE(matched, kCatPixels);
    EXPECT_TRUE(scr_->Running());
}

}  // namespace
}  // namespace e2e
