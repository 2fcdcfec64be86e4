// What bench/soak.sh asks of the running display from inside Wine:
//
//   gloam_saver_probe.exe park X Y   puts the pointer at (X, Y), before the display starts, and
//                                    waits until the system reports it there
//   gloam_saver_probe.exe where      prints where the pointer is
//   gloam_saver_probe.exe sample     prints one line: visible and all top-level windows, GDI
//                                    objects, USER objects, handles, private KiB, working set KiB
//                                    of the display's process ("-" where the system gives no
//                                    count); exit code 1 when no display window is found
//   gloam_saver_probe.exe windows    prints the class of each top-level window of the display's
//                                    process, and whether it is visible
//   gloam_saver_probe.exe off | on   sends the display window the system's report that the
//                                    display went off or came back
//
// The counts and the report are the end-to-end harness's (tests/e2e/process_counts.h,
// power_report.h), so the soak and the tests measure and send the same things.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/e2e/pointer_place.h"
#include "tests/e2e/power_report.h"
#include "tests/e2e/process_counts.h"

namespace {

template <typename Count>
std::string Text(const std::optional<Count>& count, Count divisor = 1) {
    return count ? std::to_string(*count / divisor) : std::string("-");
}

// Prints the class of a top-level window of the process `target`, and whether it is visible.
BOOL CALLBACK PrintWindowOf(HWND window, LPARAM target) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != static_cast<DWORD>(target)) return TRUE;
    wchar_t cls[256] = L"";
    ::GetClassNameW(window, cls, 256);
    std::printf("%ls %s\n", cls, ::IsWindowVisible(window) ? "visible" : "hidden");
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wcscmp(argv[1], L"park") == 0) {
        // A fresh Wine 10 session reports the pointer at (0, 0) until one of its windows has
        // seen it, and a display started then would see it jump.
        return e2e::ShowPointerAt({_wtoi(argv[2]), _wtoi(argv[3])}, e2e::Millis(2000)) ? 0 : 1;
    }
    if (argc == 2 && std::wcscmp(argv[1], L"where") == 0) {
        POINT at{};
        ::GetCursorPos(&at);
        std::printf("%ld %ld\n", at.x, at.y);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: gloam_saver_probe park X Y | where | sample | windows | off | on\n");
        return 2;
    }
    const HWND display = ::FindWindowW(L"GloamDriftMain", L"Gloam Drift Screen Saver");
    if (!display) {
        std::fprintf(stderr, "no display window\n");
        return 1;
    }
    DWORD pid = 0;
    ::GetWindowThreadProcessId(display, &pid);
    const std::wstring command = argv[1];
    if (command == L"sample") {
        const std::optional<e2e::ProcessCounts> counts = e2e::CountProcess(pid);
        if (!counts) return 1;
        std::printf("%d %d %s %s %s %s %s\n", counts->visible_windows, counts->windows,
                    Text(counts->gdi_objects).c_str(), Text(counts->user_objects).c_str(),
                    Text(counts->handles).c_str(),
                    Text<SIZE_T>(counts->private_bytes, 1024).c_str(),
                    Text<SIZE_T>(counts->working_set, 1024).c_str());
        return 0;
    }
    if (command == L"windows") {
        ::EnumWindows(PrintWindowOf, static_cast<LPARAM>(pid));
        return 0;
    }
    if (command == L"off" || command == L"on") {
        const std::string failure =
            e2e::SendPowerSetting(display, pid, e2e::DisplayStateRecord(command == L"on" ? 1 : 0));
        if (failure.empty()) return 0;
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    std::fprintf(stderr, "unknown command\n");
    return 2;
}
