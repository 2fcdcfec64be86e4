#include "platform/image_header.h"

#include <cstring>
#include <optional>

namespace gloam {
namespace {

// Bounds-checked reads: nullopt when the bytes are not all there.
class Bytes {
  public:
    explicit Bytes(std::span<const std::byte> data) : data_(data) {}

    bool StartsWith(const char* signature, size_t length) const {
        return data_.size() >= length && std::memcmp(data_.data(), signature, length) == 0;
    }
    std::optional<uint32_t> U8(uint64_t at) const {
        if (at >= data_.size()) return std::nullopt;
        return std::to_integer<uint32_t>(data_[static_cast<size_t>(at)]);
    }
    std::optional<uint32_t> U16(uint64_t at, bool big_endian) const {
        return Number(at, 2, big_endian);
    }
    std::optional<uint32_t> U32(uint64_t at, bool big_endian) const {
        return Number(at, 4, big_endian);
    }

  private:
    std::optional<uint32_t> Number(uint64_t at, uint64_t length, bool big_endian) const {
        if (at > data_.size() || data_.size() - at < length) return std::nullopt;
        uint32_t value = 0;
        for (uint64_t i = 0; i < length; ++i) {
            const uint32_t byte = std::to_integer<uint32_t>(data_[static_cast<size_t>(at + i)]);
            value |= big_endian ? byte << (8 * (length - 1 - i)) : byte << (8 * i);
        }
        return value;
    }

    std::span<const std::byte> data_;
};

ImageHeader Sized(ImageFormat format, std::optional<int64_t> width, std::optional<int64_t> height) {
    if (!width || !height) return ImageHeader{format, 0, 0};
    return ImageHeader{format, *width, *height};
}

// Signature, then the IHDR chunk, which must come first and hold 13 bytes.
ImageHeader ReadPng(const Bytes& file) {
    const auto length = file.U32(8, true);
    const bool ihdr = length == 13u && file.U32(12, true) == 0x49484452u;
    if (!ihdr) return ImageHeader{ImageFormat::Png, 0, 0};
    return Sized(ImageFormat::Png, file.U32(16, true), file.U32(20, true));
}

// The logical screen: the canvas every frame of the file is drawn on.
ImageHeader ReadGif(const Bytes& file) {
    return Sized(ImageFormat::Gif, file.U16(6, false), file.U16(8, false));
}

// The info header after the 14-byte file header: the old 12-byte core header with 16-bit sides,
// or any later one with 32-bit sides, a negative height meaning rows stored top-down.
ImageHeader ReadBmp(const Bytes& file) {
    const auto header_size = file.U32(14, false);
    if (header_size == 12u) {
        return Sized(ImageFormat::Bmp, file.U16(18, false), file.U16(20, false));
    }
    if (!header_size || *header_size < 40u) return ImageHeader{ImageFormat::Bmp, 0, 0};
    const auto width = file.U32(18, false);
    const auto height = file.U32(22, false);
    if (!width || !height) return ImageHeader{ImageFormat::Bmp, 0, 0};
    const int64_t signed_width = static_cast<int32_t>(*width);
    const int64_t signed_height = static_cast<int32_t>(*height);
    if (signed_width <= 0) return ImageHeader{ImageFormat::Bmp, 0, 0};
    return ImageHeader{ImageFormat::Bmp, signed_width,
                       signed_height < 0 ? -signed_height : signed_height};
}

// Walks the markers up to the first start-of-frame, which holds the size. A marker is 0xFF and a
// code; any number of 0xFF may pad before the code. Scan data or the end before a frame header
// means no size.
ImageHeader ReadJpeg(const Bytes& file) {
    const ImageHeader damaged{ImageFormat::Jpeg, 0, 0};
    uint64_t at = 2;
    for (;;) {
        if (file.U8(at) != 0xFFu) return damaged;
        while (file.U8(at) == 0xFFu) ++at;
        const auto code = file.U8(at);
        if (!code) return damaged;
        ++at;
        // Markers without a length: TEM, RSTn, a second SOI.
        if (*code == 0x01u || (*code >= 0xD0u && *code <= 0xD8u)) continue;
        if (*code == 0xD9u || *code == 0xDAu || *code == 0x00u) return damaged;
        const auto length = file.U16(at, true);
        if (!length || *length < 2u) return damaged;
        // SOF0 to SOF15; C4 (DHT), C8 (JPG) and CC (DAC) share the range but are no frames.
        const bool frame =
            *code >= 0xC0u && *code <= 0xCFu && *code != 0xC4u && *code != 0xC8u && *code != 0xCCu;
        if (frame) {
            // Length, precision, then height and width; a height of 0 would come later (DNL),
            // which no wallpaper needs.
            return Sized(ImageFormat::Jpeg, file.U16(at + 5, true), file.U16(at + 3, true));
        }
        at += *length;
    }
}

// The first image file directory: ImageWidth (256) and ImageLength (257), each a SHORT or a LONG.
ImageHeader ReadTiff(const Bytes& file, bool big_endian) {
    const ImageHeader damaged{ImageFormat::Tiff, 0, 0};
    const auto directory = file.U32(4, big_endian);
    if (!directory) return damaged;
    const auto count = file.U16(*directory, big_endian);
    if (!count) return damaged;
    std::optional<int64_t> width, height;
    for (uint32_t i = 0; i < *count; ++i) {
        const uint64_t entry = uint64_t{*directory} + 2 + uint64_t{i} * 12;
        const auto tag = file.U16(entry, big_endian);
        const auto type = file.U16(entry + 2, big_endian);
        const auto values = file.U32(entry + 4, big_endian);
        if (!tag || !type || !values) return damaged;
        if (*tag != 256u && *tag != 257u) continue;
        if (*values != 1u) return damaged;
        std::optional<uint32_t> value;
        if (*type == 3u) value = file.U16(entry + 8, big_endian);
        if (*type == 4u) value = file.U32(entry + 8, big_endian);
        if (!value) return damaged;
        (*tag == 256u ? width : height) = *value;
    }
    return Sized(ImageFormat::Tiff, width, height);
}

}  // namespace

ImageHeader ReadImageHeader(std::span<const std::byte> data) {
    const Bytes file(data);
    if (file.StartsWith("\x89PNG\r\n\x1A\n", 8)) return ReadPng(file);
    if (file.StartsWith("GIF87a", 6) || file.StartsWith("GIF89a", 6)) return ReadGif(file);
    if (file.StartsWith("BM", 2)) return ReadBmp(file);
    if (file.StartsWith("\xFF\xD8\xFF", 3)) return ReadJpeg(file);
    if (file.StartsWith("II*\0", 4)) return ReadTiff(file, false);
    if (file.StartsWith("MM\0*", 4)) return ReadTiff(file, true);
    return ImageHeader{};
}

bool ImageSizeAllowed(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide;
}

bool WorthDecoding(const ImageHeader& header) {
    return header.format == ImageFormat::Unknown || ImageSizeAllowed(header.width, header.height);
}

}  // namespace gloam
