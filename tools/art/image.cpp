#include "image.h"

#include <fstream>
#include <stdexcept>

namespace art {

void Image::fillRect(int x, int y, int w, int h, Rgb c) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            if (contains(xx, yy)) at(xx, yy) = c;
}

void putU16(Bytes& out, unsigned v) {
    out.push_back(std::uint8_t(v & 0xFF));
    out.push_back(std::uint8_t((v >> 8) & 0xFF));
}

void putU32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t((v >> (8 * i)) & 0xFF));
}

void putI32(Bytes& out, std::int32_t v) {
    putU32(out, std::uint32_t(v));
}

int bmpRowBytes(int width) {
    return (width * 3 + 3) / 4 * 4;
}

namespace {

void putInfoHeader(Bytes& out, int width, int height, unsigned bitCount, std::uint32_t imageSize,
                   std::int32_t pixelsPerMetre) {
    putU32(out, 40);
    putI32(out, width);
    putI32(out, height);
    putU16(out, 1);  // planes
    putU16(out, bitCount);
    putU32(out, 0);  // BI_RGB
    putU32(out, imageSize);
    putI32(out, pixelsPerMetre);
    putI32(out, pixelsPerMetre);
    putU32(out, 0);  // colours used: all of the palette, or none for 24 bits
    putU32(out, 0);  // important colours
}

}  // namespace

Bytes encodeBmp24(const Image& img, std::int32_t pixelsPerMetre) {
    const int row = bmpRowBytes(img.width);
    const auto imageSize = std::uint32_t(row * img.height);
    Bytes out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    putU32(out, 54 + imageSize);
    putU32(out, 0);
    putU32(out, 54);
    putInfoHeader(out, img.width, img.height, 24, imageSize, pixelsPerMetre);
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            const Rgb& p = img.at(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (int pad = img.width * 3; pad < row; ++pad) out.push_back(0);
    }
    return out;
}

const std::vector<Rgb>& iconPalette() {
    // The classic 16-colour display palette, in its customary order.
    static const std::vector<Rgb> palette = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    return palette;
}

namespace {

int xorRowBytes(int size) {
    return (size * 4 + 31) / 32 * 4;
}
int andRowBytes(int size) {
    return (size + 31) / 32 * 4;
}

std::uint32_t iconBitsBytes(int size) {
    return std::uint32_t((xorRowBytes(size) + andRowBytes(size)) * size);
}

}  // namespace

Bytes encodeIconPayload(const IconImage& icon) {
    const int n = icon.size;
    if (icon.indices.size() != std::size_t(n) * n || icon.transparent.size() != icon.indices.size())
        throw std::invalid_argument("icon image has the wrong number of pixels");
    Bytes out;
    putInfoHeader(out, n, 2 * n, 4, iconBitsBytes(n), 0);
    for (const Rgb& c : iconPalette()) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(std::size_t(xorRowBytes(n)), 0);
        for (int x = 0; x < n; ++x) {
            const std::uint8_t index = icon.indices[std::size_t(y) * n + x] & 0x0F;
            row[std::size_t(x / 2)] |= std::uint8_t(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(std::size_t(andRowBytes(n)), 0);
        for (int x = 0; x < n; ++x)
            if (icon.transparent[std::size_t(y) * n + x])
                row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

namespace {

// The part shared by GRPICONDIRENTRY and ICONDIRENTRY, up to and including dwBytesInRes.
void putIconEntryHead(Bytes& out, const IconImage& icon) {
    out.push_back(std::uint8_t(icon.size));
    out.push_back(std::uint8_t(icon.size));
    out.push_back(16);  // colours
    out.push_back(0);
    putU16(out, 1);  // planes
    putU16(out, 4);  // bits per pixel
    putU32(out, std::uint32_t(encodeIconPayload(icon).size()));
}

}  // namespace

Bytes encodeIconGroup(const std::vector<IconImage>& images, const std::vector<unsigned>& ids) {
    if (images.size() != ids.size()) throw std::invalid_argument("one id per icon image");
    Bytes out;
    putU16(out, 0);
    putU16(out, 1);  // icon
    putU16(out, unsigned(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        putIconEntryHead(out, images[i]);
        putU16(out, ids[i]);
    }
    return out;
}

Bytes encodeIcoFile(const std::vector<IconImage>& images) {
    Bytes out;
    putU16(out, 0);
    putU16(out, 1);
    putU16(out, unsigned(images.size()));
    auto offset = std::uint32_t(6 + 16 * images.size());
    for (const IconImage& icon : images) {
        putIconEntryHead(out, icon);
        putU32(out, offset);
        offset += std::uint32_t(encodeIconPayload(icon).size());
    }
    for (const IconImage& icon : images) {
        const Bytes payload = encodeIconPayload(icon);
        out.insert(out.end(), payload.begin(), payload.end());
    }
    return out;
}

Bytes encodeInvisibleCursor() {
    constexpr int kSize = 32;
    constexpr std::uint32_t kMaskBytes = kSize * kSize / 8;  // one bit per pixel, rows of 4 bytes
    Bytes out;
    putU16(out, 0);
    putU16(out, 2);  // cursor
    putU16(out, 1);
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0);  // colours
    out.push_back(0);
    putU16(out, 0);  // hot spot x
    putU16(out, 0);  // hot spot y
    putU32(out, 40 + 8 + 2 * kMaskBytes);
    putU32(out, 22);
    putInfoHeader(out, kSize, 2 * kSize, 1, 2 * kMaskBytes, 0);
    putU32(out, 0x00000000);                  // black
    putU32(out, 0x00FFFFFF);                  // white
    out.insert(out.end(), kMaskBytes, 0x00);  // XOR: change nothing
    out.insert(out.end(), kMaskBytes, 0xFF);  // AND: keep the screen
    return out;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw std::runtime_error("cannot open " + path + " for writing");
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace art
