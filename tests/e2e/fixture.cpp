#include "fixture.h"

#include <string>
#include <utility>
#include <vector>

#include "environment.h"
#include "input.h"
#include "process.h"
#include "registry.h"
#include "window_query.h"

namespace e2e {

void ScrTest::SetUp() {
    ResetProgramRegistry();
    const auto left_over = [] {
        std::vector<WindowInfo> found;
        for (const auto& [title, cls] :
             {std::pair{L"", kDisplayClass}, std::pair{L"", kCoverClass},
              std::pair{L"", kConfigClass}, std::pair{kDisplayTitle, L""},
              std::pair{kConfigTitle, L""}}) {
            const std::vector<WindowInfo> windows = FindTopLevelWindows(title, cls);
            found.insert(found.end(), windows.begin(), windows.end());
        }
        return found;
    };
    if (!WaitUntil([&] { return left_over().empty(); }, 5s)) {
        // This test fails; the ones after it start clean.
        const std::vector<WindowInfo> windows = left_over();
        for (const WindowInfo& w : windows) EndProcess(w.pid);
        FAIL() << "a window of GloamDrift (or one with its title) is already open; "
                  "a left-over process from an earlier run? ("
               << windows.size() << " windows, their processes ended now)";
    }
    // A process of the program on another desktop shows no window here (under Wine 10 neither).
    if (!WaitUntil([] { return ScrProcessIds().empty(); }, kExitLimit)) {
        const std::string described = DescribeScrProcesses();
        for (const DWORD pid : ScrProcessIds()) EndProcess(pid);
        FAIL() << "a process of the .scr is already running, from an earlier run? (ended now):"
               << described;
    }
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
