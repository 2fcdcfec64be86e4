#include "capture.h"

#include <gtest/gtest.h>

#include "platform/dib_surface_win.h"
#include "platform/error.h"
#include "platform/handles_win.h"

namespace e2e {

Surface CaptureScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return Surface();
    gloam::DibSurface copy;
    try {
        copy.Resize(width, height);
    } catch (const gloam::RuntimeError& error) {
        ADD_FAILURE() << "no picture for the screenshot: " << error.what();
        return Surface();
    }
    {
        const gloam::unique_hdc_window screen(nullptr);
        BitBlt(copy.Dc(), 0, 0, width, height, screen.get(), area.left, area.top,
               SRCCOPY | CAPTUREBLT);
    }
    GdiFlush();
    Surface shot(width, height);
    const gloam::PixelView pixels = shot.View();
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = copy.View().Row(y);
        // The unused top byte of a pixel copied from the screen is not always 0.
        for (int x = 0; x < width; ++x) pixels.At(x, y) = row[x] & 0x00FFFFFFu;
    }
    return shot;
}

Surface CaptureScreen() {
    return CaptureScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

double ShareOf(const Surface& picture, std::uint32_t colour) {
    const auto total = static_cast<double>(picture.Width()) * picture.Height();
    if (total == 0) return 0.0;
    double same = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) same += picture.At(x, y) == colour ? 1 : 0;
    }
    return same / total;
}

std::uint32_t PatternColour(int x, int y) {
    const unsigned cx = static_cast<unsigned>(x) / 8;
    const unsigned cy = static_cast<unsigned>(y) / 8;
    const unsigned r = 0x20 + (cx * 29u) % 0xC0u;
    const unsigned g = 0x20 + (cy * 53u) % 0xC0u;
    const unsigned b = 0x20 + ((cx + cy) * 17u) % 0xC0u;
    return (r << 16) | (g << 8) | b;
}

}  // namespace e2e
