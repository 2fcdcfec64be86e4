// Local date and time as the clock shows it, and the minute arithmetic of the cats' timer.
#pragma once

#include <cstdint>

namespace gloam {

struct LocalDateTime {
    int32_t year = 0;
    int32_t month = 1;  // 1..12
    int32_t day = 1;    // 1..31
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// Whole minutes since 1970-01-01 00:00 of the proleptic Gregorian calendar; seconds are dropped.
int64_t MinuteNumber(const LocalDateTime& t);

// Number of minute boundaries of the clock between two times: both are cut down to their whole
// minute first, so 10:00:59 to 10:01:00 counts 1. Negative when `to` lies before `from`.
int64_t MinuteBoundariesBetween(const LocalDateTime& from, const LocalDateTime& to);

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() = 0;
};

}  // namespace gloam
