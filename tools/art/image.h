// Pixel buffers and the Windows file formats the art is stored in.
//
// An Image is 8-bit RGB, top-down, row-major, no padding. The writers turn it into the exact
// little-endian byte layouts that the resource compiler and the program read: 24-bit bottom-up BMP,
// and the 16-colour icon images (payload, group directory and .ico file).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill = kBlack)
        : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    void fillRect(int x, int y, int w, int h, Rgb c);
};

void putU16(Bytes& out, unsigned v);
void putU32(Bytes& out, std::uint32_t v);
void putI32(Bytes& out, std::int32_t v);

// Bytes of one 24-bit row padded to a multiple of four.
int bmpRowBytes(int width);

// A complete .bmp file: 14-byte file header, 40-byte info header, no colour table, BI_RGB,
// biSizeImage = padded pixel bytes, bottom-up rows.
Bytes encodeBmp24(const Image& img, std::int32_t pixelsPerMetre);

// A 16-colour icon image as stored in an RT_ICON resource: BITMAPINFOHEADER (height doubled),
// 16-entry palette, 4-bit XOR bits, 1-bit AND mask. `indices` holds one palette index per pixel
// (top-down), `transparent` marks pixels whose AND bit is set (index must then be 0, black).
struct IconImage {
    int size = 0;  // width == height
    std::vector<std::uint8_t> indices;
    std::vector<bool> transparent;
};
const std::vector<Rgb>& iconPalette();
Bytes encodeIconPayload(const IconImage& icon);
// GRPICONDIR + GRPICONDIRENTRY per image, referring to RT_ICON ids.
Bytes encodeIconGroup(const std::vector<IconImage>& images, const std::vector<unsigned>& ids);
// A standalone .ico file holding the same images.
Bytes encodeIcoFile(const std::vector<IconImage>& images);

// The 32x32 cursor whose every pixel leaves the screen unchanged.
Bytes encodeInvisibleCursor();

void writeFile(const std::string& path, const Bytes& bytes);

}  // namespace art
