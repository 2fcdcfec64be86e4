// The local clock.
#pragma once

#include "platform/local_time.h"

namespace gloam {

LocalDateTime LocalNow();

class SystemClock final : public Clock {
  public:
    LocalDateTime Now() override { return LocalNow(); }
};

}  // namespace gloam
