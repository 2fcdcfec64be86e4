#include "config/config_layout.h"

#include "platform/numeric.h"

namespace gloam {

PixelBox ControlPixels(int32_t position, double twips_per_pixel_x, double twips_per_pixel_y) {
    const ControlDesign& design = kConfigControls.at(static_cast<size_t>(position));
    PixelBox box{Nearest(design.left / twips_per_pixel_x), Nearest(design.top / twips_per_pixel_y),
                 Nearest(design.width / twips_per_pixel_x),
                 Nearest(design.height / twips_per_pixel_y)};
    if (design.frame >= 0) {
        const PixelBox frame = ControlPixels(design.frame, twips_per_pixel_x, twips_per_pixel_y);
        box.left += frame.left;
        box.top += frame.top;
    }
    return box;
}

ConfigLayout ConfigLayoutAt(int32_t dpi) {
    const double twips_per_pixel = 1440.0 / dpi;
    ConfigLayout layout;
    layout.client_width = Nearest(kConfigClientWidth / twips_per_pixel);
    layout.client_height = Nearest(kConfigClientHeight / twips_per_pixel);
    layout.font_pixels = Nearest(kConfigFontTwips / twips_per_pixel);
    for (size_t i = 0; i < kConfigControls.size(); ++i) {
        layout.controls[i] =
            ControlPixels(static_cast<int32_t>(i), twips_per_pixel, twips_per_pixel);
    }
    return layout;
}

}  // namespace gloam
