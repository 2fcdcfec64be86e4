#include "display/cover_layout.h"

#include <algorithm>

namespace gloam {
namespace {

void AddOnce(std::vector<Rect>& rects, const Rect& r) {
    if (r.Empty()) return;
    if (std::find(rects.begin(), rects.end(), r) == rects.end()) rects.push_back(r);
}

}  // namespace

std::vector<Rect> CoverRects(std::span<const Rect> monitors, const Rect& display) {
    std::vector<Rect> covers;
    for (const Rect& m : monitors) {
        const Rect overlap = Intersect(m, display);
        if (overlap.Empty()) {
            AddOnce(covers, m);
            continue;
        }
        AddOnce(covers, Rect{m.left, m.top, m.right, overlap.top});
        AddOnce(covers, Rect{m.left, overlap.bottom, m.right, m.bottom});
        AddOnce(covers, Rect{m.left, overlap.top, overlap.left, overlap.bottom});
        AddOnce(covers, Rect{overlap.right, overlap.top, m.right, overlap.bottom});
    }
    return covers;
}

bool CoverNeedsPuttingBack(const Rect& area, const Rect& actual, bool visible,
                           std::span<const Rect> others_above) {
    if (!visible || actual != area) return true;
    return std::any_of(others_above.begin(), others_above.end(),
                       [&area](const Rect& other) { return !Intersect(other, area).Empty(); });
}

}  // namespace gloam
