// The program is per-monitor aware, version 2, through its manifest, whoever starts it: the test
// program has no manifest and is itself started unaware where the system honours manifests, as a
// host can be. Windows and Wine 10 honour the manifest; Wine 8 starts every process per-monitor
// aware and knows no version 2 (SetProcessDpiAwarenessContext refuses it with error 87).
#include "dpi_probe.h"
#include "harness.h"
#include "platform/dpi_win.h"

namespace e2e {
namespace {

struct AwareCase {
    const char* name;
    const wchar_t* command;
    const wchar_t* cls;
    const wchar_t* title;
};

void PrintTo(const AwareCase& c, std::ostream* out) {
    *out << c.name;
}

// Whether this Wine knows version 2 of per-monitor awareness; Windows 10 (1703) and later do.
bool KnowsPerMonitorV2() {
    const gloam::ThreadDpiAwareness v2(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    return AreDpiAwarenessContextsEqual(GetThreadDpiAwarenessContext(),
                                        DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

class ManifestAwareness : public ScrTest, public ::testing::WithParamInterface<AwareCase> {};

TEST_P(ManifestAwareness, WindowIsPerMonitorV2) {
    if (!KnowsPerMonitorV2()) {
        GTEST_SKIP() << "this system knows no per-monitor awareness version 2 (Wine 8)";
    }
    const AwareCase& c = GetParam();
    ScrProcess scr(c.command);
    const std::optional<WindowInfo> window = scr.WaitForVisibleWindow(c.cls, c.title);
    ASSERT_TRUE(window.has_value()) << "no window";
    const DPI_AWARENESS_CONTEXT context = gloam::ThreadDpiAwareness::OfWindow(window->hwnd);
    ASSERT_NE(context, nullptr) << "the system cannot tell the window's awareness";
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(context), DPI_AWARENESS_PER_MONITOR_AWARE);
    const std::optional<bool> v2 = IsPerMonitorV2(window->hwnd);
    ASSERT_TRUE(v2.has_value());
    EXPECT_TRUE(*v2) << "per-monitor aware, but not version 2";
}

INSTANTIATE_TEST_SUITE_P(
    Dpi, ManifestAwareness,
    ::testing::Values(AwareCase{"Display", L"/S", kDisplayClass, kDisplayTitle},
                      AwareCase{"Settings", L"/C", kConfigClass, kConfigTitle}),
    ByName());

}  // namespace
}  // namespace e2e
