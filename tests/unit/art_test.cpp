// Checks the committed binary art in res/ against the formats the program reads and the mask rule
// it relies on (where a cat's mask is black, its picture is white).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#ifndef GLOAM_SOURCE_DIR
#error "GLOAM_SOURCE_DIR must name the source tree"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadRes(const std::string& name) {
    std::ifstream file(std::string(GLOAM_SOURCE_DIR) + "/res/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

unsigned U16(const Bytes& b, std::size_t at) {
    return unsigned(b.at(at)) | unsigned(b.at(at + 1)) << 8;
}
std::uint32_t U32(const Bytes& b, std::size_t at) {
    return std::uint32_t(U16(b, at)) | std::uint32_t(U16(b, at + 2)) << 16;
}
std::int32_t I32(const Bytes& b, std::size_t at) {
    return std::int32_t(U32(b, at));
}

using Rgb = std::tuple<int, int, int>;
const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

// A 24-bit bottom-up .bmp file, read through its headers.
struct Bmp {
    Bytes bytes;
    int width = 0, height = 0;

    explicit Bmp(const std::string& name) : bytes(ReadRes(name)) {
        if (bytes.size() >= 54) width = I32(bytes, 18), height = I32(bytes, 22);
    }
    std::size_t RowBytes() const { return std::size_t(width * 3 + 3) / 4 * 4; }
    // x, y counted from the top-left pixel.
    Rgb At(int x, int y) const {
        const std::size_t p =
            U32(bytes, 10) + std::size_t(height - 1 - y) * RowBytes() + std::size_t(x) * 3;
        return {bytes.at(p + 2), bytes.at(p + 1), bytes.at(p)};
    }
};

struct BmpFormat {
    const char* file;
    int width, height;
    std::int32_t pixelsPerMetre;
    std::size_t fileSize;
};

class BmpFormatTest : public testing::TestWithParam<BmpFormat> {};

TEST_P(BmpFormatTest, HeadersDescribeUncompressedBottomUp24BitPixels) {
    const BmpFormat& f = GetParam();
    const Bmp bmp(f.file);
    ASSERT_EQ(bmp.bytes.size(), f.fileSize);
    EXPECT_EQ(bmp.bytes[0], 'B');
    EXPECT_EQ(bmp.bytes[1], 'M');
    EXPECT_EQ(U32(bmp.bytes, 2), f.fileSize);
    EXPECT_EQ(U32(bmp.bytes, 10), 54u);
    EXPECT_EQ(U32(bmp.bytes, 14), 40u);
    EXPECT_EQ(bmp.width, f.width);
    EXPECT_EQ(bmp.height, f.height);
    EXPECT_EQ(U16(bmp.bytes, 26), 1u);
    EXPECT_EQ(U16(bmp.bytes, 28), 24u);
    EXPECT_EQ(U32(bmp.bytes, 30), 0u);
    // The resource made from it (without the 14-byte file header) must be 40 + biSizeImage bytes.
    EXPECT_EQ(U32(bmp.bytes, 34), bmp.RowBytes() * std::size_t(f.height));
    EXPECT_EQ(U32(bmp.bytes, 34) + 54, f.fileSize);
    EXPECT_EQ(I32(bmp.bytes, 38), f.pixelsPerMetre);
    EXPECT_EQ(I32(bmp.bytes, 42), f.pixelsPerMetre);
    EXPECT_EQ(U32(bmp.bytes, 46), 0u);
    EXPECT_EQ(U32(bmp.bytes, 50), 0u);
    for (int y = 0; y < f.height; ++y)
        for (std::size_t pad = std::size_t(f.width) * 3; pad < bmp.RowBytes(); ++pad)
            ASSERT_EQ(bmp.bytes[54 + std::size_t(y) * bmp.RowBytes() + pad], 0) << "row " << y;
}

INSTANTIATE_TEST_SUITE_P(Res, BmpFormatTest,
                         testing::Values(BmpFormat{"spot.bmp", 300, 300, 3780, 270054},
                                         BmpFormat{"cat0.bmp", 105, 170, 2835, 53774},
                                         BmpFormat{"cat0_mask.bmp", 105, 170, 2835, 53774},
                                         BmpFormat{"cat1.bmp", 100, 185, 2835, 55554},
                                         BmpFormat{"cat1_mask.bmp", 100, 185, 2835, 55554},
                                         BmpFormat{"preview.bmp", 155, 116, 0, 54342}),
                         [](const auto& test) {
                             std::string name = test.param.file;
                             return name.substr(0, name.find('.'));
                         });

// First and last white column of a row, or {-1, -1} when it has none; fails on a row that is not
// one run of white on black.
std::pair<int, int> WhiteRun(const Bmp& bmp, int y) {
    int first = -1, last = -1;
    for (int x = 0; x < bmp.width; ++x) {
        const Rgb p = bmp.At(x, y);
        EXPECT_TRUE(p == kWhite || p == kBlack) << "pixel " << x << "," << y;
        if (p != kWhite) continue;
        if (first < 0) first = x;
        EXPECT_TRUE(last < 0 || last == x - 1) << "row " << y << " has a gap before column " << x;
        last = x;
    }
    return {first, last};
}

TEST(SpotMask, TellingRowsAreExact) {
    const Bmp spot("spot.bmp");
    struct Row {
        int y, first, last;
    };
    std::vector<Row> rows = {{6, 140, 158}, {7, 130, 168}, {8, 123, 175},
                             {20, 87, 211}, {40, 56, 242}, {80, 24, 274},
                             {120, 9, 289}, {139, 7, 291}, {293, 140, 158}};
    for (int y = 140; y <= 159; ++y) rows.push_back({y, 6, 292});
    for (int y : {0, 1, 5, 294, 298, 299}) rows.push_back({y, -1, -1});
    for (const Row& r : rows)
        EXPECT_EQ(WhiteRun(spot, r.y), std::make_pair(r.first, r.last)) << "row " << r.y;
}

TEST(SpotMask, DiscIsSymmetricAndHasTheRightArea) {
    const Bmp spot("spot.bmp");
    int white = 0;
    for (int y = 0; y < 300; ++y) {
        const auto [first, last] = WhiteRun(spot, y);
        EXPECT_EQ(WhiteRun(spot, 299 - y), std::make_pair(first, last)) << "row " << y;
        if (first < 0) continue;
        EXPECT_EQ(first + last, 2 * 149) << "row " << y << " is not centred on column 149";
        EXPECT_GE(first, 6);
        EXPECT_LE(last, 292);
        white += last - first + 1;
    }
    EXPECT_EQ(white, 64868);
}

struct CatCase {
    const char* picture;
    const char* mask;
    int lastColumn, lastRow;  // the silhouette stays within columns 1..lastColumn, rows 0..lastRow
};

class CatArtTest : public testing::TestWithParam<CatCase> {};

TEST_P(CatArtTest, MaskIsPureBlackAndWhiteAndPictureIsWhiteWhereMaskIsBlack) {
    const Bmp picture(GetParam().picture), mask(GetParam().mask);
    ASSERT_EQ(picture.width, mask.width);
    ASSERT_EQ(picture.height, mask.height);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            const Rgb m = mask.At(x, y);
            ASSERT_TRUE(m == kWhite || m == kBlack) << "mask pixel " << x << "," << y;
            if (m == kBlack) {
                ASSERT_EQ(picture.At(x, y), kWhite) << "picture pixel " << x << "," << y;
            }
        }
}

TEST_P(CatArtTest, SilhouetteFillsItsBoundsAndNoMore) {
    const CatCase& c = GetParam();
    const Bmp mask(c.mask);
    int left = mask.width, right = -1, top = mask.height, bottom = -1, white = 0;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            if (mask.At(x, y) == kWhite) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
                ++white;
            }
    EXPECT_GE(left, 1);
    EXPECT_LE(right, c.lastColumn);
    EXPECT_LE(bottom, c.lastRow);
    // Roughly fills the box: within a few pixels of each side, and a solid body, not a thin figure.
    EXPECT_LE(left, 4);
    EXPECT_GE(right, c.lastColumn - 3);
    EXPECT_LE(top, 3);
    EXPECT_GE(bottom, c.lastRow - 4);
    EXPECT_GT(white, c.lastColumn * c.lastRow / 2);
}

TEST_P(CatArtTest, CatIsShadedNotFlat) {
    const Bmp picture(GetParam().picture), mask(GetParam().mask);
    std::set<Rgb> colours;
    int inside = 0, painted = 0;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            if (mask.At(x, y) != kWhite) continue;
            ++inside;
            const Rgb p = picture.At(x, y);
            colours.insert(p);
            if (p != kWhite) ++painted;
        }
    EXPECT_GT(colours.size(), 500u);
    EXPECT_GT(painted, inside * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(Res, CatArtTest,
                         testing::Values(CatCase{"cat0.bmp", "cat0_mask.bmp", 103, 168},
                                         CatCase{"cat1.bmp", "cat1_mask.bmp", 97, 184}),
                         [](const auto& test) {
                             return std::string(test.param.picture).substr(0, 4);
                         });

// Share of the cat's pixels that are near white, and the mean brightness of the rest.
std::pair<double, double> WhiteShareAndDarkMean(const char* pictureFile, const char* maskFile) {
    const Bmp picture(pictureFile), mask(maskFile);
    int inside = 0, nearWhite = 0, rest = 0;
    double sum = 0;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            if (mask.At(x, y) != kWhite) continue;
            ++inside;
            const auto [r, g, b] = picture.At(x, y);
            if (r > 200 && g > 200 && b > 200) {
                ++nearWhite;
            } else {
                sum += (r + g + b) / 3.0;
                ++rest;
            }
        }
    return {double(nearWhite) / inside, rest ? sum / rest : 0.0};
}

TEST(CatArt, FirstCatIsTabbyAndWhiteSecondIsDarkGrey) {
    const auto [white0, mean0] = WhiteShareAndDarkMean("cat0.bmp", "cat0_mask.bmp");
    const auto [white1, mean1] = WhiteShareAndDarkMean("cat1.bmp", "cat1_mask.bmp");
    EXPECT_GT(white0, 0.15);
    EXPECT_LT(white1, 0.05);
    EXPECT_GT(mean0, mean1 + 15);
    EXPECT_LT(mean1, 100);
}

TEST(Preview, BlackButForOneDiscInItsBox) {
    const Bmp preview("preview.bmp");
    int black = 0, left = 999, right = -1, top = 999, bottom = -1;
    bool blue = false, white = false;
    for (int y = 0; y < preview.height; ++y)
        for (int x = 0; x < preview.width; ++x) {
            const Rgb p = preview.At(x, y);
            if (p == kBlack) {
                ++black;
                continue;
            }
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
            const auto [r, g, b] = p;
            blue = blue || (b > 120 && r < 60);
            white = white || p == kWhite;
        }
    EXPECT_EQ(left, 4);
    EXPECT_EQ(right, 46);
    EXPECT_EQ(top, 8);
    EXPECT_EQ(bottom, 50);
    EXPECT_GT(black * 10, preview.width * preview.height * 9);
    EXPECT_TRUE(blue) << "no desktop background shows through";
    EXPECT_TRUE(white) << "no window client area shows through";
    // A disc, not a square: the box's corners are dark, its middle row and column are lit across.
    for (const auto& [x, y] :
         {std::pair{4, 8}, std::pair{46, 8}, std::pair{4, 50}, std::pair{46, 50}})
        EXPECT_EQ(preview.At(x, y), kBlack);
    for (int i = 4; i <= 46; ++i) {
        EXPECT_NE(preview.At(i, 29), kBlack) << "column " << i;
        EXPECT_NE(preview.At(25, i + 4), kBlack) << "row " << i + 4;
    }
}

TEST(InvisibleCursor, IsTheExact326ByteFile) {
    const Bytes cur = ReadRes("invisible.cur");
    ASSERT_EQ(cur.size(), 326u);
    struct Field {
        std::size_t at;
        unsigned size;
        std::uint32_t value;
    };
    const Field fields[] = {
        {0, 2, 0},           {2, 2, 2},           {4, 2, 1},  // reserved, cursor, one image
        {6, 1, 32},          {7, 1, 32},          {8, 1, 0},
        {9, 1, 0},  // 32 x 32, no colours
        {10, 2, 0},          {12, 2, 0},          {14, 4, 304},
        {18, 4, 22},  // hot spot, size, offset
        {22, 4, 40},         {26, 4, 32},         {30, 4, 64},
        {34, 2, 1},          {36, 2, 1},           // header, 32 x 64, 1 bpp
        {38, 4, 0},          {42, 4, 256},         // BI_RGB, mask bytes
        {62, 4, 0x00000000}, {66, 4, 0x00FFFFFF},  // black, white
    };
    for (const Field& f : fields) {
        const std::uint32_t got = f.size == 1   ? cur[f.at]
                                  : f.size == 2 ? U16(cur, f.at)
                                                : U32(cur, f.at);
        EXPECT_EQ(got, f.value) << "at offset " << f.at;
    }
    for (std::size_t i = 70; i < 198; ++i) ASSERT_EQ(cur[i], 0x00) << "XOR byte " << i;
    for (std::size_t i = 198; i < 326; ++i) ASSERT_EQ(cur[i], 0xFF) << "AND byte " << i;
}

struct IconCase {
    const char* file;
    int size;
    std::size_t bytes;
};

class IconPayloadTest : public testing::TestWithParam<IconCase> {};

// Palette index of a pixel of a 4-bit icon payload, counted from the top left.
int IconIndex(const Bytes& icon, int size, int x, int y) {
    const std::size_t row = std::size_t(size * 4 + 31) / 32 * 4;
    const std::uint8_t b = icon.at(40 + 64 + std::size_t(size - 1 - y) * row + std::size_t(x / 2));
    return x % 2 == 0 ? b >> 4 : b & 0x0F;
}

TEST_P(IconPayloadTest, IsA16ColourImageWithItsMask) {
    const IconCase& c = GetParam();
    const Bytes icon = ReadRes(c.file);
    ASSERT_EQ(icon.size(), c.bytes);
    EXPECT_EQ(U32(icon, 0), 40u);
    EXPECT_EQ(I32(icon, 4), c.size);
    EXPECT_EQ(I32(icon, 8), 2 * c.size);
    EXPECT_EQ(U16(icon, 12), 1u);
    EXPECT_EQ(U16(icon, 14), 4u);
    EXPECT_EQ(U32(icon, 16), 0u);
    std::set<std::uint32_t> palette;
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(icon[40 + 4 * i + 3], 0) << "palette entry " << i;
        palette.insert(U32(icon, 40 + 4 * i));
    }
    EXPECT_EQ(palette.size(), 16u);
    EXPECT_EQ(U32(icon, 40), 0x000000u);       // black first
    EXPECT_EQ(U32(icon, 40 + 60), 0xFFFFFFu);  // white last
}

INSTANTIATE_TEST_SUITE_P(Res, IconPayloadTest,
                         testing::Values(IconCase{"app_32.icoimg", 32, 744},
                                         IconCase{"app_16.icoimg", 16, 296},
                                         IconCase{"config_32.icoimg", 32, 744},
                                         IconCase{"config_16.icoimg", 16, 296}),
                         [](const auto& test) {
                             std::string name = test.param.file;
                             return name.substr(0, name.find('.'));
                         });

TEST(Icons, AppIconIsAWhiteDiscOnBlackAndOpaque) {
    for (const auto& [file, size] :
         {std::pair{"app_32.icoimg", 32}, std::pair{"app_16.icoimg", 16}}) {
        const Bytes icon = ReadRes(file);
        EXPECT_EQ(IconIndex(icon, size, size / 2, size / 2), 15) << file;
        EXPECT_EQ(IconIndex(icon, size, size / 2, 0), 0) << file;
        EXPECT_EQ(IconIndex(icon, size, 0, 0), 0) << file;
        EXPECT_EQ(IconIndex(icon, size, size - 1, size - 1), 0) << file;
        for (std::size_t i = icon.size() - std::size_t(size) * 4; i < icon.size(); ++i)
            ASSERT_EQ(icon[i], 0) << file << ": the AND mask must keep every pixel";
    }
}

TEST(Icons, DialogIconDiffersFromAppIcon) {
    for (const auto& [app, config] : {std::pair{"app_32.icoimg", "config_32.icoimg"},
                                      std::pair{"app_16.icoimg", "config_16.icoimg"}}) {
        const Bytes a = ReadRes(app), c = ReadRes(config);
        ASSERT_EQ(a.size(), c.size());
        const std::size_t bits = 40 + 64;
        int differing = 0;
        for (std::size_t i = bits; i < a.size(); ++i) differing += a[i] != c[i];
        EXPECT_GT(differing, int(a.size() - bits) / 4) << config;
    }
}

struct GroupCase {
    const char* group;
    const char* ico;
    unsigned firstId;
    const char* image32;
    const char* image16;
};

class IconGroupTest : public testing::TestWithParam<GroupCase> {};

TEST_P(IconGroupTest, DirectoryNamesItsTwoImagesAndTheIcoFileHoldsThem) {
    const GroupCase& c = GetParam();
    const Bytes group = ReadRes(c.group), ico = ReadRes(c.ico);
    const Bytes images[2] = {ReadRes(c.image32), ReadRes(c.image16)};
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(U16(group, 0), 0u);
    EXPECT_EQ(U16(group, 2), 1u);
    EXPECT_EQ(U16(group, 4), 2u);
    ASSERT_EQ(U16(ico, 4), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t g = 6 + 14 * i, e = 6 + 16 * i;
        const unsigned size = i == 0 ? 32 : 16;
        EXPECT_EQ(group[g], size);
        EXPECT_EQ(group[g + 1], size);
        EXPECT_EQ(group[g + 2], 16);
        EXPECT_EQ(group[g + 3], 0);
        EXPECT_EQ(U16(group, g + 4), 1u);
        EXPECT_EQ(U16(group, g + 6), 4u);
        EXPECT_EQ(U32(group, g + 8), images[i].size());
        EXPECT_EQ(U16(group, g + 12), c.firstId + i);
        // The .ico entry is the group entry with a file offset in place of the id.
        EXPECT_TRUE(std::equal(group.begin() + std::ptrdiff_t(g),
                               group.begin() + std::ptrdiff_t(g + 12),
                               ico.begin() + std::ptrdiff_t(e)));
        const std::uint32_t offset = U32(ico, e + 12);
        ASSERT_LE(offset + images[i].size(), ico.size());
        EXPECT_TRUE(
            std::equal(images[i].begin(), images[i].end(), ico.begin() + std::ptrdiff_t(offset)));
    }
    EXPECT_EQ(ico.size(), 6 + 2 * 16 + images[0].size() + images[1].size());
}

INSTANTIATE_TEST_SUITE_P(Res, IconGroupTest,
                         testing::Values(GroupCase{"app.icogrp", "app.ico", 30001, "app_32.icoimg",
                                                   "app_16.icoimg"},
                                         GroupCase{"config.icogrp", "config.ico", 30003,
                                                   "config_32.icoimg", "config_16.icoimg"}),
                         [](const auto& test) {
                             std::string name = test.param.group;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
