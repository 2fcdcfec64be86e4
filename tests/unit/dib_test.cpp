#include "platform/dib.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/error.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::ExpectErrorNaming;

void PutU32(std::vector<std::byte>& data, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) data[at + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}

void PutU16(std::vector<std::byte>& data, size_t at, uint16_t value) {
    data[at] = static_cast<std::byte>(value & 0xFF);
    data[at + 1] = static_cast<std::byte>(value >> 8);
}

// A DIB with one field of its header overwritten, or its last byte cut off.
std::vector<std::byte> WithU32(std::vector<std::byte> dib, size_t at, uint32_t value) {
    PutU32(dib, at, value);
    return dib;
}

std::vector<std::byte> WithU16(std::vector<std::byte> dib, size_t at, uint16_t value) {
    PutU16(dib, at, value);
    return dib;
}

std::vector<std::byte> WithoutLastByte(std::vector<std::byte> dib) {
    dib.pop_back();
    return dib;
}

// The pixel at (x, y) counted from the top left, as 0x00RRGGBB.
uint32_t PixelAt(int32_t x, int32_t y) {
    const uint32_t r = static_cast<uint32_t>(y) & 0xFF;
    const uint32_t g = static_cast<uint32_t>(x) & 0xFF;
    const uint32_t b = static_cast<uint32_t>(x * 7 + y * 3 + 0x30) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

struct DibShape {
    int32_t width;
    int32_t height;  // negative: rows stored top-down
    uint16_t bits = 24;
    uint32_t header_size = 40;
    uint32_t colours_used = 0;
    uint32_t compression = 0;
};

// A DIB as a bitmap resource holds it; padding bytes and the fourth byte of 32-bit pixels are
// filled with junk that must not reach the picture.
std::vector<std::byte> MakeDib(const DibShape& shape) {
    const int32_t rows = shape.height < 0 ? -shape.height : shape.height;
    const size_t stride = ((static_cast<size_t>(shape.width) * shape.bits + 31) / 32) * 4;
    const size_t pixels_at = shape.header_size + shape.colours_used * 4;
    std::vector<std::byte> data(pixels_at + stride * static_cast<size_t>(rows), std::byte{0xEE});
    PutU32(data, 0, shape.header_size);
    PutU32(data, 4, static_cast<uint32_t>(shape.width));
    PutU32(data, 8, static_cast<uint32_t>(shape.height));
    PutU16(data, 12, 1);
    PutU16(data, 14, shape.bits);
    PutU32(data, 16, shape.compression);
    PutU32(data, 20, static_cast<uint32_t>(stride * static_cast<size_t>(rows)));
    PutU32(data, 24, 2835);
    PutU32(data, 28, 2835);
    PutU32(data, 32, shape.colours_used);
    PutU32(data, 36, 0);
    for (int32_t y = 0; y < rows; ++y) {
        const int32_t stored = shape.height < 0 ? y : rows - 1 - y;
        for (int32_t x = 0; x < shape.width; ++x) {
            const size_t at = pixels_at + static_cast<size_t>(stored) * stride +
                              static_cast<size_t>(x) * (shape.bits / 8);
            const uint32_t pixel = PixelAt(x, y);
            data[at] = static_cast<std::byte>(pixel & 0xFF);
            data[at + 1] = static_cast<std::byte>((pixel >> 8) & 0xFF);
            data[at + 2] = static_cast<std::byte>((pixel >> 16) & 0xFF);
        }
    }
    return data;
}

TEST(DecodeDib, ReadsEveryLayoutTopRowFirst) {
    const DibShape shapes[] = {
        {3, 2},                              // 9 bytes of pixels and 3 of padding a row
        {3, -2},                             // top-down
        {1, 5},                              // 3 bytes and 1 of padding
        {4, 3},                              // no padding
        {105, 170},                          // cat 0: 316 bytes a row
        {100, 185},                          // cat 1: 300 bytes a row
        {5, 4, 32},                          // 32 bits, the fourth byte junk
        {5, -4, 32},     {3, 2, 24, 40, 2},  // a colour table before the pixels
        {3, 2, 24, 124},                     // a larger header
    };
    for (const DibShape& shape : shapes) {
        const std::vector<std::byte> dib = MakeDib(shape);
        const Surface surface = DecodeDib(dib, "test");
        const int32_t rows = shape.height < 0 ? -shape.height : shape.height;
        ASSERT_EQ(surface.Width(), shape.width);
        ASSERT_EQ(surface.Height(), rows);
        for (int32_t y = 0; y < rows; ++y) {
            for (int32_t x = 0; x < shape.width; ++x) {
                ASSERT_EQ(surface.At(x, y), PixelAt(x, y))
                    << shape.width << "x" << shape.height << " bits " << shape.bits << " at " << x
                    << "," << y;
            }
        }
    }
}

TEST(DecodeDib, RefusesWhatItCannotReadNamingTheBitmap) {
    struct Case {
        const char* name;
        std::vector<std::byte> dib;
    };
    const Case cases[] = {
        {"too short", std::vector<std::byte>(39, std::byte{0})},
        {"cut short", WithoutLastByte(MakeDib({3, 2}))},
        {"core header", WithU32(MakeDib({3, 2}), 0, 12)},
        {"header beyond the data", WithU32(MakeDib({3, 2}), 0, 4000)},
        {"run-length compressed", MakeDib({4, 2, 24, 40, 0, 1})},
        {"bit fields", MakeDib({4, 2, 32, 40, 0, 3})},
        {"eight bits", WithU16(MakeDib({4, 2, 24}), 14, 8)},
        {"no width", WithU32(MakeDib({4, 2}), 4, 0)},
        {"no height", WithU32(MakeDib({4, 2}), 8, 0)},
        {"negative width", WithU32(MakeDib({4, 2}), 4, 0xFFFFFFFF)},
        {"absurd height", WithU32(MakeDib({4, 2}), 8, 0x7FFFFFFF)},
        {"colour table beyond the data", WithU32(MakeDib({4, 2}), 32, 0x40000000)},
    };
    for (const Case& c : cases) {
        ExpectErrorNaming(c.name, [&] { DecodeDib(c.dib, "IDB_TEST"); }, {"IDB_TEST"});
    }
}

TEST(DecodeDib, ReadsTheSpotMaskOfTheResources) {
    std::ifstream file(std::string(GLOAM_SOURCE_DIR) + "/res/spot.bmp", std::ios::binary);
    ASSERT_TRUE(file) << "res/spot.bmp";
    std::vector<std::byte> bytes;
    for (auto it = std::istreambuf_iterator<char>(file); it != std::istreambuf_iterator<char>();
         ++it) {
        bytes.push_back(static_cast<std::byte>(*it));
    }
    ASSERT_GT(bytes.size(), 14u);
    // A resource holds the bitmap without the file's 14-byte header.
    const Surface mask = DecodeDib(std::span<const std::byte>(bytes).subspan(14), "the spot mask");
    ASSERT_EQ(mask.Width(), 300);
    ASSERT_EQ(mask.Height(), 300);
    // Row 6 from the top is white from column 140 to 158; row 293 mirrors it; row 0 is black.
    for (int32_t x = 0; x < 300; ++x) {
        const uint32_t expected = x >= 140 && x <= 158 ? 0xFFFFFFu : 0u;
        EXPECT_EQ(mask.At(x, 6), expected) << x;
        EXPECT_EQ(mask.At(x, 293), expected) << x;
        EXPECT_EQ(mask.At(x, 0), 0u) << x;
    }
}

}  // namespace
}  // namespace gloam
