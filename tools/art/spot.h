// The 300 x 300 spot mask: a hard-edged white disc on black.
#pragma once

#include "image.h"

namespace art {

inline constexpr int kSpotSize = 300;

// Last white column right of the centre column on `row`, or -1 for an all-black row.
int spotHalfWidth(int row);

Image makeSpotMask();

}  // namespace art
