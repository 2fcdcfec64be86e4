// Fuzz target: what the display reads of a wallpaper file before any decoder sees it, the format
// by its signature and the size its header gives, and the size check.
//
// Besides the sanitizers' own checks (no read outside the bytes given) it aborts when a size is
// negative, when the format differs from the one its signature names, when a shorter copy of the
// file reads as another size than the whole (a header is read front to back, so fewer bytes can
// only lose the size, never change it), or when the size check and the decision to decode
// disagree.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "fuzz_support.h"
#include "platform/image_header.h"

namespace {

using gloam::ImageFormat;

// The signatures, spelled out once more.
ImageFormat FormatBySignature(const uint8_t* data, size_t size) {
    const auto starts = [&](const char* signature, size_t length) {
        return size >= length && std::memcmp(data, signature, length) == 0;
    };
    if (starts("\x89PNG\r\n\x1A\n", 8)) return ImageFormat::Png;
    if (starts("GIF87a", 6) || starts("GIF89a", 6)) return ImageFormat::Gif;
    if (starts("BM", 2)) return ImageFormat::Bmp;
    if (starts("\xFF\xD8\xFF", 3)) return ImageFormat::Jpeg;
    if (starts("II*\0", 4) || starts("MM\0*", 4)) return ImageFormat::Tiff;
    return ImageFormat::Unknown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzz_support::Expect;
    const auto bytes = std::as_bytes(std::span(data, size));
    const gloam::ImageHeader header = gloam::ReadImageHeader(bytes);
    Expect(header.width >= 0 && header.height >= 0, "a negative size");
    Expect(header.format == FormatBySignature(data, size), "the format is not the signature's");
    if (header.format == ImageFormat::Unknown) {
        Expect(header.width == 0 && header.height == 0, "a size for an unknown format");
    }
    const bool allowed = gloam::ImageSizeAllowed(header.width, header.height);
    Expect(allowed == (header.width >= 1 && header.height >= 1 && header.width <= 16384 &&
                       header.height <= 16384),
           "the size check is not 1 to 16384 a side");
    Expect(gloam::WorthDecoding(header) == (header.format == ImageFormat::Unknown || allowed),
           "decoding a known format whose size is not allowed, or refusing an allowed one");

    for (size_t cut : {size / 2, size * 3 / 4, size - (size > 0 ? 1 : 0)}) {
        const gloam::ImageHeader shorter = gloam::ReadImageHeader(bytes.first(cut));
        if (shorter.width != 0 && shorter.height != 0) {
            Expect(shorter == header, "fewer bytes read as another size");
        }
    }
    return 0;
}
