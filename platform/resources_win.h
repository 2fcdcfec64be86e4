// The program's own resources: bitmaps as 32-bit surfaces, icons and cursors.
#pragma once

#include <windows.h>

#include "platform/bitmap_loader.h"
#include "platform/surface.h"

namespace gloam {

// Loads bitmap resource `id`; a missing or unreadable bitmap raises a RuntimeError.
Surface LoadBitmapResource(int32_t id);

// Serves PlaceCats: each Load replaces the bitmap held, like a picture box given a new picture.
class ResourceBitmapLoader final : public BitmapLoader {
  public:
    PixelView Load(int32_t id) override;

  private:
    Surface held_;
};

HICON LoadIconResource(int id, int size);
HCURSOR LoadCursorResource(int id);

}  // namespace gloam
