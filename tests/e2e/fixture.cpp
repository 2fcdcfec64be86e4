#include "fixture.h"

#include "environment.h"
#include "input.h"
#include "process.h"
#include "registry.h"
#include "window_query.h"

namespace e2e {

void ScrTest::SetUp() {
    ResetProgramRegistry();
    const bool clear = WaitUntil(
        [] {
            return FindTopLevelWindows(L"", kDisplayClass).empty() &&
                   FindTopLevelWindows(L"", kCoverClass).empty() &&
                   FindTopLevelWindows(L"", kConfigClass).empty() &&
                   FindTopLevelWindows(kDisplayTitle, L"").empty() &&
                   FindTopLevelWindows(kConfigTitle, L"").empty();
        },
        5s);
    ASSERT_TRUE(clear) << "a window of GloamDrift (or one with its title) is already open; "
                          "a left-over process from an earlier run?";
    const ScreenSize screen = PrimaryScreen();
    centre_ = {screen.width / 2, screen.height / 2};
    MoveCursorTo(centre_.x, centre_.y);
}

void ScrTest::TearDown() {
    ResetProgramRegistry();
}

std::string CommandName(std::wstring_view command_text) {
    return gloam_tests::CaseName(command_text);
}

}  // namespace e2e
