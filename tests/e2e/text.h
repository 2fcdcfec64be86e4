// Text helpers for assertions and window lookups.
#pragma once

#include <string>
#include <string_view>

namespace e2e {

// UTF-8, for assertion messages.
std::string Narrow(std::wstring_view text);
bool ContainsNoCase(std::wstring_view haystack, std::wstring_view needle);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace e2e
