// The per-user settings store as the program sees it: texts addressed by application, section
// and key, kept between runs.
#pragma once

#include <string>
#include <string_view>

namespace gloam {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or `fallback` when the application, section or key is absent.
    virtual std::wstring Read(std::wstring_view app, std::wstring_view section,
                              std::wstring_view key, std::wstring_view fallback) = 0;
    // Stores the text, creating what is needed; a failure raises a RuntimeError.
    virtual void Write(std::wstring_view app, std::wstring_view section, std::wstring_view key,
                       std::wstring_view text) = 0;
};

}  // namespace gloam
