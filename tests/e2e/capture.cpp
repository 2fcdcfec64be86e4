#include "bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/handles_win.h"

namespace e2e {

double Bitmap::ShareOf(std::uint32_t colour) const {
    if (pixels.empty()) return 0.0;
    const auto n = std::count(pixels.begin(), pixels.end(), colour);
    return static_cast<double>(n) / static_cast<double>(pixels.size());
}

std::optional<Bitmap> DecodeDib24(std::span<const std::uint8_t> dib) {
    BITMAPINFOHEADER header{};
    if (dib.size() < sizeof header) return std::nullopt;
    std::memcpy(&header, dib.data(), sizeof header);
    if (header.biSize < sizeof header || header.biBitCount != 24 ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0) {
        return std::nullopt;
    }
    const bool top_down = header.biHeight < 0;
    Bitmap bitmap{header.biWidth, top_down ? -header.biHeight : header.biHeight, {}};
    const size_t stride = (static_cast<size_t>(bitmap.width) * 3 + 3) & ~size_t{3};
    const size_t offset = header.biSize + static_cast<size_t>(header.biClrUsed) * 4;
    if (dib.size() < offset + stride * static_cast<size_t>(bitmap.height)) return std::nullopt;
    bitmap.pixels.resize(static_cast<size_t>(bitmap.width) * bitmap.height);
    for (int y = 0; y < bitmap.height; ++y) {
        const int stored = top_down ? y : bitmap.height - 1 - y;
        const std::uint8_t* row = dib.data() + offset + stride * static_cast<size_t>(stored);
        for (int x = 0; x < bitmap.width; ++x) {
            // Each pixel blue, green, red.
            const std::uint8_t* p = row + 3 * static_cast<size_t>(x);
            bitmap.pixels[static_cast<size_t>(y) * bitmap.width + x] =
                (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
        }
    }
    return bitmap;
}

Bitmap CaptureScreen(const RECT& area) {
    Bitmap shot{area.right - area.left, area.bottom - area.top, {}};
    if (shot.width <= 0 || shot.height <= 0) return Bitmap{};
    const gloam::unique_hdc_window screen(nullptr);
    const gloam::unique_hdc memory(CreateCompatibleDC(screen.get()));
    const BITMAPINFO info = TopDown32(shot.width, shot.height);
    void* bits = nullptr;
    const gloam::unique_hbitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) {
        ADD_FAILURE() << "cannot make a DIB section for the screenshot";
        return Bitmap{};
    }
    {
        const gloam::select_object_guard select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), area.left, area.top,
               SRCCOPY | CAPTUREBLT);
        GdiFlush();
        const auto* src = static_cast<const std::uint32_t*>(bits);
        shot.pixels.assign(src, src + static_cast<size_t>(shot.width) * shot.height);
    }
    for (auto& p : shot.pixels) p &= 0x00FFFFFFu;
    return shot;
}

Bitmap CaptureScreen() {
    return CaptureScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

std::uint32_t PatternColour(int x, int y) {
    const unsigned cx = static_cast<unsigned>(x) / 8;
    const unsigned cy = static_cast<unsigned>(y) / 8;
    const unsigned r = 0x20 + (cx * 29u) % 0xC0u;
    const unsigned g = 0x20 + (cy * 53u) % 0xC0u;
    const unsigned b = 0x20 + ((cx + cy) * 17u) % 0xC0u;
    return (r << 16) | (g << 8) | b;
}

}  // namespace e2e
