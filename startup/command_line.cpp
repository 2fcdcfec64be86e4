#include "startup/command_line.h"

#include "platform/error.h"
#include "platform/numeric.h"
#include "platform/text.h"

namespace gloam {

std::wstring CommandTextOrDefault(std::wstring_view arguments) {
    if (arguments.empty()) return L"/S";
    return std::wstring(arguments);
}

std::wstring ModeKey(std::wstring_view command_text) {
    std::wstring key(command_text.substr(0, 2));
    for (wchar_t& c : key) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return key;
}

Mode ModeOf(std::wstring_view command_text) {
    const std::wstring key = ModeKey(command_text);
    if (key == L"/S") return Mode::Screen;
    if (key == L"/C") return Mode::Config;
    if (key == L"/P") return Mode::Preview;
    return Mode::None;
}

std::wstring_view PreviewNumberText(std::wstring_view command_text) {
    const size_t blank = command_text.find(L' ');
    if (blank == std::wstring_view::npos) return command_text;
    return command_text.substr(blank + 1);
}

int32_t PreviewHostHandle(std::wstring_view command_text) {
    const std::wstring_view number_text = PreviewNumberText(command_text);
    if (const auto handle = TryNearest(ParseLeadingNumber(AsciiOf(number_text)))) return *handle;
    throw RuntimeError("The preview window number \"" + Utf8Of(number_text) +
                       "\" is out of range: it does not fit in a 32-bit integer.");
}

}  // namespace gloam
