#include "platform/dib_surface_win.h"

#include <string>

#include "platform/error.h"

namespace gloam {

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

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

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
