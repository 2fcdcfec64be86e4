#include "startup/settings.h"

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

std::wstring FolderOf(std::wstring_view file_path) {
    const size_t slash = file_path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return std::wstring(file_path);
    // "C:\GloamDrift.scr" keeps the root's separator; "\\server\share\x.scr" and others drop it.
    if (slash == 2 && file_path.size() > 1 && file_path[1] == L':') {
        return std::wstring(file_path.substr(0, 3));
    }
    if (slash == 0) return std::wstring(file_path.substr(0, 1));
    return std::wstring(file_path.substr(0, slash));
}

}  // namespace gloam
