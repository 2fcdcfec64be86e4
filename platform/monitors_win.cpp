#include "platform/monitors_win.h"

#include <windows.h>

namespace gloam {

std::vector<Rect> MonitorRects() {
    std::vector<Rect> rects;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info)) {
                const RECT& r = info.rcMonitor;
                reinterpret_cast<std::vector<Rect>*>(data)->push_back(
                    Rect{r.left, r.top, r.right, r.bottom});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&rects));
    return rects;
}

}  // namespace gloam
