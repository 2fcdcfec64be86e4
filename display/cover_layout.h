// Where the display needs black cover windows besides its own: every part of every monitor that
// the display window does not cover. The display window covers the primary monitor, where the
// spot runs; the other monitors stay black for the whole run.
//
// Rectangles are in virtual-screen pixels: the primary monitor's top-left is (0, 0), and a monitor
// left of or above it has negative coordinates.
#pragma once

#include <span>
#include <vector>

#include "platform/surface.h"

namespace gloam {

// The parts of `monitors` outside `display`, each monitor cut into at most four rectangles (the
// bands above and below the display, then the pieces left and right of it). Empty monitors add
// nothing; a rectangle already in the list (mirrored monitors) is not repeated.
std::vector<Rect> CoverRects(std::span<const Rect> monitors, const Rect& display);

// Whether a cover meant to lie over `area` must be put back: the system hid it, or moved it (as it
// may after a monitor change), or a window of another program lies above it in the z-order over
// part of its area (`others_above`: the visible windows above the cover that are not the
// display's). Nothing of that: the cover is left alone, so that it does not flicker.
bool CoverNeedsPuttingBack(const Rect& area, const Rect& actual, bool visible,
                           std::span<const Rect> others_above);

}  // namespace gloam
