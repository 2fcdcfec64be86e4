// What the preview does at moments the test sees only from inside the program, through
// gloam_e2e_probe.dll placed on the program's thread before it runs.
//
// The preview is made with the DPI awareness of its host's window. Windows refuses to make a window
// the child of one with another awareness, and the host's preview pane need not be per-monitor
// aware as the program is. Wine makes the child anyway and gives it its parent's awareness, so the
// probe notes the awareness the program's thread has when it makes the preview's window.
//
// A host that goes away between the moment the preview becomes its child and the show takes the
// preview with it; the program then ends without showing anything.
#include <memory>

#include "harness.h"
#include "platform/dpi_win.h"
#include "preview_host.h"
#include "probe/probe.h"

namespace e2e {
namespace {

struct HostCase {
    const char* name;
    DPI_AWARENESS_CONTEXT context;  // the host window is made with this
    DPI_AWARENESS awareness;        // which it then has
};

void PrintTo(const HostCase& c, std::ostream* out) {
    *out << c.name;
}

// The probe's hook procedure `name`.
HOOKPROC ProbeHook(const gloam::unique_hmodule& probe, const char* name) {
    return probe ? reinterpret_cast<HOOKPROC>(
                       reinterpret_cast<void*>(GetProcAddress(probe.get(), name)))
                 : nullptr;
}

gloam::unique_hmodule LoadProbe() {
    return gloam::unique_hmodule(
        LoadLibraryW((TestFolder() + L"\\" + gloam_probe::kDllName).c_str()));
}

class PreviewAwareness : public ScrTest, public ::testing::WithParamInterface<HostCase> {};

TEST_P(PreviewAwareness, IsTheHostWindows) {
    const HostCase& c = GetParam();
    std::unique_ptr<PreviewHost> host;
    {
        const gloam::ThreadDpiAwareness as_host(c.context);
        host = std::make_unique<PreviewHost>(320, 240);
    }
    ASSERT_NE(host->hwnd(), nullptr);
    ASSERT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(host->hwnd())),
              c.awareness)
        << "the host did not get the awareness it was made with";

    const gloam::unique_hmodule probe = LoadProbe();
    const HOOKPROC note_creation = ProbeHook(probe, gloam_probe::kCreationHookProc);
    ASSERT_NE(note_creation, nullptr) << "no creation hook in the probe";
    gloam::unique_hhook hook;
    ScrProcess scr(L"/P " + host->Number(), ScrPath(), {}, [&](DWORD thread) {
        hook.reset(SetWindowsHookExW(WH_CBT, note_creation, probe.get(), thread));
    });
    ASSERT_TRUE(hook) << "cannot hook the program's thread, error " << GetLastError();
    HWND preview = host->WaitForPreview(scr);
    ASSERT_NE(preview, nullptr) << "no preview inside the host";
    const auto noted =
        reinterpret_cast<intptr_t>(GetPropW(preview, gloam_probe::kMadeWithAwareness));
    ASSERT_NE(noted, 0) << "the probe did not see the preview's window made";
    EXPECT_EQ(static_cast<DPI_AWARENESS>(noted - 1), c.awareness)
        << "the awareness the preview's window was made with";
}

INSTANTIATE_TEST_SUITE_P(
    Preview, PreviewAwareness,
    ::testing::Values(
        HostCase{"Unaware", DPI_AWARENESS_CONTEXT_UNAWARE, DPI_AWARENESS_UNAWARE},
        // In a session at 150 %, where the system scales an unaware host's
        // window (Windows, Wine 10), the preview still joins it.
        HostCase{"Unaware_dpi144", DPI_AWARENESS_CONTEXT_UNAWARE, DPI_AWARENESS_UNAWARE},
        HostCase{"SystemAware", DPI_AWARENESS_CONTEXT_SYSTEM_AWARE, DPI_AWARENESS_SYSTEM_AWARE},
        // The program's own awareness.
        HostCase{"PerMonitor", DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2,
                 DPI_AWARENESS_PER_MONITOR_AWARE}),
    ByName());

using PreviewHostGone = ScrTest;

TEST_F(PreviewHostGone, BeforeTheShowEndsShowingNothing) {
    PreviewHost host(320, 240);
    ASSERT_NE(host.hwnd(), nullptr);
    const gloam::unique_handle shown(
        CreateEventW(nullptr, TRUE, FALSE, gloam_probe::kPreviewShownEvent));
    const gloam::unique_hmodule probe = LoadProbe();
    const HOOKPROC close_host = ProbeHook(probe, gloam_probe::kHostGoneHookProc);
    ASSERT_NE(close_host, nullptr) << "no host-gone hook in the probe";
    gloam::unique_hhook hook;
    ScrProcess scr(L"/P " + host.Number(), ScrPath(), {}, [&](DWORD thread) {
        hook.reset(SetWindowsHookExW(WH_CALLWNDPROC, close_host, probe.get(), thread));
    });
    ASSERT_TRUE(hook) << "cannot hook the program's thread, error " << GetLastError();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(host.hwnd()); }, kStartLimit))
        << "the host never went: the preview never became its child";
    ExpectEndsAtOnceShowingNothing(scr);
    EXPECT_NE(WaitForSingleObject(shown.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0))
        << "a preview window was shown after its host had gone";
}

}  // namespace
}  // namespace e2e
