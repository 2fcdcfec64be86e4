#include "cursor_probe.h"

#include <iterator>

#include "probe/probe.h"
#include "probe_call.h"

namespace e2e {

const char* ToString(CursorLook look) {
    // In the order of the enumeration.
    static constexpr const char* kNames[] = {"not probed", "no class cursor", "unreadable",
                                             "visible", "invisible"};
    static_assert(std::size(kNames) == static_cast<size_t>(CursorLook::Invisible) + 1);
    return kNames[static_cast<size_t>(look)];
}

CursorLook ProbeClassCursor(HWND hwnd) {
    if (!CallProbe(hwnd, gloam_probe::kHookProc, gloam_probe::kMessage)) {
        return CursorLook::NotProbed;
    }
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
