#include "dpi_probe.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/handles_win.h"
#include "probe/dpi_probe.h"
#include "probe/probe.h"
#include "process.h"
#include "text.h"

namespace e2e {
namespace {

LONG Property(HWND hwnd, const wchar_t* name) {
    return static_cast<LONG>(reinterpret_cast<intptr_t>(GetPropW(hwnd, name)));
}

}  // namespace

std::optional<DensityChange> MoveToDensity(HWND hwnd, UINT dpi) {
    const gloam::unique_hmodule probe(
        LoadLibraryW((TestFolder() + L"\\" + gloam_probe::kDllName).c_str()));
    const auto proc = probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                  GetProcAddress(probe.get(), gloam_probe::kDpiHookProc)))
                            : nullptr;
    if (!proc) {
        ADD_FAILURE() << "cannot load the probe's DPI hook, error " << GetLastError();
        return std::nullopt;
    }
    const gloam::unique_hhook hook(SetWindowsHookExW(WH_CALLWNDPROC, proc, probe.get(),
                                                     GetWindowThreadProcessId(hwnd, nullptr)));
    if (!hook) {
        ADD_FAILURE() << "cannot hook the window's thread, error " << GetLastError();
        return std::nullopt;
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(hwnd, RegisterWindowMessageW(gloam_probe::kDpiMessage), dpi, 0,
                             SMTO_ABORTIFHUNG, 5000, &ignored) ||
        Property(hwnd, gloam_probe::kScaledWidth) == 0) {
        ADD_FAILURE() << "the probe did not run in the window's thread";
        return std::nullopt;
    }
    DensityChange change;
    change.scaled =
        SIZE{Property(hwnd, gloam_probe::kScaledWidth), Property(hwnd, gloam_probe::kScaledHeight)};
    change.big_icon = Property(hwnd, gloam_probe::kBigIcon);
    change.small_icon = Property(hwnd, gloam_probe::kSmallIcon);
    return change;
}

}  // namespace e2e
