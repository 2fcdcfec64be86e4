// The registry under HKEY_CURRENT_USER, which the program and the tests share (under Wine: the
// same prefix).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "program_names.h"

namespace e2e {

// A value as stored: its type and bytes.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RawValue&) const = default;
};

// UTF-16 text of the given type, with its terminating NUL unless `terminated` is false.
RawValue Utf16Value(DWORD type, std::wstring_view text, bool terminated = true);
RawValue DwordValue(DWORD type, DWORD number);

// Nullopt when the key or the value is absent.
std::optional<RawValue> ReadRaw(const wchar_t* subkey, const wchar_t* name);
// Creates the key as needed; fails the test when the value cannot be written.
void WriteRaw(const wchar_t* subkey, const wchar_t* name, const RawValue& value);

// The REG_SZ value, nullopt when the key or value is absent. Fails the test on other types.
std::optional<std::wstring> ReadRegString(const wchar_t* subkey, const wchar_t* name);
void WriteRegString(const wchar_t* subkey, const wchar_t* name, std::wstring_view value);
bool KeyExists(const wchar_t* subkey);
// Deletes one value; absent is fine.
void DeleteRegValue(const wchar_t* subkey, const wchar_t* name);
// Deletes a key with everything below it; absent is fine.
void DeleteRegTree(const wchar_t* subkey);
// Both of the program's keys gone: the state of a machine where it never ran.
void ResetProgramRegistry();

// The settings the display and the dialog read at start, written as the settings dialog would.
void WriteSettings(const wchar_t* speed, const wchar_t* size);
std::optional<std::wstring> StoredSpeed();
std::optional<std::wstring> StoredSize();

}  // namespace e2e
