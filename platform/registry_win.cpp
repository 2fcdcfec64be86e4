#include "platform/registry_win.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/handles_win.h"
#include "platform/text.h"

namespace gloam {
namespace {

std::wstring KeyPath(std::wstring_view app, std::wstring_view section) {
    std::wstring path = L"Software\\";
    path += app;
    path += L'\\';
    path += section;
    return path;
}

std::string SystemMessage(LSTATUS status) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    std::string out = "error " + std::to_string(status);
    if (!text.empty()) out += ": " + Utf8Of(text);
    return out;
}

// A stored number in decimal; nullopt when fewer bytes were read than the number takes.
template <typename Number>
std::optional<std::wstring> NumberText(const std::vector<BYTE>& data, DWORD read) {
    if (read < sizeof(Number)) return std::nullopt;
    Number value = 0;
    memcpy(&value, data.data(), sizeof value);
    return std::to_wstring(value);
}

}  // namespace

std::optional<std::wstring> ReadUserValueText(std::wstring_view subkey, std::wstring_view name) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(subkey).c_str(), 0, KEY_QUERY_VALUE,
                        &raw) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const unique_hkey hkey(raw);
    const std::wstring value_name(name);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExW(hkey.get(), value_name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::vector<BYTE> data(size + 2 * sizeof(wchar_t), 0);
        DWORD read = size;
        const LSTATUS status =
            ::RegQueryValueExW(hkey.get(), value_name.c_str(), nullptr, &type, data.data(), &read);
        if (status == ERROR_MORE_DATA) continue;  // grew in between: ask again
        if (status != ERROR_SUCCESS) return std::nullopt;
        switch (type) {
            case REG_SZ:
            case REG_EXPAND_SZ: {
                // The stored text need not be terminated; it ends at its first NUL if it has one.
                const auto* chars = reinterpret_cast<const wchar_t*>(data.data());
                std::wstring text(chars, read / sizeof(wchar_t));
                if (const size_t nul = text.find(L'\0'); nul != std::wstring::npos)
                    text.resize(nul);
                return text;
            }
            case REG_DWORD:
                return NumberText<DWORD>(data, read);
            case REG_QWORD:
                return NumberText<ULONGLONG>(data, read);
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

std::wstring RegistryStore::Read(std::wstring_view app, std::wstring_view section,
                                 std::wstring_view key, std::wstring_view fallback) {
    return ReadUserValueText(KeyPath(app, section), key).value_or(std::wstring(fallback));
}

void RegistryStore::Write(std::wstring_view app, std::wstring_view section, std::wstring_view key,
                          std::wstring_view text) {
    const std::wstring path = KeyPath(app, section);
    HKEY raw = nullptr;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                       KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (status == ERROR_SUCCESS) {
        const unique_hkey hkey(raw);
        const std::wstring name(key);
        const std::wstring value(text);
        status = ::RegSetValueExW(hkey.get(), name.c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    if (status != ERROR_SUCCESS) {
        throw RuntimeError("The setting \"" + Utf8Of(key) + "\" cannot be saved to " +
                           "HKEY_CURRENT_USER\\" + Utf8Of(path) + " (" + SystemMessage(status) +
                           ").");
    }
}

}  // namespace gloam
