// Reading the command text the host starts the program with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gloam {

enum class Mode { Screen, Config, Preview, None };

// The command text with the empty text replaced by "/S".
std::wstring CommandTextOrDefault(std::wstring_view arguments);

// First two characters (or fewer), ASCII letters upper-cased.
std::wstring ModeKey(std::wstring_view command_text);

// "/S", "/C", "/P" chosen by the mode key, anything else None.
Mode ModeOf(std::wstring_view command_text);

// The preview's number text: everything after the first blank, or the whole text without one.
std::wstring_view PreviewNumberText(std::wstring_view command_text);

// The host window's number from the command text; raises a RuntimeError when it does not fit
// 32 bits.
int32_t PreviewHostHandle(std::wstring_view command_text);

}  // namespace gloam
