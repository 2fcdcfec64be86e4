#include "registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/handles_win.h"
#include "text.h"

namespace e2e {

RawValue Utf16Value(DWORD type, std::wstring_view text, bool terminated) {
    RawValue value{type, {}};
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    value.data.assign(bytes, bytes + text.size() * sizeof(wchar_t));
    if (terminated) value.data.insert(value.data.end(), sizeof(wchar_t), 0);
    return value;
}

RawValue DwordValue(DWORD type, DWORD number) {
    RawValue value{type, std::vector<BYTE>(sizeof number)};
    std::memcpy(value.data.data(), &number, sizeof number);
    return value;
}

std::optional<RawValue> ReadRaw(const wchar_t* subkey, const wchar_t* name) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const gloam::unique_hkey key(raw);
    RawValue value;
    DWORD size = 0;
    LSTATUS rc = RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    rc = RegQueryValueExW(key.get(), name, nullptr, &value.type, value.data.data(), &size);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    return value;
}

void WriteRaw(const wchar_t* subkey, const wchar_t* name, const RawValue& value) {
    HKEY raw = nullptr;
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                 &raw, nullptr);
    ASSERT_EQ(rc, ERROR_SUCCESS) << "cannot create " << Narrow(subkey);
    const gloam::unique_hkey key(raw);
    rc = RegSetValueExW(key.get(), name, 0, value.type, value.data.data(),
                        static_cast<DWORD>(value.data.size()));
    ASSERT_EQ(rc, ERROR_SUCCESS) << "cannot write " << Narrow(subkey) << "\\" << Narrow(name);
}

std::optional<std::wstring> ReadRegString(const wchar_t* subkey, const wchar_t* name) {
    const std::optional<RawValue> value = ReadRaw(subkey, name);
    if (!value) return std::nullopt;
    if (value->type != REG_SZ) {
        ADD_FAILURE() << Narrow(subkey) << "\\" << Narrow(name) << " has type " << value->type
                      << ", not REG_SZ";
        return std::nullopt;
    }
    std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), value->data.data(), text.size() * sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

void WriteRegString(const wchar_t* subkey, const wchar_t* name, std::wstring_view value) {
    WriteRaw(subkey, name, Utf16Value(REG_SZ, value));
}

bool KeyExists(const wchar_t* subkey) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
    const gloam::unique_hkey key(raw);
    return true;
}

void DeleteRegValue(const wchar_t* subkey, const wchar_t* name) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
    const gloam::unique_hkey key(raw);
    RegDeleteValueW(key.get(), name);
}

void DeleteRegTree(const wchar_t* subkey) {
    const LSTATUS rc = RegDeleteTreeW(HKEY_CURRENT_USER, subkey);
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(HKEY_CURRENT_USER, subkey);
        return;
    }
    ADD_FAILURE() << "cannot delete " << Narrow(subkey) << ", error " << rc;
}

void ResetProgramRegistry() {
    DeleteRegTree(kSettingsRoot);
    DeleteRegTree(kInstallRoot);
}

void WriteSettings(const wchar_t* speed, const wchar_t* size) {
    WriteRegString(kSettingsKey, L"Speed", speed);
    WriteRegString(kSettingsKey, L"Size", size);
}

std::optional<std::wstring> StoredSpeed() {
    return ReadRegString(kSettingsKey, L"Speed");
}

std::optional<std::wstring> StoredSize() {
    return ReadRegString(kSettingsKey, L"Size");
}

}  // namespace e2e
