#include "environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/handles_win.h"
#include "registry.h"
#include "tests/reference.h"
#include "text.h"
#include "wait.h"

namespace e2e {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr int kOutputs = 4;

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const RECT& x, const RECT& y) {
        return x.left == y.left && x.top == y.top && x.right == y.right && x.bottom == y.bottom;
    });
}

std::vector<RECT> Sorted(std::vector<RECT> rects) {
    std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) {
        return a.left != b.left ? a.left < b.left : a.top < b.top;
    });
    return rects;
}

// System callbacks are plain functions: a lambda lacks the system's calling convention on 32-bit
// Windows.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM rects) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<RECT>*>(rects)->push_back(info.rcMonitor);
    }
    return TRUE;
}

// The first bytes of a file; nullopt when it cannot be opened.
std::optional<std::string> ReadSmallFile(const wchar_t* path) {
    const HANDLE opened =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const gloam::unique_handle file(opened);
    char text[64] = {};
    DWORD read = 0;
    if (!ReadFile(file.get(), text, sizeof text, &read, nullptr)) return std::nullopt;
    return std::string(text, read);
}

}  // namespace

bool StartUnix(std::wstring command_line) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        return false;
    }
    // Wine runs a Unix program outside every Windows process and gives no handles back, yet it
    // fills the structure with whatever its stack held: under Wine 8 addresses, under Wine 10 also
    // small numbers such as 0x18. Closing those would close handles of this process that happen
    // to have them (seen: a display's process handle, so the display outlived its test).
    return true;
}

std::optional<int> RunUnix(const std::wstring& command, Millis limit) {
    // Two Wines may run the tests side by side, and their process ids repeat: the time makes the
    // name unique.
    static int runs = 0;
    const std::wstring status = L"/tmp/gloam-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++runs) +
                                L".status";
    std::wstring windows_status = L"Z:" + status;
    std::replace(windows_status.begin() + 2, windows_status.end(), L'/', L'\\');
    DeleteFileW(windows_status.c_str());
    if (!StartUnix(L"/bin/sh -c \"" + command + L"; echo $? >" + status + L".part && mv " + status +
                   L".part " + status + L"\"")) {
        return std::nullopt;
    }
    std::optional<int> result;
    WaitUntil(
        [&] {
            const std::optional<std::string> text = ReadSmallFile(windows_status.c_str());
            if (text) result = std::atoi(text->c_str());
            return text.has_value();
        },
        limit, 10ms);
    DeleteFileW(windows_status.c_str());
    return result;
}

bool UnderWine() {
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

bool UnderEmulated32BitWine() {
#ifdef _WIN64
    return false;
#else
    if (!UnderWine()) return false;
    const std::optional<std::string> text =
        ReadSmallFile(L"Z:\\proc\\sys\\fs\\binfmt_misc\\qemu-i386");
    return text && text->starts_with("enabled");
#endif
}

ScreenSize PrimaryScreen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::vector<RECT> MonitorRects() {
    std::vector<RECT> rects;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&rects));
    return Sorted(rects);
}

double TwipsPerPixel() {
    const gloam::unique_hdc_window screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

int Px(double twips) {
    return gloam_tests::reference::Nearest(twips / TwipsPerPixel()).value();
}

int PxAt(double twips, int dpi) {
    return gloam_tests::reference::Nearest(twips / (1440.0 / dpi)).value();
}

std::vector<Monitor> DefaultMonitors() {
    return {Monitor{0, 0, 1024, 768}};
}

std::optional<std::string> ArrangeMonitors(const std::vector<Monitor>& monitors) {
    if (!UnderWine()) return "the monitors can only be arranged in the tests' own X server";
    if (monitors.empty() || monitors.size() > kOutputs) return "1 to 4 monitors";
    if (monitors[0].left != 0 || monitors[0].top != 0) return "the primary must lie at (0, 0)";
    // X has no negative coordinates: the layout is moved so that its top-left is X's origin.
    int min_x = 0, min_y = 0, max_x = 0, max_y = 0;
    for (const Monitor& m : monitors) {
        min_x = std::min(min_x, m.left);
        min_y = std::min(min_y, m.top);
        max_x = std::max(max_x, m.left + m.width);
        max_y = std::max(max_y, m.top + m.height);
    }
    std::wstring command = L"/usr/bin/xrandr --fb " + std::to_wstring(max_x - min_x) + L"x" +
                           std::to_wstring(max_y - min_y);
    for (int i = 0; i < kOutputs; ++i) {
        command += L" --output DUMMY" + std::to_wstring(i);
        if (i >= static_cast<int>(monitors.size())) {
            command += L" --off";
            continue;
        }
        const Monitor& m = monitors[static_cast<size_t>(i)];
        command += L" --mode " + std::to_wstring(m.width) + L"x" + std::to_wstring(m.height) +
                   L" --pos " + std::to_wstring(m.left - min_x) + L"x" +
                   std::to_wstring(m.top - min_y);
        if (i == 0) command += L" --primary";
    }
    if (!StartUnix(command)) return "xrandr did not start: " + Narrow(command);
    std::vector<RECT> wanted;
    for (const Monitor& m : monitors) wanted.push_back(m.Rect());
    wanted = Sorted(wanted);
    if (!WaitUntil([&] { return SameRects(MonitorRects(), wanted); }, 10s, 20ms)) {
        return "Windows did not report the monitors within 10 s of " + Narrow(command);
    }
    // The pointer may go wherever the monitors now are.
    ClipCursor(nullptr);
    return std::nullopt;
}

MonitorLayout::MonitorLayout(std::vector<Monitor> monitors) {
    if (auto failure = ArrangeMonitors(monitors)) failure_ = *failure;
}

MonitorLayout::~MonitorLayout() {
    if (auto failure = ArrangeMonitors(DefaultMonitors())) {
        ADD_FAILURE() << "the single monitor did not come back: " << *failure;
    }
}

LogPixels::LogPixels(DWORD dpi) {
    if (std::optional<RawValue> value = ReadRaw(kDesktopKey, L"LogPixels");
        value && value->type == REG_DWORD && value->data.size() == sizeof(DWORD)) {
        DWORD dpi_before = 0;
        std::memcpy(&dpi_before, value->data.data(), sizeof dpi_before);
        previous_ = dpi_before;
    }
    WriteRaw(kDesktopKey, L"LogPixels", DwordValue(REG_DWORD, dpi));
}

LogPixels::~LogPixels() {
    if (previous_) {
        WriteRaw(kDesktopKey, L"LogPixels", DwordValue(REG_DWORD, *previous_));
    } else {
        DeleteRegValue(kDesktopKey, L"LogPixels");
    }
}

}  // namespace e2e
