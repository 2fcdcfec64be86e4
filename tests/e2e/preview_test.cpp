// The preview as the host's settings page meets it: started with "/P" and the number of a window
// of the host (here: of this test), it shows the preview picture as a child at that window's
// top-left corner and lasts until the host destroys its window. Without a usable window it shows
// nothing and ends.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "harness.h"
#include "preview_host.h"
#include "resource.h"

namespace e2e {
namespace {

// The preview picture as the .scr carries it.
Surface PreviewPicture() {
    std::optional<Surface> picture = LoadBitmapResource(IDB_PREVIEW);
    if (!picture) {
        ADD_FAILURE() << "no preview bitmap in the .scr";
        return Surface();
    }
    return *picture;
}

// The first mismatch between the screen and the expected picture in the host's client area, or
// an empty text when they agree. `width` x `height` is the part of the client area checked;
// under Wine only the host's own painting beside and below the preview.
std::string Mismatch(const Surface& picture, POINT origin, int width, int height, int shown_w,
                     int shown_h) {
    const Surface shot = CaptureScreen();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t want = kHostPixel;
            if (x < shown_w && y < shown_h) {
                // Wine 8 does not draw a child window whose top-level window belongs to another
                // process (its drawing goes to no X drawable): there only the host's own
                // painting can be checked.
                if (UnderWine()) continue;
                want = x < picture.Width() && y < picture.Height() ? picture.At(x, y) : 0u;
            }
            const std::uint32_t got = shot.At(origin.x + x, origin.y + y);
            if (got != want) {
                char text[128];
                std::snprintf(text, sizeof text, "at (%d, %d) of the host: %06X, expected %06X", x,
                              y, got, want);
                return text;
            }
        }
    }
    return {};
}

using PreviewTest = ScrTest;

// ---- shown in the host --------------------------------------------------------------------------

struct HostCase {
    const char* name;
    const wchar_t* format;  // the command text before the number
    int host_width;
    int host_height;
};

class ShownInTheHost : public PreviewTest, public ::testing::WithParamInterface<HostCase> {};

TEST_P(ShownInTheHost, AsAChildAtTheTopLeftCornerWithThePicture) {
    const HostCase c = GetParam();
    const Surface picture = PreviewPicture();
    ASSERT_GT(picture.Width(), 0);
    PreviewHost host(c.host_width, c.host_height);
    ScrProcess scr(std::wstring(c.format) + NumberOf(host.hwnd()));
    HWND preview = host.WaitForPreview(scr);
    ASSERT_NE(preview, nullptr) << "no preview in the host; the program "
                                << (scr.Running() ? "runs without it" : "ended");

    const WindowInfo info = DescribeWindow(preview);
    EXPECT_EQ(info.pid, scr.pid());
    EXPECT_EQ(GetAncestor(preview, GA_PARENT), host.hwnd());
    EXPECT_TRUE(info.style & WS_CHILD);
    EXPECT_FALSE(info.style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU)) << "not borderless";
    EXPECT_EQ(Narrow(info.title), Narrow(kPreviewTitle));
    // Its own size whatever the host's, at the host's client origin.
    RECT client{};
    GetClientRect(preview, &client);
    EXPECT_EQ(client.right, Px(2205));
    EXPECT_EQ(client.bottom, Px(1335));
    RECT in_host = info.rect;
    MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&in_host), 2);
    EXPECT_EQ(in_host.left, 0);
    EXPECT_EQ(in_host.top, 0);
    // Nothing of it outside the host: no top-level window of the program shows.
    for (const auto& w : scr.Windows()) EXPECT_FALSE(w.visible) << Narrow(w.cls) << " shows";

    const int shown_w = std::min<int>(client.right, c.host_width);
    const int shown_h = std::min<int>(client.bottom, c.host_height);
    std::string mismatch;
    const bool painted = WaitUntil(
        [&] {
            mismatch = Mismatch(picture, host.ClientOrigin(), c.host_width, c.host_height, shown_w,
                                shown_h);
            return mismatch.empty();
        },
        5s, 50ms);
    EXPECT_TRUE(painted) << mismatch;

    // It stays until the host takes it away.
    PumpFor(300ms);
    EXPECT_TRUE(scr.Running());
}

INSTANTIATE_TEST_SUITE_P(Preview, ShownInTheHost,
                         ::testing::Values(HostCase{"larger_pane", L"/P ", 320, 200},
                                           HostCase{"lower_case_switch", L"/p ", 320, 200},
                                           HostCase{"two_blanks", L"/P  ", 200, 120},
                                           // A pane smaller than the preview clips it.
                                           HostCase{"smaller_pane", L"/P ", 100, 60}),
                         ByName());

TEST_F(PreviewTest, LooksTheSameWhateverTheSettings) {
    // Values the display and the dialog would refuse; the preview does not use them.
    WriteRegString(kSettingsKey, L"Speed", L"5");
    WriteRegString(kSettingsKey, L"Size", L"-1");
    const Surface picture = PreviewPicture();
    ASSERT_GT(picture.Width(), 0);
    PreviewHost host(200, 120);
    ScrProcess scr(L"/P " + NumberOf(host.hwnd()));
    HWND preview = host.WaitForPreview(scr);
    ASSERT_NE(preview, nullptr);
    RECT client{};
    GetClientRect(preview, &client);
    std::string mismatch;
    EXPECT_TRUE(WaitUntil(
        [&] {
            mismatch =
                Mismatch(picture, host.ClientOrigin(), 200, 120, client.right, client.bottom);
            return mismatch.empty();
        },
        5s, 50ms))
        << mismatch;
}

// The desktop's own window as the host: the preview is then a window of the screen itself, which
// Wine draws too, so the picture can be compared pixel for pixel everywhere.
TEST_F(PreviewTest, PaintsThePicturePixelForPixelAtItsTopLeftCorner) {
    const Surface picture = PreviewPicture();
    ASSERT_GT(picture.Width(), 0);
    PatternWindow behind;  // so that nothing else on the screen can pass for the picture
    ASSERT_TRUE(behind.WaitShown());
    ScrProcess scr(L"/P " + NumberOf(GetDesktopWindow()));
    auto preview = scr.WaitForVisibleWindow(kPreviewClass, L"");
    ASSERT_TRUE(preview.has_value()) << "no preview on the desktop";
    EXPECT_EQ(preview->rect.left, 0);
    EXPECT_EQ(preview->rect.top, 0);
    const int width = preview->rect.right - preview->rect.left;
    const int height = preview->rect.bottom - preview->rect.top;
    EXPECT_EQ(width, Px(2205));
    EXPECT_EQ(height, Px(1335));
    std::string mismatch;
    const bool painted = WaitUntil(
        [&] {
            const Surface shot = CaptureScreen();
            mismatch.clear();
            for (int y = 0; y < height + 8 && mismatch.empty(); ++y) {
                for (int x = 0; x < width + 8; ++x) {
                    // Black where the window is larger than the picture; the pattern beyond it.
                    std::uint32_t want = PatternColour(x, y);
                    if (x < width && y < height) {
                        want = x < picture.Width() && y < picture.Height() ? picture.At(x, y) : 0u;
                    }
                    if (shot.At(x, y) != want) {
                        char text[96];
                        std::snprintf(text, sizeof text, "at (%d, %d): %06X, expected %06X", x, y,
                                      shot.At(x, y), want);
                        mismatch = text;
                        break;
                    }
                }
            }
            return mismatch.empty();
        },
        5s, 50ms);
    EXPECT_TRUE(painted) << mismatch;
}

// ---- ending with the host -----------------------------------------------------------------------

TEST_F(PreviewTest, EndsWhenTheHostDestroysItsWindow) {
    PreviewHost host(320, 200);
    ScrProcess scr(L"/P " + NumberOf(host.hwnd()));
    HWND preview = host.WaitForPreview(scr);
    ASSERT_NE(preview, nullptr);
    host.Destroy();
    EXPECT_TRUE(scr.WaitExit()) << "the preview's process outlived the host's window";
    EXPECT_EQ(scr.ExitCode(), std::optional<DWORD>(0));
    EXPECT_FALSE(IsWindow(preview));
}

// ---- an open preview refuses nothing ------------------------------------------------------------

TEST_F(PreviewTest, AnOpenPreviewBlocksNoOtherStart) {
    PreviewHost host(320, 200);
    ScrProcess scr(L"/P " + NumberOf(host.hwnd()));
    ASSERT_NE(host.WaitForPreview(scr), nullptr);

    // A second preview in another pane.
    PreviewHost second_host(200, 120);
    ScrProcess second(L"/P " + NumberOf(second_host.hwnd()));
    EXPECT_NE(second_host.WaitForPreview(second), nullptr) << "a second preview was refused";

    // The settings dialog.
    ScrProcess config(L"/C");
    auto dialog = config.WaitForVisibleWindow(kConfigClass, kConfigTitle);
    ASSERT_TRUE(dialog.has_value()) << "the settings dialog was refused beside a preview";
    PostMessageW(dialog->hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(config.WaitExit());

    EXPECT_TRUE(scr.Running());
    EXPECT_TRUE(second.Running());
}

// ---- no usable host -----------------------------------------------------------------------------

// Command texts that name no window.
struct NoHost {
    const char* name;
    const wchar_t* arguments;
};

class WithoutAHost : public PreviewTest, public ::testing::WithParamInterface<NoHost> {};

TEST_P(WithoutAHost, ShowsNothingAndEnds) {
    ScrProcess scr(GetParam().arguments);
    ExpectEndsAtOnceShowingNothing(scr);
    EXPECT_TRUE(FindTopLevelWindows(kPreviewTitle, L"").empty());
}

INSTANTIATE_TEST_SUITE_P(Preview, WithoutAHost,
                         ::testing::Values(NoHost{"SwitchAlone", L"/P"},
                                           NoHost{"LowerCaseSwitchAlone", L"/p"},
                                           NoHost{"NumberAfterAColon", L"/P:1234"},
                                           NoHost{"Zero", L"/P 0"},
                                           NoHost{"NotANumber", L"/P host"}),
                         ByName());

// The number of a window that no longer exists.
TEST_F(PreviewTest, ADestroyedWindowIsNoHost) {
    HWND gone = nullptr;
    {
        PreviewHost host(50, 50);
        gone = host.hwnd();
    }
    ScrProcess scr(L"/P " + NumberOf(gone));
    ExpectEndsAtOnceShowingNothing(scr);
    EXPECT_TRUE(FindTopLevelWindows(kPreviewTitle, L"").empty());
}

// A window that exists but cannot take the preview as its child: the preview shows nowhere else
// instead, and the process ends.
TEST_F(PreviewTest, AWindowItCannotJoinIsNoHost) {
    const OtherDesktopWindow host;
    ASSERT_NE(host.hwnd(), nullptr);
    ASSERT_TRUE(IsWindow(host.hwnd()));
    ScrProcess scr(L"/P " + NumberOf(host.hwnd()));
    ExpectEndsAtOnceShowingNothing(scr);
    EXPECT_EQ(FindWindowExW(host.hwnd(), nullptr, kPreviewClass, nullptr), nullptr);
    EXPECT_TRUE(FindTopLevelWindows(kPreviewTitle, L"").empty());
}

TEST_F(PreviewTest, ANumberBeyondThirtyTwoBitsIsReported) {
    ScrProcess scr(L"/P 99999999999");
    ExpectReportOnly(AwaitErrorReport(scr), scr, {L"99999999999"});
}

}  // namespace
}  // namespace e2e
