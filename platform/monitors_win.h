// The monitors as the system arranges them, in virtual-screen pixels (the primary monitor's
// top-left is (0, 0)).
#pragma once

#include <vector>

#include "platform/surface.h"

namespace gloam {

std::vector<Rect> MonitorRects();

}  // namespace gloam
