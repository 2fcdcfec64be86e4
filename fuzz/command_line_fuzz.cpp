// Fuzz target: the command-line functions on arbitrary UTF-16 command texts.
//
// Aborts when the mode key, the mode, the preview's number text or the host window number differ
// from what the plain reference makes of the same text, besides whatever the sanitizers catch.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "platform/error.h"
#include "startup/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace reference = gloam_tests::reference;
    using fuzz_support::Expect;
    using gloam::Mode;
    const std::wstring arguments = fuzz_support::WideOf(data, size);
    const std::wstring text = gloam::CommandTextOrDefault(arguments);
    Expect(arguments.empty() ? text == L"/S" : text == arguments, "the command text changed");

    const std::wstring key = gloam::ModeKey(text);
    Expect(key == reference::ModeKey(text),
           "the mode key is not the text's first two, upper-cased");
    const Mode mode = gloam::ModeOf(text);
    const Mode expected = key == L"/S"   ? Mode::Screen
                          : key == L"/C" ? Mode::Config
                          : key == L"/P" ? Mode::Preview
                                         : Mode::None;
    Expect(mode == expected, "the mode does not follow the key");

    Expect(gloam::PreviewNumberText(text) == reference::PreviewNumberText(text),
           "the number text is not what follows the first blank");

    std::optional<int32_t> handle;
    try {
        handle = gloam::PreviewHostHandle(text);
    } catch (const gloam::RuntimeError&) {
    }
    Expect(handle == reference::PreviewHostNumber(text),
           "the host window number differs from the reference");
    return 0;
}
