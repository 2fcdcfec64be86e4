#include "platform/monitors_win.h"

#include <windows.h>

namespace gloam {
namespace {

// A callback of the system: it has the system's calling convention, which a lambda has not on
// 32-bit Windows.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<Rect>*>(data)->push_back(
            Rect{r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
}

}  // namespace

std::vector<Rect> MonitorRects() {
    std::vector<Rect> rects;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

}  // namespace gloam
