#include "display/exit_watch.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace gloam {
namespace {

struct MoveCase {
    Point previous;
    Point now;
    bool ends;
};

class CursorMovedTooFarTest : public testing::TestWithParam<MoveCase> {};

TEST_P(CursorMovedTooFarTest, EndsOnlyBeyondTenPixels) {
    const MoveCase& c = GetParam();
    EXPECT_EQ(CursorMovedTooFar(c.previous, c.now), c.ends)
        << c.previous.x << "," << c.previous.y << " -> " << c.now.x << "," << c.now.y;
    // The distance does not depend on the direction.
    EXPECT_EQ(CursorMovedTooFar(c.now, c.previous), c.ends);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, CursorMovedTooFarTest,
    testing::Values(MoveCase{{100, 100}, {100, 100}, false},
                    MoveCase{{100, 100}, {106, 108}, false},  // exactly 10
                    MoveCase{{100, 100}, {107, 108}, true},   // about 10.63
                    MoveCase{{100, 100}, {100, 111}, true}, MoveCase{{100, 100}, {110, 100}, false},
                    MoveCase{{100, 100}, {89, 100}, true}, MoveCase{{0, 0}, {-6, -8}, false},
                    MoveCase{{500, 300}, {505, 300}, false},
                    MoveCase{{7, 3}, {0, 0}, false},  // a failed read near the corner
                    MoveCase{{400, 300}, {0, 0}, true},
                    MoveCase{{-2147483647 - 1, 0}, {-2147483647 + 9, 0}, false},
                    MoveCase{{2147483647, 2147483647}, {2147483647 - 11, 2147483647}, true}));

TEST(CursorMovedTooFar, SteadySmallMovesNeverEnd) {
    Point previous{0, 0};
    for (int32_t i = 1; i <= 1000; ++i) {
        const Point now{5 * i, 0};
        ASSERT_FALSE(CursorMovedTooFar(previous, now)) << i;
        previous = now;
    }
}

TEST(CursorMovedTooFar, ADifferenceBeyondThirtyTwoBitsIsAnError) {
    EXPECT_THROW(CursorMovedTooFar(Point{-2147483647 - 1, 0}, Point{1, 0}), RuntimeError);
    EXPECT_THROW(CursorMovedTooFar(Point{0, 2147483647}, Point{0, -1}), RuntimeError);
}

}  // namespace
}  // namespace gloam
