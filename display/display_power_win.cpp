#include "display/display_power_win.h"

#include <cstring>
#include <utility>

namespace gloam {
namespace {

using RegisterFunction = HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD);

template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

// How many of the `wanted` bytes from `at` on lie in committed memory that this process may read.
size_t ReadableBytes(const void* at, size_t wanted) {
    const auto* byte = static_cast<const unsigned char*>(at);
    size_t readable = 0;
    while (readable < wanted) {
        MEMORY_BASIC_INFORMATION region{};
        if (::VirtualQuery(byte + readable, &region, sizeof region) == 0) break;
        constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                    PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                                    PAGE_EXECUTE_WRITECOPY;
        if (region.State != MEM_COMMIT || !(region.Protect & kReadable) ||
            (region.Protect & (PAGE_GUARD | PAGE_NOACCESS))) {
            break;
        }
        const auto* region_end =
            static_cast<const unsigned char*>(region.BaseAddress) + region.RegionSize;
        readable = static_cast<size_t>(region_end - byte);
    }
    return readable < wanted ? readable : wanted;
}

}  // namespace

DisplayPowerRegistration::DisplayPowerRegistration(HWND window) {
    const auto register_for = User32Function<RegisterFunction>("RegisterPowerSettingNotification");
    const auto unregister = User32Function<Unregister>("UnregisterPowerSettingNotification");
    if (!register_for || !unregister) return;
    GUID setting;
    static_assert(sizeof setting == kConsoleDisplayState.size());
    std::memcpy(&setting, kConsoleDisplayState.data(), sizeof setting);
    handle_ = register_for(window, &setting, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (handle_) unregister_ = unregister;
}

DisplayPowerRegistration::DisplayPowerRegistration(DisplayPowerRegistration&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      unregister_(std::exchange(other.unregister_, nullptr)) {}

DisplayPowerRegistration& DisplayPowerRegistration::operator=(
    DisplayPowerRegistration&& other) noexcept {
    if (this != &other) {
        reset();
        handle_ = std::exchange(other.handle_, nullptr);
        unregister_ = std::exchange(other.unregister_, nullptr);
    }
    return *this;
}

DisplayPowerRegistration::~DisplayPowerRegistration() {
    reset();
}

void DisplayPowerRegistration::reset() {
    if (handle_) unregister_(handle_);
    handle_ = nullptr;
    unregister_ = nullptr;
}

std::optional<DisplayPower> DisplayPowerOf(WPARAM wparam, LPARAM lparam) {
    if (wparam != PBT_POWERSETTINGCHANGE || lparam == 0) return std::nullopt;
    const auto* record = reinterpret_cast<const unsigned char*>(lparam);
    // A copy, so that the record is read once whatever writes it meanwhile.
    unsigned char bytes[kDisplayStateRecordBytes];
    const size_t readable = ReadableBytes(record, sizeof bytes);
    std::memcpy(bytes, record, readable);
    return ReadDisplayPower(std::span<const unsigned char>(bytes, readable));
}

}  // namespace gloam
