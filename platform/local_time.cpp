#include "platform/local_time.h"

namespace gloam {
namespace {

// Days since 1970-01-01 for a proleptic Gregorian date (Howard Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

int64_t MinuteNumber(const LocalDateTime& t) {
    return (DaysFromCivil(t.year, t.month, t.day) * 24 + t.hour) * 60 + t.minute;
}

int64_t MinuteBoundariesBetween(const LocalDateTime& from, const LocalDateTime& to) {
    return MinuteNumber(to) - MinuteNumber(from);
}

}  // namespace gloam
