#include "pattern.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "resource.h"

namespace e2e {

FrameScan ScanFrame(const Surface& shot) {
    FrameScan scan;
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = 0; y < shot.Height(); ++y) {
        const std::uint32_t* row = shot.View().Row(y);
        for (int x = 0; x < shot.Width(); ++x) {
            if (row[x] == 0) continue;
            ++scan.lit;
            if (row[x] != PatternColour(x, y) && ++scan.mismatched <= 3) {
                char text[64];
                std::snprintf(text, sizeof text, " (%d, %d) %06x for %06x;", x, y,
                              static_cast<unsigned>(row[x]),
                              static_cast<unsigned>(PatternColour(x, y)));
                scan.examples += text;
            }
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (scan.lit > 0) scan.bounds = gloam::Rect{left, top, right, bottom};
    return scan;
}

gloam::Rect SpotMask::Disc() const {
    gloam::Rect box{size, size, 0, 0};
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

std::optional<SpotMask> LoadSpotMask() {
    const std::optional<Surface> bitmap = LoadBitmapResource(IDB_SPOT);
    if (!bitmap || bitmap->Width() != bitmap->Height()) return std::nullopt;
    const int size = bitmap->Width();
    SpotMask mask{size, std::vector<bool>(static_cast<size_t>(size) * size)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            mask.white[static_cast<size_t>(y) * size + x] = bitmap->At(x, y) != 0;
    }
    return mask;
}

void PatternDisplayTest::StartDisplayOverPattern(const wchar_t* speed, const wchar_t* size,
                                                 std::optional<RECT> area) {
    pattern_ = area ? std::make_unique<PatternWindow>(*area) : std::make_unique<PatternWindow>();
    ASSERT_TRUE(pattern_->WaitShown()) << "the test's pattern never reached the screen";
    ASSERT_NO_FATAL_FAILURE(StartDisplay(speed, size));
    // Until the window's first paint reaches the screen, the pattern still shows there.
    ASSERT_TRUE(WaitUntil([] { return ShareOf(CaptureScreen(), 0x000000) > 0.5; }, 5s, 20ms))
        << "the display never blacked out the screen";
}

void PatternDisplayTest::TearDown() {
    DisplayRunTest::TearDown();
    pattern_.reset();
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
