// Rng: a small fixed-seed pseudo-random generator so every build draws the same content.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstdint>

namespace democontent {

class Rng {
  public:
    explicit Rng(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    // Next raw 32-bit value (xorshift32).
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform value in [0, 1).
    double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }
    // Uniform value in [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }
    // Uniform integer in [0, n).
    int Below(int n) { return static_cast<int>(Unit() * n); }

  private:
    uint32_t state_;
};

}  // namespace democontent
