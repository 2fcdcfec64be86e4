#include "platform/image_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/case_name.h"

namespace gloam {
namespace {

// File bytes put together piece by piece.
class File {
  public:
    File& Text(const std::string& text) {
        for (char c : text) bytes_.push_back(static_cast<std::byte>(c));
        return *this;
    }
    File& Bytes(std::initializer_list<int> values) {
        for (int v : values) bytes_.push_back(static_cast<std::byte>(v));
        return *this;
    }
    File& Be16(uint32_t v) { return Bytes({int(v >> 8 & 0xFF), int(v & 0xFF)}); }
    File& Be32(uint32_t v) { return Be16(v >> 16).Be16(v & 0xFFFF); }
    File& Le16(uint32_t v) { return Bytes({int(v & 0xFF), int(v >> 8 & 0xFF)}); }
    File& Le32(uint32_t v) { return Le16(v & 0xFFFF).Le16(v >> 16); }
    File& Zeros(size_t n) {
        bytes_.insert(bytes_.end(), n, std::byte{0});
        return *this;
    }
    File Cut(size_t length) const {
        File shorter = *this;
        shorter.bytes_.resize(length);
        return shorter;
    }
    const std::vector<std::byte>& Data() const { return bytes_; }

  private:
    std::vector<std::byte> bytes_;
};

File Png(uint32_t ihdr_length, uint32_t width, uint32_t height) {
    return File()
        .Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})
        .Be32(ihdr_length)
        .Text("IHDR")
        .Be32(width)
        .Be32(height)
        .Bytes({8, 2, 0, 0, 0});
}

File Bmp(uint32_t header_size, int32_t width, int32_t height) {
    File file = File().Text("BM").Le32(0).Le32(0).Le32(54).Le32(header_size);
    if (header_size == 12)
        return file.Le16(static_cast<uint32_t>(width))
            .Le16(static_cast<uint32_t>(height))
            .Le16(1)
            .Le16(24);
    return file.Le32(static_cast<uint32_t>(width))
        .Le32(static_cast<uint32_t>(height))
        .Le16(1)
        .Le16(24)
        .Zeros(24);
}

// `head` (which ends with a frame marker) followed by a one-component frame header.
File Frame(File head, uint32_t width, uint32_t height) {
    return head.Be16(11).Bytes({8}).Be16(height).Be16(width).Bytes({1}).Zeros(3);
}

// SOI, a JFIF segment, then a frame header of the given kind.
File Jpeg(int frame_marker, uint32_t width, uint32_t height) {
    return File()
        .Bytes({0xFF, 0xD8})
        .Bytes({0xFF, 0xE0})
        .Be16(16)
        .Text("JFIF")
        .Zeros(10)
        .Bytes({0xFF, frame_marker})
        .Be16(17)
        .Bytes({8})
        .Be16(height)
        .Be16(width)
        .Bytes({3})
        .Zeros(9);
}

// A little-endian TIFF whose first directory holds the given entries (tag, type, count, value).
struct TiffEntry {
    uint32_t tag, type, count, value;
};
File TiffLe(std::initializer_list<TiffEntry> entries) {
    File file = File().Text("II").Le16(42).Le32(8).Le16(static_cast<uint32_t>(entries.size()));
    for (const TiffEntry& e : entries) {
        file.Le16(e.tag).Le16(e.type).Le32(e.count);
        if (e.type == 3) {
            file.Le16(e.value).Le16(0);
        } else {
            file.Le32(e.value);
        }
    }
    return file.Le32(0);
}

struct HeaderCase {
    const char* name;
    File file;
    ImageHeader expected;
};

void PrintTo(const HeaderCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadImageHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(ReadImageHeaderTest, GivesTheFormatAndTheSizeOfTheHeader) {
    const HeaderCase& c = GetParam();
    const ImageHeader header = ReadImageHeader(c.file.Data());
    EXPECT_EQ(header.format, c.expected.format);
    EXPECT_EQ(header.width, c.expected.width);
    EXPECT_EQ(header.height, c.expected.height);
}

constexpr auto kPng = ImageFormat::Png;
constexpr auto kGif = ImageFormat::Gif;
constexpr auto kBmp = ImageFormat::Bmp;
constexpr auto kJpeg = ImageFormat::Jpeg;
constexpr auto kTiff = ImageFormat::Tiff;
constexpr auto kUnknown = ImageFormat::Unknown;

INSTANTIATE_TEST_SUITE_P(
    Png, ReadImageHeaderTest,
    testing::Values(HeaderCase{"Plain", Png(13, 640, 480), {kPng, 640, 480}},
                    HeaderCase{"Widest", Png(13, 0xFFFFFFFF, 1), {kPng, 0xFFFFFFFF, 1}},
                    HeaderCase{"CutInTheHeight", Png(13, 640, 480).Cut(22), {kPng, 0, 0}},
                    HeaderCase{"HeaderOfTwelve", Png(12, 640, 480), {kPng, 0, 0}},
                    HeaderCase{"FirstChunkNotIhdr",
                               File()
                                   .Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})
                                   .Be32(13)
                                   .Text("IDAT")
                                   .Be32(640)
                                   .Be32(480),
                               {kPng, 0, 0}}),
    gloam_tests::ByName());

INSTANTIATE_TEST_SUITE_P(
    Gif, ReadImageHeaderTest,
    testing::Values(
        HeaderCase{"Gif87a", File().Text("GIF87a").Le16(320).Le16(200), {kGif, 320, 200}},
        HeaderCase{"Gif89a", File().Text("GIF89a").Le16(65535).Le16(1), {kGif, 65535, 1}},
        HeaderCase{"CutInTheHeight", File().Text("GIF89a").Le16(320).Bytes({200}), {kGif, 0, 0}},
        HeaderCase{"OtherVersion", File().Text("GIF88a").Le16(320).Le16(200), {kUnknown, 0, 0}}),
    gloam_tests::ByName());

INSTANTIATE_TEST_SUITE_P(
    Bmp, ReadImageHeaderTest,
    testing::Values(HeaderCase{"CoreHeader", Bmp(12, 100, 50), {kBmp, 100, 50}},
                    HeaderCase{"InfoHeader", Bmp(40, 1920, 1080), {kBmp, 1920, 1080}},
                    HeaderCase{"TopDown", Bmp(124, 1920, -1080), {kBmp, 1920, 1080}},
                    HeaderCase{"LowestHeight", Bmp(40, 1, INT32_MIN), {kBmp, 1, 2147483648LL}},
                    HeaderCase{"ZeroWidth", Bmp(40, 0, 10), {kBmp, 0, 0}},
                    HeaderCase{"NegativeWidth", Bmp(40, -5, 10), {kBmp, 0, 0}},
                    HeaderCase{"HeaderOfTwenty", Bmp(20, 100, 50), {kBmp, 0, 0}},
                    HeaderCase{"CutInTheHeight", Bmp(40, 100, 50).Cut(24), {kBmp, 0, 0}},
                    HeaderCase{"NoInfoHeader", File().Text("BM").Le32(0), {kBmp, 0, 0}}),
    gloam_tests::ByName());

INSTANTIATE_TEST_SUITE_P(
    Jpeg, ReadImageHeaderTest,
    testing::Values(
        HeaderCase{"Baseline", Jpeg(0xC0, 640, 480), {kJpeg, 640, 480}},
        HeaderCase{"Progressive", Jpeg(0xC2, 4000, 3000), {kJpeg, 4000, 3000}},
        HeaderCase{"Lossless", Jpeg(0xC3, 65535, 65535), {kJpeg, 65535, 65535}},
        HeaderCase{"HeightLaterInTheFile", Jpeg(0xC0, 640, 0), {kJpeg, 640, 0}},
        HeaderCase{
            "HuffmanTableFirst",
            Frame(File().Bytes({0xFF, 0xD8, 0xFF, 0xC4}).Be16(4).Bytes({0, 0}).Bytes({0xFF, 0xC1}),
                  40, 30),
            {kJpeg, 40, 30}},
        HeaderCase{"PaddedMarkers",
                   Frame(File().Bytes({0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xC0}), 9, 7),
                   {kJpeg, 9, 7}},
        HeaderCase{"RestartMarkerBeforeFrame",
                   Frame(File().Bytes({0xFF, 0xD8, 0xFF, 0xD0, 0xFF, 0xC0}), 9, 7),
                   {kJpeg, 9, 7}},
        HeaderCase{"ScanBeforeFrame",
                   File().Bytes({0xFF, 0xD8, 0xFF, 0xDA}).Be16(8).Zeros(6),
                   {kJpeg, 0, 0}},
        HeaderCase{"EndBeforeFrame", File().Bytes({0xFF, 0xD8, 0xFF, 0xD9}), {kJpeg, 0, 0}},
        HeaderCase{"SegmentShorterThanItsLength",
                   File().Bytes({0xFF, 0xD8, 0xFF, 0xE1}).Be16(1),
                   {kJpeg, 0, 0}},
        HeaderCase{"SegmentPastTheEnd",
                   File().Bytes({0xFF, 0xD8, 0xFF, 0xE1}).Be16(60000).Zeros(10),
                   {kJpeg, 0, 0}},
        HeaderCase{
            "NoMarkerAfterStart", File().Bytes({0xFF, 0xD8, 0xFF, 0x00, 0x12}), {kJpeg, 0, 0}},
        HeaderCase{"GarbageBetweenSegments",
                   File().Bytes({0xFF, 0xD8, 0xFF, 0xE0}).Be16(2).Bytes({0x12, 0xFF, 0xC0}),
                   {kJpeg, 0, 0}},
        HeaderCase{"FrameCutShort", Jpeg(0xC0, 640, 480).Cut(27), {kJpeg, 0, 0}}),
    gloam_tests::ByName());

INSTANTIATE_TEST_SUITE_P(
    Tiff, ReadImageHeaderTest,
    testing::Values(
        HeaderCase{"ShortAndLong", TiffLe({{256, 3, 1, 800}, {257, 4, 1, 600}}), {kTiff, 800, 600}},
        HeaderCase{"OtherTagsBetween",
                   TiffLe({{254, 4, 1, 0}, {257, 3, 1, 20}, {259, 3, 1, 1}, {256, 3, 1, 10}}),
                   {kTiff, 10, 20}},
        HeaderCase{"BigEndian",
                   File()
                       .Text("MM")
                       .Be16(42)
                       .Be32(8)
                       .Be16(2)
                       .Be16(256)
                       .Be16(3)
                       .Be32(1)
                       .Be16(640)
                       .Be16(0)
                       .Be16(257)
                       .Be16(4)
                       .Be32(1)
                       .Be32(480)
                       .Be32(0),
                   {kTiff, 640, 480}},
        HeaderCase{"NoHeight", TiffLe({{256, 3, 1, 800}}), {kTiff, 0, 0}},
        HeaderCase{"WidthOfTwoValues", TiffLe({{256, 3, 2, 800}, {257, 3, 1, 600}}), {kTiff, 0, 0}},
        HeaderCase{"WidthAsText", TiffLe({{256, 2, 1, 800}, {257, 3, 1, 600}}), {kTiff, 0, 0}},
        HeaderCase{"DirectoryPastTheEnd", File().Text("II").Le16(42).Le32(4000), {kTiff, 0, 0}},
        HeaderCase{"DirectoryCutShort",
                   TiffLe({{256, 3, 1, 800}, {257, 4, 1, 600}}).Cut(20),
                   {kTiff, 0, 0}}),
    gloam_tests::ByName());

INSTANTIATE_TEST_SUITE_P(
    Others, ReadImageHeaderTest,
    testing::Values(
        HeaderCase{"Empty", File(), {kUnknown, 0, 0}},
        HeaderCase{"WebP", File().Text("RIFF").Le32(100).Text("WEBPVP8 "), {kUnknown, 0, 0}},
        HeaderCase{"Text", File().Text("C:\\Windows\\Web\\img0.jpg"), {kUnknown, 0, 0}},
        HeaderCase{"HalfAPngSignature", File().Bytes({0x89, 'P', 'N', 'G'}), {kUnknown, 0, 0}}),
    gloam_tests::ByName());

TEST(ImageSizeAllowed, EachSideFromOneTo16384) {
    struct Case {
        int64_t width, height;
        bool allowed;
    };
    const Case cases[] = {
        {1, 1, true},      {16384, 16384, true}, {16384, 1, true},         {1, 16384, true},
        {16385, 1, false}, {1, 16385, false},    {16385, 16385, false},    {0, 100, false},
        {100, 0, false},   {-1, 100, false},     {4294967295LL, 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImageSizeAllowed(c.width, c.height), c.allowed) << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace gloam
