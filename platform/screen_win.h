// The primary screen's size in pixels and its twips per pixel (1440 / DPI; 15 at 96 DPI).
#pragma once

namespace gloam {

struct ScreenMetrics {
    int width_pixels = 0;
    int height_pixels = 0;
    double twips_per_pixel_x = 15.0;
    double twips_per_pixel_y = 15.0;

    double WidthTwips() const { return width_pixels * twips_per_pixel_x; }
    double HeightTwips() const { return height_pixels * twips_per_pixel_y; }
    // The screen's size in pixels as real numbers, the way the drawing code uses it.
    double W() const { return WidthTwips() / twips_per_pixel_x; }
    double H() const { return HeightTwips() / twips_per_pixel_y; }
    // A length in twips as pixels along x or y.
    int PixelsX(double twips) const;
    int PixelsY(double twips) const;
};

ScreenMetrics ReadScreen();

}  // namespace gloam
