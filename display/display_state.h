// The display window's state, shared by the frame loop, the spot motion and the cats.
// Positions are in screen pixels, which are also the pixels of the desktop copy.
#pragma once

#include <cstdint>

#include "platform/local_time.h"

namespace gloam {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct DisplayState {
    Point ptCursor;       // cursor position seen at the previous tick
    Point ptTo;           // top-left of the spot's square at the end of the current sweep
    Point ptFrom;         // top-left of the spot's square at the start of the current sweep
    int32_t lngStep = 0;  // frame index within the sweep; lngStepsPerSweep right after load
    int32_t lngStepsPerSweep = 0;
    int32_t lngSpotSize = 0;  // side of the spot's square in pixels
    LocalDateTime dtStart;
    bool blnCatsShown = false;
};

// Frames per sweep for a speed index (0 slow, 1 normal, 2 fast).
int32_t StepsPerSweepFor(int32_t speed_index);
// Side of the spot in pixels for a size index (0 small, 1 normal, 2 large).
int32_t SpotSizeFor(int32_t size_index);

}  // namespace gloam
