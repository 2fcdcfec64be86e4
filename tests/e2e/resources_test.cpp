// The resources of GloamDrift.scr as Windows reads them: version information, the application
// icon, the invisible pointer and the four cat bitmaps. Nothing of the program runs here: the
// file is loaded as data.
#include <cstring>

#include "harness.h"
#include "resource.h"

namespace e2e {
namespace {

constexpr WORD kJapanese = 0x0411;

template <typename T>
T ReadAt(const std::vector<std::uint8_t>& data, size_t offset) {
    T value{};
    if (offset + sizeof(T) <= data.size()) std::memcpy(&value, data.data() + offset, sizeof(T));
    return value;
}

// ---- version ------------------------------------------------------------------------------------

class VersionResource : public ::testing::Test {
  protected:
    void SetUp() override {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(ScrPath().c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version information in " << Narrow(ScrPath());
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(ScrPath().c_str(), 0, size, block_.data()));
    }

    std::optional<std::wstring> String(const wchar_t* name) {
        std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block_.data(), path.c_str(), &value, &length) || !value) {
            return std::nullopt;
        }
        std::wstring text(static_cast<const wchar_t*>(value), length);
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        return text;
    }

    std::vector<std::uint8_t> block_;
};

TEST_F(VersionResource, FixedVersionIs1_1_0_0) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\", &value, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);
}

TEST_F(VersionResource, OneTranslationJapaneseUnicode) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u) << "expected exactly one language and code page pair";
    const auto* pair = static_cast<const WORD*>(value);
    EXPECT_EQ(pair[0], kJapanese);
    EXPECT_EQ(pair[1], 1200);
}

struct VersionString {
    const wchar_t* name;
    const wchar_t* exact;     // nullptr: any non-empty text
    const wchar_t* contains;  // nullptr: nothing required
};

void PrintTo(const VersionString& v, std::ostream* os) {
    *os << Narrow(v.name);
}

std::string StringName(const ::testing::TestParamInfo<VersionString>& param) {
    return Narrow(param.param.name);
}

class VersionStrings : public VersionResource,
                       public ::testing::WithParamInterface<VersionString> {};

TEST_P(VersionStrings, Present) {
    const VersionString expected = GetParam();
    auto text = String(expected.name);
    ASSERT_TRUE(text.has_value()) << Narrow(expected.name) << " missing from block 041104B0";
    EXPECT_FALSE(text->empty()) << Narrow(expected.name) << " is empty";
    if (expected.exact) {
        EXPECT_EQ(Narrow(*text), Narrow(expected.exact));
    }
    if (expected.contains) {
        EXPECT_TRUE(ContainsNoCase(*text, expected.contains))
            << Narrow(expected.name) << " = \"" << Narrow(*text) << "\" lacks \""
            << Narrow(expected.contains) << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Resources, VersionStrings,
    ::testing::Values(VersionString{L"FileVersion", L"1.01", nullptr},
                      VersionString{L"ProductVersion", L"1.01", nullptr},
                      VersionString{L"ProductName", L"Gloam Drift Screen Saver", nullptr},
                      VersionString{L"InternalName", L"GloamDrift", nullptr},
                      VersionString{L"OriginalFilename", L"GloamDrift.scr", nullptr},
                      VersionString{L"FileDescription", nullptr, L"spot"},
                      VersionString{L"CompanyName", nullptr, nullptr},
                      VersionString{L"Comments", nullptr, nullptr},
                      VersionString{L"LegalCopyright", nullptr, L"MIT"}),
    StringName);

// ---- icon ---------------------------------------------------------------------------------------

struct IconImage {
    WORD id;
    int size;
};

// Colour of pixel (x, y), counted from the top, of a 4-bit RT_ICON image; nullopt where the AND
// mask makes it transparent.
std::optional<std::uint32_t> IconPixel(const std::vector<std::uint8_t>& image, int size, int x,
                                       int y) {
    const size_t palette = 40;
    const size_t xorBits = palette + 16 * 4;
    const size_t xorStride = static_cast<size_t>((size * 4 + 31) / 32 * 4);
    const size_t andBits = xorBits + xorStride * size;
    const size_t andStride = static_cast<size_t>((size + 31) / 32 * 4);
    const size_t row = static_cast<size_t>(size - 1 - y);  // bottom-up
    std::uint8_t mask = ReadAt<std::uint8_t>(image, andBits + row * andStride + x / 8);
    if (mask & (0x80 >> (x % 8))) return std::nullopt;
    std::uint8_t pair = ReadAt<std::uint8_t>(image, xorBits + row * xorStride + x / 2);
    unsigned index = (x % 2 == 0) ? (pair >> 4) : (pair & 0x0F);
    RGBQUAD colour = ReadAt<RGBQUAD>(image, palette + index * 4);
    return (std::uint32_t{colour.rgbRed} << 16) | (std::uint32_t{colour.rgbGreen} << 8) |
           colour.rgbBlue;
}

TEST(IconResource, GroupOneHolds32And16PixelSixteenColourImages) {
    ResourceFile scr;
    ASSERT_TRUE(scr.loaded()) << Narrow(ScrPath());
    auto group = scr.Find(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APP));
    ASSERT_TRUE(group.has_value()) << "no icon group 1";
    ASSERT_GE(group->size(), 6u);
    EXPECT_EQ(ReadAt<WORD>(*group, 0), 0);
    EXPECT_EQ(ReadAt<WORD>(*group, 2), 1) << "not an icon directory";
    const WORD count = ReadAt<WORD>(*group, 4);
    ASSERT_EQ(count, 2);
    ASSERT_EQ(group->size(), 6u + 14u * count);

    const IconImage expected[] = {{IDI_APP_32, 32}, {IDI_APP_16, 16}};
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const size_t entry = 6 + 14 * static_cast<size_t>(i);
        EXPECT_EQ(ReadAt<BYTE>(*group, entry + 0), expected[i].size);
        EXPECT_EQ(ReadAt<BYTE>(*group, entry + 1), expected[i].size);
        const BYTE colours = ReadAt<BYTE>(*group, entry + 2);
        const WORD bits = ReadAt<WORD>(*group, entry + 6);
        EXPECT_TRUE(colours == 16 || bits == 4) << "colours " << int{colours} << ", bits " << bits;
        EXPECT_EQ(ReadAt<WORD>(*group, entry + 12), expected[i].id);

        auto image = scr.Find(RT_ICON, MAKEINTRESOURCEW(expected[i].id));
        ASSERT_TRUE(image.has_value()) << "no icon image " << expected[i].id;
        EXPECT_EQ(image->size(), ReadAt<DWORD>(*group, entry + 8));
        const auto header = ReadAt<BITMAPINFOHEADER>(*image, 0);
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biWidth, expected[i].size);
        EXPECT_EQ(header.biHeight, expected[i].size * 2);
        ASSERT_EQ(header.biBitCount, 4) << "16 colours";
        const int n = expected[i].size;
        // A white disc on a black square: white in the middle, black in the corners, opaque.
        EXPECT_EQ(IconPixel(*image, n, n / 2, n / 2), std::optional<std::uint32_t>(0xFFFFFF));
        for (auto [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}}) {
            EXPECT_EQ(IconPixel(*image, n, x, y), std::optional<std::uint32_t>(0x000000))
                << "corner (" << x << ", " << y << ")";
        }
    }
}

// ---- cursor -------------------------------------------------------------------------------------

TEST(CursorResource, InvisiblePointerAsInTheCursorFile) {
    ResourceFile scr;
    ASSERT_TRUE(scr.loaded()) << Narrow(ScrPath());
    auto group = scr.Find(RT_GROUP_CURSOR, MAKEINTRESOURCEW(IDC_INVISIBLE));
    ASSERT_TRUE(group.has_value()) << "no cursor group 1";
    ASSERT_EQ(group->size(), 6u + 14u);
    EXPECT_EQ(ReadAt<WORD>(*group, 2), 2) << "not a cursor directory";
    ASSERT_EQ(ReadAt<WORD>(*group, 4), 1) << "one image";
    EXPECT_EQ(ReadAt<WORD>(*group, 6), 32);  // width
    const WORD height = ReadAt<WORD>(*group, 8);
    EXPECT_TRUE(height == 32 || height == 64) << height;
    EXPECT_EQ(ReadAt<WORD>(*group, 12), 1);  // bits per pixel
    EXPECT_EQ(ReadAt<DWORD>(*group, 14), 308u);
    const WORD id = ReadAt<WORD>(*group, 18);

    // The 304 image bytes of the 326-byte cursor file, after a 4-byte hot spot.
    auto image = scr.Find(RT_CURSOR, MAKEINTRESOURCEW(id));
    ASSERT_TRUE(image.has_value()) << "no cursor image " << id;
    ASSERT_EQ(image->size(), 308u);
    EXPECT_EQ(ReadAt<WORD>(*image, 0), 0) << "hot spot x";
    EXPECT_EQ(ReadAt<WORD>(*image, 2), 0) << "hot spot y";
    const auto header = ReadAt<BITMAPINFOHEADER>(*image, 4);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 1);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biSizeImage, 256u);
    EXPECT_EQ(ReadAt<DWORD>(*image, 44), 0x00000000u) << "palette entry 0: black";
    EXPECT_EQ(ReadAt<DWORD>(*image, 48), 0x00FFFFFFu) << "palette entry 1: white";
    for (size_t i = 52; i < 52 + 128; ++i) ASSERT_EQ((*image)[i], 0x00) << "XOR mask byte " << i;
    for (size_t i = 180; i < 180 + 128; ++i) ASSERT_EQ((*image)[i], 0xFF) << "AND mask byte " << i;
}

// ---- cats ---------------------------------------------------------------------------------------

// Checks the format every cat bitmap shares and decodes it.
void DecodeCatBitmap(const ResourceFile& scr, WORD id, int width, int height, Surface& out) {
    SCOPED_TRACE("bitmap " + std::to_string(id));
    EXPECT_EQ(scr.Languages(RT_BITMAP, MAKEINTRESOURCEW(id)), std::vector<WORD>{kJapanese});
    auto data = scr.Find(RT_BITMAP, MAKEINTRESOURCEW(id), kJapanese);
    ASSERT_TRUE(data.has_value()) << "no bitmap " << id << " in language 0x0411";
    const auto header = ReadAt<BITMAPINFOHEADER>(*data, 0);
    ASSERT_EQ(header.biSize, 40u);
    ASSERT_EQ(header.biWidth, width);
    ASSERT_EQ(header.biHeight, height) << "rows stored bottom-up";
    EXPECT_EQ(header.biPlanes, 1);
    ASSERT_EQ(header.biBitCount, 24);
    ASSERT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biClrUsed, 0u);
    EXPECT_EQ(header.biXPelsPerMeter, 2835);
    EXPECT_EQ(header.biYPelsPerMeter, 2835);
    const size_t stride = static_cast<size_t>((width * 3 + 3) / 4 * 4);
    ASSERT_EQ(data->size(), 40 + stride * static_cast<size_t>(height));

    const std::optional<Surface> decoded = DecodeBitmap(*data);
    ASSERT_TRUE(decoded.has_value());
    out = *decoded;
}

struct Cat {
    const char* name;
    WORD picture;
    WORD mask;
    int width;
    int height;
    int nearWhiteFringe;  // picture pixels under black mask that may be near-white, not pure white
};

void PrintTo(const Cat& c, std::ostream* os) {
    *os << "bitmaps " << c.picture << " and " << c.mask;
}

class CatBitmaps : public ::testing::TestWithParam<Cat> {};

TEST_P(CatBitmaps, PictureAndMaskAgree) {
    const Cat cat = GetParam();
    ResourceFile scr;
    ASSERT_TRUE(scr.loaded()) << Narrow(ScrPath());
    Surface picture, mask;
    ASSERT_NO_FATAL_FAILURE(DecodeCatBitmap(scr, cat.picture, cat.width, cat.height, picture));
    ASSERT_NO_FATAL_FAILURE(DecodeCatBitmap(scr, cat.mask, cat.width, cat.height, mask));

    int maskWhite = 0, maskBlack = 0, fringe = 0, catPixels = 0;
    for (int y = 0; y < cat.height; ++y) {
        for (int x = 0; x < cat.width; ++x) {
            const std::uint32_t m = mask.At(x, y);
            const std::uint32_t p = picture.At(x, y);
            ASSERT_TRUE(m == 0x000000 || m == 0xFFFFFF)
                << "mask pixel (" << x << ", " << y << ") is neither black nor white";
            if (m == 0xFFFFFF) {
                ++maskWhite;
                if (p != 0xFFFFFF) ++catPixels;
                continue;
            }
            ++maskBlack;
            if (p == 0xFFFFFF) continue;
            const unsigned r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
            const bool nearWhite = r >= 243 && g >= 243 && b >= 243;
            ASSERT_TRUE(nearWhite && fringe < cat.nearWhiteFringe)
                << "picture pixel (" << x << ", " << y << ") under black mask is not white";
            ++fringe;
        }
    }
    // A silhouette, not an empty or full mask, and a picture that is more than its background.
    EXPECT_GT(maskWhite, cat.width * cat.height / 4);
    EXPECT_GT(maskBlack, cat.width * cat.height / 10);
    EXPECT_GT(catPixels, maskWhite / 2);
}

INSTANTIATE_TEST_SUITE_P(Resources, CatBitmaps,
                         ::testing::Values(Cat{"cat0", IDB_CAT0, IDB_CAT0_MASK, 105, 170, 0},
                                           Cat{"cat1", IDB_CAT1, IDB_CAT1_MASK, 100, 185, 99}),
                         ByName());

}  // namespace
}  // namespace e2e
