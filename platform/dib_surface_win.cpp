#include "platform/dib_surface_win.h"

#include <string>

#include "platform/error.h"

namespace gloam {

BITMAPINFO TopDownDibInfo(int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void PaintPicture(HDC dc, int32_t x, int32_t y, PixelView picture) {
    // Rows `stride` pixels apart: the header's width is the stride, the copy's the picture's.
    const BITMAPINFO info = TopDownDibInfo(picture.stride, picture.height);
    ::SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(picture.width),
                        static_cast<DWORD>(picture.height), 0, 0, 0,
                        static_cast<UINT>(picture.height), picture.pixels, &info, DIB_RGB_COLORS);
}

DibSurface::~DibSurface() {
    Release();
}

void DibSurface::Release() {
    selected_.reset();
    bitmap_.reset();
    dc_.reset();
    view_ = PixelView{};
}

void DibSurface::Resize(int32_t width, int32_t height) {
    Release();
    if (width <= 0 || height <= 0) return;

    const BITMAPINFO info = TopDownDibInfo(width, height);
    dc_.reset(::CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc_ || !bitmap_ || !bits) {
        Release();
        throw RuntimeError("Out of memory: a picture of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels cannot be made.");
    }
    selected_.emplace(dc_.get(), bitmap_.get());
    // A fresh DIB section is zero-filled: black.
    view_ = PixelView{static_cast<uint32_t*>(bits), width, height, width};
}

}  // namespace gloam
