// Composing a frame: black everywhere but inside the spot's disc, where the desktop copy shows.
//
// ComposeFrame is the plain recipe (clear the whole frame, stretch the mask in, AND the whole
// desktop over it). SpotCompositor makes the same frame touching only the old and the new spot
// squares, so a frame costs the same on any screen size.
#pragma once

#include "display/display_state.h"
#include "platform/surface.h"

namespace gloam {

// `work` and `desktop` are screen-sized; `spot_mask` is the white-disc-on-black mask.
void ComposeFrame(PixelView work, PixelView desktop, PixelView spot_mask, Point at,
                  int32_t spot_size);

class SpotCompositor {
  public:
    // Stretches the mask to `spot_size` once.
    SpotCompositor(PixelView spot_mask, int32_t spot_size);

    // `back` must hold the previous frame made by this compositor (all black before the first).
    // Returns the part of `back` that changed: the union of the old and the new square.
    Rect Compose(PixelView back, PixelView desktop, Point at);

    const Surface& StretchedMask() const { return stretched_; }

  private:
    Surface stretched_;
    Rect last_{};
};

}  // namespace gloam
