// The executable's entry and Main.
#include <windows.h>

#include <exception>
#include <string>

#include "config/frm_config_win.h"
#include "display/frm_main_win.h"
#include "platform/app_win.h"
#include "platform/random.h"
#include "platform/registry_win.h"
#include "preview/frm_preview_win.h"
#include "startup/command_line.h"
#include "startup/mod_main.h"

namespace gloam::modMain {
namespace {

std::wstring g_arguments;

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

uint64_t ClockSeed() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    const uint64_t time_of_day =
        ((now.wHour * 60ull + now.wMinute) * 60ull + now.wSecond) * 1000ull + now.wMilliseconds;
    return time_of_day ^ (static_cast<uint64_t>(counter.QuadPart) << 20) ^ ::GetCurrentProcessId();
}

}  // namespace

void Main() {
    RegistryStore store;
    RegisterInstallInfo(store, ExecutablePath());
    ProcessRandom().Seed(ClockSeed());
    const std::wstring command_text = CommandTextOrDefault(g_arguments);

    // Looked up by their Unicode text so that the settings dialog's title is found on any
    // system code page.
    for (const wchar_t* title : {FrmMain::kTitle, FrmConfig::kTitle}) {
        if (::FindWindowW(nullptr, title)) app::EndAtOnce();
    }

    LoadSettings(store);

    switch (ModeOf(command_text)) {
        case Mode::Screen:
            frmMain().Load(lngSpeed, lngSize);
            frmMain().Show();
            break;
        case Mode::Config:
            frmConfig().Load(lngSpeed, lngSize);
            frmConfig().Show();
            break;
        case Mode::Preview:
            ShowPreview(PreviewHostHandle(command_text));
            break;
        case Mode::None:
            break;
    }
}

void SetArguments(const wchar_t* arguments) {
    g_arguments = arguments ? arguments : L"";
}

}  // namespace gloam::modMain

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    gloam::app::SetInstance(instance);
    try {
        gloam::modMain::SetArguments(arguments);
        gloam::modMain::Main();
        return gloam::app::RunMessageLoop();
    } catch (const std::exception& error) {
        gloam::app::ReportRuntimeError(error.what());
    } catch (...) {
        gloam::app::ReportRuntimeError("An unexpected error stopped the program.");
    }
}
