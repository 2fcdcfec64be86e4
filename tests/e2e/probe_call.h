// Runs a hook procedure of gloam_e2e_probe.dll inside the thread of a window of the program under
// test: the probe is placed on that thread with a window hook and set to work by a registered
// message; it leaves what it found as window properties.
#pragma once

#include <windows.h>

namespace e2e {

// Sends `message` (registered) with `wparam` to `hwnd` while `hook_proc` of the probe hooks the
// window's thread. False, with a test failure, when the probe could not be loaded or placed or the
// window did not answer.
bool CallProbe(HWND hwnd, const char* hook_proc, const wchar_t* message, WPARAM wparam = 0);

}  // namespace e2e
