// What an image file's first bytes say before any decoder sees it: its format, by signature, and
// for the formats known here the size its header gives. Every image file is hostile input: the
// readers below look only at the bytes they are given, never past them, and a header that is cut
// short or does not hold together reads as size 0 x 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace gloam {

enum class ImageFormat { Unknown, Bmp, Gif, Jpeg, Png, Tiff };

struct ImageHeader {
    ImageFormat format = ImageFormat::Unknown;
    // As the header gives them; 0 x 0 when the format is unknown or the header damaged.
    int64_t width = 0;
    int64_t height = 0;
    friend bool operator==(const ImageHeader&, const ImageHeader&) = default;
};

ImageHeader ReadImageHeader(std::span<const std::byte> file);

// No side of a picture may exceed this, so that decoding one never takes more than
// 16384 x 16384 x 4 bytes (1 GiB) of pixels.
inline constexpr int64_t kMaxImageSide = 16384;
// Larger files are not read at all.
inline constexpr uint64_t kMaxImageFileBytes = 64u << 20;

// Both sides from 1 to kMaxImageSide.
bool ImageSizeAllowed(int64_t width, int64_t height);

// Whether the file may go to a decoder: a format known here whose header gives an allowed size,
// or a format not known here (the decoder may know it; the size it reports must then pass
// ImageSizeAllowed before any pixel is decoded).
bool WorthDecoding(const ImageHeader& header);

}  // namespace gloam
