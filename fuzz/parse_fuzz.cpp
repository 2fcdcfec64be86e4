// Fuzz target: the leading-number parse and the conversion of a stored setting text.
//
// The bytes are read once as a narrow text (the parse) and once as UTF-16 (the stored setting).
// Besides the sanitizers' own checks it aborts when a result differs from the plain reference, or
// when blanks in front or a comma behind change the number.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/error.h"
#include "platform/numeric.h"
#include "platform/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace reference = gloam_tests::reference;
    using fuzz_support::Expect;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = gloam::ParseLeadingNumber(text);
    Expect(!std::isnan(value), "the parse gave NaN");
    const double expected = reference::Value(std::string_view(text));
    Expect(value == expected, "the parse differs from the reference");
    Expect(gloam::ParseLeadingNumber(" \t" + text) == value, "leading blanks changed the number");
    Expect(gloam::ParseLeadingNumber(text + ",9") == value, "a comma continued the number");

    const std::optional<int32_t> rounded = gloam::TryNearest(value);
    Expect(rounded == reference::Nearest(value), "the conversion differs from the reference");
    if (rounded) {
        const double off = std::fabs(value - *rounded);
        Expect(off < 0.5 || (off == 0.5 && *rounded % 2 == 0), "not the nearest, halves to even");
    }

    const std::wstring stored = fuzz_support::WideOf(data, size);
    std::optional<int32_t> index;
    try {
        index = gloam::SettingIndexFromText(gloam::kSizeKey, stored);
    } catch (const gloam::RuntimeError&) {
    }
    Expect(index == reference::Nearest(reference::Value(std::wstring_view(stored))),
           "the stored setting's index differs from the reference");
    return 0;
}
