#include "platform/dib.h"

#include <cstring>
#include <string>

#include "platform/error.h"

namespace gloam {
namespace {

uint32_t ReadU32(std::span<const std::byte> data, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= std::to_integer<uint32_t>(data[offset + i]) << (8 * i);
    return value;
}

uint16_t ReadU16(std::span<const std::byte> data, size_t offset) {
    return static_cast<uint16_t>(std::to_integer<uint32_t>(data[offset]) |
                                 (std::to_integer<uint32_t>(data[offset + 1]) << 8));
}

}  // namespace

Surface DecodeDib(std::span<const std::byte> dib, const char* what) {
    const auto fail = [what](const char* why) {
        throw RuntimeError(std::string("The bitmap ") + what + " cannot be read: " + why + ".");
    };
    if (dib.size() < 40) fail("it is too short");
    const uint32_t header_size = ReadU32(dib, 0);
    const int32_t width = static_cast<int32_t>(ReadU32(dib, 4));
    const int32_t raw_height = static_cast<int32_t>(ReadU32(dib, 8));
    const uint16_t bits = ReadU16(dib, 14);
    const uint32_t compression = ReadU32(dib, 16);
    const uint32_t colours_used = ReadU32(dib, 32);
    if (header_size < 40 || header_size > dib.size()) fail("its header is damaged");
    if (compression != 0 || (bits != 24 && bits != 32))
        fail("it is not an uncompressed RGB bitmap");
    if (width <= 0 || width > 65535 || raw_height == 0 || raw_height < -65535 ||
        raw_height > 65535) {
        fail("its size is out of range");
    }
    const bool top_down = raw_height < 0;
    const int32_t height = top_down ? -raw_height : raw_height;
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t pixels_at = header_size + static_cast<size_t>(colours_used) * 4;
    if (pixels_at > dib.size() || (dib.size() - pixels_at) / stride < static_cast<size_t>(height)) {
        fail("its pixel data is cut short");
    }

    Surface surface(width, height);
    const PixelView view = surface.View();
    const size_t bytes_per_pixel = bits / 8;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t source_row = top_down ? y : height - 1 - y;
        const std::byte* row = dib.data() + pixels_at + static_cast<size_t>(source_row) * stride;
        uint32_t* out = view.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            const std::byte* p = row + static_cast<size_t>(x) * bytes_per_pixel;
            out[x] = std::to_integer<uint32_t>(p[0]) | (std::to_integer<uint32_t>(p[1]) << 8) |
                     (std::to_integer<uint32_t>(p[2]) << 16);
        }
    }
    return surface;
}

}  // namespace gloam
