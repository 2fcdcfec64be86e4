#include "cursor_probe.h"

#include <gtest/gtest.h>

#include <iterator>

#include "platform/handles_win.h"
#include "probe/probe.h"
#include "process.h"
#include "text.h"

namespace e2e {

const char* ToString(CursorLook look) {
    // In the order of the enumeration.
    static constexpr const char* kNames[] = {"not probed", "no class cursor", "unreadable",
                                             "visible", "invisible"};
    static_assert(std::size(kNames) == static_cast<size_t>(CursorLook::Invisible) + 1);
    return kNames[static_cast<size_t>(look)];
}

CursorLook ProbeClassCursor(HWND hwnd) {
    const gloam::unique_hmodule probe(
        LoadLibraryW((TestFolder() + L"\\" + gloam_probe::kDllName).c_str()));
    if (!probe) {
        ADD_FAILURE() << "cannot load " << Narrow(gloam_probe::kDllName) << ", error "
                      << GetLastError();
        return CursorLook::NotProbed;
    }
    const auto proc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(probe.get(), gloam_probe::kHookProc)));
    if (!proc) {
        ADD_FAILURE() << "the probe has no hook procedure";
        return CursorLook::NotProbed;
    }
    const gloam::unique_hhook hook(SetWindowsHookExW(WH_CALLWNDPROC, proc, probe.get(),
                                                     GetWindowThreadProcessId(hwnd, nullptr)));
    if (!hook) {
        ADD_FAILURE() << "cannot hook the window's thread, error " << GetLastError();
        return CursorLook::NotProbed;
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, RegisterWindowMessageW(gloam_probe::kMessage), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &ignored);
    switch (reinterpret_cast<LONG_PTR>(GetPropW(hwnd, gloam_probe::kProperty))) {
        case gloam_probe::kNoClassCursor:
            return CursorLook::NoClassCursor;
        case gloam_probe::kUnreadable:
            return CursorLook::Unreadable;
        case gloam_probe::kVisible:
            return CursorLook::Visible;
        case gloam_probe::kInvisible:
            return CursorLook::Invisible;
        default:
            return CursorLook::NotProbed;
    }
}

}  // namespace e2e
