#include "platform/clock_win.h"

#include <windows.h>

namespace gloam {

LocalDateTime LocalNow() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return LocalDateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace gloam
