#include "input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "environment.h"
#include "wait.h"

namespace e2e {
namespace {

void SendOne(INPUT input) {
    if (SendInput(1, &input, sizeof(INPUT)) != 1) {
        ADD_FAILURE() << "SendInput failed, error " << GetLastError();
    }
}

INPUT KeyInput(WORD vk, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = flags;
    return in;
}

}  // namespace

POINT CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

void MoveCursorTo(int x, int y) {
    const auto there = [&] {
        const POINT p = CursorPos();
        return p.x == x && p.y == y;
    };
    for (int attempt = 0; attempt < 4; ++attempt) {
        SetCursorPos(x, y);
        if (WaitUntil(there, 500ms, 5ms)) return;
        // After the monitors change, the system may still confine the pointer to the screen as it
        // was; lifting the confinement lets it go wherever the monitors are now.
        ClipCursor(nullptr);
    }
    const POINT p = CursorPos();
    ADD_FAILURE() << "pointer did not reach (" << x << ", " << y << "), it is at (" << p.x << ", "
                  << p.y << ")";
}

void MoveCursorBy(int dx, int dy) {
    const POINT p = CursorPos();
    MoveCursorTo(p.x + dx, p.y + dy);
}

void MouseButtonDown(DWORD button) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = button;
    SendOne(in);
}

void MouseButtonUp(DWORD button) {
    // Each *UP flag is its *DOWN flag shifted left by one.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = button << 1;
    SendOne(in);
}

void Click(DWORD button) {
    MouseButtonDown(button);
    MouseButtonUp(button);
}

void ClickOn(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MoveCursorTo(middle.x, middle.y);
    // On a loaded machine Wine may still deliver an earlier pointer motion after the move and put
    // the pointer back; press only once it has stayed there, over the window's own top-level
    // window (a group box may lie over an option), for a moment.
    int steady = 0;
    const bool settled = WaitUntil(
        [&] {
            const POINT p = CursorPos();
            const bool on =
                p.x == middle.x && p.y == middle.y &&
                GetAncestor(WindowFromPoint(p), GA_ROOT) == GetAncestor(window, GA_ROOT);
            steady = on ? steady + 1 : 0;
            if (!on) SetCursorPos(middle.x, middle.y);
            return steady >= 3;
        },
        2s, 10ms);
    if (!settled) {
        const POINT p = CursorPos();
        ADD_FAILURE() << "the pointer did not stay on the window to click: it is at (" << p.x
                      << ", " << p.y << ")";
    }
    Click();
}

void KeyDown(WORD vk) {
    SendOne(KeyInput(vk, 0));
}

void KeyUp(WORD vk) {
    SendOne(KeyInput(vk, KEYEVENTF_KEYUP));
}

void Press(WORD vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void PressWith(WORD modifier, WORD vk) {
    HeldKey held(modifier);
    Press(vk);
}

HeldKey::HeldKey(WORD vk) : vk_(vk) {
    KeyDown(vk_);
}

HeldKey::~HeldKey() {
    Release();
}

void HeldKey::Release() {
    if (!down_) return;
    down_ = false;
    KeyUp(vk_);
}

HeldKeyboardKey::HeldKeyboardKey(WORD vk, const char* keysym)
    : vk_(vk), keysym_(keysym, keysym + std::strlen(keysym)) {
    if (!UnderWine()) {
        KeyDown(vk_);
        down_ = true;
        return;
    }
    const std::optional<int> status = RunUnix(L"/usr/bin/xdotool keydown " + keysym_);
    down_ = status == 0;
    if (!down_) ADD_FAILURE() << "xdotool could not press " << keysym;
}

HeldKeyboardKey::~HeldKeyboardKey() {
    Release();
}

void HeldKeyboardKey::Release() {
    if (!down_) return;
    down_ = false;
    if (!UnderWine()) {
        KeyUp(vk_);
    } else if (RunUnix(L"/usr/bin/xdotool keyup " + keysym_) != 0) {
        ADD_FAILURE() << "xdotool could not release the key";
    }
}

}  // namespace e2e
