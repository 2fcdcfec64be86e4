// Base of the harness's RAII types. Each one undoes what it did (closes a window, ends a process,
// releases a key, restores a setting) exactly once, so none may be copied.
#pragma once

namespace e2e {

class NoCopy {
  public:
    NoCopy(const NoCopy&) = delete;
    NoCopy& operator=(const NoCopy&) = delete;

  protected:
    NoCopy() = default;
    ~NoCopy() = default;
};

}  // namespace e2e
