// The settings store kept in the registry: HKEY_CURRENT_USER\Software\<app>\<section>, one string
// value per key. REG_SZ and REG_EXPAND_SZ values read as their text (not expanded), REG_DWORD and
// REG_QWORD as their decimal text; a value of any other type reads as absent.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace gloam {

// The value `name` under HKEY_CURRENT_USER\<subkey> as text, read as the store below reads its
// values; nullopt when the key or the value is absent or of another type.
std::optional<std::wstring> ReadUserValueText(std::wstring_view subkey, std::wstring_view name);

class RegistryStore final : public SettingsStore {
  public:
    std::wstring Read(std::wstring_view app, std::wstring_view section, std::wstring_view key,
                      std::wstring_view fallback) override;
    void Write(std::wstring_view app, std::wstring_view section, std::wstring_view key,
               std::wstring_view text) override;
};

}  // namespace gloam
