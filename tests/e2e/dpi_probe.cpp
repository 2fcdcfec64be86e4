#include "dpi_probe.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "probe/probe.h"
#include "probe_call.h"

namespace e2e {
namespace {

LONG Property(HWND hwnd, const wchar_t* name) {
    return static_cast<LONG>(reinterpret_cast<intptr_t>(GetPropW(hwnd, name)));
}

}  // namespace

std::optional<DensityChange> MoveToDensity(HWND hwnd, UINT dpi) {
    if (!CallProbe(hwnd, gloam_probe::kDpiHookProc, gloam_probe::kDpiMessage, dpi)) {
        return std::nullopt;
    }
    if (Property(hwnd, gloam_probe::kScaledWidth) == 0) {
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

std::optional<bool> IsPerMonitorV2(HWND hwnd) {
    if (!CallProbe(hwnd, gloam_probe::kAwarenessHookProc, gloam_probe::kAwarenessMessage)) {
        return std::nullopt;
    }
    const LONG verdict = Property(hwnd, gloam_probe::kContextIsPerMonitorV2);
    if (verdict == 0) {
        ADD_FAILURE() << "the probe did not run in the window's thread";
        return std::nullopt;
    }
    return verdict == 2;
}

}  // namespace e2e
