// What the fuzz targets share besides the reference models of tests/reference.h: the check that
// stops a run, and the input read as UTF-16.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/reference.h"

namespace fuzz_support {

// Stops the run, which libFuzzer reports with the input, when a check does not hold.
inline void Expect(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

// The input bytes as UTF-16 code units, the form in which the host and the store hand out text.
inline std::wstring WideOf(const uint8_t* data, size_t size) {
    std::wstring out;
    for (size_t i = 0; i + 1 < size; i += 2) {
        out += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    }
    return out;
}

}  // namespace fuzz_support
