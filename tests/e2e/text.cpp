#include "text.h"

#include <algorithm>
#include <cwctype>

#include "platform/text.h"

namespace e2e {

std::string Narrow(std::wstring_view text) {
    return gloam::Utf8Of(text);
}

bool ContainsNoCase(std::wstring_view haystack, std::wstring_view needle) {
    const auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                [](wchar_t a, wchar_t b) { return towlower(a) == towlower(b); });
    return it != haystack.end() || needle.empty();
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && ContainsNoCase(a, b);
}

}  // namespace e2e
