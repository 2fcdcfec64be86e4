// Number parsing and rounding shared by the settings, the motion and the layout code.
// Everything here is locale independent: the point is the only decimal separator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gloam {

// Reads the number at the start of `text`: leading blanks (space, tab) are skipped, then an
// optional sign, digits with at most one point, and an optional exponent (E or e, optional sign,
// digits). The rest of the text is ignored. A text that does not start with a number gives 0.
// Magnitudes beyond double range give +/-infinity.
double ParseLeadingNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even one; nullopt when the result does not fit a
// signed 32-bit integer (NaN included).
std::optional<int32_t> TryNearest(double value);

// TryNearest that raises a RuntimeError ("overflow") when the value does not fit.
int32_t Nearest(double value);

// Greatest integer not above `value`; raises a RuntimeError when it does not fit 32 bits.
int32_t Floor32(double value);

// 32-bit signed arithmetic that raises a RuntimeError on overflow instead of wrapping.
int32_t CheckedSub(int32_t a, int32_t b);
int32_t CheckedAdd(int32_t a, int32_t b);

// "major.minor.revision" with the minor padded to two digits and the revision to four.
std::string VersionText(int major, int minor, int revision);

// Decimal text of a double as a user would read it in an error report.
std::string NumberForReport(double value);

}  // namespace gloam
