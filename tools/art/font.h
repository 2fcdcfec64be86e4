// A tiny 5 x 7 pixel font for the demo desktop: capitals, digits and common punctuation.
// Small letters are drawn as capitals; characters it lacks are drawn as blanks.
#pragma once

#include <string_view>

#include "image.h"

namespace art {

inline constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphAdvance = 6;

int textWidth(std::string_view text, int scale = 1);
void drawText(Image& img, int x, int y, std::string_view text, Rgb colour, int scale = 1);

}  // namespace art
