// A picture file drawn, scaled, into a surface. The file is read whole into memory (at most
// kMaxImageFileBytes, image_header.h) and only then decoded, with the Windows Imaging Component
// reading from that memory, so no decoder can read past the file or wait on it. Its header is
// checked before any decoder sees it, and the size the decoder reports before any pixel is decoded
// (ImageSizeAllowed). The decoder hands out the pixels as 32-bit BGR, a band of rows at a time,
// and only the rows and columns that reach the surface (resample.h).
//
// Every picture file is hostile input, and a bad one is not an error: a missing, unreadable, too
// large, truncated or corrupt file, a format WIC cannot decode, running out of memory, COM
// failing, all give "not drawn". COM must be initialised on the calling thread (com_apartment).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/surface.h"

namespace gloam {

// Where a picture of that size lands in the surface; nullopt: nowhere, the file is not drawn.
using ImagePlacer = std::function<std::optional<Rect>(int32_t width, int32_t height)>;

// Draws the first frame of the picture in `path` over the place `placer` gives. True when every
// pixel of that place on `surface` was drawn; false leaves any part of `surface` in the place
// possibly written.
bool DrawImageFile(const std::wstring& path, PixelView surface, const ImagePlacer& placer);

}  // namespace gloam
