// The program's bitmaps by resource id, as 32-bit pixel views (layout as in surface.h).
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace gloam {

// Each Load replaces the bitmap held, like a picture box given a new picture: the view stays
// valid until the next Load.
class BitmapLoader {
  public:
    virtual ~BitmapLoader() = default;
    virtual PixelView Load(int32_t id) = 0;
};

}  // namespace gloam
