// Reading device-independent bitmaps (the bitmap resource layout: info header, optional colour
// table, rows) into 32-bit surfaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/surface.h"

namespace gloam {

// Decodes an uncompressed 24- or 32-bit DIB that starts with a BITMAPINFOHEADER. Bottom-up and
// top-down rows are both read. Raises a RuntimeError naming `what` when the data is not such a
// bitmap.
Surface DecodeDib(std::span<const std::byte> dib, const char* what);

}  // namespace gloam
