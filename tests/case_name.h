// Names for parameterised test cases, made from the text a case feeds in, shared by the unit and
// the end-to-end tests. Letters and digits stay; every other character becomes a word between
// underscores ("/c:1234" is "slash_c_colon_1234", " 2.5" is "blank_2_point_5", a character without
// a word is "u" and its code); the empty text is "empty". And ByName, for cases that carry a name.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace gloam_tests {

inline std::string CharacterWord(unsigned long code) {
    static constexpr std::pair<char, const char*> kWords[] = {
        {'/', "slash"}, {' ', "blank"}, {':', "colon"}, {'-', "dash"},      {'.', "point"},
        {',', "comma"}, {'+', "plus"},  {'\t', "tab"},  {'\\', "backslash"}};
    for (const auto& [c, word] : kWords) {
        if (code == static_cast<unsigned char>(c)) return word;
    }
    std::string word = "u";
    word += std::to_string(code);
    return word;
}

template <typename Char>
std::string CaseName(std::basic_string_view<Char> text) {
    if (text.empty()) return "empty";
    std::string name;
    for (const Char c : text) {
        const auto code = static_cast<unsigned long>(static_cast<std::make_unsigned_t<Char>>(c));
        if ((code >= '0' && code <= '9') || (code >= 'a' && code <= 'z') ||
            (code >= 'A' && code <= 'Z')) {
            name += static_cast<char>(code);
            continue;
        }
        if (!name.empty() && name.back() != '_') name += '_';
        name += CharacterWord(code);
        name += '_';
    }
    if (name.back() == '_') name.pop_back();
    return name;
}

inline std::string CaseName(const char* text) {
    return CaseName(std::string_view(text));
}
inline std::string CaseName(const wchar_t* text) {
    return CaseName(std::wstring_view(text));
}

// Names cases by a `name` member of their parameter.
struct ByName {
    template <typename P>
    std::string operator()(const ::testing::TestParamInfo<P>& info) const {
        return info.param.name;
    }
};

}  // namespace gloam_tests
