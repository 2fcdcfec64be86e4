// The pointer, the mouse buttons and the keyboard, driven through SendInput and SetCursorPos as a
// user would drive them. Coordinates are virtual-screen pixels: the primary monitor's top-left is
// (0, 0) and monitors left of or above it have negative coordinates.
#pragma once

#include <windows.h>

#include <string>

#include "no_copy.h"

namespace e2e {

POINT CursorPos();
// Puts the pointer at (x, y) and waits until the system reports it there.
void MoveCursorTo(int x, int y);
void MoveCursorBy(int dx, int dy);
// Mouse button press and release at the pointer, without moving it. `button` is one of
// MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN.
void MouseButtonDown(DWORD button);
void MouseButtonUp(DWORD button);
void Click(DWORD button = MOUSEEVENTF_LEFTDOWN);
// Moves the pointer to the middle of the window and clicks there.
void ClickOn(HWND window);
void KeyDown(WORD vk);
void KeyUp(WORD vk);
// A key pressed and released; with a modifier held around it.
void Press(WORD vk);
void PressWith(WORD modifier, WORD vk);

// Releases, on destruction, a key pressed through it: a failing test never leaves a key held.
class HeldKey : NoCopy {
  public:
    explicit HeldKey(WORD vk);
    ~HeldKey();
    void Release();

  private:
    WORD vk_;
    bool down_ = true;
};

// A key held on the keyboard itself, for a key that must stay held across a program's start:
// under Wine it is pressed and released on the X server's keyboard (xdotool, `keysym` names it),
// as a user's hand would; on Windows through SendInput. Wine 10 sets its key state from the X
// server's whenever one of its windows gets the focus, and so lets go of a key that SendInput
// alone pressed, sending its release; Windows keeps one key state, and the key stays down.
class HeldKeyboardKey : NoCopy {
  public:
    HeldKeyboardKey(WORD vk, const char* keysym);
    ~HeldKeyboardKey();
    void Release();

  private:
    WORD vk_;
    std::wstring keysym_;
    bool down_ = false;
};

}  // namespace e2e
