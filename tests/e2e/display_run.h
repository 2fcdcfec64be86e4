// A run of the display ("/S") that a test starts, watches and sees end.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "fixture.h"
#include "process.h"
#include "window_query.h"

namespace e2e {

// Long enough for a dozen 20 ms ticks: what has not ended by then is not going to.
inline constexpr Millis kStaysFor = 400ms;

class DisplayRunTest : public ScrTest {
  protected:
    // Writes the settings when given, starts "/S", waits for the display window and lets a few
    // ticks pass, so that the exit watch has a position of the pointer to compare with.
    void StartDisplay(const wchar_t* speed = nullptr, const wchar_t* size = nullptr);
    // Asserts that the display still runs after kStaysFor.
    void ExpectStillRunning(const std::string& after);
    // Asserts that the display has ended, with exit code 0, leaving no window.
    void ExpectEndedNormally(const std::string& after);
    void TearDown() override;

    std::unique_ptr<ScrProcess> scr_;
    std::optional<WindowInfo> display_;
};

}  // namespace e2e
