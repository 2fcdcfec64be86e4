// Waiting in the test process: every wait polls with a time limit and pumps this thread's
// messages, so the test's own windows stay responsive while it waits.
#pragma once

#include <chrono>
#include <functional>

namespace e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// How long a start may take before its window shows, and how long an "end at once" may take.
// Generous because a cold Wine or a loaded CI machine can be slow; passing tests never wait them
// out.
inline constexpr Millis kStartLimit = 15s;
inline constexpr Millis kExitLimit = 10s;

// Runs this thread's pending messages.
void PumpMessages();
// Pumps messages and re-evaluates `done` every `poll` until it is true (returns true) or `limit`
// has passed (returns false; `done` is evaluated one last time).
bool WaitUntil(const std::function<bool()>& done, Millis limit, Millis poll = 10ms);
// Pumps messages for `span`: for checks that something does NOT happen within a time.
void PumpFor(Millis span);

}  // namespace e2e
