// RAII owners for the Win32 handles the program uses: one wrapper per release function, copies
// deleted, moves allowed.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <utility>

namespace gloam {

// Owns one handle and gives it to `Close` when it goes. One instantiation per release function,
// so a handle can only be released the way it was obtained.
template <typename Handle, auto Close>
class unique_any {
  public:
    unique_any() = default;
    explicit unique_any(Handle handle) : handle_(handle) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    ~unique_any() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Close(handle_);
        handle_ = handle;
    }
    Handle release() { return std::exchange(handle_, Handle{}); }

  private:
    Handle handle_{};
};

// A memory DC from CreateCompatibleDC.
using unique_hdc = unique_any<HDC, &::DeleteDC>;
using unique_hbitmap = unique_any<HBITMAP, &::DeleteObject>;
using unique_hfont = unique_any<HFONT, &::DeleteObject>;
using unique_hbrush = unique_any<HBRUSH, &::DeleteObject>;
using unique_hkey = unique_any<HKEY, &::RegCloseKey>;
// An icon from LoadImage without LR_SHARED.
using unique_hicon = unique_any<HICON, &::DestroyIcon>;
// A kernel object: process, thread, event.
using unique_handle = unique_any<HANDLE, &::CloseHandle>;
using unique_hmodule = unique_any<HMODULE, &::FreeLibrary>;
using unique_hhook = unique_any<HHOOK, &::UnhookWindowsHookEx>;
// A window the owner made with CreateWindowEx.
using unique_hwnd = unique_any<HWND, &::DestroyWindow>;

// Memory the system handed out with CoTaskMemAlloc (SHGetKnownFolderPath, COM out-strings).
using unique_cotaskmem_string = unique_any<wchar_t*, &::CoTaskMemFree>;

// A COM interface pointer, released when it goes; moved, never copied (the move operations leave
// no copy). put() hands the slot to a call that fills it.
template <typename Interface>
class com_ptr {
  public:
    com_ptr() = default;
    com_ptr(com_ptr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    com_ptr& operator=(com_ptr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ~com_ptr() { reset(); }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface** put() {
        reset();
        return &pointer_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

  private:
    Interface* pointer_ = nullptr;
};

// COM on the calling thread, in a single-threaded apartment, for as long as the object lives.
class com_apartment {
  public:
    com_apartment()
        : initialized_(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    com_apartment(const com_apartment&) = delete;
    com_apartment& operator=(const com_apartment&) = delete;
    ~com_apartment() {
        if (initialized_) ::CoUninitialize();
    }

  private:
    bool initialized_;
};

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

// A window's DC for WM_PAINT from BeginPaint, ended with EndPaint; paint() tells what to repaint.
class unique_hdc_paint {
  public:
    explicit unique_hdc_paint(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    unique_hdc_paint(const unique_hdc_paint&) = delete;
    unique_hdc_paint& operator=(const unique_hdc_paint&) = delete;
    ~unique_hdc_paint() { ::EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return paint_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
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
