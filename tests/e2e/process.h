// The program under test: where its file is, and one run of it started the way a host starts it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "no_copy.h"
#include "platform/handles_win.h"
#include "program_names.h"
#include "wait.h"
#include "window_query.h"

namespace e2e {

// The .scr under test: $GLOAM_SCR when set, else GloamDrift.scr beside this test program (both sit
// in the build directory).
std::wstring ScrPath();
// The folder that holds it, without a trailing separator.
std::wstring ScrFolder();
// The folder of this test program.
std::wstring TestFolder();

// Ends the process `pid` from outside and waits up to 10 s for it: a left-over of an earlier test.
// Never this process.
void EndProcess(DWORD pid);
// The processes whose file has the .scr's name, on any desktop of this machine (this Wine prefix).
std::vector<DWORD> ScrProcessIds();
// Each of them with its age and CPU time, to tell which earlier test left it.
std::string DescribeScrProcesses();

// One run of the .scr, started with CreateProcessW as the host starts it: the quoted path, then a
// blank and `args` unless `args` is empty; on `desktop` ("WinSta0\Screen-saver") when given, else
// on the test's own. `before_run`, when given, gets the id of the program's thread after the
// process is made and before any of its code runs. Terminated (and waited for) when destroyed.
class ScrProcess : NoCopy {
  public:
    explicit ScrProcess(std::wstring_view args, std::wstring scr = ScrPath(),
                        std::wstring desktop = {},
                        const std::function<void(DWORD thread_id)>& before_run = {});
    ~ScrProcess();

    DWORD pid() const { return pid_; }
    const std::wstring& commandLine() const { return commandLine_; }
    bool Running() const;
    // Waits (pumping messages) until the process has ended. True when it did within `limit`.
    bool WaitExit(Millis limit = kExitLimit);
    // The exit code once ended; nullopt while running.
    std::optional<DWORD> ExitCode() const;
    void Kill();

    // Top-level windows of this process.
    std::vector<WindowInfo> Windows() const;
    // The one top-level window of this process with that class (and title when given), waiting up
    // to `limit` for it to exist and be visible. Nullopt when none appears in time.
    std::optional<WindowInfo> WaitForVisibleWindow(std::wstring_view cls, std::wstring_view title,
                                                   Millis limit = kStartLimit);

    // Classes of every window of this process seen visible so far by Observe() (top level).
    const std::set<std::wstring>& SeenVisibleClasses() const { return seenVisible_; }
    // Records the classes of this process's visible top-level windows right now.
    void Observe();
    // Waits for the end like WaitExit, observing the process's windows every few milliseconds.
    bool WaitExitObserving(Millis limit = kExitLimit);

  private:
    std::wstring commandLine_;
    gloam::unique_handle process_;
    DWORD pid_ = 0;
    std::set<std::wstring> seenVisible_;
};

// Asserts that the run ends at once by itself, with exit code 0 and without showing a window: a
// start refused beside an open display or dialog, or one that has nothing to show.
void ExpectEndsAtOnceShowingNothing(ScrProcess& scr);

// The program's run-time error report as a start met it.
struct ErrorReport {
    std::optional<WindowInfo> box;  // the message box, nullopt when none showed
    std::wstring text;              // its message
    bool covered = false;           // another window lay over the middle of the box
    std::set<std::wstring> seen;    // classes of the process's windows seen visible meanwhile
    std::optional<DWORD> exit_code;
};

// Waits for the report of a start, reads it, answers it with OK and waits for the end.
ErrorReport AwaitErrorReport(ScrProcess& scr);
// Asserts that the report showed alone, named every one of `mentions`, and ended the run with
// exit code 1.
void ExpectReportOnly(const ErrorReport& report, const ScrProcess& scr,
                      std::initializer_list<std::wstring_view> mentions);

}  // namespace e2e
