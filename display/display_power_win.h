// The system's reports of the display's state, for one window: the registration that asks for
// them and the reading of one report (WM_POWERBROADCAST with PBT_POWERSETTINGCHANGE).
//
// RegisterPowerSettingNotification and its unregistering partner are looked up in user32 when the
// window registers, so that a system without them only loses the reports: the display then draws
// every frame, as it would with the display always on.
#pragma once

#include <windows.h>

#include <optional>

#include "display/display_power.h"

namespace gloam {

// Owns one registration for the console display's state; unregisters when it goes.
class DisplayPowerRegistration {
  public:
    DisplayPowerRegistration() = default;
    // Registers `window`; holds nothing when the system has no such registration or refuses it.
    explicit DisplayPowerRegistration(HWND window);
    DisplayPowerRegistration(const DisplayPowerRegistration&) = delete;
    DisplayPowerRegistration& operator=(const DisplayPowerRegistration&) = delete;
    DisplayPowerRegistration(DisplayPowerRegistration&& other) noexcept;
    DisplayPowerRegistration& operator=(DisplayPowerRegistration&& other) noexcept;
    ~DisplayPowerRegistration();

    explicit operator bool() const { return handle_ != nullptr; }

  private:
    using Unregister = BOOL(WINAPI*)(HPOWERNOTIFY);
    void reset();

    HPOWERNOTIFY handle_ = nullptr;
    Unregister unregister_ = nullptr;
};

// The display's state reported by a WM_POWERBROADCAST message, or nothing when the message is no
// well-formed report of it. lParam comes as it was sent and is only read where memory of this
// process can be read.
std::optional<DisplayPower> DisplayPowerOf(WPARAM wparam, LPARAM lparam);

}  // namespace gloam
