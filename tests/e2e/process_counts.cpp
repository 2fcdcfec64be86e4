#include "process_counts.h"

#include <psapi.h>

#include <cstdio>

#include "platform/handles_win.h"

namespace e2e {
namespace {

struct WindowTally {
    DWORD pid;
    int all = 0;
    int visible = 0;
};

BOOL CALLBACK TallyWindow(HWND window, LPARAM param) {
    auto* tally = reinterpret_cast<WindowTally*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == tally->pid) {
        ++tally->all;
        if (::IsWindowVisible(window)) ++tally->visible;
    }
    return TRUE;
}

template <typename Count>
std::string Text(const std::optional<Count>& count) {
    return count ? std::to_string(*count) : std::string("-");
}

std::string MiB(const std::optional<SIZE_T>& bytes) {
    if (!bytes) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(*bytes) / (1024.0 * 1024.0));
    return text;
}

}  // namespace

std::optional<ProcessCounts> CountProcess(DWORD pid) {
    const gloam::unique_handle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return std::nullopt;
    ProcessCounts counts;
    WindowTally tally{pid};
    ::EnumWindows(TallyWindow, reinterpret_cast<LPARAM>(&tally));
    counts.windows = tally.all;
    counts.visible_windows = tally.visible;
    // Zero is no answer: a process with windows always holds GDI and USER objects.
    if (const DWORD gdi = ::GetGuiResources(process.get(), GR_GDIOBJECTS); gdi > 0) {
        counts.gdi_objects = gdi;
    }
    if (const DWORD user = ::GetGuiResources(process.get(), GR_USEROBJECTS); user > 0) {
        counts.user_objects = user;
    }
    if (DWORD handles = 0; ::GetProcessHandleCount(process.get(), &handles) && handles > 0) {
        counts.handles = handles;
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof memory)) {
        if (memory.PrivateUsage > 0) counts.private_bytes = memory.PrivateUsage;
        if (memory.WorkingSetSize > 0) counts.working_set = memory.WorkingSetSize;
    }
    return counts;
}

std::string Describe(const ProcessCounts& counts) {
    return "windows " + std::to_string(counts.visible_windows) + "/" +
           std::to_string(counts.windows) + " gdi " + Text(counts.gdi_objects) + " user " +
           Text(counts.user_objects) + " handles " + Text(counts.handles) + " private " +
           MiB(counts.private_bytes) + " working set " + MiB(counts.working_set);
}

}  // namespace e2e
