#include "probe_call.h"

#include <gtest/gtest.h>

#include "platform/handles_win.h"
#include "probe/probe.h"
#include "process.h"
#include "text.h"

namespace e2e {

bool CallProbe(HWND hwnd, const char* hook_proc, const wchar_t* message, WPARAM wparam) {
    const gloam::unique_hmodule probe(
        LoadLibraryW((TestFolder() + L"\\" + gloam_probe::kDllName).c_str()));
    const auto proc = probe ? reinterpret_cast<HOOKPROC>(
                                  reinterpret_cast<void*>(GetProcAddress(probe.get(), hook_proc)))
                            : nullptr;
    if (!proc) {
        ADD_FAILURE() << "cannot load " << hook_proc << " of " << Narrow(gloam_probe::kDllName)
                      << ", error " << GetLastError();
        return false;
    }
    const gloam::unique_hhook hook(SetWindowsHookExW(WH_CALLWNDPROC, proc, probe.get(),
                                                     GetWindowThreadProcessId(hwnd, nullptr)));
    if (!hook) {
        ADD_FAILURE() << "cannot hook the window's thread, error " << GetLastError();
        return false;
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(hwnd, RegisterWindowMessageW(message), wparam, 0, SMTO_ABORTIFHUNG,
                             5000, &ignored)) {
        ADD_FAILURE() << "the window did not answer the probe, error " << GetLastError();
        return false;
    }
    return true;
}

}  // namespace e2e
