#include "display/spot_path.h"

#include "platform/numeric.h"

namespace gloam {

Point StartCorner(double H, int32_t spot_size) {
    const int32_t half_height = Nearest(H / 2);
    return Point{0, Nearest(half_height - spot_size / 2.0)};
}

void ResetSpot(DisplayState& state, double H) {
    state.ptFrom = StartCorner(H, state.lngSpotSize);
    state.ptTo = state.ptFrom;
    state.lngStep = state.lngStepsPerSweep;
}

Point AdvanceSpot(DisplayState& state, double W, double H, RandomSource& random) {
    state.lngStep = CheckedAdd(state.lngStep, 1);
    if (state.lngStep >= state.lngStepsPerSweep) {
        state.ptFrom = state.ptTo;
        state.ptTo.x = state.ptFrom.x == 0 ? Nearest(W - state.lngSpotSize) : 0;
        const double r = random.Next();
        state.ptTo.y = Nearest((H - state.lngSpotSize) * r);
        state.lngStep = 0;
    }
    const double progress = static_cast<double>(state.lngStep) / state.lngStepsPerSweep;
    const int32_t dx = CheckedSub(state.ptTo.x, state.ptFrom.x);
    const int32_t dy = CheckedSub(state.ptTo.y, state.ptFrom.y);
    return Point{Nearest(progress * dx + state.ptFrom.x), Nearest(progress * dy + state.ptFrom.y)};
}

}  // namespace gloam
