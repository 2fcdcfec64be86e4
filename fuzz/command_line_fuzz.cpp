// Fuzz target: the command-line functions on arbitrary UTF-16 command texts.
//
// Aborts when the mode key, the mode, the preview's number text or the host window number differ
// from what the plain reference makes of the same text, besides whatever the sanitizers catch.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/reference.h"
#include "platform/error.h"
#include "startup/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzz_reference::Expect;
    using gloam::Mode;
    const std::wstring arguments = fuzz_reference::WideOf(data, size);
    const std::wstring text = gloam::CommandTextOrDefault(arguments);
    Expect(arguments.empty() ? text == L"/S" : text == arguments, "the command text changed");

    const std::wstring key = gloam::ModeKey(text);
    Expect(key.size() == std::min<size_t>(text.size(), 2), "the mode key is not two characters");
    for (size_t i = 0; i < key.size(); ++i) {
        const wchar_t c = text[i];
        const wchar_t upper = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
        Expect(key[i] == upper, "the mode key is not the text upper-cased");
    }
    const Mode mode = gloam::ModeOf(text);
    const Mode expected = key == L"/S"   ? Mode::Screen
                          : key == L"/C" ? Mode::Config
                          : key == L"/P" ? Mode::Preview
                                         : Mode::None;
    Expect(mode == expected, "the mode does not follow the key");

    const std::wstring_view number_text = gloam::PreviewNumberText(text);
    const size_t blank = text.find(L' ');
    Expect(number_text == (blank == std::wstring::npos ? std::wstring_view(text)
                                                       : std::wstring_view(text).substr(blank + 1)),
           "the number text is not what follows the first blank");

    std::optional<int32_t> handle;
    try {
        handle = gloam::PreviewHostHandle(text);
    } catch (const gloam::RuntimeError&) {
    }
    Expect(handle == fuzz_reference::Nearest(fuzz_reference::Value(number_text)),
           "the host window number differs from the reference");
    return 0;
}
