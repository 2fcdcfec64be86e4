#include "power_report.h"

#include <cstring>

#include "platform/handles_win.h"

namespace e2e {
namespace {

// Memory committed in another process, given back when it goes.
class RemoteMemory : NoCopy {
  public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process),
          at_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() { Free(); }
    void Free() {
        if (at_) ::VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        at_ = nullptr;
    }
    unsigned char* get() const { return static_cast<unsigned char*>(at_); }

  private:
    HANDLE process_;
    void* at_;
};

std::string LastError(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(::GetLastError());
}

}  // namespace

std::vector<unsigned char> PowerSettingRecord(const GUID& setting, DWORD data_length,
                                              const std::vector<unsigned char>& data) {
    std::vector<unsigned char> bytes(offsetof(POWERBROADCAST_SETTING, Data) + data.size());
    POWERBROADCAST_SETTING header{};
    header.PowerSetting = setting;
    header.DataLength = data_length;
    std::memcpy(bytes.data(), &header, offsetof(POWERBROADCAST_SETTING, Data));
    if (!data.empty()) {
        std::memcpy(bytes.data() + offsetof(POWERBROADCAST_SETTING, Data), data.data(),
                    data.size());
    }
    return bytes;
}

std::vector<unsigned char> DisplayStateRecord(uint32_t state) {
    std::vector<unsigned char> data(sizeof(DWORD));
    std::memcpy(data.data(), &state, sizeof state);
    return PowerSettingRecord(kConsoleDisplayState, sizeof(DWORD), data);
}

bool MemoryOfProcessReachable(DWORD pid) {
    struct BasicInformation {
        void* reserved1;
        void* process_block;
        void* reserved2[4];
    };
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    const gloam::unique_handle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    BasicInformation basic{};
    if (!query || !process ||
        query(process.get(), 0 /* ProcessBasicInformation */, &basic, sizeof basic, nullptr) != 0) {
        return false;
    }
    // The image's base follows four flag bytes and a handle in the process block.
    void* image = nullptr;
    char magic[2] = {};
    SIZE_T read = 0;
    return ::ReadProcessMemory(process.get(),
                               static_cast<char*>(basic.process_block) + 2 * sizeof(void*), &image,
                               sizeof image, &read) &&
           ::ReadProcessMemory(process.get(), image, magic, sizeof magic, &read) &&
           magic[0] == 'M' && magic[1] == 'Z';
}

std::string SendPowerSetting(HWND window, DWORD pid, const std::vector<unsigned char>& record,
                             RecordPlace place) {
    const gloam::unique_handle process(::OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid));
    if (!process) return LastError("OpenProcess");
    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    RemoteMemory memory(process.get(), 2 * page);
    if (!memory.get()) return LastError("VirtualAllocEx");

    unsigned char* at = memory.get();
    if (place == RecordPlace::CutByNoAccess) {
        // The record's last bytes lie in the second page, which cannot be read.
        at = memory.get() + page - (record.size() - 2);
        DWORD old = 0;
        if (!::VirtualProtectEx(process.get(), memory.get() + page, page, PAGE_NOACCESS, &old)) {
            return LastError("VirtualProtectEx");
        }
    }
    SIZE_T written = 0;
    const size_t readable = place == RecordPlace::CutByNoAccess ? record.size() - 2 : record.size();
    if (!::WriteProcessMemory(process.get(), at, record.data(), readable, &written) ||
        written != readable) {
        return LastError("WriteProcessMemory");
    }
    if (place == RecordPlace::Freed) memory.Free();
    const LPARAM lparam = place == RecordPlace::Null ? 0 : reinterpret_cast<LPARAM>(at);

    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, lparam,
                               SMTO_ABORTIFHUNG, 5000, &result)) {
        return LastError("SendMessageTimeout");
    }
    return "";
}

}  // namespace e2e
