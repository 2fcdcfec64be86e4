// The spot's motion: sweeps alternate between the left and the right edge of the screen, each
// ending at a random height. W and H are the screen's size in pixels as real numbers.
#pragma once

#include "display/display_state.h"
#include "platform/random.h"

namespace gloam {

// Where the spot waits after load: the left edge, centred vertically.
Point StartCorner(double H, int32_t spot_size);

// Puts the spot at its start corner with the step counter at its end, so that the first frame
// plans a sweep.
void ResetSpot(DisplayState& state, double H);

// Advances one frame and returns the top-left corner of the spot's square for it. Plans a new
// sweep (one random draw) whenever the previous one is done.
Point AdvanceSpot(DisplayState& state, double W, double H, RandomSource& random);

}  // namespace gloam
