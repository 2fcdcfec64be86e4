#include "platform/desktop_win.h"

#include <windows.h>

#include <vector>

namespace gloam {

std::optional<std::wstring> ThreadDesktopName() {
    // The thread's desktop handle needs no closing.
    HDESK desktop = ::GetThreadDesktop(::GetCurrentThreadId());
    if (!desktop) return std::nullopt;
    DWORD needed = 0;
    ::GetUserObjectInformationW(desktop, UOI_NAME, nullptr, 0, &needed);
    if (needed < sizeof(wchar_t) || needed > 64 * 1024) return std::nullopt;
    std::vector<wchar_t> name(needed / sizeof(wchar_t) + 1, L'\0');
    if (!::GetUserObjectInformationW(desktop, UOI_NAME, name.data(),
                                     static_cast<DWORD>(name.size() * sizeof(wchar_t)), &needed)) {
        return std::nullopt;
    }
    return std::wstring(name.data());
}

}  // namespace gloam
