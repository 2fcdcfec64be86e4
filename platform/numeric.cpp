#include "platform/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

#include "platform/error.h"

namespace gloam {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Power of ten of the first significant digit of a canonical number ("-0.0012e5" gives 2), with
// the exponent saturated: enough to tell a number too large for a double from one too small.
int64_t DecimalMagnitude(const std::string& number) {
    const size_t e_pos = std::min(number.find('e'), number.size());
    const size_t point = std::min(number.find('.'), e_pos);
    const size_t first = number.find_first_of("123456789");
    if (first >= e_pos) return std::numeric_limits<int32_t>::min();  // all zeros
    int64_t magnitude = first < point ? static_cast<int64_t>(point - first) - 1
                                      : -static_cast<int64_t>(first - point);
    int64_t exponent = 0;
    size_t i = e_pos + 1;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    for (; i < number.size(); ++i) {
        exponent = std::min<int64_t>(exponent * 10 + (number[i] - '0'), 1'000'000'000);
    }
    magnitude += negative ? -exponent : exponent;
    return magnitude;
}

// The one report of every 32-bit overflow; `what` is the value or the operation that overflowed.
[[noreturn]] void ThrowOverflow(const std::string& what) {
    throw RuntimeError("Overflow: " + what + " does not fit in a 32-bit integer.");
}

std::string Operation(int32_t a, char op, int32_t b) {
    return std::to_string(a) + " " + op + " " + std::to_string(b);
}

}  // namespace

double ParseLeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;

    // The number is copied into a canonical form ("-123.45e+6") that from_chars reads in any
    // locale; from_chars does not accept a leading '+'.
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits = true;
            number += c;
        } else if (c == '.' && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    if (!digits) return 0.0;

    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        const size_t first_digit = j;
        while (j < text.size() && IsDigit(text[j])) exponent += text[j++];
        if (j > first_digit) number += exponent;
    }

    double value = 0.0;
    const char* begin = number.data();
    const char* end = begin + number.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here; tell overflow from underflow by the size of
        // the number, which a long run of digits decides as much as the exponent does.
        const bool tiny = DecimalMagnitude(number) < 0;
        const bool negative = number.front() == '-';
        if (tiny) return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    (void)ptr;
    return value;
}

std::optional<int32_t> TryNearest(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // nearbyint rounds with the current mode, which is round-half-even and never changed here.
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(rounded);
}

int32_t Nearest(double value) {
    if (const auto result = TryNearest(value)) return *result;
    ThrowOverflow(NumberForReport(value));
}

int32_t Floor32(double value) {
    return Nearest(std::floor(value));
}

int32_t CheckedSub(int32_t a, int32_t b) {
    int32_t result = 0;
    if (__builtin_sub_overflow(a, b, &result)) ThrowOverflow(Operation(a, '-', b));
    return result;
}

int32_t CheckedAdd(int32_t a, int32_t b) {
    int32_t result = 0;
    if (__builtin_add_overflow(a, b, &result)) ThrowOverflow(Operation(a, '+', b));
    return result;
}

std::string VersionText(int major, int minor, int revision) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d.%02d.%04d", major, minor, revision);
    return buffer;
}

std::string NumberForReport(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

}  // namespace gloam
