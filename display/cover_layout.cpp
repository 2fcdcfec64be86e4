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

}  // namespace gloam
