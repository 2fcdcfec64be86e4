// Reading the light spot off the screen.
//
// The tests paint the screen with PatternWindow (harness.h) before the display starts, so every
// pixel the program captured has a colour that names its place and is never black. A frame of the
// display is then black except inside the spot's disc, where each pixel must equal the pattern at
// the same place; a pixel that is lit but differs from the pattern is something the program drew
// into its copy of the desktop (a cat).
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display_run.h"
#include "harness.h"
#include "platform/surface.h"

namespace e2e {

// What one screenshot shows of the spot.
struct FrameScan {
    int lit = 0;           // pixels that are not black
    gloam::Rect bounds;    // bounding box of the lit pixels (empty when none)
    int mismatched = 0;    // lit pixels whose colour is not the pattern's at that place
    std::string examples;  // the first few of them: place, colour and the pattern's colour
};
FrameScan ScanFrame(const Surface& shot);

// The spot mask as built into the .scr (bitmap resource 300): white disc on black, 300 x 300,
// row 0 at the top. True where the mask is white.
struct SpotMask {
    int size = 0;
    std::vector<bool> white;
    bool at(int x, int y) const { return white[static_cast<size_t>(y) * size + x]; }
    // The white pixels' bounding box inside the mask's square.
    gloam::Rect Disc() const;
};
std::optional<SpotMask> LoadSpotMask();

// A screenshot with the moment it was complete.
struct TimedShot {
    Surface shot;
    std::chrono::steady_clock::time_point taken;
};

// Captures screenshots, pumping messages between them, until `enough` says so or `limit` passes.
// Returns false when the limit passed first.
template <typename Enough>
bool SampleFrames(Enough&& enough, Millis limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        PumpMessages();
        TimedShot frame{CaptureScreen(), {}};
        frame.taken = std::chrono::steady_clock::now();
        if (enough(frame)) return true;
        if (frame.taken >= deadline) return false;
    }
}

// Starts "/S" over the test's pattern: the pattern window is shown first and stays open, under
// the topmost display window, until the test ends; the display is ended before it.
class PatternDisplayTest : public DisplayRunTest {
  protected:
    // Writes the settings, shows the pattern over `area` (by default the primary monitor), starts
    // "/S" and waits until the display has blacked out the primary monitor.
    void StartDisplayOverPattern(const wchar_t* speed, const wchar_t* size,
                                 std::optional<RECT> area = std::nullopt);
    void TearDown() override;

    std::unique_ptr<PatternWindow> pattern_;
};

// Local time as a count of whole clock minutes (the minute boundaries passed since a fixed epoch),
// and the time left until the local clock reaches the start of minute `minute` (negative once
// passed).
std::int64_t LocalMinute();
Millis UntilLocalMinute(std::int64_t minute);

}  // namespace e2e
