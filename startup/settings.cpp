#include "startup/settings.h"

#include "platform/error.h"
#include "platform/numeric.h"

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

std::string AsciiOf(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text)
        out += (static_cast<uint32_t>(c) < 0x80) ? static_cast<char>(c) : '?';
    return out;
}

std::string Utf8Of(std::wstring_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        // On Windows wchar_t is UTF-16: join surrogate pairs.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
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
