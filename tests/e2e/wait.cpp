#include "wait.h"

#include <windows.h>

namespace e2e {

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& done, Millis limit, Millis poll) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        PumpMessages();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(poll.count()), QS_ALLINPUT);
    }
    PumpMessages();
    return done();
}

void PumpFor(Millis span) {
    WaitUntil([] { return false; }, span);
}

}  // namespace e2e
