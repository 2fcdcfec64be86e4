#include "platform/settings.h"

#include "platform/error.h"
#include "platform/numeric.h"
#include "platform/text.h"

namespace gloam {

int32_t SettingIndexFromText(std::wstring_view key, std::wstring_view text) {
    const double number = ParseLeadingNumber(AsciiOf(text));
    if (const auto index = TryNearest(number)) return *index;
    throw RuntimeError("The stored \"" + Utf8Of(key) + "\" setting \"" + Utf8Of(text) +
                       "\" is out of range: it does not fit in a 32-bit integer.");
}

std::wstring SettingText(int32_t index) {
    return std::to_wstring(index);
}

}  // namespace gloam
