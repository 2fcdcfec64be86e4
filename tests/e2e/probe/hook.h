// What the probe's window hooks share.
#pragma once

#include <windows.h>

namespace gloam_probe {

// The body of a WH_CALLWNDPROC hook: calls `on_probe` with the call when a window of the hooked
// thread is sent `probe` (a registered message), and passes every call on.
template <typename OnProbe>
LRESULT OnProbeMessage(UINT probe, int code, WPARAM wparam, LPARAM lparam, OnProbe on_probe) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == probe) on_probe(*call);
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace gloam_probe
