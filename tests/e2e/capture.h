// What the screen shows, as the program's own pictures (platform/surface.h: pixels 0x00RRGGBB,
// row 0 at the top), and the colours of the tests' pattern.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/surface.h"

namespace e2e {

using gloam::Surface;

// What the screen shows now in `area` (screen coordinates; the primary monitor's top-left is
// (0, 0)), copied from the screen's DC into one of the program's DIB surfaces.
Surface CaptureScreen(const RECT& area);
// The primary monitor.
Surface CaptureScreen();

// Share of pixels (0..1) equal to `colour`; 0 for an empty picture.
double ShareOf(const Surface& picture, std::uint32_t colour);

// The colour that PatternWindow paints at (x, y) of the primary monitor: distinct per 8x8 cell,
// never black or white.
std::uint32_t PatternColour(int x, int y);

}  // namespace e2e
