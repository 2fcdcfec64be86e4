// The .scr's resources, read as Windows reads them: the file is loaded as data and no code of it
// runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture.h"
#include "process.h"

namespace e2e {

// The .scr loaded as a data file; freed on destruction.
class ResourceFile {
  public:
    explicit ResourceFile(const std::wstring& path = ScrPath());
    bool loaded() const { return static_cast<bool>(module_); }
    // The raw bytes of one resource, nullopt when absent. Language 0 means any.
    std::optional<std::vector<std::uint8_t>> Find(const wchar_t* type, const wchar_t* name,
                                                  WORD language = 0) const;
    // The languages in which that resource exists.
    std::vector<WORD> Languages(const wchar_t* type, const wchar_t* name) const;

  private:
    gloam::unique_hmodule module_;
};

// A bitmap resource's bytes decoded by the program's own decoder; nullopt when it cannot read them.
std::optional<Surface> DecodeBitmap(const std::vector<std::uint8_t>& bytes);

// Bitmap resource `id` of the .scr, decoded by the program's own decoder; nullopt when absent or
// not a bitmap the program can read.
std::optional<Surface> LoadBitmapResource(int id);

}  // namespace e2e
