// Base of every form: one window class per form, `this` passed through CreateWindowExW and kept
// on WM_NCCREATE, messages dispatched to the derived class's HandleMessage. No exception leaves
// the window procedure: a failure is reported and ends the process right there.
#pragma once

#include <windows.h>

#include <exception>

#include "platform/app_win.h"
#include "platform/error.h"

namespace gloam {

template <typename Derived>
class BaseWindow {
  public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    HWND Window() const { return window_; }

  protected:
    // Registers the class on first use, with its icons, cursor and background brush.
    static void RegisterWindowClass(const wchar_t* class_name, UINT style, HICON icon,
                                    HICON small_icon, HCURSOR cursor, HBRUSH background) {
        WNDCLASSEXW wc{};
        if (::GetClassInfoExW(app::Instance(), class_name, &wc)) return;
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = &BaseWindow::WindowProc;
        wc.hInstance = app::Instance();
        wc.hIcon = icon;
        wc.hIconSm = small_icon;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = class_name;
        if (!::RegisterClassExW(&wc)) throw RuntimeError("The window class cannot be registered.");
    }

    void CreateFormWindow(const wchar_t* class_name, const wchar_t* title, DWORD style,
                          DWORD ex_style, int x, int y, int width, int height, HWND parent) {
        ::CreateWindowExW(ex_style, class_name, title, style, x, y, width, height, parent, nullptr,
                          app::Instance(), this);
        if (!window_) throw RuntimeError("The window cannot be created.");
    }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (app::Reporting()) return ::DefWindowProcW(window, message, wparam, lparam);
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            self = static_cast<Derived*>(static_cast<BaseWindow*>(create->lpCreateParams));
            self->window_ = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            app::FormCreated();
        } else {
            self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        if (!self) return ::DefWindowProcW(window, message, wparam, lparam);

        LRESULT result = 0;
        try {
            result = self->HandleMessage(message, wparam, lparam);
        } catch (const std::exception& error) {
            app::ReportRuntimeError(error.what());
        } catch (...) {
            app::ReportRuntimeError("An unexpected error stopped the program.");
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            app::FormDestroyed();
        }
        return result;
    }

    HWND window_ = nullptr;
};

// A form's one instance, made on first use and kept for the life of the process; frmMain(),
// frmConfig() and frmPreview() hand it out.
template <typename Form>
Form& OnlyInstance() {
    static Form form;
    return form;
}

}  // namespace gloam
