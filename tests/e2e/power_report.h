// Reports of the display's state sent to a window of another process, as the system sends them:
// WM_POWERBROADCAST with PBT_POWERSETTINGCHANGE, whose lParam points to a POWERBROADCAST_SETTING.
// The system passes that pointer as it is, so the record is written into the receiving process
// (VirtualAllocEx, WriteProcessMemory) and the message sent with its address there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "no_copy.h"

namespace e2e {

// {6FE69556-704A-47A0-8F24-C28D936FDA47}, spelled out here rather than taken from the program.
inline constexpr GUID kConsoleDisplayState{
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// {02731015-4510-4526-99E6-E5A17EBD1AEA}: another setting, with the same kind of value.
inline constexpr GUID kMonitorPowerOn{
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

// The bytes of a POWERBROADCAST_SETTING: the GUID, DataLength, then `data`.
std::vector<unsigned char> PowerSettingRecord(const GUID& setting, DWORD data_length,
                                              const std::vector<unsigned char>& data);
// A well-formed report of the console display's state (0 off, 1 on, 2 dimmed).
std::vector<unsigned char> DisplayStateRecord(uint32_t state);

// Where in the receiving process the record is put.
enum class RecordPlace {
    Readable,       // in memory that the process can read
    CutByNoAccess,  // ending two bytes into a page that cannot be read
    Freed,          // memory given back before the message is sent
    Null,           // lParam 0: no record at all
};

// Whether this process can reach the memory of the process `pid` at the addresses that process
// uses: its image's "MZ", found through its process block, reads back. Not so for 32-bit Wine run
// through qemu-i386 (how 32-bit programs run on a machine without IA-32 support), where the
// wineserver reads and writes the emulator's memory at the guest's addresses.
bool MemoryOfProcessReachable(DWORD pid);

// Sends the report to `window` (of the process `pid`) and waits for it to be handled. Returns
// the reason when it could not be sent.
std::string SendPowerSetting(HWND window, DWORD pid, const std::vector<unsigned char>& record,
                             RecordPlace place = RecordPlace::Readable);

}  // namespace e2e
