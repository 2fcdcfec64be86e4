#include "display/exit_watch.h"

#include <cmath>

#include "platform/numeric.h"

namespace gloam {

bool CursorMovedTooFar(Point previous, Point now) {
    const double dy = CheckedSub(previous.y, now.y);
    const double dx = CheckedSub(previous.x, now.x);
    return std::sqrt(dy * dy + dx * dx) > kExitDistance;
}

}  // namespace gloam
