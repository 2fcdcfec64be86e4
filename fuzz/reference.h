// A second, plain implementation of the parse and the rounding for the fuzz targets to compare
// against: the leading number cut out character by character and read by strtod, and the nearest
// 32-bit integer with halves to the even one worked out with floor.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz_reference {

// Stops the run, which libFuzzer reports with the input, when a check does not hold.
inline void Expect(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

// The characters of the leading number, "" when the text does not start with one. Works on
// narrow and wide text alike; only the ASCII digits are digits.
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

template <typename Char>
double Value(std::basic_string_view<Char> text) {
    const std::string chars = NumberChars(text);
    return chars.empty() ? 0.0 : std::strtod(chars.c_str(), nullptr);
}

inline std::optional<int32_t> Nearest(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) rounded = below + 1;
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(rounded);
}

// The input bytes as UTF-16 code units, the form in which the host and the store hand out text.
inline std::wstring WideOf(const uint8_t* data, size_t size) {
    std::wstring out;
    for (size_t i = 0; i + 1 < size; i += 2) {
        out += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    }
    return out;
}

}  // namespace fuzz_reference
