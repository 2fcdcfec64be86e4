// How a window's class cursor looks, judged inside the window's own process: another process
// cannot read a window's class cursor (Wine refuses it outright), so gloam_e2e_probe.dll is placed
// in the window's thread with a window hook, draws the class cursor over black and over white
// there and leaves its verdict as a window property.
#pragma once

#include <windows.h>

namespace e2e {

enum class CursorLook { NotProbed, NoClassCursor, Unreadable, Visible, Invisible };
const char* ToString(CursorLook look);
CursorLook ProbeClassCursor(HWND hwnd);

}  // namespace e2e
