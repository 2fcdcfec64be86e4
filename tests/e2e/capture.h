// Pictures as the tests compare them: what the screen shows and what the .scr carries, both as
// 0x00RRGGBB pixels with row 0 at the top.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "top_down_dib.h"

namespace e2e {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Share of pixels (0..1) equal to `colour`.
    double ShareOf(std::uint32_t colour) const;
};

// An uncompressed 24-bit DIB as a bitmap resource holds it (an info header, then the rows,
// bottom-up or top-down); nullopt for anything else or when the rows are cut short.
std::optional<Bitmap> DecodeDib24(std::span<const std::uint8_t> dib);

// What the screen shows now in `area` (screen coordinates; the primary monitor's top-left is
// (0, 0)), through GetDC(NULL) and BitBlt into a 32-bit DIB section.
Bitmap CaptureScreen(const RECT& area);
// The primary monitor.
Bitmap CaptureScreen();

// The colour that PatternWindow paints at (x, y) of the primary monitor: distinct per 8x8 cell,
// never black or white.
std::uint32_t PatternColour(int x, int y);

}  // namespace e2e
