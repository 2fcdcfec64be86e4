#include "config/config_layout.h"

#include "platform/numeric.h"

namespace gloam {

PixelBox ControlPixels(int32_t position, double twips_per_pixel_x, double twips_per_pixel_y) {
    const ControlSpec& spec = kConfigControls.at(static_cast<size_t>(position));
    PixelBox box{Nearest(spec.left / twips_per_pixel_x), Nearest(spec.top / twips_per_pixel_y),
                 Nearest(spec.width / twips_per_pixel_x), Nearest(spec.height / twips_per_pixel_y)};
    if (spec.frame >= 0) {
        const PixelBox frame = ControlPixels(spec.frame, twips_per_pixel_x, twips_per_pixel_y);
        box.left += frame.left;
        box.top += frame.top;
    }
    return box;
}

}  // namespace gloam
