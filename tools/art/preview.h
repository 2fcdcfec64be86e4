// The still picture of the preview mode: black, with one lit disc through which a desktop shows.
#pragma once

#include "image.h"

namespace art {

inline constexpr int kPreviewWidth = 155, kPreviewHeight = 116;
// The disc's bounding box: columns 4..46, rows 8..50.
inline constexpr int kPreviewDiscLeft = 4, kPreviewDiscTop = 8, kPreviewDiscSize = 43;

Image makePreview();

}  // namespace art
