// Conversions between the program's texts: UTF-16 (wchar_t, the Windows side), UTF-8 (messages
// and sources) and plain ASCII (what the number parse reads).
#pragma once

#include <string>
#include <string_view>

namespace gloam {

// UTF-8 copy for messages shown to the user. Unpaired surrogates become U+FFFD.
std::string Utf8Of(std::wstring_view text);

// Wide copy of UTF-8 text: UTF-16 where wchar_t has 16 bits (Windows), code points elsewhere.
// Malformed bytes become U+FFFD.
std::wstring Utf16Of(std::string_view utf8);

// Narrow copy for parsing and reports: ASCII stays, anything else becomes '?' (never a digit).
std::string AsciiOf(std::wstring_view text);

}  // namespace gloam
