#include "platform/local_time.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace gloam {
namespace {

using testing_support::At;

TEST(MinuteBoundariesBetween, CountsClockMinutesNotElapsedTime) {
    struct Case {
        LocalDateTime from, to;
        int64_t count;
    };
    const Case cases[] = {
        {At(2024, 5, 1, 10, 0, 0), At(2024, 5, 1, 10, 0, 59), 0},
        {At(2024, 5, 1, 10, 0, 59), At(2024, 5, 1, 10, 1, 0), 1},
        {At(2024, 5, 1, 10, 0, 0), At(2024, 5, 1, 10, 2, 59), 2},
        {At(2024, 5, 1, 10, 0, 59), At(2024, 5, 1, 10, 3, 0), 3},
        {At(2024, 5, 1, 10, 0, 0), At(2024, 5, 1, 10, 3, 0), 3},
        {At(2024, 5, 1, 10, 59, 30), At(2024, 5, 1, 11, 2, 0), 3},
        // Across midnight, month ends, leap days and the year's end.
        {At(2024, 5, 1, 23, 58, 10), At(2024, 5, 2, 0, 1, 0), 3},
        {At(2024, 4, 30, 23, 59, 0), At(2024, 5, 1, 0, 2, 0), 3},
        {At(2024, 2, 28, 23, 59, 0), At(2024, 2, 29, 0, 0, 0), 1},
        {At(2024, 2, 29, 23, 59, 0), At(2024, 3, 1, 0, 0, 0), 1},
        {At(2023, 2, 28, 23, 59, 0), At(2023, 3, 1, 0, 0, 0), 1},
        {At(2100, 2, 28, 23, 59, 0), At(2100, 3, 1, 0, 0, 0), 1},
        {At(2000, 2, 28, 23, 59, 0), At(2000, 3, 1, 0, 0, 0), 1441},
        {At(2023, 12, 31, 23, 58, 59), At(2024, 1, 1, 0, 1, 0), 3},
        {At(2024, 1, 1, 0, 0, 0), At(2025, 1, 1, 0, 0, 0), 366 * 24 * 60},
        // A clock set back counts backwards.
        {At(2024, 5, 1, 10, 0, 30), At(2024, 5, 1, 9, 58, 0), -2},
        {At(2024, 1, 1, 0, 0, 0), At(2023, 12, 31, 23, 59, 59), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MinuteBoundariesBetween(c.from, c.to), c.count)
            << c.from.year << "-" << c.from.month << "-" << c.from.day << " " << c.from.hour << ":"
            << c.from.minute << " to " << c.to.year << "-" << c.to.month << "-" << c.to.day << " "
            << c.to.hour << ":" << c.to.minute;
    }
}

TEST(MinuteNumber, StartsAtTheEpochAndIgnoresSeconds) {
    EXPECT_EQ(MinuteNumber(At(1970, 1, 1, 0, 0, 0)), 0);
    EXPECT_EQ(MinuteNumber(At(1970, 1, 1, 0, 0, 59)), 0);
    EXPECT_EQ(MinuteNumber(At(1970, 1, 2, 1, 1, 0)), 24 * 60 + 61);
    EXPECT_EQ(MinuteNumber(At(1969, 12, 31, 23, 59, 0)), -1);
    // 2001-09-09 01:46:40 UTC is second 1,000,000,000 of the epoch.
    EXPECT_EQ(MinuteNumber(At(2001, 9, 9, 1, 46, 40)), 1000000000 / 60);
}

}  // namespace
}  // namespace gloam
