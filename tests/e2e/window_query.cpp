#include "window_query.h"

#include <algorithm>

#include "text.h"

namespace e2e {
namespace {

// System callbacks are plain functions: a lambda lacks the system's calling convention on 32-bit
// Windows.
BOOL CALLBACK AddWindow(HWND hwnd, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> AllTopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(&AddWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

}  // namespace

WindowInfo DescribeWindow(HWND hwnd) {
    WindowInfo info;
    info.hwnd = hwnd;
    GetWindowThreadProcessId(hwnd, &info.pid);
    wchar_t text[512];
    int n = GetWindowTextW(hwnd, text, 512);
    info.title.assign(text, static_cast<size_t>(std::max(n, 0)));
    n = GetClassNameW(hwnd, text, 512);
    info.cls.assign(text, static_cast<size_t>(std::max(n, 0)));
    info.style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    info.exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    GetWindowRect(hwnd, &info.rect);
    info.visible = IsWindowVisible(hwnd) != FALSE;
    return info;
}

std::vector<WindowInfo> TopLevelWindowsOf(DWORD pid) {
    std::vector<WindowInfo> out;
    for (HWND hwnd : AllTopLevelWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == pid) out.push_back(DescribeWindow(hwnd));
    }
    return out;
}

std::vector<WindowInfo> FindTopLevelWindows(std::wstring_view title, std::wstring_view cls) {
    std::vector<WindowInfo> out;
    for (HWND hwnd : AllTopLevelWindows()) {
        WindowInfo info = DescribeWindow(hwnd);
        if ((title.empty() || info.title == title) && (cls.empty() || info.cls == cls)) {
            out.push_back(std::move(info));
        }
    }
    return out;
}

std::vector<HWND> ChildWindowsOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, &AddWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ChildWithText(HWND parent, std::wstring_view text) {
    for (HWND child : ChildWindowsOf(parent)) {
        if (DescribeWindow(child).title == text) return child;
    }
    return nullptr;
}

std::wstring DialogStaticText(HWND dialog) {
    std::wstring text;
    for (HWND child : ChildWindowsOf(dialog)) {
        const WindowInfo info = DescribeWindow(child);
        if (!EqualsNoCase(info.cls, L"Static") || info.title.empty()) continue;
        if (!text.empty()) text += L'\n';
        text += info.title;
    }
    return text;
}

std::wstring WaitForDialogText(HWND dialog, Millis limit) {
    std::wstring text;
    WaitUntil(
        [&] {
            text = DialogStaticText(dialog);
            return !text.empty();
        },
        limit);
    return text;
}

void PressDialogButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace e2e
