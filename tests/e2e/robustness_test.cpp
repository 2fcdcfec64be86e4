// Many starts and ends in a row, as an impatient user or a host that restarts the preview on every
// click makes them: each start shows its window, each end is clean, and nothing is left behind,
// neither a window nor a process. A display starts beside an open preview; every start beside an
// open display ends at once.
#include "harness.h"
#include "preview_host.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr int kRounds = 20;

// Windows the program makes: its three forms and its error report (which carries its title).
std::vector<WindowInfo> ProgramWindows() {
    std::vector<WindowInfo> found;
    for (const wchar_t* cls : {kDisplayClass, kConfigClass, kPreviewClass}) {
        for (auto& w : FindTopLevelWindows(L"", cls)) found.push_back(w);
    }
    for (const wchar_t* title : {kDisplayTitle, kConfigTitle}) {
        for (auto& w : FindTopLevelWindows(title, L"")) {
            if (w.cls != kDisplayClass && w.cls != kConfigClass) found.push_back(w);
        }
    }
    return found;
}

void ExpectNothingLeft() {
    const bool clean =
        WaitUntil([] { return ProgramWindows().empty() && ScrProcessIds().empty(); }, kExitLimit);
    EXPECT_TRUE(clean) << "processes of the .scr left:" << DescribeScrProcesses();
    for (const auto& w : ProgramWindows()) {
        ADD_FAILURE() << "window left: class " << Narrow(w.cls) << ", title " << Narrow(w.title);
    }
}

// One way to end a window of the program, given that window.
using Ending = std::function<void(HWND)>;

// Keys go to the foreground window, which a window of the program becomes just after it shows.
void PressInFront(HWND window, WORD vk) {
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 3s))
        << "the window did not come to the front";
    KeyDown(vk);
    KeyUp(vk);
}

// ScrTest has made sure no process of the .scr runs before each of these.
class QuickStarts : public ScrTest {
  protected:
    // kRounds starts with the command texts in turn, each from the pointer at the centre: waits for
    // the window of `cls` and `title`, ends it with the endings in turn and expects exit code 0.
    void StartAndEnd(std::initializer_list<const wchar_t*> command_texts, const wchar_t* cls,
                     const wchar_t* title, std::initializer_list<Ending> endings) {
        for (int round = 0; round < kRounds; ++round) {
            SCOPED_TRACE(testing::Message() << "round " << round);
            MoveCursorTo(centre_.x, centre_.y);
            ScrProcess scr(std::data(command_texts)[round % command_texts.size()]);
            const auto window = scr.WaitForVisibleWindow(cls, title);
            ASSERT_TRUE(window.has_value()) << "no window of class " << Narrow(cls);
            std::data(endings)[round % endings.size()](window->hwnd);
            if (HasFatalFailure()) return;
            ASSERT_TRUE(scr.WaitExit()) << "the window of class " << Narrow(cls) << " did not end";
            EXPECT_EQ(scr.ExitCode(), std::optional<DWORD>(0));
        }
    }
};

// Each round ends the display a different way: a click, a key release, a mouse movement.
TEST_F(QuickStarts, TwentyDisplays) {
    StartAndEnd({L"", L"/s"}, kDisplayClass, kDisplayTitle,
                {[](HWND) { Click(); }, [](HWND display) { PressInFront(display, VK_SHIFT); },
                 [](HWND) { MoveCursorBy(40, 0); }});
    if (HasFatalFailure()) return;
    MoveCursorTo(centre_.x, centre_.y);
    ExpectNothingLeft();
}

// A dialog takes about two seconds to open under Wine: twenty make a long test.
using QuickStartsLong = QuickStarts;

// Each round leaves the dialog a different way, none of which writes: Cancel, Esc, the close
// command.
TEST_F(QuickStartsLong, TwentySettingsDialogs) {
    StartAndEnd({L"/C", L"/c"}, kConfigClass, kConfigTitle,
                {[](HWND dialog) {
                     const HWND cancel = ChildWithText(dialog, L"ｷｬﾝｾﾙ");
                     ASSERT_NE(cancel, nullptr) << "no Cancel button";
                     PostMessageW(cancel, BM_CLICK, 0, 0);
                 },
                 [](HWND dialog) { PressInFront(dialog, VK_ESCAPE); },
                 [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }});
    if (HasFatalFailure()) return;
    EXPECT_FALSE(ReadRegString(kSettingsKey, L"Speed").has_value()) << "a dialog wrote";
    EXPECT_FALSE(ReadRegString(kSettingsKey, L"Size").has_value()) << "a dialog wrote";
    ExpectNothingLeft();
}

// The host destroys its pane, and the preview's process ends with it.
TEST_F(QuickStarts, TwentyPreviews) {
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        PreviewHost host(320, 240);
        ScrProcess scr((round % 2 ? L"/p " : L"/P ") + host.Number());
        const HWND preview = host.WaitForPreview(scr);
        if (!preview && round == 0) {
            GTEST_SKIP() << "no preview window shows in its host: the preview is not built yet";
        }
        ASSERT_NE(preview, nullptr) << "no preview in the host";
        host.Destroy();
        ASSERT_TRUE(scr.WaitExit()) << "the preview outlived its host";
        EXPECT_EQ(scr.ExitCode(), std::optional<DWORD>(0));
    }
    ExpectNothingLeft();
}

using BesideOthers = QuickStarts;

// An open preview refuses no start: a display starts, ends, and the preview stays.
TEST_F(BesideOthers, DisplayStartsWhileAPreviewIsOpen) {
    PreviewHost host(320, 240);
    ScrProcess preview(L"/P " + host.Number());
    if (!host.WaitForPreview(preview)) {
        GTEST_SKIP() << "no preview window shows in its host: the preview is not built yet";
    }
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        MoveCursorTo(centre_.x, centre_.y);
        ScrProcess display(L"/S");
        ASSERT_TRUE(display.WaitForVisibleWindow(kDisplayClass, kDisplayTitle).has_value())
            << "no display beside the preview; the display "
            << (display.Running() ? "runs without its window" : "ended");
        EXPECT_TRUE(preview.Running()) << "the preview ended";
        Click();
        ASSERT_TRUE(display.WaitExit()) << "the display did not end";
        EXPECT_EQ(display.ExitCode(), std::optional<DWORD>(0));
    }
    EXPECT_TRUE(preview.Running()) << "the preview ended with the display";
    EXPECT_NE(FindWindowExW(host.hwnd(), nullptr, kPreviewClass, nullptr), nullptr)
        << "the preview left its host";
    host.Destroy();
    ASSERT_TRUE(preview.WaitExit()) << "the preview outlived its host";
    ExpectNothingLeft();
}

// While a display is open, every further start ends at once, whatever its switch, and shows
// nothing; the display stays.
TEST_F(BesideOthers, EveryStartBesideADisplayEndsAtOnce) {
    ScrProcess display(L"/S");
    ASSERT_TRUE(display.WaitForVisibleWindow(kDisplayClass, kDisplayTitle).has_value());
    const wchar_t* const switches[] = {L"/S", L"", L"/C", L"/P 1234", L"/s", L"/c:5", L"-s"};
    auto slowest = std::chrono::milliseconds(0);
    for (int round = 0; round < kRounds; ++round) {
        const wchar_t* args = switches[round % std::size(switches)];
        SCOPED_TRACE(testing::Message() << "round " << round << ", \"" << Narrow(args) << "\"");
        const auto started = std::chrono::steady_clock::now();
        ScrProcess second(args);
        ASSERT_TRUE(second.WaitExitObserving()) << "the second start is still running";
        slowest = std::max(slowest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - started));
        EXPECT_EQ(second.ExitCode(), std::optional<DWORD>(0));
        EXPECT_TRUE(second.SeenVisibleClasses().empty())
            << "it showed a window of class " << Narrow(*second.SeenVisibleClasses().begin());
        ASSERT_TRUE(display.Running()) << "the display ended";
    }
    RecordProperty("slowest_refused_start_ms", static_cast<int>(slowest.count()));
    EXPECT_EQ(FindTopLevelWindows(kDisplayTitle, kDisplayClass).size(), 1u);
    Click();
    ASSERT_TRUE(display.WaitExit());
    ExpectNothingLeft();
}

}  // namespace
}  // namespace e2e
