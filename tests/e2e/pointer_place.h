// Setting the pointer so that a desktop sees it: the harness primes the "Screen-saver" desktop
// with it, and the benchmark probe a fresh session. No test framework here: the probe links it.
#pragma once

#include <windows.h>

#include "wait.h"

namespace e2e {

// Shows a 3 x 3 window under `where` on the calling thread's desktop and sets the pointer there
// until this desktop reports it at `where` (true) or `limit` has passed (false). The window goes
// before it returns.
//
// Windows keeps one pointer per window station, so this only confirms what is already true. Wine 10
// keeps one per desktop: a desktop made later in a session starts with the pointer's place at the
// session's start, and when a window of it becomes active Wine moves the real pointer there, so a
// display started on it would see the pointer jump.
bool ShowPointerAt(POINT where, Millis limit);

}  // namespace e2e
