// The settings dialog dragged to a monitor of another density: asked for its size there
// (WM_GETDPISCALEDSIZE) it answers with its design's size at that density, so that a dialog lying
// across two monitors is not sized to and fro; moved there (WM_DPICHANGED) it takes that size and
// icons drawn for that density. Wine 8 has one density for every monitor and sends neither message,
// so the probe sends both inside the dialog's thread, as Windows would. The client area it then
// gets is not checked: under Wine the title bar keeps the height of the density the window really
// has, so it differs from Windows'; the unit tests check the layout at every density.
#include <optional>

#include "dpi_probe.h"
#include "harness.h"

namespace e2e {
namespace {

// The design's client area in twips.
constexpr double kClientWidth = 5055;
constexpr double kClientHeight = 2520;

class DialogDensity : public ScrTest, public ::testing::WithParamInterface<int> {};

TEST_P(DialogDensity, SizeAndIconsFollowTheDensity) {
    const UINT dpi = static_cast<UINT>(GetParam());
    ScrProcess scr(L"/C");
    const std::optional<WindowInfo> dialog = scr.WaitForVisibleWindow(kConfigClass, kConfigTitle);
    ASSERT_TRUE(dialog.has_value()) << "no settings dialog";
    const std::optional<DensityChange> change = MoveToDensity(dialog->hwnd, dpi);
    ASSERT_TRUE(change.has_value());

    RECT frame{0, 0, PxAt(kClientWidth, GetParam()), PxAt(kClientHeight, GetParam())};
    ASSERT_TRUE(AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(dialog->style), FALSE,
                                         static_cast<DWORD>(dialog->exStyle), dpi));
    EXPECT_EQ(change->scaled.cx, frame.right - frame.left);
    EXPECT_EQ(change->scaled.cy, frame.bottom - frame.top);
    EXPECT_EQ(change->big_icon, GetSystemMetricsForDpi(SM_CXICON, dpi));
    EXPECT_EQ(change->small_icon, GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    EXPECT_TRUE(scr.Running());
}

// Its own density (the tests run at 96 DPI), 125 %, 150 % and 200 %.
// Moved there from a session at 96 DPI ("dpiNNN" would start the session at NNN).
INSTANTIATE_TEST_SUITE_P(Config, DialogDensity, ::testing::Values(96, 120, 144, 192),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return "to" + std::to_string(p.param);
                         });

}  // namespace
}  // namespace e2e
