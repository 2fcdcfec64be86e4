#include "display/display_state.h"

#include <array>
#include <string>

#include "platform/error.h"

namespace gloam {
namespace {

constexpr std::array<int32_t, 3> kStepsPerSweep = {150, 100, 50};
constexpr std::array<int32_t, 3> kSpotSize = {200, 300, 400};

int32_t Lookup(const std::array<int32_t, 3>& table, int32_t index, const char* key,
               const char* what) {
    if (index < 0 || index >= static_cast<int32_t>(table.size())) {
        throw RuntimeError(std::string("The stored \"") + key + "\" setting " +
                           std::to_string(index) + " names no " + what + ": it must be 0, 1 or 2.");
    }
    return table[static_cast<size_t>(index)];
}

}  // namespace

int32_t StepsPerSweepFor(int32_t speed_index) {
    return Lookup(kStepsPerSweep, speed_index, "Speed", "speed");
}

int32_t SpotSizeFor(int32_t size_index) {
    return Lookup(kSpotSize, size_index, "Size", "spot size");
}

}  // namespace gloam
