#include "display/display_state.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::ExpectErrorNaming;

TEST(SpeedAndSizeTables, MapTheThreeChoices) {
    struct Case {
        int32_t index;
        int32_t steps;
        int32_t size;
    };
    for (const Case c : {Case{0, 150, 200}, Case{1, 100, 300}, Case{2, 50, 400}}) {
        EXPECT_EQ(StepsPerSweepFor(c.index), c.steps) << c.index;
        EXPECT_EQ(SpotSizeFor(c.index), c.size) << c.index;
    }
}

TEST(SpeedAndSizeTables, AnyOtherIndexIsAnErrorNamingTheSetting) {
    for (const int32_t index : {-1, 3, 5, -2147483647 - 1, 2147483647}) {
        const std::string shown = std::to_string(index);
        ExpectErrorNaming("speed " + shown, [&] { StepsPerSweepFor(index); }, {"Speed", shown});
        ExpectErrorNaming("size " + shown, [&] { SpotSizeFor(index); }, {"Size", shown});
    }
}

}  // namespace
}  // namespace gloam
