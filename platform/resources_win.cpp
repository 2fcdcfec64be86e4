#include "platform/resources_win.h"

#include <span>
#include <string>

#include "platform/app_win.h"
#include "platform/dib.h"
#include "platform/error.h"

namespace gloam {

Surface LoadBitmapResource(int32_t id) {
    const std::string what = "resource " + std::to_string(id);
    HRSRC info = ::FindResourceW(app::Instance(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
    HGLOBAL data = info ? ::LoadResource(app::Instance(), info) : nullptr;
    const void* bytes = data ? ::LockResource(data) : nullptr;
    if (!bytes) throw RuntimeError("The bitmap " + what + " is missing from the program.");
    const auto size = ::SizeofResource(app::Instance(), info);
    return DecodeDib(std::span(static_cast<const std::byte*>(bytes), size), what.c_str());
}

PixelView ResourceBitmapLoader::Load(int32_t id) {
    held_ = LoadBitmapResource(id);
    return held_.View();
}

HICON LoadIconResource(int id, int size) {
    return static_cast<HICON>(
        ::LoadImageW(app::Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

HCURSOR LoadCursorResource(int id) {
    return static_cast<HCURSOR>(
        ::LoadImageW(app::Instance(), MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

}  // namespace gloam
