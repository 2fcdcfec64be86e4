// RAII owners for the Win32 handles the program uses: one wrapper per release function, copies
// deleted, moves allowed.
#pragma once

#include <windows.h>

#include <utility>

namespace gloam {

template <typename Handle, typename Traits>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Traits::Close(handle_);
        handle_ = handle;
    }
    Handle release() { return std::exchange(handle_, Handle{}); }

  private:
    Handle handle_{};
};

struct DeleteDcTraits {
    static void Close(HDC dc) { ::DeleteDC(dc); }
};
struct RegCloseKeyTraits {
    static void Close(HKEY key) { ::RegCloseKey(key); }
};

struct DeleteBitmapTraits {
    static void Close(HBITMAP bitmap) { ::DeleteObject(bitmap); }
};
struct DeleteFontTraits {
    static void Close(HFONT font) { ::DeleteObject(font); }
};
struct DeleteBrushTraits {
    static void Close(HBRUSH brush) { ::DeleteObject(brush); }
};
struct DestroyIconTraits {
    static void Close(HICON icon) { ::DestroyIcon(icon); }
};

// A memory DC from CreateCompatibleDC.
using unique_hdc = UniqueHandle<HDC, DeleteDcTraits>;
using unique_hbitmap = UniqueHandle<HBITMAP, DeleteBitmapTraits>;
using unique_hfont = UniqueHandle<HFONT, DeleteFontTraits>;
using unique_hbrush = UniqueHandle<HBRUSH, DeleteBrushTraits>;
using unique_hkey = UniqueHandle<HKEY, RegCloseKeyTraits>;
// An icon from LoadImage without LR_SHARED.
using unique_hicon = UniqueHandle<HICON, DestroyIconTraits>;

// A window's DC from GetDC, given back to the same window with ReleaseDC.
class unique_hdc_window {
  public:
    explicit unique_hdc_window(HWND window) : window_(window), dc_(::GetDC(window)) {}
    unique_hdc_window(const unique_hdc_window&) = delete;
    unique_hdc_window& operator=(const unique_hdc_window&) = delete;
    ~unique_hdc_window() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class select_object_guard {
  public:
    select_object_guard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    select_object_guard(const select_object_guard&) = delete;
    select_object_guard& operator=(const select_object_guard&) = delete;
    ~select_object_guard() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace gloam
