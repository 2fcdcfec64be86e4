// The full-screen display window as a host starts it: "/S" in any case, with trailing text, or an
// empty command line.
#include <algorithm>
#include <iterator>

#include "harness.h"

namespace e2e {
namespace {

// Below this share of black pixels the window is not covering the screen: the spot (at most
// 400 pixels across) may show the desktop through a disc, which is under 17% of 1024x768.
constexpr double kMinBlackShare = 0.80;

// Waits until the primary monitor is mostly black; `last` is the last screenshot looked at.
bool WaitMostlyBlack(Surface& last) {
    return WaitUntil(
        [&] {
            last = CaptureScreen();
            return ShareOf(last, 0x000000) >= kMinBlackShare;
        },
        5s, 50ms);
}

class DisplayWindow : public ScrTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(DisplayWindow, CoversTheScreenBorderlessTopmostAndBlack) {
    PatternWindow desktop;
    ASSERT_TRUE(desktop.WaitShown()) << "the test's pattern never reached the screen";

    ScrProcess scr(GetParam());
    auto shown = scr.WaitForVisibleWindow(kDisplayClass, kDisplayTitle);
    ASSERT_TRUE(shown.has_value()) << Narrow(scr.commandLine()) << " showed no display window";
    const WindowInfo& w = *shown;

    int titled = 0;
    for (const auto& other : scr.Windows()) {
        if (other.visible) {
            EXPECT_EQ(Narrow(other.cls), Narrow(kDisplayClass)) << "a second visible window";
        }
        if (other.title == kDisplayTitle) ++titled;
    }
    EXPECT_EQ(titled, 1) << "windows titled \"" << Narrow(kDisplayTitle) << "\"";

    ScreenSize screen = PrimaryScreen();
    EXPECT_EQ(w.rect.left, 0);
    EXPECT_EQ(w.rect.top, 0);
    EXPECT_EQ(w.rect.right, screen.width);
    EXPECT_EQ(w.rect.bottom, screen.height);

    EXPECT_TRUE(w.style & WS_POPUP);
    EXPECT_FALSE(w.style & WS_CAPTION) << "has a title bar or border";
    EXPECT_FALSE(w.style & WS_THICKFRAME) << "has a sizing border";
    EXPECT_FALSE(w.style & WS_SYSMENU) << "has a system menu";
    EXPECT_TRUE(w.style & WS_MAXIMIZE) << "not maximised";
    EXPECT_TRUE(w.exStyle & WS_EX_TOPMOST) << "not topmost";
    EXPECT_TRUE(w.exStyle & WS_EX_TOOLWINDOW) << "would show in the taskbar";
    EXPECT_FALSE(w.exStyle & WS_EX_APPWINDOW) << "would show in the taskbar";

    const CursorLook pointer = ProbeClassCursor(w.hwnd);
    EXPECT_EQ(pointer, CursorLook::Invisible) << "the class cursor is " << ToString(pointer);

    Surface last;
    EXPECT_TRUE(WaitMostlyBlack(last))
        << "only " << ShareOf(last, 0x000000) * 100 << "% of the screen is black";
    if (last.Width() > 0) {
        // A round spot never reaches the corners of the screen.
        EXPECT_EQ(last.At(0, 0), 0u);
        EXPECT_EQ(last.At(last.Width() - 1, 0), 0u);
        EXPECT_EQ(last.At(0, last.Height() - 1), 0u);
        EXPECT_EQ(last.At(last.Width() - 1, last.Height() - 1), 0u);
    }
    EXPECT_TRUE(scr.Running());
}

INSTANTIATE_TEST_SUITE_P(Display, DisplayWindow, ::testing::Values(L"/S", L"/s", L"/Sxyz", L""),
                         ByCommandText());

using DisplayOrder = ScrTest;

// The display window comes in front of a topmost window that was already on the screen.
TEST_F(DisplayOrder, AboveAnEarlierTopmostWindow) {
    PatternWindow desktop;
    ASSERT_TRUE(desktop.WaitShown());
    for (const gloam::unique_hwnd& window : desktop.windows()) {
        SetWindowPos(window.get(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    PumpMessages();
    ScrProcess scr(L"/S");
    auto shown = scr.WaitForVisibleWindow(kDisplayClass, kDisplayTitle);
    ASSERT_TRUE(shown.has_value());
    Surface last;
    EXPECT_TRUE(WaitMostlyBlack(last))
        << "only " << ShareOf(last, 0x000000) * 100
        << "% of the screen is black: the test's topmost window is in front";
    POINT centre{PrimaryScreen().width / 2, PrimaryScreen().height / 2};
    EXPECT_EQ(GetAncestor(WindowFromPoint(centre), GA_ROOT), shown->hwnd);
}

// The cursor probe itself tells a visible pointer from an invisible one.
TEST(CursorProbe, TellsTheArrowFromABlankCursor) {
    const wchar_t* arrowClass = L"GloamE2EArrowCursor";
    const wchar_t* blankClass = L"GloamE2EBlankCursor";
    BYTE andMask[32 * 4];
    BYTE xorMask[32 * 4];
    std::fill(std::begin(andMask), std::end(andMask), BYTE{0xFF});
    std::fill(std::begin(xorMask), std::end(xorMask), BYTE{0x00});
    HCURSOR blank = CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
    ASSERT_NE(blank, nullptr);

    struct Case {
        const wchar_t* cls;
        HCURSOR cursor;
        CursorLook expected;
    } cases[] = {{arrowClass, LoadCursorW(nullptr, IDC_ARROW), CursorLook::Visible},
                 {blankClass, blank, CursorLook::Invisible}};
    for (const Case& c : cases) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = c.cursor;
        wc.lpszClassName = c.cls;
        RegisterClassExW(&wc);
        gloam::unique_hwnd window(CreateWindowExW(WS_EX_TOOLWINDOW, c.cls, L"probe", WS_POPUP, 0, 0,
                                                  8, 8, nullptr, nullptr, GetModuleHandleW(nullptr),
                                                  nullptr));
        ASSERT_TRUE(window);
        const CursorLook look = ProbeClassCursor(window.get());
        EXPECT_EQ(look, c.expected) << Narrow(c.cls) << ": " << ToString(look);
        window.reset();
        UnregisterClassW(c.cls, GetModuleHandleW(nullptr));
    }
    DestroyCursor(blank);
}

}  // namespace
}  // namespace e2e
