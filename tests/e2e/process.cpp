#include "process.h"

#include <gtest/gtest.h>

#include <sstream>

#include "text.h"
// After <windows.h>, which it needs.
#include <tlhelp32.h>

namespace e2e {

std::wstring TestFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring ScrPath() {
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetEnvironmentVariableW(L"GLOAM_SCR", buffer.data(), 32768);
    if (n > 0 && n < 32768) return buffer.substr(0, n);
    return TestFolder() + L"\\GloamDrift.scr";
}

std::wstring ScrFolder() {
    const std::wstring path = ScrPath();
    return path.substr(0, path.find_last_of(L"\\/"));
}

ScrProcess::ScrProcess(std::wstring_view args, std::wstring scr, std::wstring desktop,
                       const std::function<void(DWORD thread_id)>& before_run) {
    commandLine_ = L"\"" + scr + L"\"";
    if (!args.empty()) {
        commandLine_ += L' ';
        commandLine_ += args;
    }
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!desktop.empty()) si.lpDesktop = desktop.data();
    PROCESS_INFORMATION pi{};
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring mutableLine = commandLine_;
        if (CreateProcessW(scr.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                           before_run ? CREATE_SUSPENDED : 0, nullptr, nullptr, &si, &pi)) {
            error = ERROR_SUCCESS;
            break;
        }
        // Wine has been seen to refuse a start with an internal error once, on a loaded machine,
        // before any code of the program ran; a second start then works.
        error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR) break;
        PumpFor(500ms);
    }
    if (error != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot start " << Narrow(commandLine_) << ", error " << error;
        return;
    }
    const gloam::unique_handle thread(pi.hThread);
    if (before_run) {
        before_run(pi.dwThreadId);
        ResumeThread(thread.get());
    }
    process_.reset(pi.hProcess);
    pid_ = pi.dwProcessId;
}

ScrProcess::~ScrProcess() {
    Kill();
}

bool ScrProcess::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool ScrProcess::WaitExit(Millis limit) {
    if (!process_) return false;
    return WaitUntil([this] { return !Running(); }, limit, 5ms);
}

std::optional<DWORD> ScrProcess::ExitCode() const {
    DWORD code = 0;
    if (!process_ || Running() || !GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

void EndProcess(DWORD pid) {
    if (pid == GetCurrentProcessId()) return;
    const gloam::unique_handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process) return;
    TerminateProcess(process.get(), 0xDEAD);
    WaitForSingleObject(process.get(), 10000);
}

std::vector<DWORD> ScrProcessIds() {
    std::vector<DWORD> found;
    const HANDLE snapshot_handle = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot_handle == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot list the processes, error " << GetLastError();
        return found;
    }
    const gloam::unique_handle snapshot(snapshot_handle);
    const std::wstring path = ScrPath();
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (EqualsNoCase(entry.szExeFile, name)) found.push_back(entry.th32ProcessID);
    }
    return found;
}

std::string DescribeScrProcesses() {
    std::ostringstream out;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    for (const DWORD pid : ScrProcessIds()) {
        out << " pid " << pid;
        const gloam::unique_handle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        FILETIME created{}, exited{}, kernel{}, user{};
        if (process && GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) {
            out << " started " << (ticks(now) - ticks(created)) / 10'000'000 << " s ago, "
                << (ticks(kernel) + ticks(user)) / 10'000 << " ms of CPU;";
        }
    }
    return out.str();
}

void ScrProcess::Kill() {
    if (!Running()) return;
    // Asked to close first, as a user would. A 32-bit process ended from outside sometimes takes
    // Wine down with it where 32-bit programs run through an emulator (qemu-i386), and a crash
    // there can leave the program's windows open for the tests that follow.
    const std::vector<WindowInfo> windows = Windows();
    for (const WindowInfo& w : windows) PostMessageW(w.hwnd, WM_CLOSE, 0, 0);
    if (!windows.empty() && WaitForSingleObject(process_.get(), 3000) == WAIT_OBJECT_0) return;
    TerminateProcess(process_.get(), 0xDEAD);
    WaitForSingleObject(process_.get(), 10000);
}

std::vector<WindowInfo> ScrProcess::Windows() const {
    return pid_ ? TopLevelWindowsOf(pid_) : std::vector<WindowInfo>{};
}

std::optional<WindowInfo> ScrProcess::WaitForVisibleWindow(std::wstring_view cls,
                                                           std::wstring_view title, Millis limit) {
    std::optional<WindowInfo> found;
    WaitUntil(
        [&] {
            Observe();
            for (auto& w : Windows()) {
                if (w.visible && w.cls == cls && (title.empty() || w.title == title)) {
                    found = w;
                    return true;
                }
            }
            return !Running();
        },
        limit);
    return found;
}

void ScrProcess::Observe() {
    for (auto& w : Windows()) {
        if (w.visible) seenVisible_.insert(w.cls);
    }
}

bool ScrProcess::WaitExitObserving(Millis limit) {
    if (!process_) return false;
    return WaitUntil(
        [this] {
            Observe();
            return !Running();
        },
        limit, 2ms);
}

void ExpectEndsAtOnceShowingNothing(ScrProcess& scr) {
    const std::string start = Narrow(scr.commandLine());
    ASSERT_TRUE(scr.WaitExitObserving()) << start << " is still running";
    EXPECT_EQ(scr.ExitCode(), std::optional<DWORD>(0)) << start;
    EXPECT_TRUE(scr.SeenVisibleClasses().empty())
        << start << " showed a window of class " << Narrow(*scr.SeenVisibleClasses().begin());
}

ErrorReport AwaitErrorReport(ScrProcess& scr) {
    ErrorReport report;
    report.box = scr.WaitForVisibleWindow(kMessageBoxClass, L"");
    if (report.box) {
        report.text = WaitForDialogText(report.box->hwnd);
        const RECT& r = report.box->rect;
        const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        report.covered = GetAncestor(WindowFromPoint(middle), GA_ROOT) != report.box->hwnd;
        // Anything else about to show would show now, and the report must stay until answered.
        PumpFor(300ms);
        scr.Observe();
        if (!scr.Running()) ADD_FAILURE() << "ended before the report was answered";
        PressDialogButton(report.box->hwnd, IDOK);
    }
    scr.WaitExitObserving();
    report.seen = scr.SeenVisibleClasses();
    report.exit_code = scr.ExitCode();
    return report;
}

void ExpectReportOnly(const ErrorReport& report, const ScrProcess& scr,
                      std::initializer_list<std::wstring_view> mentions) {
    const std::string start = "start \"" + Narrow(scr.commandLine()) + "\"";
    ASSERT_TRUE(report.box.has_value()) << start << ": no error report";
    EXPECT_EQ(Narrow(report.box->title), Narrow(kDisplayTitle)) << start;
    EXPECT_FALSE(report.covered) << start << ": another window covers the report";
    EXPECT_EQ(report.seen, std::set<std::wstring>{kMessageBoxClass})
        << start << ": a window other than the report showed";
    EXPECT_EQ(report.exit_code, std::optional<DWORD>(1)) << start;
    for (std::wstring_view mention : mentions) {
        EXPECT_TRUE(ContainsNoCase(report.text, mention))
            << start << ": the report does not name \"" << Narrow(mention)
            << "\": " << Narrow(report.text.substr(0, 300));
    }
}

}  // namespace e2e
