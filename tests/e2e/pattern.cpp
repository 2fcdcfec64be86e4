#include "pattern.h"

#include <algorithm>
#include <climits>

#include "resource.h"

namespace e2e {

FrameScan ScanFrame(const Screenshot& shot) {
    FrameScan scan;
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = 0; y < shot.height; ++y) {
        const std::uint32_t* row = &shot.pixels[static_cast<size_t>(y) * shot.width];
        for (int x = 0; x < shot.width; ++x) {
            if (row[x] == 0) continue;
            ++scan.lit;
            if (row[x] != PatternColour(x, y)) ++scan.mismatched;
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (scan.lit > 0) scan.bounds = Box{left, top, right, bottom};
    return scan;
}

Box SpotMask::Disc() const {
    Box box{size, size, 0, 0};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (!at(x, y)) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x + 1);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

std::optional<ResourceBitmap> LoadBitmapResource(int id) {
    ResourceFile scr;
    if (!scr.loaded()) return std::nullopt;
    auto bytes = scr.Find(MAKEINTRESOURCEW(2) /* RT_BITMAP */, MAKEINTRESOURCEW(id));
    if (!bytes || bytes->size() < sizeof(BITMAPINFOHEADER)) return std::nullopt;
    BITMAPINFOHEADER header;
    std::copy_n(bytes->data(), sizeof header, reinterpret_cast<std::uint8_t*>(&header));
    if (header.biBitCount != 24 || header.biCompression != BI_RGB || header.biWidth <= 0 ||
        header.biHeight <= 0) {
        return std::nullopt;
    }
    ResourceBitmap bitmap{header.biWidth, header.biHeight, {}};
    const size_t stride = (static_cast<size_t>(bitmap.width) * 3 + 3) & ~size_t{3};
    const size_t offset = header.biSize;
    if (bytes->size() < offset + stride * bitmap.height) return std::nullopt;
    bitmap.pixels.resize(static_cast<size_t>(bitmap.width) * bitmap.height);
    for (int y = 0; y < bitmap.height; ++y) {
        // Stored bottom row first, each pixel blue, green, red.
        const std::uint8_t* row = bytes->data() + offset + stride * (bitmap.height - 1 - y);
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint8_t* p = row + 3 * x;
            bitmap.pixels[static_cast<size_t>(y) * bitmap.width + x] =
                (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
        }
    }
    return bitmap;
}

std::optional<SpotMask> LoadSpotMask() {
    std::optional<ResourceBitmap> bitmap = LoadBitmapResource(IDB_SPOT);
    if (!bitmap || bitmap->width != bitmap->height) return std::nullopt;
    SpotMask mask{bitmap->width, std::vector<bool>(bitmap->pixels.size())};
    for (size_t i = 0; i < bitmap->pixels.size(); ++i) mask.white[i] = bitmap->pixels[i] != 0;
    return mask;
}

void WriteDisplaySettings(const wchar_t* speed, const wchar_t* size) {
    WriteRegString(kSettingsKey, L"Speed", speed);
    WriteRegString(kSettingsKey, L"Size", size);
}

void PatternDisplayTest::StartDisplay(const wchar_t* speed, const wchar_t* size) {
    WriteDisplaySettings(speed, size);
    pattern_ = std::make_unique<PatternWindow>();
    ASSERT_TRUE(pattern_->WaitShown()) << "the test's pattern never reached the screen";
    scr_ = std::make_unique<ScrProcess>(L"/S");
    ASSERT_TRUE(scr_->WaitForVisibleWindow(kDisplayClass, kDisplayTitle).has_value())
        << "the display window never showed";
    // Until the window's first paint reaches the screen, the pattern still shows there.
    ASSERT_TRUE(WaitUntil(
        [] {
            const Screenshot shot = CaptureScreen();
            return !shot.pixels.empty() && shot.ShareOf(0x000000) > 0.5;
        },
        5s, 20ms))
        << "the display never blacked out the screen";
}

void PatternDisplayTest::TearDown() {
    scr_.reset();
    pattern_.reset();
    ScrTest::TearDown();
}

namespace {

constexpr std::int64_t kFileTimeTicksPerMinute = 60LL * 10'000'000;

std::int64_t LocalFileTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    return (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

}  // namespace

std::int64_t LocalMinute() {
    return LocalFileTime() / kFileTimeTicksPerMinute;
}

Millis UntilLocalMinute(std::int64_t minute) {
    return Millis((minute * kFileTimeTicksPerMinute - LocalFileTime()) / 10'000);
}

}  // namespace e2e
