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

}  // namespace gloam
