// The process-wide pseudo-random generator: single-precision numbers in [0, 1), seeded once at
// start-up. Code that draws takes a RandomSource so tests can script the draws.
#pragma once

#include <cstdint>
#include <random>

namespace gloam {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A number in [0, 1); never 1.
    virtual float Next() = 0;
};

class SeededRandom final : public RandomSource {
  public:
    explicit SeededRandom(uint64_t seed = 0) : engine_(seed) {}
    void Seed(uint64_t seed) { engine_.seed(seed); }
    // 24 random bits scaled by 2^-24: every value is exact in a float and below 1.
    float Next() override { return static_cast<float>(engine_() >> 40) * (1.0f / 16777216.0f); }

  private:
    std::mt19937_64 engine_;
};

// The one generator of the process; seeded by Main.
SeededRandom& ProcessRandom();

}  // namespace gloam
