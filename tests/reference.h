// Plain second implementations of the program's number rules, for the unit, fuzz and end-to-end
// tests to check the program against. Written from the rules alone and never calling the program:
// the leading number is cut out character by character and read by strtod (whose rounding and
// overflow are the C library's), and the nearest integer, halves to the even one, is worked out
// with floor and a comparison. Standard C++ only, so that every test program can use it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace gloam_tests::reference {

// The nearest 32-bit integer, halves to the even one (0.5 gives 0, 1.5 and 2.5 give 2); nullopt
// for NaN, the infinities and whatever does not fit.
inline std::optional<int32_t> Nearest(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double below = std::floor(value);
    const double fraction = value - below;  // exact: both lie within one unit of each other
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) rounded = below + 1;
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(rounded);
}

// The characters of the leading number of `text`, "" when it does not start with one. Blanks and
// tabs before it are skipped; then an optional sign; then digits holding at most one point, with
// at least one digit among them; then an exponent, which counts only when it has a digit. Only
// the ASCII digits are digits: no other character of any script continues a number. Narrow and
// wide text alike.
template <typename Char>
std::string NumberChars(std::basic_string_view<Char> text) {
    const auto is = [&](size_t i, char c) { return i < text.size() && text[i] == Char(c); };
    const auto digit = [&](size_t i) {
        return i < text.size() && text[i] >= Char('0') && text[i] <= Char('9');
    };
    size_t i = 0;
    while (is(i, ' ') || is(i, '\t')) ++i;
    std::string out;
    if (is(i, '+') || is(i, '-')) out += static_cast<char>(text[i++]);
    bool point = false;
    bool any_digit = false;
    for (; digit(i) || (!point && is(i, '.')); ++i) {
        point = point || is(i, '.');
        any_digit = any_digit || digit(i);
        out += static_cast<char>(text[i]);
    }
    if (!any_digit) return "";
    if (is(i, 'e') || is(i, 'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (is(j, '+') || is(j, '-')) exponent += static_cast<char>(text[j++]);
        if (digit(j)) {
            while (digit(j)) exponent += static_cast<char>(text[j++]);
            out += exponent;
        }
    }
    return out;
}

// The value of the leading number: 0 when there is none, +/-infinity beyond the doubles.
template <typename Char>
double Value(std::basic_string_view<Char> text) {
    const std::string chars = NumberChars(text);
    return chars.empty() ? 0.0 : std::strtod(chars.c_str(), nullptr);
}

// The mode key of a command text: its first two characters (fewer when it is shorter), a-z made
// A-Z. Only ASCII letters are upper-cased: a fullwidth S or a long s names no mode.
inline std::wstring ModeKey(std::wstring_view text) {
    std::wstring key;
    for (size_t i = 0; i < text.size() && i < 2; ++i) {
        wchar_t c = text[i];
        if (L'a' <= c && c <= L'z') c = static_cast<wchar_t>(c - 32);
        key.push_back(c);
    }
    return key;
}

// The preview's number text: what follows the first blank; the whole text when it holds none.
inline std::wstring PreviewNumberText(std::wstring_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L' ') return std::wstring(text.substr(i + 1));
    }
    return std::wstring(text);
}

// The host window's number in a command text, as the preview reads it; nullopt when it does not
// fit 32 bits.
inline std::optional<int32_t> PreviewHostNumber(std::wstring_view command_text) {
    return Nearest(Value(std::wstring_view(PreviewNumberText(command_text))));
}

}  // namespace gloam_tests::reference
