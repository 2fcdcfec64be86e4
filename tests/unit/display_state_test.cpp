#include "display/display_state.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"

namespace gloam {
namespace {

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
        try {
            StepsPerSweepFor(index);
            ADD_FAILURE() << "no error for speed " << index;
        } catch (const RuntimeError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("Speed"), std::string::npos) << message;
            EXPECT_NE(message.find(std::to_string(index)), std::string::npos) << message;
        }
        try {
            SpotSizeFor(index);
            ADD_FAILURE() << "no error for size " << index;
        } catch (const RuntimeError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("Size"), std::string::npos) << message;
            EXPECT_NE(message.find(std::to_string(index)), std::string::npos) << message;
        }
    }
}

}  // namespace
}  // namespace gloam
