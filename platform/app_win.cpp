#include "platform/app_win.h"

#include "platform/text.h"

namespace gloam::app {
namespace {

HINSTANCE g_instance = nullptr;
int g_forms = 0;
bool g_reporting = false;
MessageFilter g_filter = nullptr;

BOOL CALLBACK HideWindow(HWND window, LPARAM) {
    ::ShowWindow(window, SW_HIDE);
    return TRUE;
}

bool Filter(MSG& message) {
    return g_filter != nullptr && !g_reporting && g_filter(message);
}

}  // namespace

void SetInstance(HINSTANCE instance) {
    g_instance = instance;
}
HINSTANCE Instance() {
    return g_instance;
}

void FormCreated() {
    ++g_forms;
}

void FormDestroyed() {
    if (--g_forms == 0) ::PostQuitMessage(0);
}

void SetMessageFilter(MessageFilter filter) {
    g_filter = filter;
}

int RunMessageLoop() {
    if (g_forms == 0) return 0;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (Filter(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void LetPendingEventsRun() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave it for the main loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (Filter(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void EndAtOnce() {
    ::TerminateProcess(::GetCurrentProcess(), 0);
    __builtin_unreachable();
}

void ReportRuntimeError(std::string_view message) {
    g_reporting = true;
    // A full-screen topmost window must not hide the report.
    ::EnumThreadWindows(::GetCurrentThreadId(), HideWindow, 0);
    const std::wstring text = Utf16Of(message);
    ::MessageBoxW(nullptr, text.c_str(), kProductTitle,
                  MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND | MB_TASKMODAL);
    ::TerminateProcess(::GetCurrentProcess(), 1);
    __builtin_unreachable();
}

bool Reporting() {
    return g_reporting;
}

}  // namespace gloam::app
