// Finding and describing windows of any process, and answering dialogs.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "wait.h"

namespace e2e {

// The system's class of dialog boxes, message boxes included.
inline constexpr wchar_t kMessageBoxClass[] = L"#32770";

struct WindowInfo {
    HWND hwnd = nullptr;
    DWORD pid = 0;
    std::wstring title;
    std::wstring cls;
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
    RECT rect{};
    bool visible = false;
};

WindowInfo DescribeWindow(HWND hwnd);
// Top-level windows of one process (all of them, hidden ones included).
std::vector<WindowInfo> TopLevelWindowsOf(DWORD pid);
// Top-level windows of any process whose title and class match; an empty filter matches any.
std::vector<WindowInfo> FindTopLevelWindows(std::wstring_view title, std::wstring_view cls);
// Every descendant window of `parent`, in the order the system walks them.
std::vector<HWND> ChildWindowsOf(HWND parent);
// The first descendant of `parent` whose text is `text`, nullptr when none.
HWND ChildWithText(HWND parent, std::wstring_view text);
// Texts of the static controls of a dialog (a message box's message is one of them).
std::wstring DialogStaticText(HWND dialog);
// DialogStaticText once the dialog has filled it in, waiting up to `limit`; empty if it never does.
std::wstring WaitForDialogText(HWND dialog, Millis limit = 2s);
// Presses a dialog's button by its id (IDOK for a message box's OK) the way a click does.
void PressDialogButton(HWND dialog, int id);

}  // namespace e2e
