// The display's exit watch: the mouse moved too far between two timer ticks.
#pragma once

#include "display/display_state.h"

namespace gloam {

inline constexpr double kExitDistance = 10.0;

// True when the cursor moved strictly more than 10 pixels. The differences are 32-bit signed;
// one that overflows raises a RuntimeError.
bool CursorMovedTooFar(Point previous, Point now);

}  // namespace gloam
